#include "TestSupport.h"
#include "maint/CopiaSicurezza.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void fileIsEncryptedAndNeedsTheKey();
    void carriesEveryTableOfTheSchema();
    void enforcesKindsAndWidths_data();
    void enforcesKindsAndWidths();
    void boundValuesWithApostrophes();
    void lookupRowsComeWithTheDatabase();
    void exclusiveFileRefusesASecondConnection();
    void reopenInPlace();
    void failedReopenKeepsThePreviousMode();
    void twoWorkstationsWriteWithoutLockErrors();
    void lockFileBesideTheDatabase();
    void newerSchemaIsRefused();
    void serverHasTheColumnsOfTheFile();
};

void TestDatabase::fileIsEncryptedAndNeedsTheKey() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KORVADIN.mdb"));
    db::creaBaseDatiVuota(path, Session::databasePassword());

    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(!raw.read(16).startsWith("SQLite format 3"));
    raw.close();

    db::Connection wrong;
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             wrong.open(path, QStringLiteral("ALTRA"), db::OpenMode::Shared));
    QVERIFY(!wrong.isOpen());

    db::Connection right;
    right.open(path, Session::databasePassword(), db::OpenMode::Shared);
    QVERIFY(right.isOpen());
}

void TestDatabase::carriesEveryTableOfTheSchema() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    db::Connection c;
    c.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    const QStringList expected = {"Installazione",
                                  "CorsiOper",
                                  "CorsiCompo",
                                  "CorsiSediOcc",
                                  "CorsiSediOccUtil",
                                  "Asse",
                                  "Misura",
                                  "Azione",
                                  "Percorsi",
                                  "AzioneDenomCorso",
                                  "AzionePercorsi",
                                  "AttEcono",
                                  "Destin",
                                  "AzioneDestin",
                                  "Bacino",
                                  "Certif",
                                  "Comuni",
                                  "Comuni_Quartieri",
                                  "Istituti",
                                  "Regioni",
                                  "Province",
                                  "Prov_Asse",
                                  "Prov_Misura",
                                  "Prov_Azione",
                                  "ProvinceLoghiIndir",
                                  "StatiEsteri",
                                  "TipoCompo",
                                  "TipoOper",
                                  "MassimaliPar",
                                  "CentroCostoSpesa",
                                  "Domande",
                                  "CorsiProp",
                                  "Qualifi",
                                  "CorsiApprovati",
                                  "KELDCorsiDef",
                                  "KELDAnagFreq",
                                  "KELDGiudizi",
                                  "KELDCausaleGiudizioNegativo",
                                  "KELDAreeFormative",
                                  "KELDSubAreaFormativa",
                                  "KELDTipologieOrganizzative",
                                  "KELDSegmentoFormativo"};
    const QStringList tables = c.tabelle();
    for (const QString& table : expected)
        QVERIFY2(tables.contains(table), qPrintable(table));
    QStringList views;
    for (const db::Row& r : c.catalogo())
        if (r.value(0).toString() == QLatin1String("view"))
            views << r.value(1).toString();
    QCOMPARE(views, QStringList{QStringLiteral("QryCorsiDef")});
    // Column order the loaders and start-up rely on.
    const auto inst1 = c.query(QStringLiteral("SELECT * FROM Installazione"));
    Q_UNUSED(inst1);
    db::Statement s(c, QStringLiteral("SELECT * FROM CorsiOper"));
    QCOMPARE(s.columnName(0), QStringLiteral("GrupOpe"));
    QCOMPARE(s.columnName(1), QStringLiteral("Operatore"));
    QCOMPARE(s.columnName(2), QStringLiteral("Denominazione"));
}

void TestDatabase::enforcesKindsAndWidths_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<bool>("accepted");
    const QString oper = QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, "
                                        "Denominazione) VALUES (?, ?, ?)");
    QTest::newRow("numeric text in a number column")
        << oper << QVariantList{"A", "123", "Ente"} << true;
    QTest::newRow("letters in a number column")
        << oper << QVariantList{"A", "12a", "Ente"} << false;
    QTest::newRow("empty text in a number column")
        << oper << QVariantList{"A", "", "Ente"} << false;
    QTest::newRow("group code of two characters") << oper << QVariantList{"AB", 1, "Ente"} << false;
    QTest::newRow("name of 100 characters")
        << oper << QVariantList{"A", 1, QString(100, QLatin1Char('x'))} << true;
    QTest::newRow("name of 101 characters")
        << oper << QVariantList{"A", 1, QString(101, QLatin1Char('x'))} << false;
    QTest::newRow("decimal with comma in a decimal column")
        << QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, CredFormValut) "
                          "VALUES (1, 'X', ?)")
        << QVariantList{"2,5"} << false;
    QTest::newRow("decimal in a decimal column")
        << QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, CredFormValut) "
                          "VALUES (1, 'X', ?)")
        << QVariantList{2.5} << true;
}

