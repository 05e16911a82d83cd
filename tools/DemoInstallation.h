#pragma once

#include <QString>

namespace tooling {

// Contents of a KORVADIN.INI for an installation in the given folder.
struct IniDemo {
    QString tipo = QStringLiteral("StandAlone");
    QString versione = QStringLiteral("SERVER");
    QString database; // full path; empty: folder + KORVADIN.mdb
    QString nomeFile = QStringLiteral("KORVADIN.mdb");
};

void scriviIni(const QString& folder, const IniDemo& ini);

// Writes the help file shipped with the program into the folder.
void copiaAiuto(const QString& folder);

// A ready installation: KORVADIN.INI, help file and a database holding one
// agency and a handful of approved courses with participants.
void creaInstallazioneDemo(const QString& folder);

// Fills an empty delivered database with the demo agency and courses.
void riempiDemo(const QString& databasePath);

} // namespace tooling
