#include "report/StatoCorso.h"

namespace report {

Abilitazioni abilitazioniPerStato(const QString& stato) {
    Abilitazioni a;
    if (stato == StatoChiuso || stato == StatoTrasmesso) {
        a.partecipanti = a.salva = a.chiudi = false;
        a.dataFine = a.classificazione = a.sottoconteggi = false;
        a.riapri = stato == StatoChiuso;
    }
    return a;
}

std::optional<QColor> coloreStato(const QString& stato) {
    if (stato == StatoAperto)
        return QColor(0, 192, 0);
    if (stato == StatoChiuso)
        return QColor(255, 255, 0);
    if (stato == StatoTrasmesso)
        return QColor(192, 0, 0);
    return std::nullopt;
}

} // namespace report
