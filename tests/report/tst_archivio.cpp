#include "TestSupport.h"

#include "db/Database.h"
#include "report/ArchivioCorso.h"
#include "report/StatoCorso.h"

#include <QtTest>

using namespace report;
using namespace report::archivio;

namespace {

QVariant campo(db::Connection& db, qint32 id, const QString& colonna) {
    return db.scalar(QStringLiteral("SELECT %1 FROM KELDCorsiDef WHERE IdAttivita=?").arg(colonna),
                     {id});
}

QVariant campoAllievo(db::Connection& db, qint32 id, const QString& cf, const QString& colonna) {
    return db.scalar(
        QStringLiteral("SELECT %1 FROM KELDAnagFreq WHERE IdAttivita=? AND CodFiscale=?")
            .arg(colonna),
        {id, cf});
}

void nuovoCorso(db::Connection& db, qint32 id, const QString& subAsse) {
    db.exec(QStringLiteral("INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, "
                           "ProgrAttivita, DenCorso, TotIter, Stato, CodSubAsse) "
                           "VALUES (?, 'A', 123, 9, 'Corso di prova', 40, 'APERTO', ?)"),
            {id, subAsse});
}

void nuovoAllievo(db::Connection& db, qint32 id, const QString& cf, const QString& cognome,
                  const QString& sesso, const QVariant& giudizio, const QVariant& credito = {}) {
    db.exec(QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, "
                           "Sesso, Giudizio, CredFormValut) VALUES (?, ?, ?, 'Nome', ?, ?, ?)"),
            {id, cf, cognome, sesso, giudizio, credito});
}

DatiScheda scheda() {
    DatiScheda d;
    d.fineGG = QStringLiteral("20");
    d.fineMM = QStringLiteral("12");
    d.fineAAAA = QStringLiteral("2018");
    d.credito = QStringLiteral("2,5");
    d.tipOrg = QStringLiteral("R - Gestione diretta");
    d.segmento = QStringLiteral("S2 - Capacita'");
    d.areaFor = QStringLiteral("xx - Area non specificata");
    const QStringList valori = {"3", "2", "1", "0", "2", "1", "1", "0", "1", "1", "0", "0"};
    for (size_t i = 0; i < campiConteggio().size(); ++i)
        d.*campiConteggio()[i].testo = valori.at(int(i));
    return d;
}

} // namespace

class TestArchivio : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void letturaCorso();
    void corsoAssente();
    void vociDelleListe();
    void allieviInOrdine();
    void conteggiDagliAllievi_data();
    void conteggiDagliAllievi();
    void fattiPerLaChiusura();
    void salvataggioCompleto();
    void salvataggioSenzaCredito();
    void chiusuraCompleta();
    void allievoConApostrofi();
    void trasmessoNonTornaIndietro();
    void allieviInOrdineSenzaBadareAlleMaiuscole();
    void corsoScomparso();

private:
    std::unique_ptr<TestInstallation> m_inst;
    db::Connection& db() { return m_inst->sessione().CorsiDB(); }
};

void TestArchivio::init() {
    m_inst = std::make_unique<TestInstallation>();
}

void TestArchivio::cleanup() {
    m_inst.reset();
}

void TestArchivio::letturaCorso() {
    const auto aperto = leggiCorso(db(), 41235);
    QVERIFY(aperto);
    QCOMPARE(aperto->progrAttivita, QStringLiteral("1"));
    QCOMPARE(aperto->denCorso, QStringLiteral("Addetto alla contabilità di base"));
    QCOMPARE(aperto->totIter, QStringLiteral("40"));
    QCOMPARE(aperto->inizioGG + aperto->inizioMM + aperto->inizioAAAA, QStringLiteral("10092018"));
    QCOMPARE(aperto->fineGG + aperto->fineMM + aperto->fineAAAA, QString());
    QCOMPARE(aperto->stato, QStringLiteral("APERTO"));
    QCOMPARE(aperto->creditoFormativo, QString());
    QCOMPARE(aperto->codSubAsse, QStringLiteral("01"));

    db().exec(QStringLiteral("UPDATE KELDCorsiDef SET TotMaschiH=NULL, AmmessiF=3 "
                             "WHERE IdAttivita=41238"));
    const auto chiuso = leggiCorso(db(), 41238);
    QVERIFY(chiuso);
    QCOMPARE(chiuso->stato, QStringLiteral("CHIUSO"));
    QCOMPARE(chiuso->fineGG + chiuso->fineMM + chiuso->fineAAAA, QStringLiteral("20122018"));
    QCOMPARE(chiuso->creditoFormativo, QStringLiteral("2,5"));
    QCOMPARE(chiuso->codTipologiaOrg, QStringLiteral("I"));
    QCOMPARE(chiuso->codAreaFormativa, QStringLiteral("ce"));
    QCOMPARE(chiuso->codSegmentoForm, QStringLiteral("S1"));
    // In the order of the count boxes; a Null count shows as 0.
    QCOMPARE(QStringList(chiuso->conteggi.begin(), chiuso->conteggi.end()),
             QStringList({"1", "1", "0", "0", "1", "3", "0", "0", "0", "0", "0", "0"}));
}

