#include "report/FiltriInput.h"

#include "ScriptedInteraction.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace report;

Q_DECLARE_METATYPE(report::ModoNumerico)
Q_DECLARE_METATYPE(report::Tasto)

namespace {

// A dialog with a default button, a filtered box and a second box to move
// the focus to.
struct Banco {
    explicit Banco(ModoNumerico modo) {
        box = new QLineEdit(&dialogo);
        altro = new QLineEdit(&dialogo);
        predefinito = new QPushButton(QStringLiteral("OK"), &dialogo);
        predefinito->setDefault(true);
        auto* layout = new QVBoxLayout(&dialogo);
        layout->addWidget(box);
        layout->addWidget(altro);
        layout->addWidget(predefinito);
        QObject::connect(predefinito, &QPushButton::clicked, [this] { ++premuto; });
        filtroNumerico(box, ui, modo);
        dialogo.show();
        dialogo.activateWindow();
        box->setFocus();
    }
    QDialog dialogo;
    QLineEdit* box;
    QLineEdit* altro;
    QPushButton* predefinito;
    ui::ScriptedInteraction ui;
    int premuto = 0;
};

// Types the text into the box, leaves it, and returns what it shows.
QString lasciaDopo(QLineEdit* box, QLineEdit* altro, const QString& testo) {
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, testo);
    altro->setFocus();
    return box->text();
}

} // namespace

class TestFiltri : public QObject {
    Q_OBJECT
private slots:
    void tasti_data();
    void tasti();
    void casellaDecimale();
    void invioInghiottito();
    void oreAssenza();
    void incolla();
    void ogniViaDiIngresso_data();
    void ogniViaDiIngresso();
    void completamenti_data();
    void completamenti();
    void completamentoInUscitaDallaCasella();
};

void TestFiltri::tasti_data() {
    QTest::addColumn<ModoNumerico>("modo");
    QTest::addColumn<int>("tasto");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<Tasto>("atteso");
    const auto D = ModoNumerico::Decimale, O = ModoNumerico::OreAssenza;
    for (auto [modo, nome] : {std::pair{D, "decimale"}, std::pair{O, "ore"}}) {
        const QByteArray n(nome);
        QTest::newRow(n + " cifra") << modo << int(Qt::Key_7) << "7" << Tasto::Passa;
        QTest::newRow(n + " virgola") << modo << int(Qt::Key_Comma) << "," << Tasto::Passa;
        QTest::newRow(n + " backspace") << modo << int(Qt::Key_Backspace) << "\b" << Tasto::Passa;
        QTest::newRow(n + " lettera") << modo << int(Qt::Key_A) << "a" << Tasto::Rifiuta;
        QTest::newRow(n + " spazio") << modo << int(Qt::Key_Space) << " " << Tasto::Rifiuta;
        QTest::newRow(n + " meno") << modo << int(Qt::Key_Minus) << "-" << Tasto::Rifiuta;
        QTest::newRow(n + " freccia") << modo << int(Qt::Key_Left) << "" << Tasto::Passa;
        QTest::newRow(n + " tab") << modo << int(Qt::Key_Tab) << "\t" << Tasto::Passa;
        QTest::newRow(n + " canc") << modo << int(Qt::Key_Delete) << "\x7f" << Tasto::Passa;
        QTest::newRow(n + " ctrl+c") << modo << int(Qt::Key_C) << "\x03" << Tasto::Passa;
    }
    QTest::newRow("decimale punto") << D << int(Qt::Key_Period) << "." << Tasto::Virgola;
    QTest::newRow("decimale invio") << D << int(Qt::Key_Return) << "\r" << Tasto::Inghiotti;
    QTest::newRow("decimale enter") << D << int(Qt::Key_Enter) << "\r" << Tasto::Inghiotti;
    QTest::newRow("ore punto") << O << int(Qt::Key_Period) << "." << Tasto::Rifiuta;
    QTest::newRow("ore invio") << O << int(Qt::Key_Return) << "\r" << Tasto::Rifiuta;
}

void TestFiltri::tasti() {
    QFETCH(ModoNumerico, modo);
    QFETCH(int, tasto);
    QFETCH(QString, testo);
    QFETCH(Tasto, atteso);
    QCOMPARE(esaminaTasto(modo, tasto, testo), atteso);
}

