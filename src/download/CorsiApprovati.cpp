#include "download/CorsiApprovati.h"

#include "core/General.h"
#include "core/Session.h"

namespace download {

namespace {

const QString kTrasmissione = QStringLiteral("TRASMISSIONE");
const QString kAperto = QStringLiteral("APERTO");
const QString kChiuso = QStringLiteral("CHIUSO");
const QString kTrasmesso = QStringLiteral("TRASMESSO");

QVariant codiceNumerico(const QString& operatore) {
    bool ok = false;
    const qlonglong numero = operatore.trimmed().toLongLong(&ok);
    return ok ? QVariant(numero) : QVariant(operatore);
}

// WHERE clause and values of the filter.
QString condizione(const Operatore& operatore, Filtro filtro, QVariantList& valori) {
    QString sql = QStringLiteral(" WHERE GrupOpe = ? AND Operatore = ?");
    valori << operatore.GrupOpe << codiceNumerico(operatore.Operatore);
    switch (filtro) {
    case Filtro::SoloChiusi:
        sql += QStringLiteral(" AND Stato = ?");
        valori << kChiuso;
        break;
    case Filtro::ChiusiETrasmessi:
        sql += QStringLiteral(" AND Stato <> ?");
        valori << kAperto;
        break;
    case Filtro::TuttiGliStati:
        break;
    }
    return sql;
}

const QString kOrdine = QStringLiteral(" ORDER BY ProgrAttivita, DenCorso COLLATE ITALIANO");

} // namespace

Filtro filtroIniziale(const QString& tipoOperazione) {
    return tipoOperazione == kTrasmissione ? Filtro::SoloChiusi : Filtro::TuttiGliStati;
}

const QList<Colonna>& colonne() {
    static const QList<Colonna> lista = {
        {QStringLiteral("IdAttivita"), QStringLiteral("Id attività"), 80},
        {QStringLiteral("GrupOpe"), QStringLiteral("Gruppo"), 55},
        {QStringLiteral("Operatore"), QStringLiteral("Operatore"), 75},
        {QStringLiteral("ProgrAttivita"), QStringLiteral("Progr."), 55},
        {QStringLiteral("DenCorso"), QStringLiteral("Denominazione corso"), 280},
        {QStringLiteral("DataInizioGG"), QStringLiteral("Inizio gg"), 65},
        {QStringLiteral("DataInizioMM"), QStringLiteral("Inizio mm"), 70},
        {QStringLiteral("DataInizioAAAA"), QStringLiteral("Inizio aaaa"), 80},
        {QStringLiteral("DataFineEffGG"), QStringLiteral("Fine gg"), 60},
        {QStringLiteral("DataFineEffMM"), QStringLiteral("Fine mm"), 65},
        {QStringLiteral("DataFineEffAAAA"), QStringLiteral("Fine aaaa"), 75},
        {QStringLiteral("TotIter"), QStringLiteral("Ore"), 50},
        {QStringLiteral("TotMaschi"), QStringLiteral("Iscritti M"), 75},
        {QStringLiteral("TotFemmine"), QStringLiteral("Iscritti F"), 75},
        {QStringLiteral("TotMaschiH"), QStringLiteral("Iscritti M disab."), 115},
        {QStringLiteral("TotFemmineH"), QStringLiteral("Iscritti F disab."), 115},
        {QStringLiteral("AmmessiM"), QStringLiteral("Ammessi M"), 80},
        {QStringLiteral("AmmessiF"), QStringLiteral("Ammessi F"), 80},
        {QStringLiteral("AmmessiMH"), QStringLiteral("Ammessi M disab."), 120},
        {QStringLiteral("AmmessiFH"), QStringLiteral("Ammessi F disab."), 120},
        {QStringLiteral("RitiratiM"), QStringLiteral("Ritirati M"), 80},
        {QStringLiteral("RitiratiF"), QStringLiteral("Ritirati F"), 80},
        {QStringLiteral("RitiratiMH"), QStringLiteral("Ritirati M disab."), 120},
        {QStringLiteral("RitiratiFH"), QStringLiteral("Ritirati F disab."), 120},
        {QStringLiteral("Stato"), QStringLiteral("Stato"), 95},
    };
    return lista;
}

QList<db::Row> elencoCorsi(db::Connection& c, const Operatore& operatore, Filtro filtro) {
    QStringList nomi;
    for (const Colonna& col : colonne())
        nomi << col.nome;
    QVariantList valori;
    const QString sql = QStringLiteral("SELECT ") + nomi.join(QStringLiteral(", ")) +
                        QStringLiteral(" FROM KELDCorsiDef") +
                        condizione(operatore, filtro, valori) + kOrdine;
    return c.query(sql, valori);
}

QList<qint32> corsiTrovati(db::Connection& c, const Operatore& operatore, Filtro filtro,
                           const QString& testo) {
    QVariantList valori;
    QString sql = QStringLiteral("SELECT IdAttivita FROM KELDCorsiDef") +
                  condizione(operatore, filtro, valori) +
                  QStringLiteral(" AND CONTIENE(DenCorso, ?) = 1") + kOrdine;
    // No LIKE pattern: the engine would have to parse whatever was typed.
    valori << testo.left(kLunghezzaDenCorso);
    QList<qint32> trovati;
    for (const db::Row& r : c.query(sql, valori))
        trovati << qint32(r.value(0).toLongLong());
    return trovati;
}

Verifica verificaConferma(const QString& tipoOperazione, const QString& stato) {
    if (tipoOperazione != kTrasmissione)
        return Verifica::Accetta;
    if (stato == kAperto)
        return Verifica::Rifiuta;
    if (stato == kTrasmesso)
        return Verifica::ChiediConferma;
    return Verifica::Accetta;
}

QString statoCorso(db::Connection& c, qint32 idAttivita) {
    return General::nonNullStr(c.scalar(
        QStringLiteral("SELECT Stato FROM KELDCorsiDef WHERE IdAttivita = ?"), {idAttivita}));
}

CorsoScelto corsoScelto(db::Connection& c, const db::Row& riga) {
    CorsoScelto corso;
    corso.IdAttivita = qint32(riga.value(QStringLiteral("IdAttivita")).toLongLong());
    corso.ProgrAttivita = General::nonNullStr(riga.value(QStringLiteral("ProgrAttivita")));
    corso.DenCorso = General::nonNullStr(riga.value(QStringLiteral("DenCorso")));
    corso.TotIter = riga.value(QStringLiteral("TotIter")).toInt();
    corso.CodSubAsse = General::nonNullStr(
        c.scalar(QStringLiteral("SELECT CodSubAsse FROM KELDCorsiDef WHERE IdAttivita = ?"),
                 {corso.IdAttivita}));
    return corso;
}

} // namespace download
