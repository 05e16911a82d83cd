#pragma once

#include "ScriptedInteraction.h"
#include "core/Session.h"

#include <QTemporaryDir>

#include <memory>

// A program folder in a temporary directory with a real encrypted database, a
// session on it answered by the scripted interaction, and per-user settings kept
// inside the folder.
class TestInstallation {
public:
    enum class Contenuto { Demo, Vuota };
    explicit TestInstallation(Contenuto contenuto = Contenuto::Demo);

    QString folder() const { return m_dir.path(); }
    QString file(const QString& name) const;
    QString database() const { return file(QStringLiteral("KORVADIN.mdb")); }

    // A new session on the folder (not yet connected).
    std::unique_ptr<Session> nuovaSessione();
    // A session connected to the database, with the demo agency as current.
    Session& sessione();

    ui::ScriptedInteraction interaction;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Session> m_session;
};
