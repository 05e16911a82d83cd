#include "enrol/InstOper.h"

#include "core/Session.h"

namespace enrol {

// The operator dialog is being built; until then the entry points do nothing.
void mostraFrmInstOper(Session&, QWidget*, const QStringList&, const QString&) {}
bool iscriviOperatori(Session&, QWidget*) { return false; }

} // namespace enrol
