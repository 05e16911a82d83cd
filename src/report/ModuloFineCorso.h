#pragma once

#include "core/Session.h"
#include "report/ArchivioCorso.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QPagedPaintDevice;

namespace db {
class Connection;
}

// The module of the end-of-course communication that the agency signs and
// delivers to the offices: heading of the course, summary counts, every
// participant's outcome, state, signature lines. It is drawn by one routine on
// any paged device (printer, print preview, PDF writer).
namespace report::modulo {

// Everything the module shows, read once so that every page and every copy
// show the same.
struct DatiModulo {
    QString programma; // the line of the regional programmes
    Operatore operatore;
    archivio::RecordCorso corso; // the six plain counts recomputed from the participants
    // Classification as "code - description" (the code alone when the decoding
    // table does not know it, "" when not given).
    QString tipologia, area, segmento;
    QList<archivio::Allievo> allievi; // in the order of the participant list
    QString dataInvio;                // for a sent course, when known
    QDateTime stampa;                 // moment of printing
    QString versione;                 // "2.0.1"
};

// Reads the course, its participants and the descriptions of its
// classification; nothing is written. nullopt when the course is not on file;
// database failures come out as db::DbError.
std::optional<DatiModulo> leggiModulo(db::Connection& db, qint32 idAttivita,
                                      const Operatore& operatore);

// The report as the form shows it now, saved or not: end date, credit,
// classification and disability sub-counts taken from its boxes.
void applicaScheda(DatiModulo& dati, const DatiScheda& scheda);

// The copies the module holds: "ORIGINALE" and "COPIA"; a course still open
// gives one draft, every page marked with testoBozza.
QStringList copie(const DatiModulo& dati);
inline const QString testoBozza = QStringLiteral("BOZZA – corso non ancora chiuso");

// Draws every page of every copy on the device, with the page layout the
// device has (paginaA4() for the PDF). Pages per copy are numbered
// "Pagina N di M".
void disegna(QPagedPaintDevice& device, const DatiModulo& dati);
// The number of pages of one copy on an A4 page.
int pagineDiUnaCopia(const DatiModulo& dati);

// The module as a PDF file.
QByteArray pdf(const DatiModulo& dati);

// Name of the PDF kept in the "Trasmissioni" folder:
// "ModuloFineCorso_<IdAttivita>_<GrupOpe><Operatore>.pdf".
QString nomeFilePdf(const DatiModulo& dati);

// Writes the PDF into the folder (made when missing), replacing an earlier one
// in one step; on failure the earlier file is left as it was and errore says
// why.
bool archiviaPdf(const QString& cartella, const DatiModulo& dati, QString* errore);

} // namespace report::modulo
