#pragma once

// A made-up but realistic set of the 24 decoding-table files (record lines,
// Windows-1252, CR LF), for the tests and the loading benchmark. Names and codes
// are generated from syllables and counters; nothing comes from a real registry.

#include <QHash>
#include <QString>

namespace datidecodifica {

struct Dimensioni {
    int comuni = 8000;
    int province = 107;
    int regioni = 20;
    int assi = 6;
    int misurePerAsse = 5;
    int azioniPerMisura = 4;
    int statiEsteri = 200;
    int quartieriPerGrandeComune = 10;
    int istituti = 600;
};

// Small sizes for the tests.
Dimensioni piccole();

// Writes "<Tabella>.txt" for every decoding table into cartella, each starting
// with the header line. Returns the number of records per table.
QHash<QString, int> genera(const QString& cartella, const Dimensioni& d,
                           const QString& intestazione = QStringLiteral("INSTALLAZIONE"));

} // namespace datidecodifica
