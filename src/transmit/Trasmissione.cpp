#include "transmit/Trasmissione.h"

#include "core/Session.h"

namespace transmit {

// The transmission form is not part of this version yet.
void mostraTrasmis(Session&, QWidget*) {}

} // namespace transmit
