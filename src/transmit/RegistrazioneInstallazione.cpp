#include "transmit/RegistrazioneInstallazione.h"

#include "core/Session.h"

namespace transmit {

// The registration request to the regional server is not part of this version
// yet: a database without installation record starts without a current agency.
void registraInstallazione(Session&, QWidget*) {}

} // namespace transmit
