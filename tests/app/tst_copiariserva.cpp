#include "TestSupport.h"

#include "app/CopiaRiserva.h"
#include "db/Database.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

// The exit copy of a SERVER installation while a client keeps writing, and a
// copy cut off by a killed process.
class TestCopiaRiserva : public QObject {
    Q_OBJECT
private slots:
    void copieCoerentiMentreUnClientScrive();
    void copiaInterrottaLasciaOgniSlotIntegro();
};

namespace {

const QStringList kSlot = {QStringLiteral("backup.001"), QStringLiteral("backup.002"),
                           QStringLiteral("backup.003")};

QString verificaSlot(const TestInstallation& inst) {
    for (const QString& slot : kSlot) {
        if (!QFile::exists(inst.file(slot)))
            continue;
        const QString esito = prova::verificaCopia(inst.file(slot));
        if (!esito.isEmpty())
            return slot + QStringLiteral(": ") + esito;
    }
    return QString();
}

} // namespace

void TestCopiaRiserva::copieCoerentiMentreUnClientScrive() {
    TestInstallation inst;
    prova::creaTabelleProva(inst.database());
    auto client =
        prova::avviaProbe({QStringLiteral("scrivi"), inst.database(), QStringLiteral("4000")});
    QVERIFY(client);
    for (int copia = 0; copia < 9; ++copia) {
        const copiariserva::RisultatoCopia e = copiariserva::copiaRiservaUscita(
            inst.folder(), inst.database(), Session::databasePassword());
        QVERIFY2(e.riuscita, qPrintable(e.descrizione));
        const QString esito = prova::verificaCopia(e.destinazione);
        QVERIFY2(esito.isEmpty(), qPrintable(e.destinazione + QStringLiteral(": ") + esito));
        QCOMPARE(prova::permessi(e.destinazione), prova::soloProprietario);
        QTest::qWait(30);
    }
    QVERIFY(prova::attendiFine(*client));
    const QString uscita = QString::fromUtf8(client->readAllStandardOutput());
    QVERIFY2(uscita.contains(QStringLiteral(" ERRORI 0\n")), qPrintable(uscita));
    // No temporary file is left beside the slots.
    QCOMPARE(QDir(inst.folder()).entryList({QStringLiteral("*.tmp*")}, QDir::Files), QStringList());
}

void TestCopiaRiserva::copiaInterrottaLasciaOgniSlotIntegro() {
    TestInstallation inst;
    prova::creaTabelleProva(inst.database());
    for (int i = 0; i < 3; ++i)
        QVERIFY(copiariserva::copiaRiservaUscita(inst.folder(), inst.database(),
                                                 Session::databasePassword())
                    .riuscita);
    auto client =
        prova::avviaProbe({QStringLiteral("scrivi"), inst.database(), QStringLiteral("6000")});
    QVERIFY(client);
    for (int colpo = 0; colpo < 8; ++colpo) {
        auto uscita = prova::avviaProbe({QStringLiteral("copia"), inst.folder(), inst.database()});
        QVERIFY(uscita);
        QTest::qWait(int(QRandomGenerator::global()->bounded(20, 250)));
        ::kill(pid_t(uscita->processId()), SIGKILL);
        QVERIFY(prova::attendiFine(*uscita));
        const QString esito = verificaSlot(inst);
        QVERIFY2(esito.isEmpty(), qPrintable(esito));
        // At most one marker names the slot written last.
        QVERIFY(QDir(inst.folder()).entryList({QStringLiteral("00?.lst")}, QDir::Files).size() <=
                1);
    }
    QVERIFY(prova::attendiFine(*client));
    // The next exit cleans up what the killed copy left and succeeds.
    const copiariserva::RisultatoCopia e = copiariserva::copiaRiservaUscita(
        inst.folder(), inst.database(), Session::databasePassword());
    QVERIFY2(e.riuscita, qPrintable(e.descrizione));
    QVERIFY(prova::verificaCopia(e.destinazione).isEmpty());
}

QTEST_GUILESS_MAIN(TestCopiaRiserva)
#include "tst_copiariserva.moc"
