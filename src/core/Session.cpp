#include "core/Session.h"

#include "core/General.h"

#include <QDir>

Session::Session(ui::Interaction& ui_, const QString& programFolder,
                 const QString& userSettingsFile)
    : ui(ui_), ini(programFolder), userSettings(userSettingsFile) {
    CartellaProgramma = QDir::toNativeSeparators(QDir(programFolder).absolutePath());
    if (!CartellaProgramma.endsWith(QDir::separator()))
        CartellaProgramma += QDir::separator();
    ini.setNomeFile(CartellaProgramma + QStringLiteral("KORVADIN.INI"));
    ui.onEnd([this] { de.CorsiDB.close(); });
}

Session::~Session() {
    ui.onEnd({});
}

void Session::MostraAiuto(QWidget* parent, int topic) {
    General::MostraAiuto(ui, parent, fileAiuto, topic);
}

QString Session::versione() {
    return QStringLiteral("%1.%2.%3")
        .arg(KORVADIN_VERSION_MAJOR)
        .arg(KORVADIN_VERSION_MINOR)
        .arg(KORVADIN_VERSION_PATCH);
}

QString Session::databasePassword() {
    return QStringLiteral("QUENTARO");
}
