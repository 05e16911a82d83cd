#include "TestSupport.h"

#include "app/CopiaRiserva.h"
#include "app/MainRegole.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestMainRegole : public QObject {
    Q_OBJECT
private slots:
    void denominazione_data();
    void denominazione();
    void codiceOperatore_data();
    void codiceOperatore();
    void preferenza_data();
    void preferenza();
    void voceOperatore_data();
    void voceOperatore();
    void vociOperatoriListaOgniOperatoreUnaVolta();
    void contaCorsiDellOperatore();
    void matricolaNullBloccaVuotaNo();

    void passoDellaRotazione_data();
    void passoDellaRotazione();
    void primoMarkerInOrdineSenzaBadareAlleMaiuscole();
    void treUsciteScrivonoTreCopieLaQuartaRicomincia();
    void copiaFallitaNonLasciaMarker();
    void copiaFallitaNonRovinaLaCopiaPrecedente();
};

// ---------------------------------------------------------------- information panel

void TestMainRegole::denominazione_data() {
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("tooltip");
    const QString ventiquattro = QStringLiteral("Centro Studi Val d'Aosta"); // 24
    const QString venticinque = QStringLiteral("Centro Studi Val d'Aosta!"); // 25
    QCOMPARE(ventiquattro.size(), 24);
    QCOMPARE(venticinque.size(), 25);
    QTest::newRow("vuoto") << QString() << QStringLiteral("-  ") << QString();
    QTest::newRow("24 intero") << ventiquattro << QStringLiteral("-  ") + ventiquattro << QString();
    QTest::newRow("25 tagliato") << venticinque << QStringLiteral("-  Centro Studi Val d'Aosta...")
                                 << venticinque;
    QTest::newRow("lungo") << QStringLiteral("Centro Formazione Val d'Aosta Lavoro")
                           << QStringLiteral("-  Centro Formazione Val d'...")
                           << QStringLiteral("Centro Formazione Val d'Aosta Lavoro");
    QTest::newRow("accentate contano una") << QStringLiteral("Attività è già più così àèìòù")
                                           << QStringLiteral("-  Attività è già più così ...")
                                           << QStringLiteral("Attività è già più così àèìòù");
}

void TestMainRegole::denominazione() {
    QFETCH(QString, nome);
    const auto d = mainregole::denominazioneOperatore(nome);
    QTEST(d.testo, "testo");
    QTEST(d.tooltip, "tooltip");
}

void TestMainRegole::codiceOperatore_data() {
    QTest::addColumn<QString>("codice");
    QTest::addColumn<QString>("mostrato");
    QTest::newRow("zeri iniziali") << "00123"
                                   << "123";
    QTest::newRow("senza zeri") << "123"
                                << "123";
    QTest::newRow("spazi") << " 0042 "
                           << "42";
    QTest::newRow("zero") << "000"
                          << "0";
    QTest::newRow("non numerico") << "12A"
                                  << "12A";
}

void TestMainRegole::codiceOperatore() {
    QFETCH(QString, codice);
    QTEST(mainregole::codiceOperatore(codice), "mostrato");
}

void TestMainRegole::preferenza_data() {
    QTest::addColumn<QString>("valore");
    QTest::addColumn<bool>("attiva");
    QTest::newRow("0") << "0" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("-1") << "-1" << true;
    QTest::newRow("2") << "2" << true;
    QTest::newRow("vuoto") << "" << false;
    QTest::newRow("testo") << "vero" << false;
}

void TestMainRegole::preferenza() {
    QFETCH(QString, valore);
    QTEST(mainregole::preferenzaAttiva(valore), "attiva");
}

void TestMainRegole::voceOperatore_data() {
    QTest::addColumn<QString>("gruppo");
    QTest::addColumn<QString>("operatore");
    QTest::addColumn<QString>("voce");
    QTest::newRow("tre cifre") << "A"
                               << "123"
                               << "A      -   123";
    QTest::newRow("cinque cifre") << "B"
                                  << "12345"
                                  << "B      - 12345";
    QTest::newRow("spazi tolti") << "A"
                                 << " 7 "
                                 << "A      -     7";
}

