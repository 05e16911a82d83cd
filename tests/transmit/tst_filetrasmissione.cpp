#include "TestSupport.h"
#include "core/RigaRecord.h"
#include "db/Database.h"
#include "transmit/mdCreaFileTrasm.h"

#include <QDir>
#include <QFile>
#include <QTest>

using transmit::DatiAllegato;
using transmit::mdCreaFileTrasm;

namespace {

const QString kNome = QStringLiteral("KORVADIN_888_50001.A123");

QByteArray leggi(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

// The attachment of a course of the demo agency, with the course and its
// participants put into the database here.
class TestFileTrasmissione : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void corsoCompleto();
    void corsoSoloDate();
    void giorni_data();
    void giorni();
    void valori_data();
    void valori();
    void rifiuti_data();
    void rifiuti();
    void corsoSenzaAllievi();
    void nomeInDebug();
    void controlloRighe();

private:
    DatiAllegato dati(qint32 id) const;
    void eseguiSql(const QString& sql, const QVariantList& valori = {});
    QList<RigaRecord> righe(const QString& nome) const;

    std::unique_ptr<TestInstallation> m_inst;
    Session* m_s = nullptr;
};

void TestFileTrasmissione::init() {
    m_inst = std::make_unique<TestInstallation>();
    m_s = &m_inst->sessione();
    const QString corso = QStringLiteral(
        "INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, ProgrAttivita, DenCorso, "
        "DataInizioGG, DataInizioMM, DataInizioAAAA, DataFineEffGG, DataFineEffMM, "
        "DataFineEffAAAA, TotIter, TotMaschi, TotFemmine, TotMaschiH, TotFemmineH, AmmessiM, "
        "AmmessiF, AmmessiMH, AmmessiFH, NonAmmessiM, NonAmmessiF, NonAmmessiMH, NonAmmessiFH, "
        "Stato, Componente, SedeOcca, CodSubAsse, CostoCorso, CreditoFormativo, codTipologiaOrg, "
        "codAreaFormativa, codSubAreaFormativa, codSegmentoForm) VALUES "
        "(?,'A',123,9,?,'10','09','2018',?,?,?,97,?,?,?,?,?,?,?,?,?,?,?,?,'CHIUSO',1,?,?,"
        "12500.5,2.5,'I','ce','c1','S1')");
    eseguiSql(corso, {50001, QStringLiteral("Addetto alla contabilità, base"), QStringLiteral("14"),
                      QStringLiteral("12"), QStringLiteral("2018"), 1, 1, 0, 1, 1, 0, 0, 0, 0, 1, 0,
                      1, 1005, QStringLiteral("01")});
    eseguiSql(corso, {50002, QStringLiteral("Seminario"), QStringLiteral("31"),
                      QStringLiteral("01"), QStringLiteral("2019"), 3, QVariant(), QVariant(),
                      QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                      QVariant(), QVariant(), QVariant(), QVariant(), QStringLiteral("04")});
    eseguiSql(QStringLiteral("INSERT INTO CorsiSediOcc (SedeOcc, Indirizzo, CodComune) "
                             "VALUES (1005, 'Corso Battaglione, 7', 'A326')"));
    const QString allievo = QStringLiteral(
        "INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, Sesso, Matricola, "
        "OreAssenza, Giudizio, DescizioneGiudizio, codPartec, DescPartec, CredFormValut) "
        "VALUES (50001,?,?,?,?,?,?,?,?,?,?,?)");
    eseguiSql(allievo,
              {QStringLiteral("RSSMRA80A01A326X"), QStringLiteral("Rossi"), QStringLiteral("Mario"),
               QStringLiteral("M"), QStringLiteral("1001"), 12, QStringLiteral("0"),
               QStringLiteral("Assenze oltre il limite"), 3, QStringLiteral("Ritirato"), 0.0});
    eseguiSql(allievo, {QStringLiteral("NGLLCU85B41A326Y"), QStringLiteral("Angelo"),
                        QStringLiteral("Lucia"), QStringLiteral("F"), QStringLiteral("1002"), 0,
                        QStringLiteral("8"), QVariant(), 1, QStringLiteral("Frequentante"), 2.5});
}

void TestFileTrasmissione::cleanup() {
    m_s = nullptr;
    m_inst.reset();
}

DatiAllegato TestFileTrasmissione::dati(qint32 id) const {
    DatiAllegato d;
    d.IdAttivita = id;
    d.DenCorso = id == 50001 ? QStringLiteral("Addetto alla contabilità, base")
                             : QStringLiteral("Seminario");
    d.CodSubAsse = id == 50002 ? QStringLiteral("04") : QStringLiteral("01");
    d.operatore = {QStringLiteral("A"), QStringLiteral("123"),
                   QStringLiteral("Centro Formazione Val d'Aosta Lavoro")};
    d.email = QStringLiteral("segreteria@cfva.it");
    d.cartella = m_inst->folder() + QLatin1Char('/');
    d.data = QDate(2018, 12, 20);
    d.versioneMaggiore = 2;
    d.versioneMinore = 0;
    d.versioneRevisione = 1;
    return d;
}

void TestFileTrasmissione::eseguiSql(const QString& sql, const QVariantList& valori) {
    m_s->CorsiDB().exec(sql, valori);
}

QList<RigaRecord> TestFileTrasmissione::righe(const QString& nome) const {
    QList<RigaRecord> r;
    const QList<QByteArray> linee = leggi(m_inst->file(nome)).split('\n');
    for (const QByteArray& l : linee)
        r << RigaRecord::leggi(QString::fromLatin1(l.trimmed()));
    return r;
}

void TestFileTrasmissione::corsoCompleto() {
    // An older file of the same name is replaced.
    QFile vecchio(m_inst->file(kNome));
    QVERIFY(vecchio.open(QIODevice::WriteOnly));
    vecchio.write("vecchio contenuto piu lungo del nuovo?\r\n");
    vecchio.close();

    mdCreaFileTrasm crea(m_s->CorsiDB(), m_inst->interaction);
    QVERIFY(crea.CreaFile(dati(50001)));
    QCOMPARE(crea.allegato(), kNome);
    QCOMPARE(m_inst->interaction.texts(), QStringList());
    QCOMPARE(leggi(m_inst->file(kNome)), leggi(QFINDTESTDATA("fixtures/KORVADIN_888_50001.A123")));
    QCOMPARE(prova::permessi(m_inst->file(kNome)), prova::soloProprietario);
}

void TestFileTrasmissione::corsoSoloDate() {
    mdCreaFileTrasm crea(m_s->CorsiDB(), m_inst->interaction);
    QVERIFY(crea.CreaFile(dati(50002)));
    QCOMPARE(crea.allegato(), QStringLiteral("KORVADIN_888_50002.A123"));
    QCOMPARE(leggi(m_inst->file(crea.allegato())),
             leggi(QFINDTESTDATA("fixtures/KORVADIN_888_50002.A123")));
}

void TestFileTrasmissione::giorni_data() {
    QTest::addColumn<int>("totIter");
    QTest::addColumn<QVariant>("oreAssenza");
    QTest::addColumn<QString>("giorniCorso");
    QTest::addColumn<QString>("giorniFrequentati");
    QTest::newRow("97 hours, tie to even") << 97 << QVariant(0) << "12.12"
                                           << "12.12";
    QTest::newRow("100 hours, 12 absent") << 100 << QVariant(12) << "12.5"
                                          << "11";
    QTest::newRow("99 hours, tie up to even") << 99 << QVariant(0) << "12.38"
                                              << "12.38";
    QTest::newRow("no absence recorded") << 40 << QVariant() << "5"
                                         << "5";
}

void TestFileTrasmissione::giorni() {
    QFETCH(int, totIter);
    QFETCH(QVariant, oreAssenza);
    eseguiSql(QStringLiteral("UPDATE KELDCorsiDef SET TotIter=? WHERE IdAttivita=50001"),
              {totIter});
    eseguiSql(QStringLiteral("UPDATE KELDAnagFreq SET OreAssenza=? WHERE IdAttivita=50001"),
              {oreAssenza});
    mdCreaFileTrasm crea(m_s->CorsiDB(), m_inst->interaction);
    QVERIFY(crea.CreaFile(dati(50001)));
    const RigaRecord d = righe(kNome).at(5);
    QCOMPARE(d.campo(0), QStringLiteral("D"));
    QTEST(d.campo(12), "giorniCorso");
    QTEST(d.campo(13), "giorniFrequentati");
}

void TestFileTrasmissione::valori_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("riga");
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("atteso");
    // Record lines: 0 Z, 1 A, 2 B, 3-4 C, 5-6 D; fields numbered from 0.
    QTest::newRow("site: component when no occasional site")
        << "UPDATE KELDCorsiDef SET SedeOcca=NULL" << 5 << 19 << "Via Roma  12";
    QTest::newRow("site: municipality of the component")
        << "UPDATE KELDCorsiDef SET SedeOcca=NULL" << 5 << 20 << "Aosta";
    QTest::newRow("site: another agency's component of the same number is not taken")
        << "UPDATE CorsiCompo SET GrupOpe='B' WHERE Componente=1; UPDATE KELDCorsiDef SET "
           "SedeOcca=NULL"
        << 5 << 19 << "";
    QTest::newRow("site: municipality missing from Comuni")
        << "DELETE FROM Comuni" << 5 << 20 << "";
}

