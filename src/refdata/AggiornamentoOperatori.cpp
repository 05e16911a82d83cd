#include "refdata/AggiornamentoOperatori.h"

#include "core/Session.h"

namespace refdata {

// Not part of this version yet: nothing is updated, so nothing is reported as
// updated.
bool aggiornaDatiOperatori(Session&, QWidget*) {
    return false;
}

} // namespace refdata