void TestMainRegole::voceOperatore() {
    QFETCH(QString, gruppo);
    QFETCH(QString, operatore);
    QTEST(mainregole::voceOperatore(gruppo, operatore), "voce");
}

void TestMainRegole::vociOperatoriListaOgniOperatoreUnaVolta() {
    TestInstallation inst;
    db::Connection& c = inst.sessione().CorsiDB();
    c.exec(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES "
                          "(?, ?, ?)"),
           {QStringLiteral("B"), 7, QStringLiteral("Altro ente")});
    const QStringList voci = mainregole::vociOperatori(c);
    QCOMPARE(voci.size(), 2);
    QVERIFY(voci.contains(mainregole::voceOperatore(QStringLiteral("A"), QStringLiteral("123"))));
    QVERIFY(voci.contains(mainregole::voceOperatore(QStringLiteral("B"), QStringLiteral("7"))));
}

void TestMainRegole::contaCorsiDellOperatore() {
    TestInstallation inst;
    Session& s = inst.sessione();
    db::Connection& c = s.CorsiDB();
    const int demo = c.scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt();
    QVERIFY(demo > 0);
    QCOMPARE(mainregole::contaCorsiScaricati(c, s.OperatoreCorrente), demo);
    // The operator code may come with leading zeros: it is a number.
    Operatore conZeri = s.OperatoreCorrente;
    conZeri.Operatore = QStringLiteral("00") + conZeri.Operatore;
    QCOMPARE(mainregole::contaCorsiScaricati(c, conZeri), demo);
    // Another agency's course does not count; another group does not either.
    c.exec(QStringLiteral("INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, Stato) "
                          "VALUES (?, ?, ?, ?)"),
           {99001, QStringLiteral("B"), 123, QStringLiteral("APERTO")});
    c.exec(QStringLiteral("INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, Stato) "
                          "VALUES (?, ?, ?, ?)"),
           {99002, QStringLiteral("A"), 124, QStringLiteral("APERTO")});
    QCOMPARE(mainregole::contaCorsiScaricati(c, s.OperatoreCorrente), demo);
    c.exec(QStringLiteral("DELETE FROM KELDCorsiDef WHERE GrupOpe = ? AND Operatore = ?"),
           {QStringLiteral("A"), 123});
    QCOMPARE(mainregole::contaCorsiScaricati(c, s.OperatoreCorrente), 0);
}

void TestMainRegole::matricolaNullBloccaVuotaNo() {
    TestInstallation inst;
    db::Connection& c = inst.sessione().CorsiDB();
    auto matricole = [&c](int corso) {
        QStringList m;
        for (const db::Row& r : c.query(QStringLiteral("SELECT Matricola FROM KELDAnagFreq "
                                                       "WHERE IdAttivita = ?"),
                                        {corso}))
            m << r.value(0).toString();
        return m;
    };
    // The demo data as the checks below rely on.
    QVERIFY(matricole(41236).contains(QStringLiteral("null")));
    QVERIFY(matricole(41235).contains(QString()));
    QVERIFY(!matricole(41235).contains(QStringLiteral("null")));

    QVERIFY(!mainregole::controlloMatricole(c, 41236));
    QVERIFY(mainregole::controlloMatricole(c, 41235));
    QVERIFY(mainregole::controlloMatricole(c, 41238));
    // A missing value (Null) does not block either.
    c.exec(QStringLiteral("UPDATE KELDAnagFreq SET Matricola = NULL WHERE IdAttivita = ?"),
           {41238});
    QVERIFY(mainregole::controlloMatricole(c, 41238));
    // Once the enrolment number arrives, the course can go.
    c.exec(QStringLiteral("UPDATE KELDAnagFreq SET Matricola = ? WHERE Matricola = ? AND "
                          "IdAttivita = ?"),
           {QStringLiteral("2002"), QStringLiteral("null"), 41236});
    QVERIFY(mainregole::controlloMatricole(c, 41236));
    // A title with an apostrophe elsewhere changes nothing: values are bound.
    c.exec(QStringLiteral("UPDATE KELDAnagFreq SET Matricola = ? WHERE IdAttivita = ?"),
           {QStringLiteral("l'null"), 41237});
    QVERIFY(mainregole::controlloMatricole(c, 41237));
}

