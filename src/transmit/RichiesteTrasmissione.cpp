#include "transmit/RichiesteTrasmissione.h"

#include "core/Session.h"

namespace transmit {

bool Risposta::valida() const {
    return completata && !testo.toUpper().contains(QLatin1String("ERRORE")) &&
           !testo.contains(QLatin1String("<h"), Qt::CaseInsensitive);
}

Risposta richiestaVersione(Session&) {
    return {false, 12029, {}, QStringLiteral("versione")};
}

Risposta richiestaStatoAvanzamento(Session&, qint32) {
    return {false, 12029, {}, QStringLiteral("statoavanzamento")};
}

Risposta richiestaInvioAllegato(Session&, const QByteArray&) {
    return {false, 12029, {}, QStringLiteral("upload")};
}

std::optional<QString> chiediEmail(Session&, QWidget*) {
    return std::nullopt;
}

} // namespace transmit
