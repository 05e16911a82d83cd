#include "report/FineCorso.h"

#include "app/Session.h"

namespace report {

void mostraFineCor(Session&, QWidget*) {}

} // namespace report
