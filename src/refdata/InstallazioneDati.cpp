#include "refdata/InstallazioneDati.h"

#include "core/Session.h"

namespace refdata {

// The decoding tables come with the delivered database; loading them from text
// files is not part of this version yet, so the step leaves the tables as they are.
void installaAggiornaTabelle(Session&, Avvio&) {}

} // namespace refdata
