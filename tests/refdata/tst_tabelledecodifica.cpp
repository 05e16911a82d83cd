// The decoding-table loader on a real encrypted database in a temporary program
// folder: flag files, header switch, record lines, update by key, failures.
#include "DatiDecodifica.h"
#include "TestSupport.h"
#include "core/Cp1252.h"
#include "db/Database.h"
#include "refdata/TabelleDecodifica.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace refdata;
using ui::Answer;
using ui::Buttons;
using ui::Icon;

namespace {

void scrivi(const QString& percorso, const QStringList& righe) {
    QDir().mkpath(QFileInfo(percorso).absolutePath());
    QByteArray b;
    for (const QString& r : righe)
        b += cp1252::encode(r) + "\r\n";
    QVERIFY(prova::scrivi(percorso, b));
}

QVariant valore(Session& s, const QString& sql, const QVariantList& v = {}) {
    return s.CorsiDB().scalar(sql, v);
}

qint64 conta(Session& s, const QString& tabella) {
    return valore(s, QStringLiteral("SELECT count(*) FROM ") + tabella).toLongLong();
}

// True when the run ended the program.
bool esegui(Session& s, const Caricamento& c) {
    return terminaIlProgramma([&] { eseguiTabelleDecodifica(s, c); });
}

bool esegui(Session& s, Chiamante chiamante = Chiamante::Avvio) {
    Caricamento c;
    c.chiamante = chiamante;
    return esegui(s, c);
}

} // namespace

class TestTabelleDecodifica : public QObject {
    Q_OBJECT
private slots:
    void entrambiIFlag();
    void flagNonCancellabile();
    void intestazioneAggiornamentoSottoInstalla();
    void aggiornaAsse_data();
    void aggiornaAsse();
    void valoriDeiCampi_data();
    void valoriDeiCampi();
    void apostrofoNellaChiave();
    void soloIntestazione();
    void fileVuoto_data();
    void fileVuoto();
    void campoVuotoInColonnaNumerica();
    void debugRiprovaUnNumeroLimitatoDiVolte();
    void logoMaiScritto();
    void massimaliPerChiamante_data();
    void massimaliPerChiamante();
    void carSostituisceLaCopiaPrecedente();
    void insiemeGeneratoInstallatoEAggiornato();
    void caricamentoInterrotto_data();
    void caricamentoInterrotto();
};

void TestTabelleDecodifica::entrambiIFlag() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    scrivi(s.file(FlagInstalla), {});
    scrivi(s.file(FlagAggiorna), {});
    scrivi(s.file(QStringLiteral("Asse.txt")),
           {QStringLiteral("INSTALLAZIONE"), QStringLiteral("#A#,#Asse A#")});
    QVERIFY(!esegui(s));
    QCOMPARE(inst.interaction.messages.size(), 1);
    const auto m = inst.interaction.last();
    QCOMPARE(m.title, QStringLiteral("Installa/Aggiorna tabelle di decodifica"));
    QCOMPARE(m.icon, Icon::Warning);
    QVERIFY(m.text.startsWith(QStringLiteral("Rilevata presenza di entrambi i files INSTALLA.TAB "
                                             "e AGGIORNA.TAB. \nAmbiguità")));
    QVERIFY(QFile::exists(s.file(FlagInstalla)) && QFile::exists(s.file(FlagAggiorna)));
    QVERIFY(QFile::exists(s.file(QStringLiteral("Asse.txt"))));
    QCOMPARE(conta(s, QStringLiteral("Asse")), 0);
    QVERIFY(!s.ended());
}

void TestTabelleDecodifica::flagNonCancellabile() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    // A folder of that name cannot be removed as a file.
    QVERIFY(QDir().mkpath(s.file(FlagAggiorna) + QStringLiteral("/dentro")));
    scrivi(s.file(QStringLiteral("Asse.txt")), {QStringLiteral("X"), QStringLiteral("#A#,#a#")});
    QVERIFY(!esegui(s));
    QCOMPARE(inst.interaction.messages.size(), 1);
    QCOMPARE(inst.interaction.last().text,
             QStringLiteral("Impossibile aggiornare le tabelle di decodifica (file flag non "
                            "cancellabile)"));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("KORVADIN"));
    QCOMPARE(inst.interaction.last().icon, Icon::Critical);
    QCOMPARE(conta(s, QStringLiteral("Asse")), 0);
    QVERIFY(QFile::exists(s.file(QStringLiteral("Asse.txt"))));
    QVERIFY(!s.ended());
}

