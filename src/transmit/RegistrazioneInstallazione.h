#pragma once

class Session;
class QWidget;

namespace transmit {

// Start-up on a database without installation record: runs FrmnReg, which
// obtains the installation number from the regional server and adds the
// record. True when the record was added.
bool registraInstallazione(Session& session, QWidget* parent);

} // namespace transmit