void TestDatabase::enforcesKindsAndWidths() {
    QFETCH(QString, sql);
    QFETCH(QVariantList, values);
    QFETCH(bool, accepted);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    db::Connection c;
    c.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    bool ok = true;
    try {
        c.exec(sql, values);
    } catch (const db::DbError& e) {
        ok = false;
        QVERIFY(e.number() != 0);
        QVERIFY(!e.description().isEmpty());
    }
    QCOMPARE(ok, accepted);
}

void TestDatabase::boundValuesWithApostrophes() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("UPDATE KELDAnagFreq SET Cognome=? WHERE CodFiscale=?"),
                     {QStringLiteral("D'Angelo'; DROP TABLE KELDAnagFreq; --"),
                      QStringLiteral("RSSMRA80A01A326X")});
    QCOMPARE(s.CorsiDB()
                 .scalar(QStringLiteral("SELECT Cognome FROM KELDAnagFreq WHERE CodFiscale=?"),
                         {QStringLiteral("RSSMRA80A01A326X")})
                 .toString(),
             QStringLiteral("D'Angelo'; DROP TABLE KELDAnagFreq; --"));
    QVERIFY(s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDAnagFreq")).toInt() > 1);
}

void TestDatabase::lookupRowsComeWithTheDatabase() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    db::Connection c;
    c.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    QStringList items;
    for (const auto& r : c.query(QStringLiteral("SELECT codTipologiaOrg || ' - ' || Descrizione "
                                                "FROM KELDTipologieOrganizzative ORDER BY 1")))
        items << r.value(0).toString();
    QCOMPARE(items, (QStringList{"I - Gestione indiretta", "R - Gestione diretta"}));
    items.clear();
    for (const auto& r : c.query(QStringLiteral("SELECT codice || ' - ' || Descrizione FROM "
                                                "KELDSegmentoFormativo ORDER BY codice")))
        items << r.value(0).toString();
    QCOMPARE(items, (QStringList{"S1 - Conoscenze tecnico professionali", "S2 - Capacita'"}));
    QCOMPARE(c.scalar(QStringLiteral("SELECT AFDescrizione FROM KELDAreeFormative WHERE "
                                     "codAreaFormativa='cp'"))
                 .toString(),
             QStringLiteral("Formazione area pari opportunità e non discriminazione"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM KELDAreeFormative")).toInt(), 6);
    QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM KELDGiudizi")).toInt(), 3);
    QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM KELDCausaleGiudizioNegativo")).toInt(),
             4);
}

void TestDatabase::exclusiveFileRefusesASecondConnection() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    db::Connection first;
    first.open(inst.database(), Session::databasePassword(), db::OpenMode::Exclusive);
    db::Connection second;
    QVERIFY_THROWS_EXCEPTION(db::DbError, second.open(inst.database(), Session::databasePassword(),
                                                      db::OpenMode::Shared));
    first.close();
    second.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    QVERIFY(second.isOpen());
}

void TestDatabase::reopenInPlace() {
    TestInstallation inst;
    Session& s = inst.sessione();
    db::Connection& held = s.CorsiDB();
    held.reopen(db::OpenMode::Exclusive);
    QCOMPARE(held.mode(), db::OpenMode::Exclusive);
    QCOMPARE(s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt(), 5);
}

