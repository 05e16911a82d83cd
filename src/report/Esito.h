#pragma once

#include "core/Interaction.h"

#include <QString>

namespace report {

// Outcome of a set of checks: either passed, or the first failing rule with
// the message to show and where the user is taken afterwards.
struct Esito {
    bool superato = true;
    QString regola;                  // short name of the rule ("D5", "C11", ...)
    QString testo;                   // message text
    QString titolo;                  // message title (ui::DefaultTitle when it has none)
    ui::Icon icona = ui::Icon::None; // message icon
    QString focus;                   // objectName of the box that gets the focus; empty: unchanged
    bool primaScheda = false;        // show the first tab ("Dati principali")

    static Esito ok() { return {}; }
    static Esito errore(const QString& regola, const QString& testo, const QString& titolo,
                        ui::Icon icona, const QString& focus = {}, bool primaScheda = false) {
        return {false, regola, testo, titolo, icona, focus, primaScheda};
    }
};

} // namespace report
