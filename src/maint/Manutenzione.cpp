#include "maint/Manutenzione.h"

#include "core/Session.h"
#include "maint/frmBackup.h"

#include <QWidget>

namespace maint {

// Shown beside the main window, which is blocked until it closes.
void mostraFrmBackup(Session& session, QWidget* parent) {
    auto* dialogo = new frmBackup(session, parent ? parent->window() : nullptr);
    dialogo->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    dialogo->show();
}

// These dialogs are not part of this version yet.

void mostraFrmOpzioni(Session&, QWidget*) {}

void mostraFrmProxy(Session&, QWidget*) {}

void mostraBrowser(Session&, QWidget*) {}

} // namespace maint