void TestDatabase::failedReopenKeepsThePreviousMode() {
    TestInstallation inst;
    Session& s = inst.sessione();
    // Another workstation is connected: the exclusive re-open cannot succeed.
    auto other = prova::avviaProbe({QStringLiteral("attendi"), inst.database()});
    QVERIFY(other);
    QVERIFY_THROWS_EXCEPTION(db::DbError, s.CorsiDB().reopen(db::OpenMode::Exclusive));
    QVERIFY(s.CorsiDB().isOpen());
    QCOMPARE(s.CorsiDB().mode(), db::OpenMode::Shared);
    QCOMPARE(s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt(), 5);
    other->kill();
    QVERIFY(prova::attendiFine(*other));
    s.CorsiDB().reopen(db::OpenMode::Exclusive);
    QCOMPARE(s.CorsiDB().mode(), db::OpenMode::Exclusive);
}

void TestDatabase::twoWorkstationsWriteWithoutLockErrors() {
    TestInstallation inst;
    prova::creaTabelleProva(inst.database());
    auto first =
        prova::avviaProbe({QStringLiteral("scrivi"), inst.database(), QStringLiteral("2500")});
    auto second =
        prova::avviaProbe({QStringLiteral("scrivi"), inst.database(), QStringLiteral("2500")});
    QVERIFY(first && second);
    for (QProcess* p : {first.get(), second.get()}) {
        QVERIFY(prova::attendiFine(*p));
        const QString out = QString::fromUtf8(p->readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral(" ERRORI 0\n")), qPrintable(out));
        QVERIFY2(!out.contains(QStringLiteral("SCRITTE 0 ")), qPrintable(out));
    }
    QVERIFY(prova::verificaCopia(inst.database()).isEmpty());
}

void TestDatabase::lockFileBesideTheDatabase() {
    if (prova::motoreProva() != db::TipoMotore::SQLCipher)
        QSKIP("a lock file belongs to a database file");
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    const QByteArray before = prova::contenuto(inst.database());
    db::Connection shared;
    shared.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    QVERIFY(QFile::exists(inst.database() + QStringLiteral(".lck")));
    // A second process can share, but not take the installation for itself.
    auto reader = prova::avviaProbe({QStringLiteral("attendi"), inst.database()});
    QVERIFY(reader);
    reader->kill();
    QVERIFY(prova::attendiFine(*reader));
    QProcess exclusive;
    exclusive.start(QStringLiteral(KORVADIN_DB_PROBE),
                    {QStringLiteral("esclusiva"), inst.database(), QStringLiteral("-")});
    QVERIFY(prova::attendiFine(exclusive));
    QVERIFY2(exclusive.readAllStandardOutput().startsWith("RIFIUTATA"),
             qPrintable(QString::fromUtf8(exclusive.readAllStandardError())));
    shared.close();
    // Opening and closing left the database file itself as it was.
    QCOMPARE(prova::contenuto(inst.database()), before);
}

void TestDatabase::newerSchemaIsRefused() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    {
        db::Connection c;
        c.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
        QCOMPARE(c.versioneSchema(), 1);
        c.exec(c.motore() == db::TipoMotore::SQLCipher
                   ? QStringLiteral("PRAGMA user_version = 2")
                   : QStringLiteral("UPDATE korvadin_schema SET versione = 2"));
    }
    db::Connection c;
    try {
        c.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
        QFAIL("schema più recente accettato");
    } catch (const db::DbError& e) {
        QVERIFY2(e.description().contains(QStringLiteral("versione più recente")),
                 qPrintable(e.description()));
    }
    QVERIFY(!c.isOpen());
}

void TestDatabase::serverHasTheColumnsOfTheFile() {
    if (prova::motoreProva() != db::TipoMotore::PostgreSQL)
        QSKIP("the server's schema is compared on the server run");
    // The demo installation was moved onto the server by the test support.
    TestInstallation inst;
    db::Connection file, server;
    file.open(inst.fileDatabase(), Session::databasePassword(), db::OpenMode::Shared);
    server.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    QCOMPARE(server.tabelle(), file.tabelle());
    for (const QString& tabella : file.tabelle()) {
        const QString sql = QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(tabella);
        db::Statement a(file, sql), b(server, sql);
        QStringList colonneFile, colonneServer;
        // Names compared as the program addresses them: without letter case.
        for (int i = 0; i < a.columnCount(); ++i)
            colonneFile << a.columnName(i).toLower();
        for (int i = 0; i < b.columnCount(); ++i)
            colonneServer << b.columnName(i).toLower();
        QCOMPARE(colonneServer, colonneFile);
    }
    QCOMPARE(maint::differenzaContenuto(file, server), QString());
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
