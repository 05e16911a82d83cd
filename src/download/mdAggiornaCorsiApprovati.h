#pragma once

#include <QString>

#include <functional>

class QWidget;
class Session;

// The database update after an approved-course download: the downloaded files
// "CorsiDestinatari30.tx1" (one line per participant, the course repeated on
// every line) and "CorsiGiornateOre30.tx1" (days, hours per day and cost of each
// course) go into KELDCorsiDef and KELDAnagFreq.
//
// The update runs in one transaction: either every line is in the database or
// none is. New courses start APERTO with zero counters, new participants with
// Giudizio " "; an existing course row is never overwritten (its state and
// report stay), an existing participant only gets its Matricola refreshed.
namespace download {

inline const QString kFileCorsi = QStringLiteral("CorsiDestinatari30.tx1");
inline const QString kFileGiornateOre = QStringLiteral("CorsiGiornateOre30.tx1");

// Takes the safety copy (database path + "_BAK") before the update; false when
// it could not be taken.
using CopiaSicurezza = std::function<bool()>;
// The safety copy of the program (maint::Crea_DB_Backup).
CopiaSicurezza copiaSicurezzaPredefinita(Session& session, QWidget* parent);

// The loaders, each on its file; they run inside the caller's transaction and
// show their failure (title and text of the loader) before returning false.
bool CaricaCorsi(Session& session, QWidget* parent, const QString& file,
                 const QString& tabella = QStringLiteral("KELDCorsiDef"));
bool CaricaPartecipanti(Session& session, QWidget* parent, const QString& file,
                        const QString& tabella = QStringLiteral("KELDAnagFreq"));
bool CaricaGiornateOre(Session& session, QWidget* parent, const QString& file,
                       const QString& tabella = QStringLiteral("KELDCorsiDef"));

// The whole update with its messages and file moves; true when every line was
// loaded. It counts in session.conteggioScarico the courses and participants
// added and refreshed, and writes the date of the update to the user's
// "LastUpdate".
bool AggiornaCorsiScaricati(Session& session, QWidget* parent);
bool AggiornaCorsiScaricati(Session& session, QWidget* parent, const CopiaSicurezza& copia);

// The counts of the last update, as the download's success message adds them.
QString testoConteggio(const Session& session);

} // namespace download
