#pragma once

#include <QString>

#include <optional>

class clsFileINI;

// Values derived from KORVADIN.INI.
namespace configurazione {

// CONNESSIONE/PWD is stored with the lowest bit of every byte of its
// Windows-1252 text flipped.
QString decodificaPassword(const QString& stored);
// The same flip: what is written for a password.
QString codificaPassword(const QString& password);

// Server base address: the text of CONNESSIONE/NREG before the first "/" found at
// or after character position 8 (after the "://" of a longer scheme); nothing
// when there is none.
std::optional<QString> indirizzoServer(const QString& nreg);

// The database on a server, from the BaseDati section: Motore=PostgreSQL,
// Server (host name, address, or the folder of a local socket), Porta (5432
// when absent), NomeDB, Utente and PWDDB (encoded as CONNESSIONE/PWD). Nothing
// when the installation keeps its database in a file (no Motore, or another).
// The address is the path db::Connection opens.
std::optional<QString> indirizzoBaseDatiServer(const clsFileINI& ini);

} // namespace configurazione