void TestTabelleDecodifica::intestazioneAggiornamentoSottoInstalla() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("INSERT INTO Asse VALUES ('A','vecchio'),('B','resta')"));
    s.CorsiDB().exec(QStringLiteral("INSERT INTO Misura VALUES ('B','01','resta')"));
    scrivi(s.file(FlagInstalla), {});
    scrivi(s.file(QStringLiteral("Asse.txt")),
           {QStringLiteral("AGGIORNAMENTO"), QStringLiteral("#A#,#nuovo#")});
    // Any other header leaves the update mode of the previous file.
    scrivi(s.file(QStringLiteral("Misura.txt")),
           {QStringLiteral("Misure 2019"), QStringLiteral("#A#,#01#,#aggiunta#")});
    QVERIFY(!esegui(s));
    QVERIFY(!QFile::exists(s.file(FlagInstalla)));
    QCOMPARE(valore(s, QStringLiteral("SELECT DesAsse FROM Asse WHERE CodAsse='A'")).toString(),
             QStringLiteral("nuovo"));
    QCOMPARE(conta(s, QStringLiteral("Asse")), 2);
    QCOMPARE(conta(s, QStringLiteral("Misura")), 2);
}

void TestTabelleDecodifica::aggiornaAsse_data() {
    QTest::addColumn<bool>("presente");
    QTest::addColumn<int>("righe");
    QTest::newRow("A presente: riscritto") << true << 2;
    QTest::newRow("A assente: aggiunto") << false << 2;
}

void TestTabelleDecodifica::aggiornaAsse() {
    QFETCH(bool, presente);
    QFETCH(int, righe);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("INSERT INTO Asse VALUES ('Z','altro')"));
    if (presente)
        s.CorsiDB().exec(QStringLiteral("INSERT INTO Asse VALUES ('A','vecchio')"));
    scrivi(s.file(FlagAggiorna), {});
    scrivi(s.file(QStringLiteral("Asse.txt")), {QString(), QStringLiteral("#A#,#Occupabilità#")});
    QVERIFY(!esegui(s));
    QCOMPARE(conta(s, QStringLiteral("Asse")), righe);
    QCOMPARE(valore(s, QStringLiteral("SELECT DesAsse FROM Asse WHERE CodAsse='A'")).toString(),
             QStringLiteral("Occupabilità"));
    QVERIFY(!QFile::exists(s.file(QStringLiteral("Asse.txt"))));
    QVERIFY(QFile::exists(s.file(CartellaCaricati + QStringLiteral("/Asse.txt"))));
}

void TestTabelleDecodifica::valoriDeiCampi_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QVariant>("atteso");
    QTest::newRow("null") << QStringLiteral("null") << QVariant();
    QTest::newRow("NuLl") << QStringLiteral("NuLl") << QVariant();
    QTest::newRow("NULL") << QStringLiteral("NULL") << QVariant();
    QTest::newRow("null tra spazi: il testo")
        << QStringLiteral(" null ") << QVariant(QStringLiteral("null"));
    QTest::newRow("spazi tolti") << QStringLiteral("  Aosta  ")
                                 << QVariant(QStringLiteral("Aosta"));
    QTest::newRow("vuoto") << QString() << QVariant(QString());
    QTest::newRow("600 caratteri")
        << QString(600, QLatin1Char('x')) << QVariant(QString(500, QLatin1Char('x')));
}

void TestTabelleDecodifica::valoriDeiCampi() {
    QFETCH(QString, campo);
    QFETCH(QVariant, atteso);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    scrivi(s.file(FlagInstalla), {});
    scrivi(s.file(QStringLiteral("Asse.txt")),
           {QStringLiteral("INSTALLAZIONE"), QStringLiteral("#A#,#") + campo + QLatin1Char('#')});
    QVERIFY(!esegui(s));
    const QVariant v = valore(s, QStringLiteral("SELECT DesAsse FROM Asse WHERE CodAsse='A'"));
    QCOMPARE(v.isValid(), atteso.isValid());
    if (atteso.isValid())
        QCOMPARE(v.toString(), atteso.toString());
}

