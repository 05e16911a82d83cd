#include "transmit/Registrazione.h"

#include "db/Database.h"

namespace transmit {

QString corpoRegistrazione(const QString& gruppo, const QString& codice, const QString& email) {
    return QStringLiteral("gruppo=") + gruppo + QStringLiteral("&codice=") + codice +
           QStringLiteral("&compo=&applicativo=KORVADIN&email=") + email;
}

bool rispostaNumerica(const QString& risposta) {
    if (risposta.toUpper().contains(QLatin1String("ERRORE")))
        return false;
    const QString t = risposta.trimmed();
    if (t.isEmpty())
        return false;
    for (const QChar ch : t)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    return true;
}

std::optional<int> numeroInstallazione(const QString& risposta) {
    if (!rispostaNumerica(risposta))
        return std::nullopt;
    bool ok = false;
    const int numero = risposta.trimmed().toInt(&ok);
    if (!ok || numero > 32767)
        return std::nullopt;
    return numero;
}

std::optional<AgenziaInstallata> agenziaInstallata(db::Connection& c) {
    const auto righe =
        c.query(QStringLiteral("SELECT GrupOpe, Operatore FROM CorsiOper ORDER BY %1 LIMIT 1")
                    .arg(c.idRiga()));
    if (righe.isEmpty())
        return std::nullopt;
    return AgenziaInstallata{righe.first().value(0).toString(), righe.first().value(1).toString()};
}

void salvaInstallazione(db::Connection& c, const AgenziaInstallata& agenzia, int numero,
                        const QString& versione) {
    c.exec(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, NumInstall, VersioneDB) "
                          "VALUES (?, ?, ?, ?)"),
           {agenzia.gruppo, agenzia.codice.trimmed().toLongLong(), numero, versione});
}

} // namespace transmit
