#pragma once

#include <QList>
#include <QString>

// Values that belong to a deployment of the program rather than to its logic:
// the institutional links of the main window and the banner naming the
// programmes. Kept here, in one place, so that a deployment changes them
// without touching the forms.
namespace distribuzione {

struct Collegamento {
    QString controllo;      // objectName of the logo on the main window
    QString immagine;       // picture of the logo, ":/images/..."
    QString organizzazione; // organisation shown in the tool tip
    // Name appended to "Collegamento alla pagina principale del" in the question:
    // a leading blank keeps it apart from "del", a leading article ("la ...")
    // joins it ("della ...").
    QString nomeNellaDomanda;
    QString indirizzo; // web address
};

// The four logos of the main window, left to right.
const QList<Collegamento>& collegamenti();

// Banner under the title of the main window.
QString bannerProgrammi();

} // namespace distribuzione
