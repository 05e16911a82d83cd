#include "core/Configurazione.h"
#include "core/Cp1252.h"
#include "core/UserSettings.h"
#include "core/clsFileINI.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

void scrivi(const QString& path, const QByteArray& bytes) {
    QVERIFY(prova::scrivi(path, bytes));
}

// An installed configuration file, as it comes with the program.
const QByteArray kIniInstallato =
    "[Installazione]\r\nTipo=StandAlone\r\nPROVIDER=Microsoft.Jet.OLEDB.4.0\r\n"
    "Versione=SERVER\r\n\r\n[BaseDati]\r\nDatabase=/srv/corsi/KORVADIN.mdb\r\n"
    "NFileDB=KORVADIN.mdb\r\n\r\n[CONNESSIONE]\r\nPWD=Qve3137\r\n"
    "NREG=http://srv.regione.it/fp/nreg.asp\r\n\r\n[Help]\r\nFILEHELP=KORVADIN.html\r\n";

} // namespace

class TestConfigurazione : public QObject {
    Q_OBJECT
private slots:
    void nomeFile_data();
    void nomeFile();
    void letturaComeScritta();
    void valoreTroncatoA254();
    void sezioneOChiaveAssente();
    void scritturaToccaSoloLaSuaRiga();
    void scritturaCreaFileESezione();
    void azzeramentoLasciaLeChiavi();
    void testoWindows1252();
    void password_data();
    void password();
    void discoPienoLasciaIlFile();
    void fileIlleggibileNonRicostruito();
    void scritturaInterrottaDaSigkill();
    void marcaUnicode_data();
    void marcaUnicode();
    void valoreFuoriCodePage();
    void preferenzeSuDiscoPieno();
    void indirizzoServer_data();
    void indirizzoServer();
};

void TestConfigurazione::nomeFile_data() {
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("atteso");
    const QString cartella = QStringLiteral("/opt/korvadin");
    QTest::newRow("senza punto e senza cartella") << "KORVADIN" << cartella + "/KORVADIN.ini";
    QTest::newRow("con punto senza cartella") << "KORVADIN.INI" << cartella + "/KORVADIN.INI";
    QTest::newRow("con punto e cartella") << "/etc/x/KORVADIN.INI"
                                          << "/etc/x/KORVADIN.INI";
    QTest::newRow("con cartella senza punto") << "/etc/x/KORVADIN"
                                              << "/etc/x/KORVADIN.ini";
}

void TestConfigurazione::nomeFile() {
    QFETCH(QString, valore);
    QFETCH(QString, atteso);
    clsFileINI ini(QStringLiteral("/opt/korvadin"));
    ini.setNomeFile(valore);
    QCOMPARE(ini.NomeFile(), atteso);
}

void TestConfigurazione::letturaComeScritta() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KORVADIN.INI"));
    scrivi(path, "[installazione]\r\nTIPO=StandAlone\r\n[BaseDati]\r\n"
                 "Database=C:\\Corsi\\KORVADIN.mdb\r\nElenco=\"a\",b,c\r\n");
    clsFileINI ini(dir.path());
    ini.setNomeFile(path);
    ini.setSezione(QStringLiteral("Installazione"));
    QCOMPARE(ini.Leggi(QStringLiteral("Tipo")), QStringLiteral("StandAlone"));
    ini.setSezione(QStringLiteral("BASEDATI"));
    QCOMPARE(ini.Leggi(QStringLiteral("database")), QStringLiteral("C:\\Corsi\\KORVADIN.mdb"));
    QCOMPARE(ini.Leggi(QStringLiteral("Elenco")), QStringLiteral("\"a\",b,c"));
}

void TestConfigurazione::valoreTroncatoA254() {
    QTemporaryDir dir;
    clsFileINI ini(dir.path());
    ini.setNomeFile(QStringLiteral("KORVADIN.INI"));
    ini.setSezione(QStringLiteral("CONNESSIONE"));
    const QString lungo = QString(300, QLatin1Char('x')) + QStringLiteral("FINE");
    QVERIFY(ini.Scrivi(QStringLiteral("NREG"), lungo) != 0);
    QCOMPARE(ini.Leggi(QStringLiteral("NREG")), lungo.left(254));
}

