#pragma once

#include "report/Esito.h"

#include <QString>

#include <array>
#include <optional>

// The checks of the course record of the end-of-course form, stated on the
// texts of its boxes: they know nothing of widgets.
namespace report {

// How much of the report a course asks for, chosen by its CodSubAsse.
enum class Layout {
    SoloDate, // only the effective end date ("02", "04", "06", "08")
    Completo  // end date, credit, classification, counts and participants
};
Layout layoutPerSubAsse(const QString& codSubAsse);

// The texts of the form's boxes as the rules read them.
struct DatiScheda {
    QString fineGG, fineMM, fineAAAA;       // txtDataFineEff*
    QString inizioGG, inizioMM, inizioAAAA; // lblDataInizio*
    QString credito;                        // txtCredFormCorso
    QString tipOrg, segmento, areaFor;      // texts of cmbTipOrg, cmbSegmento, cmbAreaFor
    // The twelve count boxes.
    QString maschi, femmine, maschiH, femmineH;
    QString maschiAmmessi, femmineAmmesse, maschiHAmmessi, femmineHAmmesse;
    QString maschiIdonei, femmineIdonee, maschiHIdonei, femmineHIdonee;
};

// One count box: its control, the column of KELDCorsiDef it is stored in, its
// text in DatiScheda, and whether the user types it (disability sub-count) or
// it is computed from the participants.
struct CampoConteggio {
    const char* controllo;
    const char* colonna;
    QString DatiScheda::*testo;
    bool sottoconteggio;
};
const std::array<CampoConteggio, 12>& campiConteggio();

// What the closing rules need to know of the participants.
struct FattiAllievi {
    bool tuttiGestiti = true;             // no participant with judgement " "
    std::optional<double> creditoMassimo; // highest evaluated credit; none without participants
    bool giudiziMisti = false;            // some "8" and some "9"
};

// End-date rules D1 to D8.
Esito regoleDataFine(const DatiScheda& d);
// Rule C0: each of the six typed disability sub-counts, when not empty, is a
// whole number written with digits only ("1,9" is refused, not stored as 1).
Esito regoleInteri(const DatiScheda& d);
// Count rules C<prima> to C<ultima> (1 to 12).
Esito regoleConteggi(const DatiScheda& d, int prima = 1, int ultima = 12);
// Applied before anything is saved.
Esito regoleSalvataggio(Layout layout, const DatiScheda& d);
// Applied before the course is closed.
Esito regoleChiusura(Layout layout, const DatiScheda& d, const FattiAllievi& allievi);

// True when a field the user can edit differs between the two readings of the
// form (the shown record and the boxes now): end date, and in the full layout
// credit, classification and the six disability sub-counts.
bool schedaModificata(Layout layout, const DatiScheda& mostrata, const DatiScheda& attuale);

// A decimal written with a decimal comma: digits with at most one "," (or ".").
// Empty or anything else: nullopt.
std::optional<double> numeroScritto(const QString& testo);
// A count box read as a whole number: group separators dropped, the part
// before the decimal comma taken; empty or not numeric gives 0.
int interoDaTesto(const QString& testo);
// A count as shown in its box, format "#,##0" ("1.234").
QString formatoConteggio(qint64 valore);

// Classification codes as stored, taken back from the combo texts.
QString codiceTipOrg(const QString& voce);
QString codiceAreaFor(const QString& voce);
QString codiceSegmento(const QString& voce);
// The combo item a stored code selects; nullopt leaves the combo as it is.
std::optional<QString> voceTipOrg(const QString& codice);
std::optional<QString> voceAreaFor(const QString& codice);
std::optional<QString> voceSegmento(const QString& codice);

} // namespace report