void TestFileTrasmissione::valori() {
    QFETCH(QString, sql);
    QFETCH(int, riga);
    QFETCH(int, campo);
    for (const QString& s : sql.split(QLatin1Char(';')))
        eseguiSql(s);
    mdCreaFileTrasm crea(m_s->CorsiDB(), m_inst->interaction);
    QVERIFY(crea.CreaFile(dati(50001)));
    QTEST(righe(kNome).at(riga).campo(campo), "atteso");
}

void TestFileTrasmissione::rifiuti_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("denCorso");
    QTest::addColumn<QString>("spiegazione");
    QTest::addColumn<QString>("chi");
    const QString aCapo = QStringLiteral("E' stata rilevata la presenza di un carattere non "
                                         "consentito ('ritorno a capo') \r\ndurante la creazione "
                                         "del file di trasmissione con i dati della Proposta\r\n");
    const QString codePage = QStringLiteral(
        "E' stata rilevata la presenza di un carattere non consentito (non rappresentabile nel "
        "file) \r\ndurante la creazione del file di trasmissione con i dati della Proposta\r\n");
    QTest::newRow("surname with a line break")
        << QStringLiteral("UPDATE KELDAnagFreq SET Cognome='Ros' || char(13,10) || 'si' "
                          "WHERE Matricola='1001'")
        << QString() << aCapo
        << QStringLiteral("Allievo Ros si Mario (RSSMRA80A01A326X), campo Cognome");
    QTest::newRow("name outside the code page")
        << QStringLiteral("UPDATE KELDAnagFreq SET Nome='Łucja' WHERE Matricola='1002'")
        << QString() << codePage
        << QStringLiteral("Allievo Angelo Łucja (NGLLCU85B41A326Y), campo Nome");
    QTest::newRow("course title outside the code page")
        << QString() << QStringLiteral("Saldatura ✓") << codePage
        << QStringLiteral("Corso 50001, campo DenCorso");
}

