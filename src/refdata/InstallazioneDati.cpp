#include "refdata/InstallazioneDati.h"

#include "core/Session.h"

namespace refdata {

// The decoding tables come with the delivered database; loading them from text
// files is not part of this version yet, so the step leaves the tables as they are.
void installaAggiornaTabelle(Session&, Avvio&) {}

// Loading the agency registry files is not part of this version yet: an
// installation without operators starts with no current agency name.
void primaInstallazioneOperatori(Session&, Avvio&) {}

} // namespace refdata
