#pragma once

#include "ScriptedInteraction.h"
#include "core/Session.h"

#include <QProcess>
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

// Real second processes and database checks for the tests of shared use and
// crashes.
namespace prova {

// Starts the db_probe helper with the arguments and waits (bounded) until it
// prints "PRONTO"; nullptr when it did not.
std::unique_ptr<QProcess> avviaProbe(const QStringList& argomenti);

// Waits (bounded) until the process has ended; true when it has.
bool attendiFine(QProcess& processo);

// Adds the tables ProvaA and ProvaB that the writing helper fills in pairs.
void creaTabelleProva(const QString& database);

// "" when the file opens with the key, passes PRAGMA quick_check and (when it
// holds them) ProvaA and ProvaB have as many rows; otherwise what is wrong.
QString verificaCopia(const QString& file);

// The whole content of a file ("" when it cannot be read).
QByteArray contenuto(const QString& file);

} // namespace prova
// A folder on a small file system of its own (a 64 KiB tmpfs), so that a test
// can fill it up. Mounting needs root: when it is not permitted montato() is
// false and the test skips.
class DiscoPiccolo {
public:
    DiscoPiccolo();
    ~DiscoPiccolo();
    DiscoPiccolo(const DiscoPiccolo&) = delete;
    DiscoPiccolo& operator=(const DiscoPiccolo&) = delete;

    bool montato() const { return m_montato; }
    QString cartella() const { return m_dir.path(); }
    QString file(const QString& name) const;
    // Fills the free space with a file of its own; svuota() removes it.
    void riempi();
    void svuota();

private:
    QTemporaryDir m_dir;
    bool m_montato = false;
};

// For the lifetime of the object the process acts as an unprivileged user
// (effective user "nobody" when running as root), so that file permissions
// apply to it. attivo() is false when the switch is not possible.
class ComeUtenteComune {
public:
    ComeUtenteComune();
    ~ComeUtenteComune();
    ComeUtenteComune(const ComeUtenteComune&) = delete;
    ComeUtenteComune& operator=(const ComeUtenteComune&) = delete;

    bool attivo() const { return m_attivo; }

private:
    bool m_attivo = false;
    bool m_cambiato = false;
};
