#include "core/Configurazione.h"

#include "core/Cp1252.h"
#include "core/clsFileINI.h"
#include "db/Database.h"

namespace configurazione {

QString decodificaPassword(const QString& stored) {
    // The flip is on the bytes of the file, not on the characters they decode
    // to: above 0x7F a byte and its neighbour can be far apart in Unicode
    // (0x96 "–" and 0x97 "—", 0x80 "€" and the unassigned 0x81).
    QByteArray bytes = cp1252::encode(stored);
    for (char& b : bytes)
        b = char(b ^ 1);
    return cp1252::decode(bytes);
}

QString codificaPassword(const QString& password) {
    return decodificaPassword(password);
}

std::optional<QString> indirizzoBaseDatiServer(const clsFileINI& ini) {
    const QString sezione = QStringLiteral("BaseDati");
    if (ini.leggi(sezione, QStringLiteral("Motore"))
            .trimmed()
            .compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    bool ok = false;
    int porta = ini.leggi(sezione, QStringLiteral("Porta")).trimmed().toInt(&ok);
    if (!ok)
        porta = 5432;
    return db::Connection::indirizzoServer(
        ini.leggi(sezione, QStringLiteral("Server")).trimmed(), porta,
        ini.leggi(sezione, QStringLiteral("NomeDB")).trimmed(),
        ini.leggi(sezione, QStringLiteral("Utente")).trimmed(),
        decodificaPassword(ini.leggi(sezione, QStringLiteral("PWDDB"))));
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
