#include "report/ArchivioCorso.h"

#include "core/General.h"
#include "db/Database.h"
#include "report/StatoCorso.h"

namespace report::archivio {

namespace {

QString testo(const db::Row& r, const char* colonna) {
    return General::nonNullStr(r.value(QString::fromLatin1(colonna)));
}

qint64 conta(db::Connection& db, qint32 id, const QString& condizione) {
    return db
        .scalar(QStringLiteral("Select count(*) as numRec from KELDAnagFreq Where IdAttivita=?") +
                    condizione,
                {id})
        .toLongLong();
}

QStringList voci(db::Connection& db, const QString& sql) {
    QStringList elenco;
    for (const db::Row& r : db.query(sql))
        elenco << General::nonNullStr(r.value(0)) + QStringLiteral(" - ") +
                      General::nonNullStr(r.value(1));
    return elenco;
}

void nessunCorso(qint32 id) {
    throw db::DbError(0, QStringLiteral("Il corso %1 non è presente in archivio.").arg(id));
}

// Nothing changed: either the course is gone (an error) or its state is no
// longer the one read (false).
bool nessunaRiga(db::Connection& db, qint32 id) {
    if (!db.scalar(QStringLiteral("SELECT 1 FROM KELDCorsiDef WHERE IdAttivita=?"), {id}).isValid())
        nessunCorso(id);
    return false;
}

// The condition on the state the form read ("" for a Null state).
const QString kStatoLetto = QStringLiteral(" AND coalesce(Stato, '')=?");

QVariantList dataFine(const DatiScheda& d) {
    return {d.fineGG.trimmed(), d.fineMM.trimmed(), d.fineAAAA.trimmed()};
}

} // namespace

std::optional<RecordCorso> leggiCorso(db::Connection& db, qint32 idAttivita) {
    const auto righe =
        db.query(QStringLiteral("SELECT * FROM KELDCorsiDef WHERE IdAttivita=?"), {idAttivita});
    if (righe.isEmpty())
        return std::nullopt;
    const db::Row& r = righe.first();
    RecordCorso c;
    c.idAttivita = idAttivita;
    c.progrAttivita = testo(r, "ProgrAttivita");
    c.denCorso = testo(r, "denCorso");
    c.totIter = testo(r, "TotIter");
    c.inizioGG = testo(r, "DataInizioGG");
    c.inizioMM = testo(r, "DataInizioMM");
    c.inizioAAAA = testo(r, "DataInizioAAAA");
    c.fineGG = testo(r, "DataFineEffGG");
    c.fineMM = testo(r, "DataFineEffMM");
    c.fineAAAA = testo(r, "DataFineEffAAAA");
    c.stato = testo(r, "Stato");
    c.creditoFormativo = testo(r, "CreditoFormativo");
    c.codTipologiaOrg = testo(r, "codTipologiaOrg");
    c.codAreaFormativa = testo(r, "codAreaFormativa");
    c.codSegmentoForm = testo(r, "codSegmentoForm");
    c.codSubAsse = testo(r, "CodSubAsse");
    const auto& campi = campiConteggio();
    for (size_t i = 0; i < campi.size(); ++i) {
        const QString valore = testo(r, campi[i].colonna);
        c.conteggi[i] = valore.isEmpty() ? QStringLiteral("0") : valore;
    }
    return c;
}

QStringList vociTipologieOrganizzative(db::Connection& db) {
    return voci(db, QStringLiteral("Select codTipologiaOrg, Descrizione FROM "
                                   "KELDTipologieOrganizzative ORDER BY codTipologiaOrg"));
}

QStringList vociSegmentiFormativi(db::Connection& db) {
    return voci(db, QStringLiteral(
                        "Select codice, Descrizione FROM KELDSegmentoFormativo ORDER BY codice"));
}

QStringList vociAreeFormative(db::Connection& db) {
    return voci(db, QStringLiteral("Select codAreaFormativa, AFDescrizione FROM KELDAreeFormative "
                                   "ORDER BY codAreaFormativa"));
}

QList<Allievo> leggiAllievi(db::Connection& db, qint32 idAttivita) {
    QList<Allievo> allievi;
    const auto righe = db.query(
        QStringLiteral("SELECT IdAttivita, CodFiscale, Cognome, Nome, Sesso, Matricola, "
                       "OreAssenza, Giudizio, DescizioneGiudizio, codAreaFormativa, "
                       "codTipologiaOrg, Handicap, OrePresenzaEffettiva, codPartec, DescPartec, "
                       "CredFormValut FROM KELDAnagFreq WHERE IdAttivita=? "
                       "ORDER BY Cognome COLLATE ITALIANO, Nome COLLATE ITALIANO"),
        {idAttivita});
    for (const db::Row& r : righe) {
        Allievo a;
        a.codFiscale = testo(r, "CodFiscale");
        a.cognome = testo(r, "Cognome");
        a.nome = testo(r, "Nome");
        a.sesso = testo(r, "Sesso");
        a.matricola = testo(r, "Matricola");
        a.oreAssenza = r.value(QStringLiteral("OreAssenza"));
        a.orePresenzaEffettiva = r.value(QStringLiteral("OrePresenzaEffettiva"));
        a.codPartec = r.value(QStringLiteral("codPartec"));
        a.credFormValut = r.value(QStringLiteral("CredFormValut"));
        a.handicap = r.value(QStringLiteral("Handicap"));
        a.descPartec = testo(r, "DescPartec");
        a.giudizio = testo(r, "Giudizio");
        a.descizioneGiudizio = testo(r, "DescizioneGiudizio");
        a.codAreaFormativa = testo(r, "codAreaFormativa");
        a.codTipologiaOrg = testo(r, "codTipologiaOrg");
        allievi << a;
    }
    return allievi;
}

Conteggi contaAllievi(db::Connection& db, qint32 idAttivita) {
    Conteggi c;
    c.maschi = conta(db, idAttivita, QStringLiteral(" and Sesso = 'M'"));
    c.femmine = conta(db, idAttivita, QStringLiteral(" and Sesso = 'F'"));
    c.maschiAmmessi =
        conta(db, idAttivita, QStringLiteral(" and Sesso = 'M' AND GIUDIZIO in ('8', '9')"));
    c.femmineAmmesse =
        conta(db, idAttivita, QStringLiteral(" and Sesso = 'F' AND GIUDIZIO in ('8', '9')"));
    c.maschiNonAmmessi = conta(db, idAttivita, QStringLiteral(" and Sesso = 'M' AND GIUDIZIO='0'"));
    c.femmineNonAmmesse =
        conta(db, idAttivita, QStringLiteral(" and Sesso = 'F' AND GIUDIZIO='0'"));
    return c;
}

FattiAllievi fattiAllievi(db::Connection& db, qint32 idAttivita) {
    FattiAllievi f;
    // A participant whose judgement is missing altogether is not handled either.
    f.tuttiGestiti =
        db.scalar(QStringLiteral("Select count(*) as numRec from KELDAnagFreq where idAttivita=? "
                                 "and (Giudizio=' ' or Giudizio is null or trim(Giudizio)='')"),
                  {idAttivita})
            .toLongLong() == 0;
    const QVariant massimo = db.scalar(QStringLiteral("Select max(CredFormValut) as ValoreMassimo "
                                                      "from KELDAnagFreq WHERE idAttivita=?"),
                                       {idAttivita});
    if (massimo.isValid() && !massimo.isNull())
        f.creditoMassimo = massimo.toDouble();
    const auto giudizio = [&](const char* codice) {
        return db
            .scalar(QStringLiteral("Select COUNT(*) as numRec from KELDAnagFreq WHERE "
                                   "idAttivita=? AND Giudizio = ?"),
                    {idAttivita, QString::fromLatin1(codice)})
            .toLongLong();
    };
    f.giudiziMisti = giudizio("8") >= 1 && giudizio("9") >= 1;
    return f;
}

bool salvaCorso(db::Connection& db, qint32 idAttivita, Layout layout, const DatiScheda& d,
                const QString& statoLetto) {
    QString sql = QStringLiteral("UPDATE KELDCorsiDef SET DataFineEffGG=?, DataFineEffMM=?, "
                                 "DataFineEffAAAA=?");
    QVariantList valori = dataFine(d);
    if (layout == Layout::Completo) {
        if (const auto credito = numeroScritto(d.credito)) {
            sql += QStringLiteral(", CreditoFormativo=?");
            valori << *credito;
        }
        sql += QStringLiteral(", codTipologiaOrg=?, codAreaFormativa=?, codSegmentoForm=?, "
                              "codSubAreaFormativa=?");
        valori << codiceTipOrg(d.tipOrg) << codiceAreaFor(d.areaFor) << codiceSegmento(d.segmento)
               << QStringLiteral("");
        for (const CampoConteggio& c : campiConteggio()) {
            sql += QStringLiteral(", %1=?").arg(QString::fromLatin1(c.colonna));
            valori << interoDaTesto(d.*c.testo);
        }
    }
    sql += QStringLiteral(" WHERE IdAttivita=?") + kStatoLetto;
    valori << idAttivita << statoLetto;
    return db.exec(sql, valori) > 0 || nessunaRiga(db, idAttivita);
}

bool chiudiCorso(db::Connection& db, qint32 idAttivita, Layout layout, const DatiScheda& d,
                 const QString& statoLetto) {
    if (statoLetto == StatoChiuso || statoLetto == StatoTrasmesso)
        return nessunaRiga(db, idAttivita);
    // The counts and the state are written together, under the write lock.
    db::Transaction transazione(db);
    QString sql = QStringLiteral("UPDATE KELDCorsiDef SET Stato=?, DataFineEffGG=?, "
                                 "DataFineEffMM=?, DataFineEffAAAA=?, codTipologiaOrg=?, "
                                 "codAreaFormativa=?, codSubAreaFormativa=?, CreditoFormativo=?, "
                                 "codSegmentoForm=?");
    QVariantList valori = QVariantList{StatoChiuso} + dataFine(d);
    if (layout == Layout::SoloDate) {
        valori << QStringLiteral("") << QStringLiteral("") << QStringLiteral("") << 0
               << QStringLiteral("");
    } else {
        valori << codiceTipOrg(d.tipOrg) << codiceAreaFor(d.areaFor) << QStringLiteral("")
               << numeroScritto(d.credito).value_or(0) << codiceSegmento(d.segmento);
        const Conteggi c = contaAllievi(db, idAttivita);
        sql += QStringLiteral(", TotMaschi=?, TotFemmine=?, AmmessiM=?, AmmessiF=?, "
                              "NonAmmessiM=?, NonAmmessiF=?");
        valori << c.maschi << c.femmine << c.maschiAmmessi << c.femmineAmmesse << c.maschiNonAmmessi
               << c.femmineNonAmmesse;
    }
    sql += QStringLiteral(" WHERE IdAttivita=?") + kStatoLetto;
    valori << idAttivita << statoLetto;
    const bool scritto = db.exec(sql, valori) > 0;
    transazione.commit();
    return scritto || nessunaRiga(db, idAttivita);
}

bool riapriCorso(db::Connection& db, qint32 idAttivita, const QString& statoLetto) {
    if (statoLetto != StatoChiuso)
        return nessunaRiga(db, idAttivita);
    return db.exec(QStringLiteral("Update KELDCorsiDef set Stato=? where idAttivita=? AND Stato=?"),
                   {StatoAperto, idAttivita, StatoChiuso}) > 0 ||
           nessunaRiga(db, idAttivita);
}

bool salvaAllievo(db::Connection& db, qint32 idAttivita, const QString& codFiscale,
                  const allievo::ValoriAllievo& v) {
    const int cambiate = db.exec(
        QStringLiteral("Update KELDAnagFreq SET OreAssenza=?, Giudizio=?, DescizioneGiudizio=?, "
                       "codPartec=?, DescPartec=?, CredFormValut=?, OrePresenzaEffettiva=? "
                       "where idAttivita=? and codFiscale=? and exists (SELECT 1 FROM "
                       "KELDCorsiDef WHERE IdAttivita=? AND coalesce(Stato, '') NOT IN (?, ?))"),
        {v.oreAssenza, v.giudizio, v.motivo, v.codPartec, v.descPartec, v.credito,
         v.presenzaEffettiva, idAttivita, codFiscale, idAttivita, StatoChiuso, StatoTrasmesso});
    if (cambiate > 0)
        return true;
    if (!db.scalar(QStringLiteral("SELECT 1 FROM KELDAnagFreq WHERE idAttivita=? and codFiscale=?"),
                   {idAttivita, codFiscale})
             .isValid())
        throw db::DbError(
            0, QStringLiteral("L'allievo %1 non è presente in archivio.").arg(codFiscale));
    return false;
}

} // namespace report::archivio
