// The agencies' update from the main window against the in-process regional-
// server simulator: a new agency added to the list comes down with the others,
// is merged under the safety copy and the connection returns to its mode. A
// decoding file dropped with "aggiorna.tab" loads first, followed on the status bar.
#include "SimulatoreSupport.h"
#include "TestSupport.h"
#include "app/Main.h"
#include "enrol/frmInstOper.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace enrol;

class TestAggiornaOperatori : public QObject {
    Q_OBJECT
private slots:
    void nuovoOperatoreUnito();
};

void TestAggiornaOperatori::nuovoOperatoreUnito() {
    Simulatore sim;
    QVERIFY(sim.avvia());
    TestInstallation inst;
    Session& s = inst.sessione();
    puntaAlSimulatore(s, sim);
    s.CorsiDB().exec(QStringLiteral("UPDATE CorsiOper SET ContABI='03069' WHERE GrupOpe='A' AND "
                                    "Operatore=123"));
    Main m(s);
    m.show();
    m.attiva();
    QStringList elencoIniziale;
    guida<frmInstOper>(inst.interaction, QStringLiteral("frmInstOper"), [&](frmInstOper& f) {
        elencoIniziale = f.elenco();
        figlio<QLineEdit>(&f, QStringLiteral("TxtGrup"))->setText(QStringLiteral("B"));
        figlio<QLineEdit>(&f, QStringLiteral("TxtOper"))->setText(QStringLiteral("7"));
        f.CmdIns_Click();
        f.cmdConferma_Click();
    });
    guida<frmConferma>(inst.interaction, QStringLiteral("frmConferma"), [](frmConferma& c) {
        figlio<QLineEdit>(&c, QStringLiteral("txtEMail"))->setText(QStringLiteral("uff@ente.it"));
        c.cmdConferma_Click();
    });
    QVERIFY(prova::scrivi(inst.file(QStringLiteral("Asse.txt")),
                          "AGGIORNAMENTO\r\n#Z#,#Asse aggiunto#\r\n#Y#,#Altro asse#\r\n"));
    QVERIFY(prova::scrivi(inst.file(QStringLiteral("aggiorna.tab")), {}));
    figlio<QPushButton>(&m, QStringLiteral("cmdAggInst"))->click();
    QCOMPARE(figlio<QLabel>(&m, QStringLiteral("StBar_Panel2"))->text(),
             QStringLiteral("Caricamento: Asse - 2"));

    // The list started from the agencies of the database; both were asked for.
    QCOMPARE(elencoIniziale.size(), 1);
    QVERIFY(elencoIniziale.first().startsWith(u'A'));
    QCOMPARE(sim.ricevute(Simulatore::AGGIORNADB).size(), 1);
    QCOMPARE(sim.ricevute(Simulatore::AGGIORNADB).first().corpo, QByteArray("g=A&c=123&g=B&c=7"));
    QCOMPARE(inst.interaction.last().text, QStringLiteral("Aggiornamento Base Dati effettuato."));
    QVERIFY(inst.interaction.undrivenDialogs.isEmpty());

    db::Connection& c = s.CorsiDB();
    QCOMPARE(c.mode(), db::OpenMode::Exclusive); // the demo is a stand-alone installation
    QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM CorsiOper")).toInt(), 2);
    QCOMPARE(c.scalar(QStringLiteral("SELECT o.Corrispondenza = k.Componente FROM CorsiOper o "
                                     "JOIN CorsiCompo k ON k.GrupOpe=o.GrupOpe AND "
                                     "k.Operatore=o.Operatore AND k.TipoCompo='SL' "
                                     "WHERE o.GrupOpe='B' AND o.Operatore=7"))
                 .toInt(),
             1);
    QCOMPARE(c.scalar(QStringLiteral("SELECT ContABI FROM CorsiOper WHERE GrupOpe='A'")).toString(),
             QStringLiteral("03069"));
    const QDir cartella(inst.folder());
    QVERIFY(cartella.entryList({QStringLiteral("*.tx1")}, QDir::Files).isEmpty());
    QCOMPARE(QDir(cartella.filePath(QStringLiteral("CAR")))
                 .entryList({QStringLiteral("*.car")}, QDir::Files, QDir::Name),
             QStringList({QStringLiteral("compo.car"), QStringLiteral("oper.car"),
                          QStringLiteral("sediocc.car"), QStringLiteral("sediutil.car")}));
    QVERIFY(!QFile::exists(inst.database() + QStringLiteral("_BAK")));
}

KORVADIN_TEST_MAIN(TestAggiornaOperatori)
#include "tst_aggiornaoperatori.moc"
