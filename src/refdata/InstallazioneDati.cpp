#include "refdata/InstallazioneDati.h"

#include "core/Session.h"

namespace refdata {

// installaAggiornaTabelle is defined beside the start-up window (app/Avvio.cpp),
// which shows its progress; the loading itself is refdata/TabelleDecodifica.

} // namespace refdata