// ---------------------------------------------------------------- rotating copy

void TestMainRegole::passoDellaRotazione_data() {
    QTest::addColumn<QString>("trovato");
    QTest::addColumn<QString>("cancella");
    QTest::addColumn<QString>("destinazione");
    QTest::addColumn<QString>("nuovo");
    QTest::newRow("nessuno") << ""
                             << ""
                             << "backup.001"
                             << "001.lst";
    QTest::newRow("001") << "001.lst"
                         << "001.lst"
                         << "backup.002"
                         << "002.lst";
    QTest::newRow("002") << "002.lst"
                         << "002.lst"
                         << "backup.003"
                         << "003.lst";
    QTest::newRow("003") << "003.lst"
                         << "003.lst"
                         << "backup.001"
                         << "001.lst";
    QTest::newRow("maiuscole") << "002.LST"
                               << "002.LST"
                               << "backup.003"
                               << "003.lst";
    QTest::newRow("altro numero") << "007.lst"
                                  << ""
                                  << "backup.001"
                                  << "001.lst";
}

void TestMainRegole::passoDellaRotazione() {
    QFETCH(QString, trovato);
    const copiariserva::Passo p = copiariserva::passo(trovato);
    QTEST(p.markerDaCancellare, "cancella");
    QTEST(p.destinazione, "destinazione");
    QTEST(p.nuovoMarker, "nuovo");
}