void TestConfigurazione::sezioneOChiaveAssente() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KORVADIN.INI"));
    scrivi(path, "[BaseDati]\r\nDatabase=x\r\n");
    clsFileINI ini(dir.path());
    ini.setNomeFile(path);
    QCOMPARE(ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo")), QString());
    QCOMPARE(ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), QStringLiteral("d")),
             QStringLiteral("d"));
    ini.setNomeFile(dir.filePath(QStringLiteral("manca.ini")));
    QCOMPARE(ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database"), QStringLiteral("d")),
             QStringLiteral("d"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("manca.ini"))));
}

void TestConfigurazione::scritturaToccaSoloLaSuaRiga() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KORVADIN.INI"));
    scrivi(path, "; commento\r\n[Installazione]\r\nTipo=StandAlone\r\nPROVIDER=X\r\n\r\n"
                 "[BaseDati]\r\nDatabase=C:\\a.mdb\r\n\r\n[Help]\r\nFILEHELP=k.html\r\n");
    clsFileINI ini(dir.path());
    ini.setNomeFile(path);
    ini.scrivi(QStringLiteral("installazione"), QStringLiteral("TIPO"),
               QStringLiteral("Multiutenza"));
    ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), QStringLiteral("a.mdb"));
    QCOMPARE(prova::contenuto(path),
             QByteArray("; commento\r\n[Installazione]\r\nTIPO=Multiutenza\r\nPROVIDER=X\r\n\r\n"
                        "[BaseDati]\r\nDatabase=C:\\a.mdb\r\nNFileDB=a.mdb\r\n\r\n[Help]\r\n"
                        "FILEHELP=k.html\r\n"));
}

void TestConfigurazione::scritturaCreaFileESezione() {
    QTemporaryDir dir;
    clsFileINI ini(dir.path());
    ini.setNomeFile(QStringLiteral("NUOVO"));
    QVERIFY(ini.scrivi(QStringLiteral("Help"), QStringLiteral("FILEHELP"), QStringLiteral("h")));
    QVERIFY(
        ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Database"), QStringLiteral("d")));
    QCOMPARE(prova::contenuto(dir.filePath(QStringLiteral("NUOVO.ini"))),
             QByteArray("[Help]\r\nFILEHELP=h\r\n\r\n[BaseDati]\r\nDatabase=d\r\n"));
}

void TestConfigurazione::azzeramentoLasciaLeChiavi() {
    QTemporaryDir dir;
    clsFileINI ini(dir.path());
    ini.setNomeFile(QStringLiteral("KORVADIN.INI"));
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"),
               QStringLiteral("StandAlone"));
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), QString());
    QVERIFY(prova::contenuto(ini.NomeFile()).contains("Tipo=\r\n"));
    QCOMPARE(
        ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), QStringLiteral("x")),
        QString());
}

void TestConfigurazione::testoWindows1252() {
    QTemporaryDir dir;
    clsFileINI ini(dir.path());
    ini.setNomeFile(QStringLiteral("KORVADIN.INI"));
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Nome"), QStringLiteral("Città €"));
    QVERIFY(prova::contenuto(ini.NomeFile()).contains("Nome=Citt\xE0 \x80\r\n"));
    QCOMPARE(ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Nome")),
             QStringLiteral("Città €"));
    QCOMPARE(cp1252::decode(cp1252::encode(QStringLiteral("àèìòù‘’“”–—…"))),
             QStringLiteral("àèìòù‘’“”–—…"));
}

void TestConfigurazione::password_data() {
    // The bytes stored in the file, and the password they stand for: every byte
    // of its Windows-1252 text with the lowest bit flipped.
    QTest::addColumn<QByteArray>("memorizzata");
    QTest::addColumn<QString>("decodificata");
    QTest::newRow("vuota") << QByteArray() << "";
    QTest::newRow("lettere e cifre") << QByteArray("Qve3137") << "Pwd2026";
    QTest::newRow("ritorno") << QByteArray("Pwd2026") << "Qve3137";
    QTest::newRow("lineetta 0x96") << QByteArray("Qve\x97\x33") << QStringLiteral("Pwd–2");
    QTest::newRow("euro 0x80 da byte non assegnato") << QByteArray("\x81") << QStringLiteral("€");
    QTest::newRow("virgolette 0x93") << QByteArray("\x92x\x95") << QStringLiteral("“y”");
    QTest::newRow("Ÿ 0x9F") << QByteArray("\x9E") << QStringLiteral("Ÿ");
    QTest::newRow("accentate") << QByteArray("\xE1\xE9") << QStringLiteral("àè");
}