void TestFiltri::casellaDecimale() {
    Banco b(ModoNumerico::Decimale);
    QTest::keyClicks(b.box, QStringLiteral("2.5"));
    QCOMPARE(b.box->text(), QStringLiteral("2,5"));
    QVERIFY(b.ui.messages.isEmpty());
    QTest::keyClick(b.box, Qt::Key_X);
    QCOMPARE(b.box->text(), QStringLiteral("2,5"));
    QCOMPARE(b.ui.beeps, 1);
    QCOMPARE(b.ui.messages.size(), 1);
    QCOMPARE(b.ui.last().text, QStringLiteral("Carattere non numerico"));
    QCOMPARE(b.ui.last().title, QStringLiteral("Campo Numerico"));
    QCOMPARE(b.ui.last().icon, ui::Icon::Information);
    QTest::keyClick(b.box, Qt::Key_Backspace);
    QCOMPARE(b.box->text(), QStringLiteral("2,"));
    QCOMPARE(b.ui.beeps, 1);
}

void TestFiltri::invioInghiottito() {
    Banco b(ModoNumerico::Decimale);
    QTest::keyClicks(b.box, QStringLiteral("3"));
    QTest::keyClick(b.box, Qt::Key_Return);
    QTest::keyClick(b.box, Qt::Key_Enter);
    QCOMPARE(b.premuto, 0);
    QVERIFY(b.ui.messages.isEmpty());
    QCOMPARE(b.ui.beeps, 0);
    // The same key in a box without the filter presses the default button.
    QTest::keyClick(b.altro, Qt::Key_Return);
    QCOMPARE(b.premuto, 1);
}

void TestFiltri::oreAssenza() {
    Banco b(ModoNumerico::OreAssenza);
    QTest::keyClicks(b.box, QStringLiteral("1.2"));
    QCOMPARE(b.box->text(), QStringLiteral("12"));
    QCOMPARE(b.ui.beeps, 1);
    QCOMPARE(b.ui.texts(), QStringList{QStringLiteral("Carattere non numerico")});
    QTest::keyClick(b.box, Qt::Key_Return);
    QCOMPARE(b.ui.beeps, 2);
    QCOMPARE(b.premuto, 0);
    QTest::keyClicks(b.box, QStringLiteral(",4"));
    QCOMPARE(b.box->text(), QStringLiteral("12,4"));
}

void TestFiltri::incolla() {
    Banco b(ModoNumerico::Decimale);
    QApplication::clipboard()->setText(QStringLiteral("1.5"));
    QTest::keySequence(b.box, QKeySequence::Paste);
    QCOMPARE(b.box->text(), QStringLiteral("1,5"));
    QVERIFY(b.ui.messages.isEmpty());
    b.box->clear();
    QApplication::clipboard()->setText(QStringLiteral("a2b"));
    QTest::keySequence(b.box, QKeySequence::Paste);
    QCOMPARE(b.box->text(), QStringLiteral("2"));
    QCOMPARE(b.ui.texts(), QStringList{QStringLiteral("Carattere non numerico")});

    bool scartati = true;
    QCOMPARE(filtraIncollato(ModoNumerico::OreAssenza, QStringLiteral("1,2"), &scartati),
             QStringLiteral("1,2"));
    QVERIFY(!scartati);
    QCOMPARE(filtraIncollato(ModoNumerico::OreAssenza, QStringLiteral("1.2"), &scartati),
             QStringLiteral("12"));
    QVERIFY(scartati);
}

void TestFiltri::ogniViaDiIngresso_data() {
    QTest::addColumn<QString>("via");
    QTest::addColumn<ModoNumerico>("modo");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("atteso");
    QTest::addColumn<bool>("avviso"); // "Carattere non numerico"
    const auto D = ModoNumerico::Decimale;
    const auto O = ModoNumerico::OreAssenza;
    QTest::newRow("menu: lettere") << "menu" << D << "12ab"
                                   << "12" << true;
    QTest::newRow("menu: punto") << "menu" << D << "1.9"
                                 << "1,9" << false;
    QTest::newRow("paste: emoji") << "paste" << D << QStringLiteral("😀3") << "3" << true;
    QTest::newRow("paste: ore col punto") << "paste" << O << "1.2"
                                          << "12" << true;
    QTest::newRow("metodo di input: cifre arabe")
        << "metodo" << D << QStringLiteral("٣4") << "4" << true;
    QTest::newRow("metodo di input: testo") << "metodo" << D << "uno"
                                            << "" << true;
    QTest::newRow("metodo di input: 1.9") << "metodo" << D << "1.9"
                                          << "1,9" << false;
    QTest::newRow("tasto: emoji") << "tasto" << D << QStringLiteral("😀") << "" << true;
    QTest::newRow("setText: lettere") << "setText" << D << "x7"
                                      << "7" << false;
}

