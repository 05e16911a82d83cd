#pragma once

#include <QString>

class Session;
class QWidget;

namespace db {
class Connection;
}

// The safety copy that the data updates take before they touch the database and
// put back when they fail.
//
// How an update uses it:
//
//     if (!maint::Crea_DB_Backup(s, s.PercorsoDB, parent)) {
//         // show "Copia di sicurezza della base dati non riuscita. ..." and stop
//     }
//     const bool ok = ...the update, in one transaction...;
//     if (ok)
//         maint::eliminaCopiaSicurezza(s.PercorsoDB);
//     else
//         maint::ripristinoDopoAggiornamento(s, s.PercorsoDB, maint::Aggiornamento::Annullato,
//                                            parent);
//
// Call them outside any transaction of s.CorsiDB(). The copy is the database
// file's full name followed by "_BAK", in the same folder; it is encrypted with
// the program's key like the database itself (never a plain copy).
namespace maint {

// The safety copy of a database file: "KORVADIN.mdb" -> "KORVADIN.mdb_BAK".
QString fileCopiaSicurezza(const QString& percorsoDB);

// Writes the safety copy of percorsoDB: a consistent snapshot taken through the
// session's connection when it is open on that file (through a connection of
// its own otherwise), so that workstations writing meanwhile cannot tear it. An
// older copy is replaced only once the new one is complete. The connection stays
// open. True on success; on failure shows "Crea_DB_Backup - " + number + " - " +
// description (title "Installazione/Aggiornamento Base Dati") and returns false.
bool Crea_DB_Backup(Session& s, const QString& percorsoDB, QWidget* parent = nullptr);

// Puts the safety copy back over percorsoDB. The copy must open with the key and
// pass PRAGMA quick_check, and the program must hold the installation lock
// exclusively (refused while another workstation has the file open); only then
// is the database file replaced, in one step. The session's connection is
// closed for the replacement and opened again in place, in its previous mode.
// The copy is used up. True on success; on failure shows "Ripristina_DB_Backup
// - " + number + " - " + description (same title), leaves the database file as
// it was, re-opens the connection and returns false.
bool Ripristina_DB_Backup(Session& s, const QString& percorsoDB, QWidget* parent = nullptr);

// How a failed update left the database.
enum class Aggiornamento {
    Annullato, // its transaction was rolled back: the database should be as before
    Interrotto // it may have written (no single transaction): the copy must go back
};

// The restore step after a failed update, with its message under the title
// "Aggiornamento Base Dati": "Ripristino della base dati riuscito" (information)
// or "Ripristino della base dati non riuscito." (critical). After a rolled-back
// update the file is not swapped under other workstations: the step confirms
// that the database holds exactly what the copy holds (then the copy is
// deleted; when it does not, the copy is kept). After an interrupted one it
// runs Ripristina_DB_Backup. Returns whether it succeeded.
bool ripristinoDopoAggiornamento(Session& s, const QString& percorsoDB, Aggiornamento come,
                                 QWidget* parent = nullptr);

// Deletes the safety copy once the update has succeeded; true when none is left.
bool eliminaCopiaSicurezza(const QString& percorsoDB);

// "" when file is a database of this program that opens with the key and passes
// PRAGMA quick_check; otherwise what is wrong. Opens the file with a connection
// of its own (never plain file I/O on an open database) and leaves nothing
// beside it.
QString verificaBaseDati(const QString& file, const QString& chiave);

// Replaces the database file percorsoDB with the content of sostituto (a file
// already proven sound), in one step, removing a journal left beside the old
// file. The caller holds the installation lock exclusively and has no
// connection open on percorsoDB. Throws db::DbError; on failure percorsoDB is as
// it was.
void sostituisciBaseDati(const QString& percorsoDB, const QString& sostituto);

// "" when the two connections hold the same tables, indexes and views with the
// same rows in the same order; otherwise the first difference.
QString differenzaContenuto(db::Connection& a, db::Connection& b);

} // namespace maint