void TestTabelleDecodifica::apostrofoNellaChiave() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("INSERT INTO StatiEsteri VALUES (?, 'vecchio', 'Z1')"),
                     {QStringLiteral("COSTA D'AVORIO")});
    scrivi(s.file(FlagAggiorna), {});
    scrivi(s.file(QStringLiteral("StatiEsteri.txt")),
           {QString(), QStringLiteral("#COSTA D'AVORIO#,#Costa d'Avorio#,#Z313#")});
    QVERIFY(!esegui(s));
    QCOMPARE(conta(s, QStringLiteral("StatiEsteri")), 1);
    QCOMPARE(valore(s, QStringLiteral("SELECT DesStato FROM StatiEsteri")).toString(),
             QStringLiteral("Costa d'Avorio"));
}

void TestTabelleDecodifica::soloIntestazione() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("INSERT INTO Regioni VALUES ('02','Valle')"));
    scrivi(s.file(FlagInstalla), {});
    scrivi(s.file(QStringLiteral("Regioni.txt")), {QStringLiteral("INSTALLAZIONE")});
    QVERIFY(!esegui(s));
    QCOMPARE(conta(s, QStringLiteral("Regioni")), 0);
    QVERIFY(inst.interaction.messages.isEmpty());
}

void TestTabelleDecodifica::fileVuoto_data() {
    QTest::addColumn<Answer>("risposta");
    QTest::newRow("Sì: avanti") << Answer::Yes;
    QTest::newRow("No: fine") << Answer::No;
}

void TestTabelleDecodifica::fileVuoto() {
    QFETCH(Answer, risposta);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("INSERT INTO Asse VALUES ('A','resta')"));
    scrivi(s.file(FlagInstalla), {});
    scrivi(s.file(QStringLiteral("Asse.txt")), {});
    scrivi(s.file(QStringLiteral("Misura.txt")),
           {QStringLiteral("INSTALLAZIONE"), QStringLiteral("#A#,#01#,#m#")});
    inst.interaction.answers = {risposta};
    const bool finito = esegui(s);
    QCOMPARE(inst.interaction.messages.size(), 1);
    const auto m = inst.interaction.last();
    QCOMPARE(m.text, QStringLiteral("ATTENZIONE: il file ") +
                         QDir::toNativeSeparators(s.file(QStringLiteral("Asse.txt"))) +
                         QStringLiteral(" è vuoto. Continuare l'operazione di aggiornamento sulle "
                                        "altre tabelle (scegliendo No il programma uscirà a "
                                        "Windows) ?"));
    QCOMPARE(m.buttons, Buttons::YesNo);
    QCOMPARE(m.title, TitoloCaricamento);
    if (risposta == Answer::Yes) {
        QVERIFY(!finito);
        QCOMPARE(valore(s, QStringLiteral("SELECT DesAsse FROM Asse")).toString(),
                 QStringLiteral("resta"));
        QCOMPARE(conta(s, QStringLiteral("Misura")), 1);
    } else {
        QVERIFY(finito);
        QVERIFY(!s.de.CorsiDB.isOpen());
        QVERIFY(QFile::exists(s.file(QStringLiteral("Misura.txt"))));
    }
}

