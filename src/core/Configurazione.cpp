#include "core/Configurazione.h"

namespace configurazione {

QString decodificaPassword(const QString& stored) {
    QString decoded;
    decoded.reserve(stored.size());
    for (const QChar ch : stored)
        decoded.append(QChar(char16_t(ch.unicode() ^ 1)));
    return decoded;
}

std::optional<QString> indirizzoServer(const QString& nreg) {
    // From position 8 on, which is just after "http://". An address with a longer
    // scheme ("https://") is searched after its "://", so that the host is kept.
    const int schema = nreg.indexOf(QLatin1String("://"));
    const int da = schema >= 0 ? qMax(7, schema + 3) : 7;
    const int slash = nreg.indexOf(QLatin1Char('/'), da);
    if (slash < 0)
        return std::nullopt;
    return nreg.left(slash);
}

} // namespace configurazione
