#include "report/FineCorso.h"

#include "core/Session.h"
#include "report/FineCor.h"

namespace report {

void mostraFineCor(Session& session, QWidget* parent) {
    if (session.CorsoSelezionato <= 0)
        return;
    FineCor form(session, session.CorsoSelezionato, parent);
    if (form.caricato())
        session.ui.runDialog(form);
}

} // namespace report
