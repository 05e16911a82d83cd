#include "download/ScaricoCorsi.h"

#include "core/Guardie.h"
#include "core/Session.h"

#include <QFileInfo>

namespace download {

// The download dialog is not part of this version yet.
void mostraFrmScaricoDB(Session&, QWidget*) {}

// Not part of this version yet: nothing is loaded, so nothing is reported as
// loaded.
bool acquisisciCorsiScaricati(Session&, QWidget*) {
    return false;
}

RisultatoScarico scaricaEAcquisisci(Session& session, QWidget* parent) {
    mostraFrmScaricoDB(session, parent);
    if (!QFileInfo(session.file(QStringLiteral("CorsiDestinatari30.tx1"))).isFile())
        return RisultatoScarico::NienteScaricato;
    const PuntatoreOccupato occupato(session.ui);
    return acquisisciCorsiScaricati(session, parent) ? RisultatoScarico::Acquisito
                                                     : RisultatoScarico::NonAcquisito;
}

} // namespace download
