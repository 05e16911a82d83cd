#pragma once

class Session;
class QWidget;

namespace transmit {

// Start-up on a database without installation record: obtains the installation
// number from the regional server and adds the record.
void registraInstallazione(Session& session, QWidget* parent);

} // namespace transmit