void TestConfigurazione::password() {
    QFETCH(QByteArray, memorizzata);
    QFETCH(QString, decodificata);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KORVADIN.INI"));
    scrivi(path, "[CONNESSIONE]\r\nPWD=" + memorizzata + "\r\n");
    clsFileINI ini(dir.path());
    ini.setNomeFile(path);
    QCOMPARE(configurazione::decodificaPassword(
                 ini.leggi(QStringLiteral("CONNESSIONE"), QStringLiteral("PWD"))),
             decodificata);
}

void TestConfigurazione::discoPienoLasciaIlFile() {
    DiscoPiccolo disco;
    if (!disco.montato())
        QSKIP("mounting a small tmpfs is not permitted here");
    const QString path = disco.file(QStringLiteral("KORVADIN.INI"));
    scrivi(path, kIniInstallato);
    disco.riempi();
    clsFileINI ini(QFileInfo(path).absolutePath());
    ini.setNomeFile(path);
    QCOMPARE(ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Database"),
                        QString(600, QLatin1Char('x'))),
             0);
    QVERIFY(!ini.UltimoErrore().isEmpty());
    QCOMPARE(ini.scriviTutte({{QStringLiteral("Installazione"), QStringLiteral("Tipo"), {}},
                              {QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), {}}}),
             0);
    QCOMPARE(prova::contenuto(path), kIniInstallato);
    // No temporary file is left behind to keep the disk full.
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).size(), 2);
    disco.svuota();
    QVERIFY(ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), {}));
    QVERIFY(ini.UltimoErrore().isEmpty());
    QVERIFY(prova::contenuto(path).contains("\r\nTipo=\r\nPROVIDER="));
}

void TestConfigurazione::fileIlleggibileNonRicostruito() {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
    const QString path = dir.filePath(QStringLiteral("KORVADIN.INI"));
    scrivi(path, kIniInstallato);
    QFile::setPermissions(path, {});
    clsFileINI ini(dir.path());
    ini.setNomeFile(path);
    {
        ComeUtenteComune utente;
        if (!utente.attivo())
            QSKIP("cannot act as an unprivileged user");
        QCOMPARE(ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo")), QString());
        QCOMPARE(ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"),
                            QStringLiteral("CLIENT")),
                 0);
        QVERIFY(ini.UltimoErrore().contains(QStringLiteral("Impossibile leggere")));
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(prova::contenuto(path), kIniInstallato);
}

void TestConfigurazione::scritturaInterrottaDaSigkill() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KORVADIN.INI"));
    const int inizio = int(kIniInstallato.indexOf("NREG=")) + 5;
    const QByteArray prima = kIniInstallato.left(inizio);
    const QByteArray dopo = kIniInstallato.mid(kIniInstallato.indexOf("\r\n", inizio));
    const QRegularExpression valore(QStringLiteral("^(http://srv\\.regione\\.it/fp/nreg\\.asp|"
                                                   "([a-z])\\2{99,999})$"));
    scrivi(path, kIniInstallato);
    for (int giro = 0; giro < 15; ++giro) {
        QProcess scrittore;
        scrittore.start(QStringLiteral(KORVADIN_INI_WRITER), {path});
        QVERIFY(scrittore.waitForReadyRead(10000));
        QTest::qWait(int(QRandomGenerator::global()->bounded(40)));
        ::kill(pid_t(scrittore.processId()), SIGKILL);
        QVERIFY(scrittore.waitForFinished(10000));
        // The file is one whole version: the lines around the key as installed,
        // and a value that one of the writes wrote whole.
        const QByteArray testo = prova::contenuto(path);
        QVERIFY2(testo.startsWith(prima) && testo.endsWith(dopo), testo.left(200).constData());
        const QString scritto =
            QString::fromLatin1(testo.mid(prima.size(), testo.size() - prima.size() - dopo.size()));
        QVERIFY2(valore.match(scritto).hasMatch(), qPrintable(scritto.left(80)));
    }
}