void TestMainRegole::primoMarkerInOrdineSenzaBadareAlleMaiuscole() {
    QTemporaryDir dir;
    QCOMPARE(copiariserva::primoMarker(dir.path()), QString());
    for (const char* nome : {"003.lst", "002.LST", "0001.lst", "01.lst", "002.txt"}) {
        QFile f(dir.filePath(QLatin1String(nome)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(copiariserva::primoMarker(dir.path()), QStringLiteral("002.LST"));
}

namespace {

// The database file holds one mark (VersioneDB of Installazione), so that a
// copy tells which state of the database it shows.
QString leggi(const QString& path) {
    try {
        db::Connection c;
        c.open(path, Session::databasePassword(), db::OpenMode::Shared);
        return c.scalar(QStringLiteral("SELECT VersioneDB FROM Installazione")).toString();
    } catch (const db::DbError&) {
        return QString();
    }
}

void scrivi(const QString& path, const QString& segno) {
    if (!QFile::exists(path))
        db::creaBaseDatiVuota(path, Session::databasePassword());
    db::Connection c;
    c.open(path, Session::databasePassword(), db::OpenMode::Shared);
    c.exec(QStringLiteral("DELETE FROM Installazione"));
    c.exec(QStringLiteral("INSERT INTO Installazione (VersioneDB) VALUES (?)"), {segno});
}

QStringList marker(const QString& cartella) {
    return QDir(cartella).entryList({QStringLiteral("*.lst")}, QDir::Files, QDir::Name);
}

} // namespace

void TestMainRegole::treUsciteScrivonoTreCopieLaQuartaRicomincia() {
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("KORVADIN.mdb"));
    const QStringList attese = {QStringLiteral("backup.001"), QStringLiteral("backup.002"),
                                QStringLiteral("backup.003"), QStringLiteral("backup.001")};
    for (int uscita = 0; uscita < attese.size(); ++uscita) {
        const QString contenuto = QStringLiteral("base dati, uscita %1").arg(uscita);
        scrivi(db, contenuto);
        const copiariserva::RisultatoCopia e =
            copiariserva::copiaRiservaUscita(dir.path(), db, Session::databasePassword());
        QVERIFY2(e.riuscita, qPrintable(e.descrizione));
        QCOMPARE(e.destinazione, dir.filePath(attese.at(uscita)));
        QCOMPARE(leggi(dir.filePath(attese.at(uscita))), contenuto);
        // One marker, naming the slot just written.
        const QString numero = attese.at(uscita).right(3);
        QCOMPARE(marker(dir.path()), QStringList{numero + QStringLiteral(".lst")});
        QVERIFY(prova::contenuto(dir.filePath(numero + QStringLiteral(".lst")))
                    .startsWith("\"ultimo backup\""));
    }
    // The fourth exit overwrote slot 1 and left slots 2 and 3 alone.
    QCOMPARE(leggi(dir.filePath(QStringLiteral("backup.001"))),
             QStringLiteral("base dati, uscita 3"));
    QCOMPARE(leggi(dir.filePath(QStringLiteral("backup.002"))),
             QStringLiteral("base dati, uscita 1"));
    QCOMPARE(leggi(dir.filePath(QStringLiteral("backup.003"))),
             QStringLiteral("base dati, uscita 2"));
}

void TestMainRegole::copiaFallitaNonLasciaMarker() {
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("KORVADIN.mdb"));
    scrivi(db, QStringLiteral("dati"));
    QVERIFY(copiariserva::copiaRiservaUscita(dir.path(), db, Session::databasePassword())
                .riuscita); // backup.001
    // The database file is gone: the copy to slot 2 fails.
    QVERIFY(QFile::remove(db));
    const copiariserva::RisultatoCopia e =
        copiariserva::copiaRiservaUscita(dir.path(), db, Session::databasePassword());
    QVERIFY(!e.riuscita);
    QCOMPARE(e.numero, 53);
    QVERIFY(!e.descrizione.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("backup.002"))));
    QCOMPARE(marker(dir.path()), QStringList());
    // So the next exit starts again from slot 1.
    scrivi(db, QStringLiteral("dati nuovi"));
    const copiariserva::RisultatoCopia dopo =
        copiariserva::copiaRiservaUscita(dir.path(), db, Session::databasePassword());
    QVERIFY(dopo.riuscita);
    QCOMPARE(dopo.destinazione, dir.filePath(QStringLiteral("backup.001")));
    QCOMPARE(leggi(dir.filePath(QStringLiteral("backup.001"))), QStringLiteral("dati nuovi"));
    QCOMPARE(marker(dir.path()), QStringList{QStringLiteral("001.lst")});
}

void TestMainRegole::copiaFallitaNonRovinaLaCopiaPrecedente() {
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("KORVADIN.mdb"));
    scrivi(db, QStringLiteral("prima"));
    QVERIFY(copiariserva::copiaRiservaUscita(dir.path(), db, Session::databasePassword())
                .riuscita); // backup.001
    scrivi(db, QStringLiteral("seconda"));
    QVERIFY(copiariserva::copiaRiservaUscita(dir.path(), db, Session::databasePassword())
                .riuscita); // backup.002
    scrivi(db, QStringLiteral("terza"));
    QVERIFY(copiariserva::copiaRiservaUscita(dir.path(), db, Session::databasePassword())
                .riuscita); // backup.003
    // The next slot (1) cannot be written: a folder holds its name.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("backup.001"))));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("backup.001")));
    const copiariserva::RisultatoCopia e =
        copiariserva::copiaRiservaUscita(dir.path(), db, Session::databasePassword());
    QVERIFY(!e.riuscita);
    QVERIFY(e.numero != 0);
    QCOMPARE(marker(dir.path()), QStringList());
    // The other slots keep their copies.
    QCOMPARE(leggi(dir.filePath(QStringLiteral("backup.002"))), QStringLiteral("seconda"));
    QCOMPARE(leggi(dir.filePath(QStringLiteral("backup.003"))), QStringLiteral("terza"));
}

QTEST_GUILESS_MAIN(TestMainRegole)
#include "tst_mainregole.moc"
