#include "TestSupport.h"
#include "common/HelpWindow.h"
#include "common/QtInteraction.h"
#include "common/Traduzioni.h"
#include "core/General.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

class TestInterazione : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pulsantiInItaliano_data();
    void pulsantiInItaliano();
    void messaggioReale();
    void fineDelProgramma();
    void aiuto();
    // Last: it leaves the test's event loops for good.
    void fineDaUnFormModale();
};

void TestInterazione::initTestCase() {
    QVERIFY(installaTraduzioniItaliane(*QCoreApplication::instance()));
}

void TestInterazione::pulsantiInItaliano_data() {
    QTest::addColumn<int>("pulsante");
    QTest::addColumn<QString>("testo");
    QTest::newRow("Sì") << int(QMessageBox::Yes) << "Sì";
    QTest::newRow("No") << int(QMessageBox::No) << "No";
    QTest::newRow("Annulla") << int(QMessageBox::Cancel) << "Annulla";
    QTest::newRow("OK") << int(QMessageBox::Ok) << "OK";
    QTest::newRow("Riprova") << int(QMessageBox::Retry) << "Riprova";
}

void TestInterazione::pulsantiInItaliano() {
    QFETCH(int, pulsante);
    QFETCH(QString, testo);
    QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::StandardButton(pulsante));
    QCOMPARE(box.button(QMessageBox::StandardButton(pulsante))->text().remove(QLatin1Char('&')),
             testo);
}

// The Qt implementation shows a real box and reports the button pressed.
void TestInterazione::messaggioReale() {
    ui::QtInteraction ui;
    QString titolo;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        titolo = box->windowTitle();
        box->button(QMessageBox::No)->click();
    });
    const ui::Answer risposta = ui.message(nullptr, QStringLiteral("Procedere?"), QString(),
                                           ui::Icon::Question, ui::Buttons::YesNo);
    QCOMPARE(risposta, ui::Answer::No);
    QCOMPARE(titolo, ui::DefaultTitle);
}

void TestInterazione::fineDelProgramma() {
    ui::ScriptedInteraction ui;
    int chiusure = 0;
    ui.onEnd([&] { ++chiusure; });
    QVERIFY(!ui.programEnded());
    QVERIFY(terminaIlProgramma([&] { ui.endProgram(); }));
    QVERIFY(terminaIlProgramma([&] { ui.endProgram(); }));
    QVERIFY(ui.programEnded());
    QCOMPARE(chiusure, 1);
    QCOMPARE(ui.leaves, 1);
    // Nothing is shown any more: the caller unwinds.
    QVERIFY(terminaIlProgramma([&] {
        ui.message(nullptr, QStringLiteral("dopo"), QString(), ui::Icon::None, ui::Buttons::Ok);
    }));
    QVERIFY(ui.messages.isEmpty());
}

// A handler of a real modal form ends the program: the event loop takes the
// end, the form's loop returns, and the code after the form never runs.
void TestInterazione::fineDaUnFormModale() {
    ui::QtInteraction ui;
    int chiusure = 0;
    ui.onEnd([&] { ++chiusure; });
    QDialog form;
    auto* esci = new QPushButton(QStringLiteral("Esci"), &form);
    QObject::connect(esci, &QPushButton::clicked, &form, [&] { ui.endProgram(); });
    QTimer::singleShot(0, esci, [esci] { QTest::mouseClick(esci, Qt::LeftButton); });
    bool dopoIlForm = false;
    const bool terminato = terminaIlProgramma([&] {
        ui.runDialog(form);
        dopoIlForm = true;
    });
    QVERIFY(terminato);
    QVERIFY(!dopoIlForm);
    QCOMPARE(chiusure, 1);
    QVERIFY(terminaIlProgramma([&] { ui.runDialog(form); }));
}

void TestInterazione::aiuto() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aiuto.html"));
    ui::ScriptedInteraction scripted;
    General::MostraAiuto(scripted, nullptr, file, 20000);
    QCOMPARE(scripted.texts(), QStringList{"File di Aiuto non presente"});
    QCOMPARE(scripted.last().title, QStringLiteral("Aiuto"));

    QVERIFY(prova::scrivi(file, "<html><body><h1>Indice</h1><a name=\"20000\"></a><h2>Finestra "
                                "principale</h2></body></html>"));
    General::MostraAiuto(scripted, nullptr, file, 20000);
    QCOMPARE(scripted.helpShown.size(), 1);
    QCOMPARE(scripted.helpShown.first(), qMakePair(file, 20000));

    ui::QtInteraction real;
    real.showHelp(nullptr, file, 20000);
    HelpWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<HelpWindow*>(w))
            window = help;
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(window->findChild<QTextBrowser*>()->toPlainText().contains("Finestra principale"));
    window->close();
}

KORVADIN_TEST_MAIN(TestInterazione)
#include "tst_interazione.moc"
