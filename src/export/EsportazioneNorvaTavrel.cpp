#include "export/EsportazioneNorvaTavrel.h"

namespace esportazione {

// The registry export is not part of this version yet: it never reports
// success.
int EsportaCorsoTavrel(Session&, qint32, const QString&, const QString&,
                       const std::function<void(int)>&) {
    return EsportazioneNonDisponibile;
}

} // namespace esportazione
