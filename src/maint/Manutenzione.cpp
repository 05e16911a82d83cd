#include "maint/Manutenzione.h"

#include "core/Session.h"
#include "maint/Browser.h"
#include "maint/frmOpzioni.h"

namespace maint {

// The backup dialog is not part of this version yet.
void mostraFrmBackup(Session&, QWidget*) {}

void mostraFrmOpzioni(Session& session, QWidget* parent) {
    frmOpzioni dialog(session, parent);
    session.ui.runDialog(dialog);
}

void mostraFrmProxy(Session& session, QWidget* parent) {
    FrmProxy dialog(session, parent);
    session.ui.runDialog(dialog);
}

void mostraBrowser(Session& session, QWidget* parent) {
    auto* form = new Browser(session, parent);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
}

} // namespace maint
