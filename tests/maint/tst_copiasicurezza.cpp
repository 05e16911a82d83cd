#include "TestSupport.h"

#include "maint/CopiaSicurezza.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QFile>
#include <QtTest>

using ui::Icon;

namespace {

int corsi(Session& s) {
    return s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt();
}

const QString kTitolo = QStringLiteral("Installazione/Aggiornamento Base Dati");

} // namespace

class TestCopiaSicurezza : public QObject {
    Q_OBJECT
private slots:
    void copyIsEncryptedAndPutBack();
    void damagedCopyIsRefused_data();
    void damagedCopyIsRefused();
    void restoreWaitsForTheOtherWorkstation();
    void copyIsConsistentWhileAnotherWorkstationWrites();
    void rolledBackUpdateIsConfirmed();
    void rolledBackUpdateThatDiffersIsReported();
    void missingDatabaseGivesTheCopyMessage();
};

void TestCopiaSicurezza::copyIsEncryptedAndPutBack() {
    TestInstallation inst;
    Session& s = inst.sessione();
    const QString copia = maint::fileCopiaSicurezza(s.PercorsoDB);
    QCOMPARE(copia, inst.database() + QStringLiteral("_BAK"));
    QVERIFY(maint::Crea_DB_Backup(s, s.PercorsoDB));
    QVERIFY(s.CorsiDB().isOpen());
    QVERIFY(!prova::contenuto(copia).startsWith("SQLite format 3"));
    QCOMPARE(maint::verificaBaseDati(copia, Session::databasePassword()), QString());
    QVERIFY(!QFile::exists(copia + QStringLiteral(".lck"))); // checking leaves nothing beside
    QVERIFY(prova::verificaCopia(copia).isEmpty());

    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDAnagFreq"));
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDCorsiDef"));
    QVERIFY(maint::Ripristina_DB_Backup(s, s.PercorsoDB));
    QVERIFY(inst.interaction.messages.isEmpty());
    QVERIFY(s.CorsiDB().isOpen());
    QCOMPARE(s.CorsiDB().mode(), db::OpenMode::Shared);
    QCOMPARE(corsi(s), 5);
    QVERIFY(!QFile::exists(copia));
}

void TestCopiaSicurezza::damagedCopyIsRefused_data() {
    QTest::addColumn<QString>("guasto");
    QTest::newRow("pagine alterate") << "alterata";
    QTest::newRow("copia troncata") << "troncata";
    QTest::newRow("altra chiave") << "altrachiave";
    QTest::newRow("copia assente") << "assente";
}

void TestCopiaSicurezza::damagedCopyIsRefused() {
    QFETCH(QString, guasto);
    TestInstallation inst;
    Session& s = inst.sessione();
    const QString copia = maint::fileCopiaSicurezza(s.PercorsoDB);
    QVERIFY(maint::Crea_DB_Backup(s, s.PercorsoDB));
    QByteArray byte = prova::contenuto(copia);
    if (guasto == QLatin1String("alterata")) {
        for (qsizetype i = 3000; i < 6000; ++i)
            byte[i] = char(byte[i] ^ 0x5a);
    } else if (guasto == QLatin1String("troncata")) {
        byte.truncate(byte.size() / 2);
    } else if (guasto == QLatin1String("altrachiave")) {
        // A database of this program under another key.
        QFile::remove(copia);
        db::creaBaseDatiVuota(copia, QStringLiteral("un'altra chiave"));
        byte = prova::contenuto(copia);
    }
    if (guasto == QLatin1String("assente")) {
        QFile::remove(copia);
    } else {
        QVERIFY(prova::scrivi(copia, byte));
    }
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDAnagFreq"));
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDCorsiDef WHERE IdAttivita IN "
                                    "(SELECT IdAttivita FROM KELDCorsiDef LIMIT 2)"));

    QVERIFY(!maint::Ripristina_DB_Backup(s, s.PercorsoDB));
    QCOMPARE(inst.interaction.messages.size(), 1);
    QVERIFY(inst.interaction.last().text.startsWith(QStringLiteral("Ripristina_DB_Backup - ")));
    QCOMPARE(inst.interaction.last().title, kTitolo);
    QCOMPARE(inst.interaction.last().icon, Icon::Critical);
    // The database was not replaced and the connection is usable.
    QVERIFY(s.CorsiDB().isOpen());
    QCOMPARE(corsi(s), 3);
}