void TestArchivio::corsoAssente() {
    QVERIFY(!leggiCorso(db(), 99999));
}

void TestArchivio::vociDelleListe() {
    QCOMPARE(vociTipologieOrganizzative(db()),
             QStringList({"I - Gestione indiretta", "R - Gestione diretta"}));
    QCOMPARE(vociSegmentiFormativi(db()),
             QStringList({"S1 - Conoscenze tecnico professionali", "S2 - Capacita'"}));
    const QStringList aree = vociAreeFormative(db());
    QCOMPARE(aree.size(), 6);
    QCOMPARE(aree.first(), QStringLiteral("ce - Formazione area economico-finanziaria"));
    QCOMPARE(aree.last(), QStringLiteral("xx - Area non specificata"));
    // Every stored code finds its item among those the tables produce.
    for (const char* c : {"cg", "ce", "ci", "cu", "cp", "xx"})
        QVERIFY(aree.contains(*voceAreaFor(QString::fromLatin1(c))));
}

void TestArchivio::allieviInOrdine() {
    db().exec(QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, "
                             "Sesso) VALUES (41235, 'RSSANN', 'Rossi', 'Anna', 'F')"));
    QStringList nomi;
    for (const Allievo& a : leggiAllievi(db(), 41235))
        nomi << a.cognome + QLatin1Char(' ') + a.nome;
    QCOMPARE(nomi, QStringList({"Bianchi Giuseppe", "D'Angelo Lucia", "Rossi Anna", "Rossi Mario",
                                "Verdi Anna"}));
}

void TestArchivio::conteggiDagliAllievi_data() {
    QTest::addColumn<QStringList>("allievi"); // "sesso:giudizio" ("_" = Null)
    // M enrolled, admitted, not admitted; F enrolled, admitted, not admitted.
    QTest::addColumn<QList<qint64>>("attesi");
    QTest::newRow("M con 9, F non gestita")
        << QStringList{"M:9", "F: "} << QList<qint64>{1, 1, 0, 1, 0, 0};
    QTest::newRow("ammessi e non ammessi")
        << QStringList{"M:8", "M:0", "M:9", "F:0", "F:0", "F:8"} << QList<qint64>{3, 2, 1, 3, 1, 2};
    QTest::newRow("giudizio nullo") << QStringList{"M:_", "F:_"} << QList<qint64>{1, 0, 0, 1, 0, 0};
    QTest::newRow("nessun allievo") << QStringList{} << QList<qint64>{0, 0, 0, 0, 0, 0};
}

void TestArchivio::conteggiDagliAllievi() {
    QFETCH(QStringList, allievi);
    QFETCH(QList<qint64>, attesi);
    nuovoCorso(db(), 50001, QStringLiteral("01"));
    int n = 0;
    for (const QString& a : allievi) {
        const QString giudizio = a.section(QLatin1Char(':'), 1);
        nuovoAllievo(db(), 50001, QStringLiteral("CF%1").arg(++n), QStringLiteral("Cognome"),
                     a.left(1), giudizio == QLatin1String("_") ? QVariant() : QVariant(giudizio));
    }
    const Conteggi c = contaAllievi(db(), 50001);
    const QList<qint64> letti = {c.maschi,  c.maschiAmmessi,  c.maschiNonAmmessi,
                                 c.femmine, c.femmineAmmesse, c.femmineNonAmmesse};
    QCOMPARE(letti, attesi);
}

void TestArchivio::fattiPerLaChiusura() {
    nuovoCorso(db(), 50002, QStringLiteral("01"));
    FattiAllievi f = fattiAllievi(db(), 50002);
    QVERIFY(f.tuttiGestiti);
    QVERIFY(!f.creditoMassimo);
    QVERIFY(!f.giudiziMisti);

    nuovoAllievo(db(), 50002, QStringLiteral("A1"), QStringLiteral("Uno"), QStringLiteral("M"),
                 QStringLiteral("8"), 2.5);
    nuovoAllievo(db(), 50002, QStringLiteral("A2"), QStringLiteral("Due"), QStringLiteral("F"),
                 QStringLiteral("0"), 0);
    f = fattiAllievi(db(), 50002);
    QVERIFY(f.tuttiGestiti);
    QCOMPARE(f.creditoMassimo.value_or(-1), 2.5);
    QVERIFY(!f.giudiziMisti);

    nuovoAllievo(db(), 50002, QStringLiteral("A3"), QStringLiteral("Tre"), QStringLiteral("F"),
                 QStringLiteral("9"), 1.0);
    QVERIFY(fattiAllievi(db(), 50002).giudiziMisti);

    nuovoAllievo(db(), 50002, QStringLiteral("A4"), QStringLiteral("Quattro"), QStringLiteral("M"),
                 QStringLiteral(" "));
    QVERIFY(!fattiAllievi(db(), 50002).tuttiGestiti);
    db().exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio=NULL WHERE CodFiscale='A4'"));
    QVERIFY(!fattiAllievi(db(), 50002).tuttiGestiti);
    QVERIFY(!fattiAllievi(db(), 41235).tuttiGestiti);
}

