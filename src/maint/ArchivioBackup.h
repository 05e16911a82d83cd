#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The zip archives of the backup dialog: written from a list of files, read
// back into a folder. Archives hold files as they are on disk (the database
// stays encrypted with the program's key) under their bare names.
namespace archivioBackup {

// The archive written for the path chosen in the save dialog: the chosen name
// up to its last dot, followed by ".zip", in the chosen folder. A name without
// a dot keeps the whole name ("salvataggio" -> "salvataggio.zip").
QString nomeArchivio(const QString& percorsoScelto);

// True for a name that can only land inside the extraction folder: not empty,
// no path separator of either kind, no drive, not "." or "..", no control
// characters.
bool nomeVoceAmmesso(const QString& nome);

// Writes the archive holding the given files (each under its bare file name,
// mode 0600 in its external attributes).
// The archive is built in full and then replaces archivio in one step: a
// failure leaves an older archive of that name as it was. False with the reason
// in errore on failure.
bool crea(const QStringList& files, const QString& archivio, QString* errore = nullptr);

// Extracts every entry of archivio into cartella (which must exist), after
// checking every entry name and the archive's structure (data descriptors of
// streaming writers included); each entry's data is checked against its CRC and
// size. Files are written with fileSicuro::permessiDati(). Nothing is left in
// cartella on failure.
// The names written go into estratti. False with the reason on failure.
bool estrai(const QString& archivio, const QString& cartella, QStringList* estratti,
            QString* errore = nullptr);

// Files that a restore never writes into the database's folder: the
// configuration and the files the engine and the lock keep beside a database.
bool nomeRiservato(const QString& nome);

// Extracts archivio into cartella (which must exist) and proves it can replace
// the database: the database nomeDB at the top of the archive (in no folder),
// opening with chiave, every entry passing its CRC and size checks, no name
// that is not allowed (nomeVoceAmmesso, nomeRiservato, repeated). "" when it
// can, the names written in estratti; otherwise the line that tells the user
// why not, and nothing is left in cartella.
QString provaRecupero(const QString& archivio, const QString& cartella, const QString& nomeDB,
                      const QString& chiave, QStringList* estratti);

// The question asked before a restore: the archive's full path and date (its
// last change), and what happens to the current database.
QString domandaRecupero(const QString& archivio, const QDateTime& data, bool conserva);

// The name under which a restore keeps the replaced database in the folder
// "BackupDB": the database's name with the date and time of the restore
// ("KORVADIN_2026-12-09_15-45-10.mdb"), followed by "_2", "_3"... when a file
// of that name is already there, so that no earlier copy is ever replaced.
QString nomeCopiaConservata(const QString& cartella, const QString& nomeDB,
                            const QDateTime& quando);

} // namespace archivioBackup