void TestFileTrasmissione::rifiuti() {
    QFETCH(QString, sql);
    QFETCH(QString, denCorso);
    QFETCH(QString, spiegazione);
    QFETCH(QString, chi);
    if (!sql.isEmpty())
        eseguiSql(sql);
    DatiAllegato d = dati(50001);
    if (!denCorso.isEmpty())
        d.DenCorso = denCorso;
    mdCreaFileTrasm crea(m_s->CorsiDB(), m_inst->interaction);
    QVERIFY(!crea.CreaFile(d));
    QCOMPARE(crea.allegato(), QString());
    QVERIFY(!QFile::exists(m_inst->file(kNome)));
    QCOMPARE(m_inst->interaction.messages.size(), 1);
    const ui::Message m = m_inst->interaction.last();
    QCOMPARE(m.text, spiegazione + chi);
    QCOMPARE(m.title, QStringLiteral("Creazione file di trasmissione - Nomina_e_Crea"));
    QCOMPARE(m.icon, ui::Icon::Critical);
}

void TestFileTrasmissione::corsoSenzaAllievi() {
    eseguiSql(QStringLiteral("DELETE FROM KELDAnagFreq WHERE IdAttivita=50001"));
    mdCreaFileTrasm crea(m_s->CorsiDB(), m_inst->interaction);
    QVERIFY(!crea.CreaFile(dati(50001)));
    QCOMPARE(crea.allegato(), QString());
    QVERIFY(!QFile::exists(m_inst->file(kNome)));
    const auto& msgs = m_inst->interaction.messages;
    QCOMPARE(msgs.size(), 2);
    QCOMPARE(msgs[0].text,
             QStringLiteral("ANOMALIA: nessun allievo trovato. Impossibile continuare"));
    QCOMPARE(msgs[0].title, QStringLiteral("Creazione file di trasmissione - ScriviRec_C"));
    QCOMPARE(msgs[0].icon, ui::Icon::Critical);
    QCOMPARE(msgs[1].title, QStringLiteral("Creazione file di trasmissione - Nomina_e_Crea"));
    QCOMPARE(msgs[1].text, QStringLiteral("Errore  0 --> \n\rdurante la creazione del file di "
                                          "trasmissione con i dati della domanda"));
}

void TestFileTrasmissione::nomeInDebug() {
    DatiAllegato d = dati(50002);
    d.debug = true;
    mdCreaFileTrasm crea(m_s->CorsiDB(), m_inst->interaction);
    QVERIFY(crea.CreaFile(d));
    QCOMPARE(crea.allegato(), QStringLiteral("DEBUG_KORVADIN_888_50002.A123"));
    QVERIFY(QFile::exists(m_inst->file(crea.allegato())));
    QCOMPARE(
        m_inst->interaction.texts(),
        QStringList({QStringLiteral("Modifico il nome dell'allegato per evitare che venga "
                                    "erroneamente acquisito."),
                     QStringLiteral("Il nome dell'allegato è: DEBUG_KORVADIN_888_50002.A123")}));
}

void TestFileTrasmissione::controlloRighe() {
    QFile f(m_inst->file(QStringLiteral("prova")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#Z#,#x#\r\n#D#,#Ros\r\nsi#,#1#\r\n#Z#,#EOF#\r\n");
    f.close();
    mdCreaFileTrasm crea(m_s->CorsiDB(), m_inst->interaction);
    QVERIFY(!crea.ControllaRecord(m_inst->folder(), QStringLiteral("prova")));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("#Z#,#x#\r\n#A#,#1#\r\n#B#,#1#\r\n#C#,#1#\r\n#D#,#1#\r\n#Z#,#EOF#\r\n");
    f.close();
    QVERIFY(crea.ControllaRecord(m_inst->folder(), QStringLiteral("prova")));
}

QTEST_GUILESS_MAIN(TestFileTrasmissione)
#include "tst_filetrasmissione.moc"
