#pragma once

#include "db/Database.h"

#include <QHash>
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

// Where a course stands, as the chooser shows it and filters it: still to fill
// in ("APERTO", and any unknown state, as the form treats it), to send
// ("CHIUSO"), sent ("TRASMESSO").
enum class FiltroStato { Tutti, Aperti, Chiusi, Trasmessi };
FiltroStato gruppoStato(const QString& stato);
bool passaFiltroStato(FiltroStato filtro, const QString& stato);
// The state in words, for the first column of the list.
QString descrizioneStato(const QString& stato);
// The filter's name, without its count.
QString nomeFiltroStato(FiltroStato filtro);
// The state filter is offered only where the list holds every state: in
// transmission mode the list keeps its own filter ("Mostra trasmessi").
bool filtroStatoOfferto(Filtro filtro);
// How the filter is remembered in the per-user settings, and back (anything
// unknown is Tutti).
inline const QString kChiaveFiltroStato = QStringLiteral("FiltroStatoCorsi");
QString codiceFiltroStato(FiltroStato filtro);
FiltroStato filtroStatoDaCodice(const QString& codice);

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

// Participants without an enrolment number: Matricola holds the text "null"
// (any letter case), which is what stops the transmission of their course.
bool matricolaMancante(const QString& matricola);
// Names ("Cognome Nome") of those participants, per course of the agency.
QHash<qint32, QStringList> allieviSenzaMatricola(db::Connection& connessione,
                                                 const Operatore& operatore);
// The same for one course, sorted by name.
QStringList allieviSenzaMatricola(db::Connection& connessione, qint32 idAttivita);
// The tool tip of the mark: who is concerned and what to do about it.
QString avvisoMatricole(const QStringList& nomi);
// The same names as added to a message: at most `quanti`, then how many others.
QString elencoNomi(const QStringList& nomi, int quanti = 15);

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