void TestArchivio::salvataggioCompleto() {
    DatiScheda d = scheda();
    d.maschiH = QStringLiteral("1,5"); // a count is a whole number
    QVERIFY(salvaCorso(db(), 41235, Layout::Completo, d, StatoAperto));
    QCOMPARE(campo(db(), 41235, "DataFineEffGG").toString(), QStringLiteral("20"));
    QCOMPARE(campo(db(), 41235, "DataFineEffMM").toString(), QStringLiteral("12"));
    QCOMPARE(campo(db(), 41235, "DataFineEffAAAA").toString(), QStringLiteral("2018"));
    QCOMPARE(campo(db(), 41235, "CreditoFormativo").toDouble(), 2.5);
    QCOMPARE(campo(db(), 41235, "codTipologiaOrg").toString(), QStringLiteral("R"));
    QCOMPARE(campo(db(), 41235, "codAreaFormativa").toString(), QStringLiteral("xx"));
    QCOMPARE(campo(db(), 41235, "codSegmentoForm").toString(), QStringLiteral("S2"));
    const QVariant subArea = campo(db(), 41235, "codSubAreaFormativa");
    QVERIFY(!subArea.isNull());
    QCOMPARE(subArea.toString(), QString());
    const QList<int> attesi = {3, 2, 1, 0, 2, 1, 1, 0, 1, 1, 0, 0};
    for (size_t i = 0; i < campiConteggio().size(); ++i)
        QCOMPARE(campo(db(), 41235, QString::fromLatin1(campiConteggio()[i].colonna)).toInt(),
                 attesi.at(int(i)));
}

void TestArchivio::salvataggioSenzaCredito() {
    db().exec(
        QStringLiteral("UPDATE KELDCorsiDef SET CreditoFormativo=1.75 WHERE IdAttivita=41235"));
    DatiScheda d = scheda();
    d.credito.clear();
    d.tipOrg.clear();
    QVERIFY(salvaCorso(db(), 41235, Layout::Completo, d, StatoAperto));
    QCOMPARE(campo(db(), 41235, "CreditoFormativo").toDouble(), 1.75);
    QCOMPARE(campo(db(), 41235, "codTipologiaOrg").toString(), QString());
}

void TestArchivio::chiusuraCompleta() {
    db().exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='8' WHERE IdAttivita=41235 AND "
                             "Sesso='M'"));
    db().exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='0' WHERE IdAttivita=41235 AND "
                             "Sesso='F'"));
    db().exec(QStringLiteral("UPDATE KELDCorsiDef SET TotMaschiH=1, AmmessiMH=1 "
                             "WHERE IdAttivita=41235"));
    DatiScheda d = scheda();
    d.maschiH = QStringLiteral("2"); // not saved: closing leaves the sub-counts as stored
    QVERIFY(chiudiCorso(db(), 41235, Layout::Completo, d, StatoAperto));
    QCOMPARE(campo(db(), 41235, "Stato").toString(), QStringLiteral("CHIUSO"));
    QCOMPARE(campo(db(), 41235, "CreditoFormativo").toDouble(), 2.5);
    QCOMPARE(campo(db(), 41235, "codTipologiaOrg").toString(), QStringLiteral("R"));
    QCOMPARE(campo(db(), 41235, "codAreaFormativa").toString(), QStringLiteral("xx"));
    QCOMPARE(campo(db(), 41235, "codSegmentoForm").toString(), QStringLiteral("S2"));
    QCOMPARE(campo(db(), 41235, "codSubAreaFormativa").toString(), QString());
    QCOMPARE(campo(db(), 41235, "DataFineEffAAAA").toString(), QStringLiteral("2018"));
    // The closed record reports the participants as they are.
    QCOMPARE(campo(db(), 41235, "TotMaschi").toInt(), 2);
    QCOMPARE(campo(db(), 41235, "TotFemmine").toInt(), 2);
    QCOMPARE(campo(db(), 41235, "AmmessiM").toInt(), 2);
    QCOMPARE(campo(db(), 41235, "AmmessiF").toInt(), 0);
    QCOMPARE(campo(db(), 41235, "NonAmmessiM").toInt(), 0);
    QCOMPARE(campo(db(), 41235, "NonAmmessiF").toInt(), 2);
    QCOMPARE(campo(db(), 41235, "TotMaschiH").toInt(), 1);
    QCOMPARE(campo(db(), 41235, "AmmessiMH").toInt(), 1);
}

