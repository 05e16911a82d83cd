#pragma once

#include <QColor>
#include <QString>

#include <optional>

// The states of a course record and what each allows in the end-of-course form.
namespace report {

inline const QString StatoAperto = QStringLiteral("APERTO");
inline const QString StatoChiuso = QStringLiteral("CHIUSO");
inline const QString StatoTrasmesso = QStringLiteral("TRASMESSO");

// Which controls of the form are enabled.
struct Abilitazioni {
    bool partecipanti = true;    // grdDomande, cmdGestAllievo
    bool salva = true;           // cmdSalva
    bool chiudi = true;          // cmdChiudi
    bool riapri = false;         // cmdRiapri
    bool dataFine = true;        // the three end-date boxes
    bool classificazione = true; // txtCredFormCorso, cmbTipOrg, cmbAreaFor, cmbSegmento
    bool sottoconteggi = true;   // the six disability sub-counts
};

// A state other than the three known ones is treated as "APERTO". The end-date
// boxes follow the state in both layouts: a closed course cannot change behind
// the closing rules.
Abilitazioni abilitazioniPerStato(const QString& stato);

// Border colour of the state rectangle; none for an unknown state.
std::optional<QColor> coloreStato(const QString& stato);

} // namespace report
