#include "app/MainRegole.h"

#include "core/Session.h"
#include "db/Database.h"

namespace mainregole {

namespace {
constexpr int kLunghezzaDenominazione = 25;

// The operator code as the number column compares it; a code that is not a
// number is bound as text and matches nothing.
QVariant codiceNumerico(const QString& operatore) {
    bool ok = false;
    const qlonglong numero = operatore.trimmed().toLongLong(&ok);
    return ok ? QVariant(numero) : QVariant(operatore);
}
} // namespace

Denominazione denominazioneOperatore(const QString& nome) {
    if (nome.size() < kLunghezzaDenominazione)
        return {QStringLiteral("-  ") + nome, QString()};
    return {QStringLiteral("-  ") + nome.left(kLunghezzaDenominazione - 1) + QStringLiteral("..."),
            nome};
}

QString codiceOperatore(const QString& operatore) {
    bool ok = false;
    const qlonglong numero = operatore.trimmed().toLongLong(&ok);
    return ok ? QString::number(numero) : operatore;
}

bool preferenzaAttiva(const QString& valore) {
    bool ok = false;
    const double numero = valore.trimmed().toDouble(&ok);
    return ok && numero != 0;
}

int contaCorsiScaricati(db::Connection& c, const Operatore& operatore) {
    return c
        .scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef WHERE GrupOpe = ? AND "
                               "Operatore = ?"),
                {operatore.GrupOpe, codiceNumerico(operatore.Operatore)})
        .toInt();
}

bool controlloMatricole(db::Connection& c, qint32 idAttivita) {
    const auto righe =
        c.query(QStringLiteral("SELECT count(*) AS numRec FROM KELDAnagFreq WHERE Matricola = ? "
                               "COLLATE NOCASE AND IdAttivita = ?"),
                {QStringLiteral("null"), idAttivita});
    return righe.isEmpty() || righe.first().value(QStringLiteral("NumRec")).toLongLong() == 0;
}

QString voceOperatore(const QString& grupOpe, const QString& operatore) {
    return grupOpe + QStringLiteral("      - ") +
           operatore.trimmed().rightJustified(5, QLatin1Char(' '));
}

QStringList vociOperatori(db::Connection& c) {
    QStringList voci;
    const auto righe = c.query(QStringLiteral("SELECT GrupOpe, Operatore FROM CorsiOper"));
    for (const db::Row& r : righe) {
        const QString voce = voceOperatore(r.value(0).toString(), r.value(1).toString());
        if (!voci.contains(voce))
            voci << voce;
    }
    return voci;
}

} // namespace mainregole