// Every way text can reach a numeric box leaves in it only what the filter
// allows.
void TestFiltri::ogniViaDiIngresso() {
    QFETCH(QString, via);
    QFETCH(ModoNumerico, modo);
    QFETCH(QString, testo);
    QFETCH(QString, atteso);
    QFETCH(bool, avviso);
    Banco b(modo);
    if (via == QLatin1String("menu") || via == QLatin1String("paste")) {
        QApplication::clipboard()->setText(testo);
        if (via == QLatin1String("paste")) {
            b.box->paste();
        } else {
            std::unique_ptr<QMenu> menu(b.box->createStandardContextMenu());
            QAction* incolla = nullptr;
            for (QAction* a : menu->actions())
                if (a->text().startsWith(QLatin1String("&Paste")))
                    incolla = a;
            QVERIFY(incolla);
            incolla->trigger();
        }
    } else if (via == QLatin1String("metodo")) {
        QInputMethodEvent evento;
        evento.setCommitString(testo);
        QApplication::sendEvent(b.box, &evento);
    } else if (via == QLatin1String("tasto")) {
        QTest::sendKeyEvent(QTest::Click, b.box, Qt::Key_unknown, testo, Qt::NoModifier);
    } else {
        b.box->setText(testo);
    }
    QCOMPARE(b.box->text(), atteso);
    QCOMPARE(b.ui.texts(),
             avviso ? QStringList{QStringLiteral("Carattere non numerico")} : QStringList{});
}

void TestFiltri::completamenti_data() {
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("giorno 5") << "gm"
                              << "5"
                              << "05";
    QTest::newRow("mese 7") << "gm"
                            << "7"
                            << "07";
    QTest::newRow("giorno 12") << "gm"
                               << "12"
                               << "12";
    QTest::newRow("giorno vuoto") << "gm"
                                  << ""
                                  << "";
    QTest::newRow("anno 18") << "a"
                             << "18"
                             << "2018";
    QTest::newRow("anno 95") << "a"
                             << "95"
                             << "1995";
    QTest::newRow("anno 90") << "a"
                             << "90"
                             << "2090";
    QTest::newRow("anno 91") << "a"
                             << "91"
                             << "1991";
    QTest::newRow("anno 00") << "a"
                             << "00"
                             << "2000";
    QTest::newRow("anno 218") << "a"
                              << "218"
                              << "218";
    QTest::newRow("anno 8") << "a"
                            << "8"
                            << "8";
    QTest::newRow("anno 2018") << "a"
                               << "2018"
                               << "2018";
    QTest::newRow("sottoconteggio vuoto") << "h"
                                          << ""
                                          << "0";
    QTest::newRow("sottoconteggio 3") << "h"
                                      << "3"
                                      << "3";
}

void TestFiltri::completamenti() {
    QFETCH(QString, tipo);
    QFETCH(QString, testo);
    QFETCH(QString, atteso);
    const QString risultato = tipo == QLatin1String("gm")  ? completaGiornoMese(testo)
                              : tipo == QLatin1String("a") ? completaAnno(testo)
                                                           : completaSottoconteggio(testo);
    QCOMPARE(risultato, atteso);
}

void TestFiltri::completamentoInUscitaDallaCasella() {
    Banco b(ModoNumerico::Decimale);
    QVERIFY(QTest::qWaitForWindowActive(&b.dialogo));
    completamentoInUscita(b.box, completaAnno);
    QCOMPARE(lasciaDopo(b.box, b.altro, QStringLiteral("18")), QStringLiteral("2018"));
    QCOMPARE(lasciaDopo(b.box, b.altro, QStringLiteral("95")), QStringLiteral("1995"));
    QCOMPARE(lasciaDopo(b.box, b.altro, QStringLiteral("218")), QStringLiteral("218"));
    // Nothing changes while the user is still in the box.
    b.box->setFocus();
    b.box->clear();
    QTest::keyClicks(b.box, QStringLiteral("18"));
    QCOMPARE(b.box->text(), QStringLiteral("18"));
}

QTEST_MAIN(TestFiltri)
#include "tst_filtri.moc"
