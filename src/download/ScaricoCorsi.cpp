#include "download/ScaricoCorsi.h"

#include "core/Session.h"

namespace download {

// The download dialog is not part of this version yet.
void mostraFrmScaricoDB(Session&, QWidget*) {}

// Not part of this version yet: nothing is loaded, so nothing is reported as
// loaded.
bool acquisisciCorsiScaricati(Session&, QWidget*) {
    return false;
}

} // namespace download