void TestTabelleDecodifica::campoVuotoInColonnaNumerica() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("INSERT INTO Percorsi VALUES (9,'vecchio','F')"));
    scrivi(s.file(FlagInstalla), {});
    scrivi(s.file(QStringLiteral("Asse.txt")),
           {QStringLiteral("INSTALLAZIONE"), QStringLiteral("#A#,#nuovo#")});
    scrivi(s.file(QStringLiteral("Percorsi.txt")),
           {QStringLiteral("INSTALLAZIONE"), QStringLiteral("#1#,#uno#,#F#"),
            QStringLiteral("##,#due#,#F#")});
    QVERIFY(esegui(s));
    QCOMPARE(inst.interaction.messages.size(), 1);
    const auto m = inst.interaction.last();
    QCOMPARE(m.icon, Icon::Critical);
    QCOMPARE(m.title, TitoloCaricamento);
    QVERIFY2(m.text.startsWith(QStringLiteral("Errore ")), qPrintable(m.text));
    QVERIFY2(m.text.endsWith(QStringLiteral("\ndurante l'aggiornamento della tabella Percorsi, "
                                            "record 2.\nImpossibile continuare.")),
             qPrintable(m.text));
    // The connection may have been closed by the end of the program: look again.
    auto s2 = inst.nuovaSessione();
    db::Connection c;
    c.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM Percorsi")).toInt(), 1);
    QCOMPARE(c.scalar(QStringLiteral("SELECT DesPerc FROM Percorsi")).toString(),
             QStringLiteral("vecchio"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT DesAsse FROM Asse")).toString(),
             QStringLiteral("nuovo"));
    QVERIFY(QFile::exists(s.file(QStringLiteral("Percorsi.txt"))));
    QVERIFY(!QFile::exists(s.file(FlagInstalla)));
}

void TestTabelleDecodifica::debugRiprovaUnNumeroLimitatoDiVolte() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.debug = true;
    scrivi(s.file(FlagInstalla), {});
    scrivi(s.file(QStringLiteral("Percorsi.txt")),
           {QStringLiteral("INSTALLAZIONE"), QStringLiteral("#uno#,#x#,#F#")});
    Caricamento c;
    c.tentativiDebug = 2;
    QVERIFY(esegui(s, c));
    QStringList titoli;
    for (const auto& m : inst.interaction.messages)
        titoli << (m.text == QLatin1String("Resume") ? QStringLiteral("Resume") : m.title);
    QCOMPARE(titoli, QStringList({TitoloCaricamento, QStringLiteral("Resume"), TitoloCaricamento,
                                  QStringLiteral("Resume"), TitoloCaricamento}));
}

void TestTabelleDecodifica::logoMaiScritto() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("INSERT INTO ProvinceLoghiIndir (Prov, DesEnte, LOGO) "
                                    "VALUES ('AO', 'vecchio', ?)"),
                     {QByteArray("\x89PNG", 4)});
    scrivi(s.file(FlagAggiorna), {});
    scrivi(s.file(QStringLiteral("ProvinceLoghiIndir.txt")),
           {QString(), QStringLiteral("#AO#,#Regione#,#Piazza#,#11100#,#Aosta#,#0165#,#logo#")});
    QVERIFY(!esegui(s));
    QCOMPARE(valore(s, QStringLiteral("SELECT DesEnte FROM ProvinceLoghiIndir")).toString(),
             QStringLiteral("Regione"));
    QCOMPARE(valore(s, QStringLiteral("SELECT LOGO FROM ProvinceLoghiIndir")).toByteArray(),
             QByteArray("\x89PNG", 4));
}

void TestTabelleDecodifica::massimaliPerChiamante_data() {
    QTest::addColumn<Chiamante>("chiamante");
    QTest::addColumn<bool>("conIlTredicesimo");
    QTest::newRow("avvio: 12 campi") << Chiamante::Avvio << false;
    QTest::newRow("finestra principale: 14 campi") << Chiamante::FinestraPrincipale << true;
}

void TestTabelleDecodifica::massimaliPerChiamante() {
    QFETCH(Chiamante, chiamante);
    QFETCH(bool, conIlTredicesimo);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("INSERT INTO MassimaliPar (Massimale01) VALUES ('0')"));
    scrivi(s.file(FlagAggiorna), {});
    QStringList campi;
    for (int i = 1; i <= 14; ++i)
        campi << QString::number(i);
    scrivi(s.file(QStringLiteral("MassimaliPar.txt")),
           {QString(), QLatin1Char('#') + campi.join(QLatin1String("#,#")) + QLatin1Char('#')});
    QVERIFY(!esegui(s, chiamante));
    // Without key columns the single record is overwritten.
    QCOMPARE(conta(s, QStringLiteral("MassimaliPar")), 1);
    QCOMPARE(valore(s, QStringLiteral("SELECT Massimale12 FROM MassimaliPar")).toString(),
             QStringLiteral("12"));
    QCOMPARE(valore(s, QStringLiteral("SELECT Massimale13 FROM MassimaliPar")).isValid(),
             conIlTredicesimo);
}

