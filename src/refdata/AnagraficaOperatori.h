#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Session;
class QWidget;

namespace db {
class Connection;
}

// The registry of the agencies served by the installation, loaded from the four
// files that the enrolment download leaves in the program folder:
//   "oper.tx1"     -> CorsiOper         one record per agency
//   "compo.tx1"    -> CorsiCompo        one record per branch of an agency
//   "sediocc.tx1"  -> CorsiSediOcc      one record per occasional venue
//   "sediutil.tx1" -> CorsiSediOccUtil  one record per use of a venue by a branch
// Every line is a record line (no header). Loaded files go to CAR, the files of
// a failed update to BAD, renamed to ".car".
namespace anagrafica {

inline const QString kOper = QStringLiteral("oper.tx1");
inline const QString kCompo = QStringLiteral("compo.tx1");
inline const QString kSediOcc = QStringLiteral("sediocc.tx1");
inline const QString kSediUtil = QStringLiteral("sediutil.tx1");
inline const QString kFileLog = QStringLiteral("AggiornaDB.LOG");

enum class Modo { Installazione, Aggiornamento };

// Live progress of a load: file, table and record number (0 when a table starts).
using Avanzamento = std::function<void(const QString& file, const QString& tabella, int record)>;

// The Componente of the agency's legal seat (TipoCompo "SL") as text, "0" when it
// has none.
QString sedeLegale(db::Connection& connessione, const QString& grupOpe, qint64 operatore);

// First installation, before the decoding tables are loaded again: "oper.tx1"
// and "compo.tx1" must be there, and the two venue files both or neither.
// Otherwise the message is shown, the connection closed and the program ends.
void verificaFileInstallazione(Session& session);

// First installation on an empty CorsiOper (on a filled one nothing happens):
// appends the four files' records, sets every agency's legal seat and moves the
// files to CAR. The load is one transaction: on any failure its message is
// shown, the four tables are left as they were (CorsiOper empty, so the next
// start repeats the installation) and the program ends. True when loaded,
// false when CorsiOper was already filled.
bool installa(Session& session, const Avanzamento& avanzamento = {});

// The merge of the four files into the registry (the update from the main
// window): the file checks, the safety copy of the database, the five steps in
// one transaction, the log and its question. True when merged; on failure the
// database is as before (the transaction is rolled back and the database is
// confirmed against the safety copy), the log is deleted and the restore is
// reported.
bool unisci(Session& session, QWidget* parent);

// The update's part that follows the decoding tables: when "oper.tx1" is in the
// program folder the files are merged and then moved to CAR (merged) or BAD
// (not merged). False when nothing was merged.
bool aggiorna(Session& session, QWidget* parent);

// Deletes an old log before the update.
void cancellaLog(Session& session);

// Deletes every "*.tx1" file of the program folder (the update could not have
// the database for itself).
void cancellaFileTx1(Session& session);

// The system's text editor, started on a file with runAndWait.
QString editoreDiTesto();

} // namespace anagrafica
