#include "refdata/AggiornamentoOperatori.h"

#include "core/Session.h"
#include "refdata/AnagraficaOperatori.h"

namespace refdata {

bool aggiornaDatiOperatori(Session& s, QWidget* parent) {
    anagrafica::cancellaLog(s);
    // The safety copy of the database comes with the backup functions.
    const anagrafica::CopiaSicurezza copia{};
    return anagrafica::aggiorna(s, parent, copia);
}

} // namespace refdata
