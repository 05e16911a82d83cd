#pragma once

#include "db/Database.h"

#include <QList>
#include <QString>

#include <optional>

struct Operatore;
struct CorsoScelto;

// The data behind the approved-course chooser: which courses it lists, the
// search by title and the checks made when a course is confirmed.
namespace download {

enum class Filtro {
    TuttiGliStati,    // end-of-course data entry
    SoloChiusi,       // transmission
    ChiusiETrasmessi, // transmission after "Mostra trasmessi"
};

// The rows listed when the chooser opens for the given operation.
Filtro filtroIniziale(const QString& tipoOperazione);

struct Colonna {
    QString nome;         // column of KELDCorsiDef
    QString intestazione; // heading shown in the grid
    int larghezza;        // width in pixels
};
// The grid's columns, in order; IdAttivita first.
const QList<Colonna>& colonne();

// The agency's courses that pass the filter, sorted by ProgrAttivita and
// DenCorso, with the grid's columns.
QList<db::Row> elencoCorsi(db::Connection& connessione, const Operatore& operatore, Filtro filtro);

// Longest search text: the width of DenCorso.
constexpr int kLunghezzaDenCorso = 255;

// Identifiers of the listed courses whose title contains the text, in the order
// of the list. The text is matched as plain characters ("%", "_" and "\\" are
// no wildcards), letter case ignored, accented letters included.
QList<qint32> corsiTrovati(db::Connection& connessione, const Operatore& operatore, Filtro filtro,
                           const QString& testo);

enum class Verifica {
    Accetta,
    Rifiuta,       // an open course in transmission mode
    ChiediConferma // a course already transmitted, in transmission mode
};
Verifica verificaConferma(const QString& tipoOperazione, const QString& stato);

// Current state of a course, empty when the course is not there.
QString statoCorso(db::Connection& connessione, qint32 idAttivita);

// The chosen course's values handed to the following form, CodSubAsse included.
CorsoScelto corsoScelto(db::Connection& connessione, const db::Row& riga);

} // namespace download