void TestArchivio::allievoConApostrofi() {
    const QString cf = QStringLiteral("DNG'LC85B41'326");
    nuovoAllievo(db(), 41235, cf, QStringLiteral("D'Angelo"), QStringLiteral("F"),
                 QStringLiteral(" "));
    allievo::ValoriAllievo v;
    v.oreAssenza = 12;
    v.giudizio = QStringLiteral("0");
    v.motivo = QStringLiteral("Allievo ritirato");
    v.codPartec = 3;
    v.descPartec = QStringLiteral("Partecipazione parziale");
    v.credito = 0;
    v.presenzaEffettiva = 28;
    QVERIFY(salvaAllievo(db(), 41235, cf, v));
    QCOMPARE(campoAllievo(db(), 41235, cf, "OreAssenza").toInt(), 12);
    QCOMPARE(campoAllievo(db(), 41235, cf, "OrePresenzaEffettiva").toInt(), 28);
    QCOMPARE(campoAllievo(db(), 41235, cf, "Giudizio").toString(), QStringLiteral("0"));
    QCOMPARE(campoAllievo(db(), 41235, cf, "DescizioneGiudizio").toString(),
             QStringLiteral("Allievo ritirato"));
    QCOMPARE(campoAllievo(db(), 41235, cf, "codPartec").toInt(), 3);
    QCOMPARE(campoAllievo(db(), 41235, cf, "DescPartec").toString(),
             QStringLiteral("Partecipazione parziale"));
    QCOMPARE(campoAllievo(db(), 41235, cf, "CredFormValut").toDouble(), 0.0);
    // The other D'Angelo of the course is untouched.
    QCOMPARE(campoAllievo(db(), 41235, "DNGLCU85B41A326Y", "Giudizio").toString(),
             QStringLiteral(" "));

    v.credito = 2.25;
    v.giudizio = QStringLiteral("8");
    QVERIFY(salvaAllievo(db(), 41235, QStringLiteral("DNGLCU85B41A326Y"), v));
    QCOMPARE(campoAllievo(db(), 41235, "DNGLCU85B41A326Y", "CredFormValut").toDouble(), 2.25);
    QCOMPARE(campoAllievo(db(), 41235, cf, "CredFormValut").toDouble(), 0.0);
}

void TestArchivio::trasmessoNonTornaIndietro() {
    db().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato='TRASMESSO' WHERE IdAttivita=41235"));
    QVERIFY(!riapriCorso(db(), 41235, StatoTrasmesso));
    QVERIFY(!chiudiCorso(db(), 41235, Layout::SoloDate, scheda(), StatoTrasmesso));
    QCOMPARE(campo(db(), 41235, "Stato").toString(), StatoTrasmesso);
    QVERIFY(campo(db(), 41235, "DataFineEffGG").toString() != QStringLiteral("20"));
}

void TestArchivio::allieviInOrdineSenzaBadareAlleMaiuscole() {
    nuovoCorso(db(), 50003, QStringLiteral("B"));
    const QList<QPair<QString, QString>> inseriti = {{"Verdi", "Luca"},    {"Rossi", "Mario"},
                                                     {"de Santis", "Ugo"}, {"Rossi", "anna"},
                                                     {"Èrcoli", "Sara"},   {"ercoli", "Bruno"}};
    int n = 0;
    for (const auto& [cognome, nome] : inseriti)
        db().exec(QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, "
                                 "Sesso) VALUES (50003, ?, ?, ?, 'M')"),
                  {QStringLiteral("CF%1").arg(++n), cognome, nome});
    QStringList ordine;
    for (const Allievo& a : leggiAllievi(db(), 50003))
        ordine << a.cognome + QLatin1Char(' ') + a.nome;
    QCOMPARE(ordine, (QStringList{"de Santis Ugo", "ercoli Bruno", "Èrcoli Sara", "Rossi anna",
                                  "Rossi Mario", "Verdi Luca"}));
}

void TestArchivio::corsoScomparso() {
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             salvaCorso(db(), 99999, Layout::Completo, scheda(), StatoAperto));
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             chiudiCorso(db(), 99999, Layout::SoloDate, scheda(), StatoAperto));
    QVERIFY_THROWS_EXCEPTION(db::DbError, riapriCorso(db(), 99999, StatoChiuso));
    QVERIFY_THROWS_EXCEPTION(db::DbError, salvaAllievo(db(), 41235, QStringLiteral("NESSUNO"), {}));
}

QTEST_MAIN(TestArchivio)
#include "tst_archivio.moc"
