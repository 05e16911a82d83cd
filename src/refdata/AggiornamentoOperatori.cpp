#include "refdata/AggiornamentoOperatori.h"

#include "core/Session.h"
#include "refdata/AnagraficaOperatori.h"

namespace refdata {

bool aggiornaDatiOperatori(Session& s, QWidget* parent) {
    anagrafica::cancellaLog(s);
    return anagrafica::aggiorna(s, parent);
}

} // namespace refdata
