#pragma once

class Session;
class QWidget;

namespace maint {

// The backup and restore dialog frmBackup, not modal.
void mostraFrmBackup(Session& session, QWidget* parent);

// The options dialog frmOpzioni, modal; it refreshes session.preferenze.
void mostraFrmOpzioni(Session& session, QWidget* parent);

// The proxy dialog FrmProxy, modal: the per-user Proxy and Porta settings.
void mostraFrmProxy(Session& session, QWidget* parent);

// The support request Browser, not modal.
void mostraBrowser(Session& session, QWidget* parent);

} // namespace maint
