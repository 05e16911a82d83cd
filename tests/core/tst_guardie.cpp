#include "TestSupport.h"

#include "core/Guardie.h"
#include "db/DbError.h"

#include <QtTest>

#include <stdexcept>

// The busy pointer, a closing action and a connection mode switched for an
// operation come back however the operation is left.
class TestGuardie : public QObject {
    Q_OBJECT
private slots:
    void puntatoreRipristinatoAncheDaUnErrore();
    void azioneAllUscitaUnaVolta();
    void modoConnessioneRipristinato();
    void connessioneChiusaDallaFineRestaChiusa();
};

void TestGuardie::puntatoreRipristinatoAncheDaUnErrore() {
    ui::ScriptedInteraction ui;
    try {
        PuntatoreOccupato occupato(ui);
        QCOMPARE(ui.busyCalls, 1);
        throw db::DbError(5, QStringLiteral("guasto"));
    } catch (const db::DbError&) {
    }
    QCOMPARE(ui.busyCalls, 0);
    {
        PuntatoreOccupato occupato(ui);
        occupato.fine();
        QCOMPARE(ui.busyCalls, 0);
    }
    QCOMPARE(ui.busyCalls, 0);
}

void TestGuardie::azioneAllUscitaUnaVolta() {
    int volte = 0;
    QVERIFY(terminaIlProgramma([&] {
        AllUscita nascondi([&] { ++volte; });
        throw ui::FineProgramma();
    }));
    QCOMPARE(volte, 1);
    {
        AllUscita nascondi([&] { ++volte; });
        nascondi.fine();
    }
    QCOMPARE(volte, 2);
}

void TestGuardie::modoConnessioneRipristinato() {
    TestInstallation inst;
    db::Connection& c = inst.sessione().CorsiDB();
    QCOMPARE(c.mode(), db::OpenMode::Shared);
    try {
        ModoConnessione esclusiva(c, db::OpenMode::Exclusive);
        QCOMPARE(c.mode(), db::OpenMode::Exclusive);
        db::Connection altra;
        QVERIFY_THROWS_EXCEPTION(
            db::DbError,
            altra.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared));
        throw std::runtime_error("guasto");
    } catch (const std::runtime_error&) {
    }
    QVERIFY(c.isOpen());
    QCOMPARE(c.mode(), db::OpenMode::Shared);
    // Another workstation can open the file again.
    db::Connection altra;
    altra.open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
    QCOMPARE(altra.scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt(), 5);
}

void TestGuardie::connessioneChiusaDallaFineRestaChiusa() {
    TestInstallation inst;
    Session& s = inst.sessione();
    db::Connection& c = s.CorsiDB();
    QVERIFY(terminaIlProgramma([&] {
        ModoConnessione esclusiva(c, db::OpenMode::Exclusive);
        s.endProgram();
    }));
    QVERIFY(!c.isOpen());
}

QTEST_GUILESS_MAIN(TestGuardie)
#include "tst_guardie.moc"
