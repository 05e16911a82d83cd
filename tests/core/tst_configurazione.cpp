#include "core/Configurazione.h"
#include "core/Cp1252.h"
#include "core/clsFileINI.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void scrivi(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray leggi(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    QCOMPARE(leggi(path),
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
    QCOMPARE(leggi(dir.filePath(QStringLiteral("NUOVO.ini"))),
             QByteArray("[Help]\r\nFILEHELP=h\r\n\r\n[BaseDati]\r\nDatabase=d\r\n"));
}

void TestConfigurazione::azzeramentoLasciaLeChiavi() {
    QTemporaryDir dir;
    clsFileINI ini(dir.path());
    ini.setNomeFile(QStringLiteral("KORVADIN.INI"));
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"),
               QStringLiteral("StandAlone"));
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), QString());
    QVERIFY(leggi(ini.NomeFile()).contains("Tipo=\r\n"));
    QCOMPARE(
        ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), QStringLiteral("x")),
        QString());
}

void TestConfigurazione::testoWindows1252() {
    QTemporaryDir dir;
    clsFileINI ini(dir.path());
    ini.setNomeFile(QStringLiteral("KORVADIN.INI"));
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Nome"), QStringLiteral("Città €"));
    QVERIFY(leggi(ini.NomeFile()).contains("Nome=Citt\xE0 \x80\r\n"));
    QCOMPARE(ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Nome")),
             QStringLiteral("Città €"));
    QCOMPARE(cp1252::decode(cp1252::encode(QStringLiteral("àèìòù‘’“”–—…"))),
             QStringLiteral("àèìòù‘’“”–—…"));
}

void TestConfigurazione::password_data() {
    QTest::addColumn<QString>("memorizzata");
    QTest::addColumn<QString>("decodificata");
    QTest::newRow("vuota") << ""
                           << "";
    QTest::newRow("lettere e cifre") << "Qve3137"
                                     << "Pwd2026";
    QTest::newRow("ritorno") << "Pwd2026"
                             << "Qve3137";
}

void TestConfigurazione::password() {
    QFETCH(QString, memorizzata);
    QFETCH(QString, decodificata);
    QCOMPARE(configurazione::decodificaPassword(memorizzata), decodificata);
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

QTEST_GUILESS_MAIN(TestConfigurazione)
#include "tst_configurazione.moc"
