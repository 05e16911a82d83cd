#include "maint/Manutenzione.h"

#include "core/Session.h"

namespace maint {

// These dialogs are not part of this version yet.
void mostraFrmBackup(Session&, QWidget*) {}

void mostraFrmOpzioni(Session&, QWidget*) {}

void mostraFrmProxy(Session&, QWidget*) {}

void mostraBrowser(Session&, QWidget*) {}

} // namespace maint