void TestConfigurazione::marcaUnicode_data() {
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QString>("database");
    QTest::newRow("marca UTF-8") << QByteArray(
                                        "\xEF\xBB\xBF[Installazione]\r\nTipo=StandAlone\r\n"
                                        "[BaseDati]\r\nDatabase=/srv/Attivit\xC3\xA0/K.mdb\r\n")
                                 << QStringLiteral("/srv/Attività/K.mdb");
    QTest::newRow("senza marca") << QByteArray("[Installazione]\r\nTipo=StandAlone\r\n"
                                               "[BaseDati]\r\nDatabase=/srv/Attivit\xE0/K.mdb\r\n")
                                 << QStringLiteral("/srv/Attività/K.mdb");
    // What a Windows editor writes when told to save as "Unicode", in either order.
    const QString testo = QStringLiteral("[Installazione]\r\nTipo=StandAlone\r\n"
                                         "[BaseDati]\r\nDatabase=/srv/Attività/K.mdb\r\n");
    for (const auto codifica : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        QStringEncoder utf16(codifica, QStringConverter::Flag::WriteBom);
        QTest::newRow(codifica == QStringConverter::Utf16LE ? "UTF-16 LE con marca"
                                                            : "UTF-16 BE con marca")
            << QByteArray(utf16(testo)) << QStringLiteral("/srv/Attività/K.mdb");
    }
}

void TestConfigurazione::marcaUnicode() {
    QFETCH(QByteArray, contenuto);
    QFETCH(QString, database);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KORVADIN.INI"));
    scrivi(path, contenuto);
    clsFileINI ini(dir.path());
    ini.setNomeFile(path);
    QCOMPARE(ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo")),
             QStringLiteral("StandAlone"));
    QCOMPARE(ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database")), database);
    // Written back as Windows-1252, without the mark.
    QVERIFY(ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"),
                       QStringLiteral("SERVER")));
    QCOMPARE(prova::contenuto(path),
             QByteArray("[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n"
                        "[BaseDati]\r\nDatabase=/srv/Attivit\xE0/K.mdb\r\n"));
}

void TestConfigurazione::valoreFuoriCodePage() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KORVADIN.INI"));
    scrivi(path, kIniInstallato);
    clsFileINI ini(dir.path());
    ini.setNomeFile(path);
    QCOMPARE(ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Database"),
                        QStringLiteral("/srv/Корсы/KORVADIN.mdb")),
             0);
    QVERIFY(!ini.UltimoErrore().isEmpty());
    QCOMPARE(prova::contenuto(path), kIniInstallato);
}

void TestConfigurazione::indirizzoServer_data() {
    QTest::addColumn<QString>("nreg");
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("valido");
    QTest::newRow("http") << "http://srv.regione.it/fp/nreg.asp"
                          << "http://srv.regione.it" << true;
    QTest::newRow("https") << "https://srv.it/nreg"
                           << "https://srv.it" << true;
    QTest::newRow("barra in posizione 8") << "http://a/b"
                                          << "http://a" << true;
    QTest::newRow("senza barra dopo l'host") << "http://server"
                                             << "" << false;
    QTest::newRow("vuoto") << ""
                           << "" << false;
}

void TestConfigurazione::indirizzoServer() {
    QFETCH(QString, nreg);
    QFETCH(QString, base);
    QFETCH(bool, valido);
    const auto risultato = configurazione::indirizzoServer(nreg);
    QCOMPARE(risultato.has_value(), valido);
    if (valido)
        QCOMPARE(*risultato, base);
}

void TestConfigurazione::preferenzeSuDiscoPieno() {
    DiscoPiccolo disco;
    if (!disco.montato())
        QSKIP("mounting a small tmpfs is not permitted here");
    UserSettings preferenze(disco.file(QStringLiteral("FP/FP.ini")));
    QVERIFY(preferenze.set(QStringLiteral("E-Mail"), QStringLiteral("segreteria@ente.it")));
    QVERIFY(preferenze.set(QStringLiteral("Proxy"), QStringLiteral("proxy.ente.it")));
    const QByteArray prima = prova::contenuto(preferenze.filePath());
    disco.riempi();
    QVERIFY(!preferenze.set(QStringLiteral("Porta"), QString(3000, QLatin1Char('8'))));
    QCOMPARE(prova::contenuto(preferenze.filePath()), prima);
    QCOMPARE(preferenze.get(QStringLiteral("E-Mail")), QStringLiteral("segreteria@ente.it"));
    QCOMPARE(QDir(disco.file(QStringLiteral("FP"))).entryList(QDir::Files).size(), 1);
    disco.svuota();
    QVERIFY(preferenze.set(QStringLiteral("Porta"), QStringLiteral("8080")));
    QCOMPARE(preferenze.get(QStringLiteral("Proxy")), QStringLiteral("proxy.ente.it"));
    QCOMPARE(preferenze.get(QStringLiteral("Porta")), QStringLiteral("8080"));
}

QTEST_GUILESS_MAIN(TestConfigurazione)
#include "tst_configurazione.moc"
