#include "maint/Manutenzione.h"

#include "core/Session.h"

namespace maint {

// The three dialogs are not part of this version yet.
void mostraFrmBackup(Session&, QWidget*) {}

void mostraFrmOpzioni(Session&, QWidget*) {}

void mostraBrowser(Session&, QWidget*) {}

} // namespace maint
