#include "transmit/RegistrazioneInstallazione.h"

#include "core/Session.h"
#include "transmit/FrmnReg.h"

namespace transmit {

bool registraInstallazione(Session& session, QWidget* parent) {
    FrmnReg dialogo(session, parent);
    session.ui.runDialog(dialogo);
    return dialogo.registrata();
}

} // namespace transmit