void TestTabelleDecodifica::carSostituisceLaCopiaPrecedente() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    scrivi(s.file(CartellaCaricati + QStringLiteral("/Certif.txt")),
           {QStringLiteral("vecchia copia")});
    const QStringList righe = {QStringLiteral("INSTALLAZIONE"), QStringLiteral("#1#,#Qualifica#")};
    scrivi(s.file(QStringLiteral("Certif.txt")), righe);
    scrivi(s.file(FlagInstalla), {});
    QVERIFY(!esegui(s));
    QVERIFY(!QFile::exists(s.file(QStringLiteral("Certif.txt"))));
    QCOMPARE(cp1252::readLines(s.file(CartellaCaricati + QStringLiteral("/Certif.txt"))), righe);
    QCOMPARE(conta(s, QStringLiteral("Certif")), 1);
}

void TestTabelleDecodifica::insiemeGeneratoInstallatoEAggiornato() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    const auto righe = datidecodifica::genera(inst.folder(), datidecodifica::piccole());
    QCOMPARE(righe.size(), 25);
    scrivi(s.file(FlagInstalla), {});
    int avanzamenti = 0;
    Caricamento c;
    c.chiamante = Chiamante::FinestraPrincipale;
    c.record = [&](const QString&, const QString&, int) { ++avanzamenti; };
    QVERIFY(!esegui(s, c));
    QVERIFY(inst.interaction.messages.isEmpty());
    int totale = 0;
    for (auto it = righe.cbegin(); it != righe.cend(); ++it) {
        QCOMPARE(conta(s, it.key()), qint64(it.value()));
        totale += it.value();
    }
    QCOMPARE(avanzamenti, totale + 25);
    // The same set again as an update changes nothing.
    datidecodifica::genera(inst.folder(), datidecodifica::piccole(),
                           QStringLiteral("AGGIORNAMENTO"));
    scrivi(s.file(FlagAggiorna), {});
    QVERIFY(!esegui(s, c));
    for (auto it = righe.cbegin(); it != righe.cend(); ++it)
        QCOMPARE(conta(s, it.key()), qint64(it.value()));
}

void TestTabelleDecodifica::caricamentoInterrotto_data() {
    QTest::addColumn<int>("ms"); // after "PRONTO"; -1 = not killed
    for (int ms : {0, 60, 200, 450, 800, -1})
        QTest::addRow("%d ms", ms) << ms;
}

// A real child process installing the full-size set over the small one is
// killed at several moments: the database opens, passes its check, and every
// table holds either its old or its new rows.
void TestTabelleDecodifica::caricamentoInterrotto() {
    QFETCH(int, ms);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    QHash<QString, int> prima;
    {
        Session& s = inst.sessione();
        prima = datidecodifica::genera(inst.folder(), datidecodifica::piccole());
        scrivi(s.file(FlagInstalla), {});
        QVERIFY(!esegui(s, Chiamante::FinestraPrincipale));
        s.CorsiDB().close();
    }
    const auto dopo = datidecodifica::genera(inst.folder(), datidecodifica::Dimensioni{});
    scrivi(inst.file(FlagInstalla), {});

    const auto figlio = prova::avviaProbe(QStringLiteral(KORVADIN_CARICAMENTO_PROBE),
                                          {inst.folder(), QStringLiteral("decodifiche")});
    QVERIFY(figlio);
    const QByteArray uscita = prova::uccidiDopo(*figlio, ms);
    QCOMPARE(figlio->state(), QProcess::NotRunning);
    if (ms < 0)
        QVERIFY(uscita.contains("FATTO 1"));

    QCOMPARE(prova::verificaCopia(inst.database()), QString());
    db::Connection c;
    c.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    for (auto it = dopo.cbegin(); it != dopo.cend(); ++it) {
        const qint64 n =
            c.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(it.key())).toLongLong();
        QVERIFY2(n == it.value() || (ms >= 0 && n == prima.value(it.key())),
                 qPrintable(QStringLiteral("%1: %2").arg(it.key()).arg(n)));
    }
}

QTEST_GUILESS_MAIN(TestTabelleDecodifica)
#include "tst_tabelledecodifica.moc"
