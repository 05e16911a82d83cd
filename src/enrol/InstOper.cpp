#include "enrol/InstOper.h"

#include "core/Session.h"

namespace enrol {

// The operator dialog is not part of this version yet.
void mostraFrmInstOper(Session&, QWidget*, const QStringList&, const QString&) {}

} // namespace enrol
