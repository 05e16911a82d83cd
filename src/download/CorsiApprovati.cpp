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

FiltroStato gruppoStato(const QString& stato) {
    if (stato == kChiuso)
        return FiltroStato::Chiusi;
    if (stato == kTrasmesso)
        return FiltroStato::Trasmessi;
    return FiltroStato::Aperti;
}

bool passaFiltroStato(FiltroStato filtro, const QString& stato) {
    return filtro == FiltroStato::Tutti || gruppoStato(stato) == filtro;
}

QString descrizioneStato(const QString& stato) {
    switch (gruppoStato(stato)) {
    case FiltroStato::Chiusi:
        return QStringLiteral("Da trasmettere");
    case FiltroStato::Trasmessi:
        return QStringLiteral("Trasmesso");
    default:
        return QStringLiteral("Da compilare");
    }
}

QString nomeFiltroStato(FiltroStato filtro) {
    switch (filtro) {
    case FiltroStato::Aperti:
        return QStringLiteral("Da compilare");
    case FiltroStato::Chiusi:
        return QStringLiteral("Da trasmettere");
    case FiltroStato::Trasmessi:
        return QStringLiteral("Trasmessi");
    case FiltroStato::Tutti:
        break;
    }
    return QStringLiteral("Tutti");
}

bool filtroStatoOfferto(Filtro filtro) {
    return filtro == Filtro::TuttiGliStati;
}

QString codiceFiltroStato(FiltroStato filtro) {
    switch (filtro) {
    case FiltroStato::Aperti:
        return kAperto;
    case FiltroStato::Chiusi:
        return kChiuso;
    case FiltroStato::Trasmessi:
        return kTrasmesso;
    case FiltroStato::Tutti:
        break;
    }
    return QStringLiteral("TUTTI");
}

FiltroStato filtroStatoDaCodice(const QString& codice) {
    for (FiltroStato f : {FiltroStato::Aperti, FiltroStato::Chiusi, FiltroStato::Trasmessi})
        if (codice == codiceFiltroStato(f))
            return f;
    return FiltroStato::Tutti;
}

bool matricolaMancante(const QString& matricola) {
    return matricola.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0;
}

QHash<qint32, QStringList> allieviSenzaMatricola(db::Connection& c, const Operatore& operatore) {
    QHash<qint32, QStringList> nomi;
    const auto righe =
        c.query(QStringLiteral(
                    "SELECT a.IdAttivita, a.Cognome, a.Nome FROM KELDAnagFreq a "
                    "JOIN KELDCorsiDef k ON k.IdAttivita = a.IdAttivita "
                    "WHERE k.GrupOpe = ? AND k.Operatore = ? AND a.Matricola = ? COLLATE NOCASE "
                    "ORDER BY a.IdAttivita, a.Cognome COLLATE ITALIANO, a.Nome COLLATE ITALIANO"),
                {operatore.GrupOpe, codiceNumerico(operatore.Operatore), QStringLiteral("null")});
    for (const db::Row& r : righe)
        nomi[qint32(r.value(0).toLongLong())]
            << (General::nonNullStr(r.value(1)) + QLatin1Char(' ') +
                General::nonNullStr(r.value(2)))
                   .trimmed();
    return nomi;
}

QStringList allieviSenzaMatricola(db::Connection& c, qint32 idAttivita) {
    QStringList nomi;
    const auto righe =
        c.query(QStringLiteral("SELECT Cognome, Nome FROM KELDAnagFreq WHERE IdAttivita = ? AND "
                               "Matricola = ? COLLATE NOCASE "
                               "ORDER BY Cognome COLLATE ITALIANO, Nome COLLATE ITALIANO"),
                {idAttivita, QStringLiteral("null")});
    for (const db::Row& r : righe)
        nomi << (General::nonNullStr(r.value(0)) + QLatin1Char(' ') +
                 General::nonNullStr(r.value(1)))
                    .trimmed();
    return nomi;
}

QString elencoNomi(const QStringList& nomi, int quanti) {
    QStringList righe;
    for (int i = 0; i < nomi.size() && i < quanti; ++i)
        righe << QStringLiteral("- ") + nomi.at(i);
    if (nomi.size() > quanti)
        righe << QStringLiteral("... e altri %1").arg(nomi.size() - quanti);
    return righe.join(QLatin1Char('\n'));
}

QString avvisoMatricole(const QStringList& nomi) {
    return (nomi.size() == 1 ? QStringLiteral("Allievo privo del numero di Matricola:\n")
                             : QStringLiteral("Allievi privi del numero di Matricola (%1):\n")
                                   .arg(nomi.size())) +
           elencoNomi(nomi) +
           QStringLiteral("\n\nIl corso non può essere trasmesso finché manca la Matricola.\n"
                          "Rimedio: effettuare di nuovo lo scarico dei Corsi\n"
                          "(\"Scarico / Aggiornamento Corsi e partecipanti\" nella finestra "
                          "principale),\nche aggiorna le Matricole degli allievi.");
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
