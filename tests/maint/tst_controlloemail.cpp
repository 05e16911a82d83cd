#include "maint/ControlloEmail.h"

#include "ScriptedInteraction.h"

#include <QLineEdit>
#include <QtTest>

class TestControlloEmail : public QObject {
    Q_OBJECT
private slots:
    void regole_data();
    void regole();
    void casellaMostraIlMessaggioERiprendeIlFuoco();
};

void TestControlloEmail::regole_data() {
    QTest::addColumn<QString>("indirizzo");
    QTest::addColumn<int>("regola");
    QTest::newRow("valido") << "a@b.it" << 0;
    QTest::newRow("valido con punti nel nome") << "mario.rossi@ente.it" << 0;
    QTest::newRow("vuoto") << "" << 1;
    QTest::newRow("virgola") << "a,b@c.it" << 2;
    QTest::newRow("spazio iniziale") << " a@b.it" << 3;
    QTest::newRow("spazio interno") << "a @b.it" << 3;
    QTest::newRow("spazio finale") << "a@b.it " << 3;
    QTest::newRow("barra") << "a/b@c.it" << 4;
    QTest::newRow("punti consecutivi prima della chiocciola") << "a..b" << 5;
    QTest::newRow("punti consecutivi dopo") << "a@b..it" << 5;
    QTest::newRow("senza chiocciola") << "ab.it" << 6;
    QTest::newRow("senza punto dopo la chiocciola") << "a@b" << 7;
    QTest::newRow("punto subito dopo la chiocciola") << "a@.it" << 7;
    QTest::newRow("finisce con il punto") << "a@b." << 8;
    QTest::newRow("primo punto dopo la chiocciola, non l'ultimo") << "a@b.c." << 0;
    QTest::newRow("inizia con la chiocciola") << "@b.it" << 9;
    QTest::newRow("inizia con il punto") << ".a@b.it" << 9;
    QTest::newRow("due chiocciole") << "a@b@c.it" << 10;
    // The prompt text of an empty field holds a blank, so the blank rule
    // refuses it before the prompt rule is reached.
    QTest::newRow("testo di richiamo") << "Indirizzo e-mail..." << 3;
    QTest::newRow("testo di richiamo in maiuscolo") << "INDIRIZZO E-MAIL@X.IT" << 3;
}

void TestControlloEmail::regole() {
    QFETCH(QString, indirizzo);
    QFETCH(int, regola);
    const maint::EsitoEmail esito = maint::controllaEmail(indirizzo);
    QCOMPARE(esito.regola, regola);
    QCOMPARE(esito.messaggio.isEmpty(), regola == 0);
}

void TestControlloEmail::casellaMostraIlMessaggioERiprendeIlFuoco() {
    ui::ScriptedInteraction ui;
    QWidget window;
    auto* altra = new QLineEdit(&window);
    auto* box = new QLineEdit(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setText(QStringLiteral("Indirizzo e-mail..."));
    altra->setFocus();
    QVERIFY(!maint::ValidateEmailBox(box, ui));
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.last().text, QStringLiteral("L'indirizzo e-mail non può contenere spazi "
                                            "all'inizio, alla fine o internamente."));
    QCOMPARE(ui.last().title, QStringLiteral("Indirizzo e-mail"));
    QCOMPARE(ui.last().icon, ui::Icon::Information);
    QTRY_VERIFY(box->hasFocus());

    box->setText(QStringLiteral("segreteria@ente.it"));
    QVERIFY(maint::ValidateEmailBox(box, ui));
    QCOMPARE(ui.messages.size(), 1);
}

QTEST_MAIN(TestControlloEmail)
#include "tst_controlloemail.moc"
