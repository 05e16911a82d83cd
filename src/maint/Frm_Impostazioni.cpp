#include "maint/Frm_Impostazioni.h"

#include "app/Session.h"

namespace maint {

std::optional<ImpostazioniScelte> chiediImpostazioni(Session&, QWidget*) {
    return std::nullopt;
}

} // namespace maint
