#pragma once

#include <QString>

#include <optional>

// Values derived from KORVADIN.INI.
namespace configurazione {

// CONNESSIONE/PWD is stored with the lowest bit of every byte of its
// Windows-1252 text flipped.
QString decodificaPassword(const QString& stored);

// Server base address: the text of CONNESSIONE/NREG before the first "/" found at
// or after character position 8 (after the "://" of a longer scheme); nothing
// when there is none.
std::optional<QString> indirizzoServer(const QString& nreg);

} // namespace configurazione
