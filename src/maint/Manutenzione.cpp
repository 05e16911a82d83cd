#include "maint/Manutenzione.h"

#include "core/Session.h"
#include "maint/Browser.h"
#include "maint/frmBackup.h"
#include "maint/frmOpzioni.h"

#include <QWidget>

namespace maint {

// Shown beside the main window, which is blocked until it closes.
void mostraFrmBackup(Session& session, QWidget* parent) {
    auto* dialogo = new frmBackup(session, parent ? parent->window() : nullptr);
    dialogo->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    dialogo->show();
}

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
