// The agency enrolment dialogs against the in-process regional-server simulator.
#include "SimulatoreSupport.h"
#include "TestSupport.h"
#include "enrol/InstOper.h"
#include "enrol/frmInstOper.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace enrol;
using ui::Icon;

namespace {

void inserisci(frmInstOper& f, const QString& g, const QString& o) {
    figlio<QLineEdit>(&f, QStringLiteral("TxtGrup"))->setText(g);
    figlio<QLineEdit>(&f, QStringLiteral("TxtOper"))->setText(o);
    f.CmdIns_Click();
}

QStringList tx1(const QString& cartella) {
    return QDir(cartella).entryList({QStringLiteral("*.tx1")}, QDir::Files, QDir::Name);
}

} // namespace

class TestInstOper : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_sim.azzeraRicevute();
        QVERIFY(m_sim.avvia());
    }
    void cleanup() {
        m_sim.ferma();
        m_sim.azzeraGuasti();
    }
    void limiteDiCentoCinquanta();
    void stessoOperatoreDueVolte();
    void voceECorpo_data();
    void voceECorpo();
    void clicSullaVoce();
    void conferma();
    void risposteNonBuone_data();
    void risposteNonBuone();
    void annullaInConfermaCancellaIFile();
    void annullaInSelezione();
    void aiuto_data();
    void aiuto();

private:
    Simulatore m_sim;
};

void TestInstOper::limiteDiCentoCinquanta() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    frmInstOper f(s);
    for (int i = 1; i <= 149; ++i)
        inserisci(f, QStringLiteral("A"), QString::number(i));
    QCOMPARE(f.elenco().size(), 149);
    inserisci(f, QStringLiteral("A"), QStringLiteral("150"));
    QCOMPARE(f.elenco().size(), 150);
    QVERIFY(inst.interaction.messages.isEmpty());
    inserisci(f, QStringLiteral("A"), QStringLiteral("151"));
    QCOMPARE(f.elenco().size(), 150);
    QCOMPARE(inst.interaction.last().text,
             QStringLiteral("E' stato raggiunto il limite massimo di aziende scaricabili da "
                            "Internet"));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Attenzione"));
    QCOMPARE(inst.interaction.last().icon, Icon::Information);
}

void TestInstOper::stessoOperatoreDueVolte() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    frmInstOper f(inst.sessione());
    inserisci(f, QStringLiteral("A"), QStringLiteral("123"));
    inserisci(f, QStringLiteral("A"), QStringLiteral("123"));
    QCOMPARE(f.elenco(), QStringList{QStringLiteral("A      -   123")});
    QVERIFY(figlio<QLineEdit>(&f, QStringLiteral("TxtGrup"))->text().isEmpty());
}

void TestInstOper::voceECorpo_data() {
    QTest::addColumn<QStringList>("operatori");
    QTest::addColumn<QStringList>("voci");
    QTest::addColumn<QString>("corpo");
    QTest::newRow("7 con quattro spazi")
        << QStringList{QStringLiteral("B/7")} << QStringList{QStringLiteral("B      -     7")}
        << QStringLiteral("g=B&c=7");
    QTest::newRow("A/123 e B/7") << QStringList{QStringLiteral("A/123"), QStringLiteral("B/7")}
                                 << QStringList{QStringLiteral("A      -   123"),
                                                QStringLiteral("B      -     7")}
                                 << QStringLiteral("g=A&c=123&g=B&c=7");
}

void TestInstOper::voceECorpo() {
    QFETCH(QStringList, operatori);
    QFETCH(QStringList, voci);
    QFETCH(QString, corpo);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    puntaAlSimulatore(s, m_sim);
    frmInstOper f(s);
    for (const QString& o : operatori)
        inserisci(f, o.section(u'/', 0, 0), o.section(u'/', 1));
    QCOMPARE(f.elenco(), voci);
    guida<frmConferma>(inst.interaction, QStringLiteral("frmConferma"),
                       [](frmConferma& c) { c.cmdAnnulla_Click(); });
    f.cmdConferma_Click();
    QCOMPARE(m_sim.ricevute(Simulatore::AGGIORNADB).size(), 1);
    QCOMPARE(m_sim.ricevute(Simulatore::AGGIORNADB).last().corpo, corpo.toLatin1());
}

void TestInstOper::clicSullaVoce() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    frmInstOper f(inst.sessione());
    f.setElenco({QStringLiteral("B      -     7")});
    auto* lista = figlio<QListWidget>(&f, QStringLiteral("LstElenco"));
    emit lista->itemClicked(lista->item(0));
    QCOMPARE(figlio<QLineEdit>(&f, QStringLiteral("TxtGrup"))->text(), QStringLiteral("B"));
    QCOMPARE(figlio<QLineEdit>(&f, QStringLiteral("TxtOper"))->text(), QStringLiteral("7"));
}

