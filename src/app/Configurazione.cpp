#include "app/Configurazione.h"

namespace configurazione {

QString decodificaPassword(const QString& stored) {
    QString decoded;
    decoded.reserve(stored.size());
    for (const QChar ch : stored)
        decoded.append(QChar(char16_t(ch.unicode() ^ 1)));
    return decoded;
}

std::optional<QString> indirizzoServer(const QString& nreg) {
    const int slash = nreg.indexOf(QLatin1Char('/'), 7);
    if (slash < 0)
        return std::nullopt;
    return nreg.left(slash);
}

} // namespace configurazione
