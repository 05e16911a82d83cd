#pragma once

#include "report/RegoleAllievo.h"
#include "report/RegoleCorso.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

namespace db {
class Connection;
}

// The statements of the end-of-course form on KELDCorsiDef and KELDAnagFreq.
// Every value is bound. Database failures come out as db::DbError.
namespace report::archivio {

// The course record as the form shows it.
struct RecordCorso {
    qint32 idAttivita = 0;
    QString progrAttivita;
    QString denCorso;
    QString totIter;
    QString inizioGG, inizioMM, inizioAAAA;
    QString fineGG, fineMM, fineAAAA; // Null as ""
    QString stato;
    QString creditoFormativo; // decimal comma; Null as ""
    QString codTipologiaOrg, codAreaFormativa, codSegmentoForm;
    QString codSubAsse;
    std::array<QString, 12> conteggi; // in the order of campiConteggio(); Null as "0"
};
std::optional<RecordCorso> leggiCorso(db::Connection& db, qint32 idAttivita);

// Items of a classification combo (after its empty item): code + " - " + description.
QStringList vociTipologieOrganizzative(db::Connection& db);
QStringList vociSegmentiFormativi(db::Connection& db);
QStringList vociAreeFormative(db::Connection& db);

// One participant row of the course.
struct Allievo {
    QString codFiscale, cognome, nome, sesso, matricola;
    QVariant oreAssenza, orePresenzaEffettiva, codPartec, credFormValut, handicap;
    QString descPartec, giudizio, descizioneGiudizio, codAreaFormativa, codTipologiaOrg;
};
// The participants of the course sorted by Cognome, Nome, letter case ignored
// ("de Santis" before "Verdi", "Rossi anna" before "Rossi Mario").
QList<Allievo> leggiAllievi(db::Connection& db, qint32 idAttivita);

// The six plain counts recomputed from the participant rows, in the order
// TotMaschi, TotFemmine, AmmessiM, AmmessiF, NonAmmessiM, NonAmmessiF.
struct Conteggi {
    qint64 maschi = 0, femmine = 0;
    qint64 maschiAmmessi = 0, femmineAmmesse = 0;
    qint64 maschiNonAmmessi = 0, femmineNonAmmesse = 0;
};
Conteggi contaAllievi(db::Connection& db, qint32 idAttivita);

// Participant facts for the closing rules.
FattiAllievi fattiAllievi(db::Connection& db, qint32 idAttivita);

// Saving, closing and reopening write only while the record is still in the
// state the form read (statoLetto): another workstation may have closed,
// reopened or transmitted the course meanwhile. They return false, writing
// nothing, when the state on file is another one; a course that is not on file
// at all is a DbError.

// Saving: in the dates-only layout the end date only; in the full layout also
// credit (unchanged when the box is empty), classification codes, empty
// sub-area and the twelve counts read as whole numbers.
bool salvaCorso(db::Connection& db, qint32 idAttivita, Layout layout, const DatiScheda& d,
                const QString& statoLetto);

// Closing: state "CHIUSO", end date, classification and credit (cleared in the
// dates-only layout). In the full layout the six plain counts are written too,
// recomputed from the participants, so that the closed record reports them.
// A course read as "CHIUSO" or "TRASMESSO" is not closed again.
bool chiudiCorso(db::Connection& db, qint32 idAttivita, Layout layout, const DatiScheda& d,
                 const QString& statoLetto);

// Reopening: state "APERTO" only, and only from "CHIUSO": a transmitted course
// never goes back.
bool riapriCorso(db::Connection& db, qint32 idAttivita, const QString& statoLetto);

// Stores a participant's confirmed data while the course can still be edited
// (neither "CHIUSO" nor "TRASMESSO"); false, writing nothing, when another
// workstation closed or transmitted it meanwhile.
bool salvaAllievo(db::Connection& db, qint32 idAttivita, const QString& codFiscale,
                  const allievo::ValoriAllievo& v);

} // namespace report::archivio