void TestInstOper::conferma() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    puntaAlSimulatore(s, m_sim);
    QStringList righe;
    guida<frmInstOper>(inst.interaction, QStringLiteral("frmInstOper"), [](frmInstOper& f) {
        inserisci(f, QStringLiteral("A"), QStringLiteral("123"));
        f.cmdConferma_Click();
    });
    guida<frmConferma>(inst.interaction, QStringLiteral("frmConferma"), [&](frmConferma& c) {
        auto* lista = figlio<QListWidget>(&c, QStringLiteral("Lista"));
        for (int i = 0; i < lista->count(); ++i)
            righe << lista->item(i)->text();
        figlio<QLineEdit>(&c, QStringLiteral("txtEMail"))->setText(QStringLiteral("a@b.it"));
        c.cmdConferma_Click();
    });
    QVERIFY(iscriviOperatori(s, nullptr));
    QCOMPARE(tx1(s.CartellaProgramma),
             QStringList({QStringLiteral("compo.tx1"), QStringLiteral("oper.tx1"),
                          QStringLiteral("sediocc.tx1"), QStringLiteral("sediutil.tx1")}));
    QCOMPARE(righe.size(), 1);
    QVERIFY2(righe[0].startsWith(QStringLiteral("A123      ")), qPrintable(righe[0]));
    QCOMPARE(s.userSettings.get(QStringLiteral("E-Mail")), QStringLiteral("a@b.it"));
}

void TestInstOper::risposteNonBuone_data() {
    QTest::addColumn<QByteArray>("risposta");
    QTest::addColumn<QString>("titolo");
    QTest::newRow("tre file") << QByteArray("oper.tx1\r\n#A#,#1#\r\n\r\ncompo.tx1\r\n#A#\r\n\r\n"
                                            "sediocc.tx1\r\n#1#\r\nEOF\r\n")
                              << QStringLiteral("Errore restituito dal Server");
    QTest::newRow("ERRORE") << QByteArray("ERRORE: operatore sconosciuto")
                            << QStringLiteral("Errore restituito dal Server");
    QTest::newRow("HTML") << QByteArray("<HTML><BODY>guasto</BODY></HTML>")
                          << QStringLiteral("ERRORE");
}

void TestInstOper::risposteNonBuone() {
    QFETCH(QByteArray, risposta);
    QFETCH(QString, titolo);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    puntaAlSimulatore(s, m_sim);
    m_sim.setRisposta(Simulatore::AGGIORNADB, risposta);
    frmInstOper f(s);
    inserisci(f, QStringLiteral("A"), QStringLiteral("123"));
    f.cmdConferma_Click();
    QCOMPARE(inst.interaction.last().title, titolo);
    QVERIFY(inst.interaction.dialogsRun.isEmpty());
    QVERIFY(tx1(s.CartellaProgramma).isEmpty());
    QCOMPARE(f.elenco().size(), 1);
    QVERIFY(figlio<QPushButton>(&f, QStringLiteral("cmdConferma"))->isEnabled());
}

void TestInstOper::annullaInConfermaCancellaIFile() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    puntaAlSimulatore(s, m_sim);
    guida<frmInstOper>(inst.interaction, QStringLiteral("frmInstOper"), [](frmInstOper& f) {
        inserisci(f, QStringLiteral("A"), QStringLiteral("123"));
        f.cmdConferma_Click();
        f.cmdAnnulla_Click();
    });
    bool cerano = false;
    guida<frmConferma>(inst.interaction, QStringLiteral("frmConferma"), [&](frmConferma& c) {
        cerano = tx1(s.CartellaProgramma).size() == 4;
        c.cmdAnnulla_Click();
    });
    QVERIFY(!iscriviOperatori(s, nullptr));
    QVERIFY(cerano);
    QVERIFY(tx1(s.CartellaProgramma).isEmpty());
    QCOMPARE(s.AnnullaOperazione, QStringLiteral("annulla"));
}

void TestInstOper::annullaInSelezione() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    guida<frmInstOper>(inst.interaction, QStringLiteral("frmInstOper"),
                       [](frmInstOper& f) { f.cmdAnnulla_Click(); });
    QVERIFY(!iscriviOperatori(s, nullptr));
    QCOMPARE(s.AnnullaOperazione, QStringLiteral("annulla"));
    QVERIFY(m_sim.ricevute(Simulatore::AGGIORNADB).isEmpty());
}

void TestInstOper::aiuto_data() {
    QTest::addColumn<bool>("installazione");
    QTest::addColumn<int>("argomento");
    QTest::newRow("in installazione") << true << 15000;
    QTest::newRow("da finestra principale") << false << 18000;
}

// F1 opens the selection's topic by the installation state; the confirmation
// always opens the installation's.
void TestInstOper::aiuto() {
    QFETCH(bool, installazione);
    QFETCH(int, argomento);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    s.InstallazioneInCorso = installazione;
    frmInstOper selezione(s);
    frmConferma conferma(s);
    for (QDialog* d : {static_cast<QDialog*>(&selezione), static_cast<QDialog*>(&conferma)}) {
        d->show();
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClick(d, Qt::Key_F1);
        d->hide();
    }
    const QList<QPair<QString, int>> attesi = {{s.fileAiuto, argomento}, {s.fileAiuto, 15000}};
    QCOMPARE(inst.interaction.helpShown, attesi);
}

KORVADIN_TEST_MAIN(TestInstOper)
#include "tst_instoper.moc"
