#include "refdata/InstallazioneDati.h"

#include "core/Session.h"

namespace refdata {

// installaAggiornaTabelle is defined beside the start-up window (app/Avvio.cpp),
// which shows its progress; the loading itself is refdata/TabelleDecodifica.

// Loading the agency registry files is not part of this version yet: an
// installation without operators starts with no current agency name.
void primaInstallazioneOperatori(Session&, Avvio&) {}

} // namespace refdata
