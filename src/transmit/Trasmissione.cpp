#include "transmit/Trasmissione.h"

#include "core/Session.h"
#include "transmit/Trasmis.h"

namespace transmit {

void mostraTrasmis(Session& session, QWidget* parent) {
    Trasmis form(session, parent);
    session.ui.runDialog(form);
}

} // namespace transmit