void TestCopiaSicurezza::restoreWaitsForTheOtherWorkstation() {
    TestInstallation inst;
    Session& s = inst.sessione();
    QVERIFY(maint::Crea_DB_Backup(s, s.PercorsoDB));
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDAnagFreq"));
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDCorsiDef"));
    const QByteArray dopo = QByteArray::number(corsi(s));

    auto altra = prova::avviaProbe({QStringLiteral("attendi"), inst.database()});
    QVERIFY(altra);
    QVERIFY(!maint::Ripristina_DB_Backup(s, s.PercorsoDB));
    QVERIFY(inst.interaction.last().text.contains(
        QStringLiteral("La base dati è in uso da un'altra postazione.")));
    QVERIFY(s.CorsiDB().isOpen());
    QCOMPARE(corsi(s), 0);
    QVERIFY(QFile::exists(maint::fileCopiaSicurezza(s.PercorsoDB)));

    altra->kill();
    QVERIFY(prova::attendiFine(*altra));
    QVERIFY(maint::Ripristina_DB_Backup(s, s.PercorsoDB));
    QCOMPARE(corsi(s), 5);
}

void TestCopiaSicurezza::copyIsConsistentWhileAnotherWorkstationWrites() {
    TestInstallation inst;
    prova::creaTabelleProva(inst.database());
    Session& s = inst.sessione();
    auto scrittore =
        prova::avviaProbe({QStringLiteral("scrivi"), inst.database(), QStringLiteral("1500")});
    QVERIFY(scrittore);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(maint::Crea_DB_Backup(s, s.PercorsoDB));
        const QString esito = prova::verificaCopia(maint::fileCopiaSicurezza(s.PercorsoDB));
        QVERIFY2(esito.isEmpty(), qPrintable(esito));
    }
    QVERIFY(prova::attendiFine(*scrittore));
}

void TestCopiaSicurezza::rolledBackUpdateIsConfirmed() {
    TestInstallation inst;
    Session& s = inst.sessione();
    QVERIFY(maint::Crea_DB_Backup(s, s.PercorsoDB));
    const QByteArray prima = prova::contenuto(s.PercorsoDB);
    {
        db::Transaction t(s.CorsiDB());
        s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDAnagFreq"));
        s.CorsiDB().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato = 'CHIUSO'"));
    } // rolled back
    QVERIFY(maint::ripristinoDopoAggiornamento(s, s.PercorsoDB, maint::Aggiornamento::Annullato));
    QCOMPARE(inst.interaction.last().text, QStringLiteral("Ripristino della base dati riuscito"));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Aggiornamento Base Dati"));
    QCOMPARE(inst.interaction.last().icon, Icon::Information);
    QVERIFY(!QFile::exists(maint::fileCopiaSicurezza(s.PercorsoDB)));
    s.CorsiDB().close();
    // The file was not swapped.
    QCOMPARE(prova::contenuto(inst.database()), prima);
}

void TestCopiaSicurezza::rolledBackUpdateThatDiffersIsReported() {
    TestInstallation inst;
    Session& s = inst.sessione();
    QVERIFY(maint::Crea_DB_Backup(s, s.PercorsoDB));
    s.CorsiDB().exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio = '9' WHERE rowid = "
                                    "(SELECT max(rowid) FROM KELDAnagFreq)"));
    QVERIFY(!maint::ripristinoDopoAggiornamento(s, s.PercorsoDB, maint::Aggiornamento::Annullato));
    QCOMPARE(inst.interaction.last().text,
             QStringLiteral("Ripristino della base dati non riuscito."));
    QCOMPARE(inst.interaction.last().icon, Icon::Critical);
    QVERIFY(QFile::exists(maint::fileCopiaSicurezza(s.PercorsoDB)));

    // An interrupted update puts the copy back.
    QVERIFY(maint::ripristinoDopoAggiornamento(s, s.PercorsoDB, maint::Aggiornamento::Interrotto));
    QCOMPARE(inst.interaction.last().text, QStringLiteral("Ripristino della base dati riuscito"));
    QCOMPARE(s.CorsiDB()
                 .scalar(QStringLiteral("SELECT count(*) FROM KELDAnagFreq WHERE Giudizio = '9'"))
                 .toInt(),
             0);
}

void TestCopiaSicurezza::missingDatabaseGivesTheCopyMessage() {
    TestInstallation inst;
    Session& s = inst.sessione();
    const QString assente = inst.file(QStringLiteral("ALTRO.mdb"));
    QVERIFY(!maint::Crea_DB_Backup(s, assente));
    QVERIFY(inst.interaction.last().text.startsWith(QStringLiteral("Crea_DB_Backup - ")));
    QCOMPARE(inst.interaction.last().title, kTitolo);
    QCOMPARE(inst.interaction.last().icon, Icon::Critical);
    QVERIFY(!QFile::exists(maint::fileCopiaSicurezza(assente)));
}

QTEST_GUILESS_MAIN(TestCopiaSicurezza)
#include "tst_copiasicurezza.moc"
