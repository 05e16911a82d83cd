#include "download/ScaricoCorsi.h"

#include "core/Guardie.h"
#include "core/Session.h"
#include "download/FrmScaricoDB.h"
#include "download/mdAggiornaCorsiApprovati.h"

#include <QFileInfo>

namespace download {

void mostraFrmScaricoDB(Session& session, QWidget* parent) {
    FrmScaricoDB dialogo(session, parent);
    session.ui.runDialog(dialogo);
}

bool acquisisciCorsiScaricati(Session& session, QWidget* parent) {
    return AggiornaCorsiScaricati(session, parent);
}

RisultatoScarico scaricaEAcquisisci(Session& session, QWidget* parent) {
    mostraFrmScaricoDB(session, parent);
    session.corsiAcquisiti = false;
    if (!QFileInfo(session.file(kFileCorsi)).isFile())
        return RisultatoScarico::NienteScaricato;
    const PuntatoreOccupato occupato(session.ui);
    session.corsiAcquisiti = acquisisciCorsiScaricati(session, parent);
    return session.corsiAcquisiti ? RisultatoScarico::Acquisito : RisultatoScarico::NonAcquisito;
}

} // namespace download
