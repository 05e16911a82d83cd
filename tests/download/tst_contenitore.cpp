#include "TestSupport.h"

#include "download/ContenitoreRisposta.h"

#include "core/Cp1252.h"

#include <QtTest>

// A name in the temporary folder, for an absolute name outside the program folder.
static const QString kFuori = QStringLiteral("korvadin-fuori-dalla-cartella");

// The reply container unpacked into a program folder inside a temporary
// directory; whatever lands beside the program folder was written outside it.
class TestContenitore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void spacchetta_data();
    void spacchetta();
    void nomiFuoriDallaCartellaRifiutati_data();
    void nomiFuoriDallaCartellaRifiutati();
    void nomiNonAttesiRifiutati();
    void dalFileInWindows1252();

private:
    QString cartella() const { return m_dir->filePath(QStringLiteral("prog")); }
    QStringList fileFuori() const {
        QStringList fuori = QDir(m_dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
        fuori += QDir::temp().entryList({kFuori}, QDir::AllEntries);
        return fuori;
    }
    QString leggi(const QString& nome) const {
        QFile f(QDir(cartella()).filePath(nome));
        if (!f.open(QIODevice::ReadOnly))
            return QStringLiteral("<assente>");
        return cp1252::decode(f.readAll());
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestContenitore::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(cartella()));
}

void TestContenitore::spacchetta_data() {
    QTest::addColumn<QString>("risposta");
    QTest::addColumn<QStringList>("scritti");
    QTest::addColumn<QString>("primo");   // content of A.tx1
    QTest::addColumn<QString>("secondo"); // content of B.tx1

    QTest::newRow("due file, riga vuota e EOF")
        << "A.tx1\r\n#1#,#a#\r\n#2#,#b#\r\n\r\nB.tx1\r\n#9#\r\nEOF\r\n"
        << QStringList{"A.tx1", "B.tx1"} << "#1#,#a#\r\n#2#,#b#\r\n"
        << "#9#\r\n";
    QTest::newRow("ultimo file senza riga di chiusura")
        << "A.tx1\n#1#\n\nB.tx1\n#9#\n#10#" << QStringList{"A.tx1", "B.tx1"} << "#1#\r\n"
        << "#9#\r\n#10#\r\n";
    QTest::newRow("un nome chiude il file precedente") << "A.tx1\r\n#1#\r\nB.tx1\r\n#2#\r\n"
                                                       << QStringList{"A.tx1", "B.tx1"} << "#1#\r\n"
                                                       << "#2#\r\n";
    QTest::newRow("righe # prima di un nome scartate") << "#0#\r\nA.tx1\r\n#1#\r\n"
                                                       << QStringList{"A.tx1"} << "#1#\r\n"
                                                       << "<assente>";
    QTest::newRow("righe # dopo la chiusura scartate") << "A.tx1\r\n#1#\r\nEOF\r\n#2#\r\n"
                                                       << QStringList{"A.tx1"} << "#1#\r\n"
                                                       << "<assente>";
    QTest::newRow("righe copiate senza modifiche, nome rifilato")
        << "  A.tx1  \r\n #L'Aquila#,#Niccolò# \r\n"
        << QStringList{"A.tx1"} << " #L'Aquila#,#Niccolò# \r\n"
        << "<assente>";
    QTest::newRow("file senza righe") << "A.tx1\r\nEOF\r\n"
                                      << QStringList{"A.tx1"} << ""
                                      << "<assente>";
    QTest::newRow("stesso nome due volte, vale l'ultimo")
        << "A.tx1\r\n#1#\r\n\r\nA.tx1\r\n#2#\r\n"
        << QStringList{"A.tx1", "A.tx1"} << "#2#\r\n"
        << "<assente>";
}

void TestContenitore::spacchetta() {
    QFETCH(QString, risposta);
    QFETCH(QStringList, scritti);
    QFETCH(QString, primo);
    QFETCH(QString, secondo);
    // A file already there is replaced.
    QVERIFY(prova::scrivi(QDir(cartella()).filePath(QStringLiteral("A.tx1")), "#vecchio#\r\n"));

    const auto esito = download::spacchettaContenitore(risposta, cartella());
    QVERIFY(esito.ok());
    QCOMPARE(esito.scritti, scritti);
    QCOMPARE(leggi(QStringLiteral("A.tx1")), primo);
    QCOMPARE(leggi(QStringLiteral("B.tx1")), secondo);
}

void TestContenitore::nomiFuoriDallaCartellaRifiutati_data() {
    QTest::addColumn<QString>("nome");
    QTest::newRow("risale") << "../x";
    QTest::newRow("assoluto") << QDir::temp().absoluteFilePath(kFuori);
    QTest::newRow("barra rovescia") << "..\\x";
    QTest::newRow("sottocartella") << "CAR\\x";
    QTest::newRow("unità") << "C:x";
    QTest::newRow("due punti") << "..";
}

void TestContenitore::nomiFuoriDallaCartellaRifiutati() {
    QFETCH(QString, nome);
    QFile::remove(QDir::temp().absoluteFilePath(kFuori));
    const QString risposta = QStringLiteral("A.tx1\r\n#1#\r\n\r\n") + nome +
                             QStringLiteral("\r\n#male#\r\n#male#\r\n") +
                             QStringLiteral("\r\nB.tx1\r\n#2#\r\nEOF\r\n");
    const auto esito = download::spacchettaContenitore(risposta, cartella());
    QVERIFY(esito.malformato);
    QCOMPARE(esito.rifiutati, QStringList{nome});
    // The files around the refused one are still written, its records nowhere.
    QCOMPARE(esito.scritti, (QStringList{"A.tx1", "B.tx1"}));
    QCOMPARE(leggi(QStringLiteral("A.tx1")), QStringLiteral("#1#\r\n"));
    QCOMPARE(leggi(QStringLiteral("B.tx1")), QStringLiteral("#2#\r\n"));
    QCOMPARE(fileFuori(), QStringList());
    QCOMPARE(QDir(cartella()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{"A.tx1", "B.tx1"}));
}

void TestContenitore::nomiNonAttesiRifiutati() {
    const auto esito = download::spacchettaContenitore(
        QStringLiteral("korvadin.mdb\r\n#1#\r\n\r\nA.TX1\r\n#2#\r\n"), cartella(),
        {QStringLiteral("A.tx1")});
    QVERIFY(esito.malformato);
    QCOMPARE(esito.rifiutati, QStringList{"korvadin.mdb"});
    QCOMPARE(esito.scritti, QStringList{"A.TX1"});
    QVERIFY(!QFileInfo::exists(QDir(cartella()).filePath(QStringLiteral("korvadin.mdb"))));
}

void TestContenitore::dalFileInWindows1252() {
    const QString grezzo = m_dir->filePath(QStringLiteral("prog/$tmpDenOp.tx1"));
    QVERIFY(prova::scrivi(grezzo,
                          cp1252::encode(QStringLiteral("A.tx1\r\n#D'ANNUNZIO#,#Nicolò#\r\n"))));
    const auto esito = download::spacchettaFileContenitore(grezzo, cartella());
    QVERIFY(esito.ok());
    QCOMPARE(leggi(QStringLiteral("A.tx1")), QStringLiteral("#D'ANNUNZIO#,#Nicolò#\r\n"));
    QFile a(QDir(cartella()).filePath(QStringLiteral("A.tx1")));
    QVERIFY(a.open(QIODevice::ReadOnly));
    QVERIFY(a.readAll().contains("Nicol\xf2"));
}

QTEST_GUILESS_MAIN(TestContenitore)
#include "tst_contenitore.moc"
