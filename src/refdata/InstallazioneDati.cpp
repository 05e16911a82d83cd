#include "refdata/InstallazioneDati.h"

#include "core/Session.h"

namespace refdata {

// installaAggiornaTabelle and primaInstallazioneOperatori are start-up steps
// defined beside the start-up window (app/Avvio.cpp, app/PrimaInstallazione.cpp),
// which shows their progress; the loading itself is refdata/TabelleDecodifica
// and refdata/AnagraficaOperatori.

} // namespace refdata
