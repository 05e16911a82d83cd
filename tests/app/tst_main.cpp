#include "TestSupport.h"

#include "app/Distribuzione.h"
#include "app/MDI_Main.h"
#include "app/Main.h"
#include "app/MainRegole.h"
#include "download/TabCorsiApprovati.h"
#include "report/FineCor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <QtTest>

#include <functional>

using download::TabCorsiApprovati;

namespace {

// Shown and activated, as the frame window shows it.
void mostra(Main& m) {
    m.show();
    m.attiva();
}

} // namespace

// The main window on a real demo installation (agency A/123 "Centro Formazione
// Val d'Aosta Lavoro", courses 41235..41239 in the states APERTO, APERTO,
// APERTO, CHIUSO, TRASMESSO; a "null" enrolment number in 41236, an empty one in
// 41235).
class TestMain : public QObject {
    Q_OBJECT
private slots:
    void titoloLoghiEVoci();
    void vociDelMenu_data();
    void vociDelMenu();
    void primaAttivazioneDopoPrimaInstallazione();
    void primaAttivazioneNormale();
    void pannelloInformazioni_data();
    void pannelloInformazioni();
    void pannelloAggiornatoAdOgniAttivazione();
    void evidenziazione_data();
    void evidenziazione();
    void sfondoEPannelliInformativi();
    void lblAggiornaSaltataConPulsanteDisabilitato();
    void opzioniRipristinaLabel21();
    void orologio();
    void calendario();
    void collegamenti_data();
    void collegamenti();
    void rifiutiPrimaDelloScarico();
    void gestioneCorsiConsegnaIlCorso();
    void gestioneCorsiAnnullataNonApreNulla();
    void trasmissioneBloccataDaMatricolaNull();
    void trasmissioneConMatricolaVuota();
    void didascalieComeIlPulsante();
    void scaricoSenzaFileNonDiceNulla();
    void scaricoConFileNonAcquisito();
    void aggiornaDatiAnnullato();
    void aggiornaDatiRiapreLaBaseDati();
    void aggiornaDatiConClientConnessi();
    void aggiornaDatiSenzaRiaperturaTermina();
    void annullaPannelloAttesa();
    void usciteServerRuotanoLeCopie();
    void copiaFallitaAvvisaERicomincia();
    void nessunaCopiaSenzaServer_data();
    void nessunaCopiaSenzaServer();
    void cornicePrincipale();
    void tastiera_data();
    void tastiera();

private:
    static QLabel* label(QWidget* w, const QString& nome) { return figlio<QLabel>(w, nome); }
    static void entra(QWidget* w) {
        QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(w, &e);
    }
    static void muoviSulloSfondo(Main& m) {
        for (int y = 0; y < m.height(); y += 4)
            for (int x = 0; x < m.width(); x += 4)
                if (!m.childAt(x, y)) {
                    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), m.mapToGlobal(QPointF(x, y)),
                                  Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                    QCoreApplication::sendEvent(&m, &e);
                    return;
                }
        QFAIL("nessun punto libero sullo sfondo");
    }
    static bool aRiposo(QLabel* l) {
        return l->palette().color(QPalette::WindowText) == QColor(0, 0, 255) && !l->font().bold() &&
               !l->font().underline();
    }
    static const QStringList& didascalie() {
        static const QStringList nomi = {"Label2",  "Label11", "Label13",     "Label20",
                                         "Label21", "Label16", "lblAggiorna", "Label15"};
        return nomi;
    }
    // Drives the course chooser when the program runs it.
    static std::shared_ptr<int> quandoAperto(TestInstallation& inst,
                                             std::function<void(TabCorsiApprovati&)> azione) {
        return guida<TabCorsiApprovati>(inst.interaction, QStringLiteral("TabCorsiApprovati"),
                                        std::move(azione));
    }
    static QPushButton* pulsante(QWidget* w, const char* nome) {
        return figlio<QPushButton>(w, QLatin1String(nome));
    }
};

// ---------------------------------------------------------------- look

void TestMain::titoloLoghiEVoci() {
    TestInstallation inst;
    Main m(inst.sessione());
    QCOMPARE(m.windowTitle(),
             QStringLiteral("KORVADIN - fine corso - Ver. ") + Session::versione());
    QCOMPARE(Session::versione(), QStringLiteral("2.0.1"));
    QCOMPARE(label(&m, "Label1")->text(), QStringLiteral("Chiusura Attività Formative"));
    QCOMPARE(label(&m, "Label3")->text(), distribuzione::bannerProgrammi());
    QCOMPARE(label(&m, "Label6")->text(), QStringLiteral("Op."));
    const QStringList loghi = {"lblFSE", "lblRegione", "lblMinistero", "lblVRD"};
    QCOMPARE(distribuzione::collegamenti().size(), loghi.size());
    int x = -1;
    for (int i = 0; i < loghi.size(); ++i) {
        const distribuzione::Collegamento& c = distribuzione::collegamenti().at(i);
        QCOMPARE(c.controllo, loghi.at(i));
        QLabel* logo = label(&m, loghi.at(i));
        QCOMPARE(logo->toolTip(), c.organizzazione + QStringLiteral(" - ") + c.indirizzo);
        QVERIFY(!logo->pixmap().isNull());
        // Left to right, in this order.
        m.adjustSize();
        QVERIFY(logo->x() > x);
        x = logo->x();
    }
    QVERIFY(figlio<QWidget>(&m, "SSPanel2"));
    QVERIFY(figlio<QWidget>(&m, "SSPanel3"));
    QVERIFY(figlio<QWidget>(&m, "PB1")->isHidden());
    QVERIFY(figlio<QWidget>(&m, "pnlAttesa")->isHidden());
}

void TestMain::vociDelMenu_data() {
    QTest::addColumn<QString>("pulsante");
    QTest::addColumn<QString>("didascalia");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("stato");
    QTest::addColumn<int>("colonna");
    QTest::addColumn<int>("riga");
    QTest::newRow("scarico") << "cmdScaricoCorsi"
                             << "Label2"
                             << "Scarico / Aggiornamento Corsi e partecipanti"
                             << "Scarica i corsi finanziati dell'Operatore, da collegare agli "
                                "interventi richiesti sull'azione III.G.06.01"
                             << 1 << 1;
    QTest::newRow("corsi") << "cmdCorsi"
                           << "Label11"
                           << "Gestione Corsi"
                           << "Compilazione schede Caratteristiche dei Corsi" << 1 << 2;
    QTest::newRow("invio") << "cmdInvia1"
                           << "Label13"
                           << "Trasmissione dati fine corso"
                           << "Stampa del modulo di Domanda in forma definitiva e invio dati "
                              "alla Provincia"
                           << 1 << 3;
    QTest::newRow("assistenza") << "cmdMailHelp"
                                << "Label20"
                                << "Contatta l'assistenza"
                                << "Avvia il programma di Posta Elettronica  per contattare "
                                   "l'Assistenza V.R.D."
                                << 2 << 1;
    QTest::newRow("opzioni") << "cmdOpzioni"
                             << "Label21"
                             << "Opzioni"
                             << "Impostazioni grafiche schermata principale" << 2 << 2;
    QTest::newRow("backup") << "cmdBackup"
                            << "Label16"
                            << "Salvataggio/ Recupero Dati"
                            << "Salvataggio/ Recupero Dati" << 2 << 3;
    QTest::newRow("aggiorna") << "cmdAggInst"
                              << "lblAggiorna"
                              << "Aggiorna dati  Operatore  e Sedi"
                              << "Aggiorna dati anagrafici operatori proponenti e sedi legali / "
                                 "aziende committenti dei corsi"
                              << 3 << 1;
    QTest::newRow("esci") << "cmdEsci"
                          << "Label15"
                          << "Esci"
                          << "Esci a Windows" << 3 << 3;
}

void TestMain::vociDelMenu() {
    QFETCH(QString, pulsante);
    QFETCH(QString, didascalia);
    QFETCH(int, colonna);
    QFETCH(int, riga);
    TestInstallation inst;
    Main m(inst.sessione());
    mostra(m);
    QLabel* l = label(&m, didascalia);
    QTEST(l->text(), "testo");
    QVERIFY(aRiposo(l));
    QVERIFY(l->font().families().contains(QStringLiteral("Tahoma")));
    auto* p = figlio<QPushButton>(&m, pulsante);
    QVERIFY(!p->icon().isNull());
    // The caption sits beside its button, in the grid's column and row.
    QVERIFY(l->x() > p->x());
    QVERIFY(qAbs(l->geometry().center().y() - p->geometry().center().y()) < p->height());
    auto* esci = figlio<QPushButton>(&m, QStringLiteral("cmdEsci"));
    auto* primo = figlio<QPushButton>(&m, QStringLiteral("cmdScaricoCorsi"));
    const int passoX = (esci->x() - primo->x()) / 2;
    const int passoY = (esci->y() - primo->y()) / 2;
    QVERIFY(passoX > 0 && passoY > 0);
    QCOMPARE((p->x() - primo->x() + passoX / 2) / passoX, colonna - 1);
    QCOMPARE((p->y() - primo->y() + passoY / 2) / passoY, riga - 1);
    // Hovering the button or its caption shows the row's status text.
    entra(p);
    QTEST(m.testoStato(), "stato");
    muoviSulloSfondo(m);
    QCOMPARE(m.testoStato(), QString());
    entra(l);
    QTEST(m.testoStato(), "stato");
}

// ---------------------------------------------------------------- activation

void TestMain::primaAttivazioneDopoPrimaInstallazione() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.PrimaInstallazione = true;
    s.InstallazioneInCorso = true;
    Main m(s);
    QVERIFY(!figlio<QWidget>(&m, "panel_Attesa")->isHidden());
    mostra(m);
    QVERIFY(figlio<QWidget>(&m, "panel_Attesa")->isHidden());
    QCOMPARE(inst.interaction.helpShown.size(), 1);
    QCOMPARE(inst.interaction.helpShown.first().first, s.fileAiuto);
    QCOMPARE(inst.interaction.helpShown.first().second, 20000);
    QVERIFY(!s.InstallazioneInCorso);
    // Later activations do not open the help again.
    m.attiva();
    QCoreApplication::processEvents();
    QCOMPARE(inst.interaction.helpShown.size(), 1);
}

void TestMain::primaAttivazioneNormale() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.InstallazioneInCorso = true;
    Main m(s);
    mostra(m);
    QVERIFY(inst.interaction.helpShown.isEmpty());
    QVERIFY(figlio<QWidget>(&m, "panel_Attesa")->isHidden());
    QVERIFY(!s.InstallazioneInCorso);
    QVERIFY(figlio<QWidget>(&m, "cmdAggInst")->isEnabled());
    QVERIFY(label(&m, "lblAggiorna")->isVisible());
    // The hand pointer on the menu, the captions and the information label
    // named Label6; not on the title and the banner.
    for (const char* nome :
         {"cmdCorsi", "cmdEsci", "Label2", "Label11", "lblAggiorna", "Label6", "cmdAnnullaAgg"})
        QCOMPARE(figlio<QWidget>(&m, QLatin1String(nome))->cursor().shape(),
                 Qt::PointingHandCursor);
    for (const char* nome : {"Label1", "Label3", "lblDenOpe"})
        QCOMPARE(figlio<QWidget>(&m, QLatin1String(nome))->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(inst.interaction.busyCalls, 0);
}

void TestMain::pannelloInformazioni_data() {
    QTest::addColumn<QString>("codice");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("codiceMostrato");
    QTest::addColumn<QString>("nomeMostrato");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("24 caratteri") << "123"
                                  << "Ente di Formazione Aosta"
                                  << "123"
                                  << "-  Ente di Formazione Aosta"
                                  << "";
    QTest::newRow("25 caratteri") << "00123"
                                  << "Ente di Formazione Aosta1"
                                  << "123"
                                  << "-  Ente di Formazione Aosta..."
                                  << "Ente di Formazione Aosta1";
    QTest::newRow("demo") << "0042"
                          << "Centro Formazione Val d'Aosta Lavoro"
                          << "42"
                          << "-  Centro Formazione Val d'..."
                          << "Centro Formazione Val d'Aosta Lavoro";
}

void TestMain::pannelloInformazioni() {
    QFETCH(QString, codice);
    QFETCH(QString, nome);
    TestInstallation inst;
    Session& s = inst.sessione();
    s.OperatoreCorrente = {QStringLiteral("A"), codice, nome};
    Main m(s);
    QCOMPARE(label(&m, "lblDenOpe")->text(), QString()); // cleared while loading
    mostra(m);
    QCOMPARE(label(&m, "lblGrOpe")->text(), QStringLiteral("A"));
    QTEST(label(&m, "lblCodOpe")->text(), "codiceMostrato");
    QTEST(label(&m, "lblDenOpe")->text(), "nomeMostrato");
    QTEST(label(&m, "lblDenOpe")->toolTip(), "tooltip");
}

void TestMain::pannelloAggiornatoAdOgniAttivazione() {
    TestInstallation inst;
    Session& s = inst.sessione();
    Main m(s);
    mostra(m);
    QVERIFY(!label(&m, "lblDenOpe")->toolTip().isEmpty());
    // A dialog changed the agency: the next activation shows it.
    s.OperatoreCorrente = {QStringLiteral("B"), QStringLiteral("007"), QStringLiteral("Breve")};
    figlio<QWidget>(&m, "cmdAggInst")->setEnabled(false);
    m.attiva();
    QCOMPARE(label(&m, "lblGrOpe")->text(), QStringLiteral("B"));
    QCOMPARE(label(&m, "lblCodOpe")->text(), QStringLiteral("7"));
    QCOMPARE(label(&m, "lblDenOpe")->text(), QStringLiteral("-  Breve"));
    QCOMPARE(label(&m, "lblDenOpe")->toolTip(), QString());
    QVERIFY(figlio<QWidget>(&m, "cmdAggInst")->isEnabled());
}

// ---------------------------------------------------------------- hover

void TestMain::evidenziazione_data() {
    QTest::addColumn<QString>("sottolinea");
    QTest::addColumn<QString>("aumenta");
    QTest::addColumn<QString>("cambia");
    QTest::newRow("nessuna") << "0"
                             << "0"
                             << "0";
    QTest::newRow("solo sottolineato") << "1"
                                       << "0"
                                       << "0";
    QTest::newRow("solo grassetto") << "0"
                                    << "1"
                                    << "0";
    QTest::newRow("solo colore") << "0"
                                 << "0"
                                 << "1";
    QTest::newRow("tutte") << "1"
                           << "-1"
                           << "1";
}

void TestMain::evidenziazione() {
    QFETCH(QString, sottolinea);
    QFETCH(QString, aumenta);
    QFETCH(QString, cambia);
    TestInstallation inst;
    Session& s = inst.sessione();
    s.userSettings.set(QStringLiteral("OptSottolinea"), sottolinea);
    s.userSettings.set(QStringLiteral("OptAumenta"), aumenta);
    s.userSettings.set(QStringLiteral("OptCambia"), cambia);
    Main m(s);
    mostra(m);
    const bool u = sottolinea != QLatin1String("0");
    const bool b = aumenta != QLatin1String("0");
    const bool c = cambia != QLatin1String("0");
    QCOMPARE(s.preferenze.sottolinea, u);
    QCOMPARE(s.preferenze.grassetto, b);
    QCOMPARE(s.preferenze.cambiaColore, c);

    auto controlla = [&](const QString& evidenziata) {
        for (const QString& nome : didascalie()) {
            QLabel* l = label(&m, nome);
            if (nome == evidenziata) {
                QCOMPARE(l->palette().color(QPalette::WindowText),
                         c ? QColor(255, 0, 0) : QColor(0, 0, 255));
                QCOMPARE(l->font().bold(), b);
                QCOMPARE(l->font().underline(), u);
                QCOMPARE(l->font().pointSize(), 9);
            } else {
                QVERIFY2(aRiposo(l), qPrintable(nome));
            }
        }
    };
    entra(pulsante(&m, "cmdCorsi"));
    QCOMPARE(m.testoStato(), QStringLiteral("Compilazione schede Caratteristiche dei Corsi"));
    controlla(QStringLiteral("Label11"));
    // Moving to another entry: it takes the highlight, the first one rests.
    entra(label(&m, "Label20"));
    QCOMPARE(m.testoStato(), QStringLiteral("Avvia il programma di Posta Elettronica  per "
                                            "contattare l'Assistenza V.R.D."));
    controlla(QStringLiteral("Label20"));
    entra(pulsante(&m, "cmdAggInst"));
    controlla(QStringLiteral("lblAggiorna"));
    // The background clears the status text and lets every caption rest.
    muoviSulloSfondo(m);
    QCOMPARE(m.testoStato(), QString());
    controlla(QString());
}

void TestMain::sfondoEPannelliInformativi() {
    TestInstallation inst;
    Session& s = inst.sessione();
    Main m(s);
    mostra(m);
    QVERIFY(s.preferenze.cambiaColore); // the default
    for (const char* zona : {"SSPanel1", "SSPanel2", "Label1", "Label3", "Label6", "calendario"}) {
        entra(pulsante(&m, "cmdEsci"));
        QCOMPARE(label(&m, "Label15")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        entra(figlio<QWidget>(&m, QLatin1String(zona)));
        // Nothing highlighted, the status text left as it was.
        QVERIFY2(aRiposo(label(&m, "Label15")), zona);
        QCOMPARE(m.testoStato(), QStringLiteral("Esci a Windows"));
    }
    // Logos are not captions: hovering them changes nothing.
    entra(label(&m, "lblFSE"));
    QCOMPARE(label(&m, "Label15")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(m.testoStato(), QStringLiteral("Esci a Windows"));
}

void TestMain::lblAggiornaSaltataConPulsanteDisabilitato() {
    TestInstallation inst;
    Main m(inst.sessione());
    mostra(m);
    entra(label(&m, "lblAggiorna"));
    QCOMPARE(label(&m, "lblAggiorna")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    figlio<QWidget>(&m, "cmdAggInst")->setEnabled(false);
    m.EvidenziaVoce(QStringLiteral("Label2"));
    QCOMPARE(label(&m, "Label2")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(label(&m, "lblAggiorna")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

void TestMain::opzioniRipristinaLabel21() {
    TestInstallation inst;
    Session& s = inst.sessione();
    for (const char* chiave : {"OptSottolinea", "OptAumenta", "OptCambia"})
        s.userSettings.set(QLatin1String(chiave), QStringLiteral("1"));
    Main m(s);
    mostra(m);
    entra(label(&m, "Label21"));
    QVERIFY(!aRiposo(label(&m, "Label21")));
    QTest::mouseClick(pulsante(&m, "cmdOpzioni"), Qt::LeftButton);
    QVERIFY(aRiposo(label(&m, "Label21")));
    QCOMPARE(label(&m, "Label21")->font().pointSize(), 9);
}

// ---------------------------------------------------------------- clock, calendar, links

void TestMain::orologio() {
    TestInstallation inst;
    const QString prima = QTime::currentTime().toString(QStringLiteral("hh:mm"));
    Main m(inst.sessione());
    const QString dopo = QTime::currentTime().toString(QStringLiteral("hh:mm"));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$")).match(m.orario()).hasMatch());
    QVERIFY(m.orario() == prima || m.orario() == dopo);
    // The timer keeps it current.
    figlio<QLabel>(&m, "StBar_Panel3")->setText(QStringLiteral("--:--"));
    QTRY_VERIFY_WITH_TIMEOUT(m.orario() != QStringLiteral("--:--"), 2500);
    QCOMPARE(m.orario(), QTime::currentTime().toString(QStringLiteral("hh:mm")));
}

void TestMain::calendario() {
    TestInstallation inst;
    Main m(inst.sessione());
    mostra(m);
    QLabel* freccia = label(&m, "lblCalendario");
    auto* cal = figlio<QCalendarWidget>(&m, "calendario");
    QCOMPARE(cal->selectedDate(), QDate::currentDate());
    QVERIFY(!cal->isVisible());
    QCOMPARE(freccia->text(), QStringLiteral("\u2193"));
    QCOMPARE(freccia->toolTip(), QStringLiteral("Mostra calendario"));
    QTest::mouseClick(freccia, Qt::LeftButton);
    QVERIFY(cal->isVisible());
    QCOMPARE(freccia->text(), QStringLiteral("\u2191"));
    QCOMPARE(freccia->toolTip(), QStringLiteral("Nascondi calendario"));
    // A small window of its own beside the main window, level with the toggle,
    // where the screen has room for it: it covers no entry of the menu.
    QVERIFY(cal->isWindow());
    const QRect finestra(m.mapToGlobal(QPoint(0, 0)), m.size());
    const QRect area(cal->pos(), cal->size());
    QCOMPARE(area.bottom(), freccia->mapToGlobal(QPoint(0, freccia->height() - 1)).y());
    const QRect schermo = m.screen()->availableGeometry();
    if (schermo.right() - finestra.right() > cal->width() + 6) {
        QCOMPARE(area.left(), finestra.right() + 7);
        QVERIFY(!area.intersects(finestra));
    }
    QTest::mouseClick(freccia, Qt::LeftButton);
    QVERIFY(!cal->isVisible());
    QCOMPARE(freccia->text(), QStringLiteral("\u2193"));
    QCOMPARE(freccia->toolTip(), QStringLiteral("Mostra calendario"));
}

void TestMain::collegamenti_data() {
    QTest::addColumn<int>("indice");
    QTest::addColumn<QString>("domanda");
    const auto& c = distribuzione::collegamenti();
    QTest::newRow("lblFSE") << 0
                            << "Collegamento alla pagina principale del Fondo sociale europeo.\n"
                               "Procedere?";
    QTest::newRow("lblRegione") << 1
                                << QStringLiteral("Collegamento alla pagina principale del") +
                                       c.at(1).nomeNellaDomanda + QStringLiteral(".\nProcedere?");
    QTest::newRow("lblMinistero") << 2
                                  << "Collegamento alla pagina principale del Ministero del "
                                     "lavoro.\nProcedere?";
    QTest::newRow("lblVRD") << 3
                            << QStringLiteral("Collegamento alla pagina principale del") +
                                   c.at(3).nomeNellaDomanda + QStringLiteral(".\nProcedere?");
}

void TestMain::collegamenti() {
    QFETCH(int, indice);
    const distribuzione::Collegamento& c = distribuzione::collegamenti().at(indice);
    TestInstallation inst;
    Main m(inst.sessione());
    mostra(m);
    QLabel* logo = label(&m, c.controllo);
    inst.interaction.answers = {ui::Answer::No};
    QTest::mouseClick(logo, Qt::LeftButton);
    QCOMPARE(inst.interaction.messages.size(), 1);
    const ui::Message domanda = inst.interaction.last();
    QTEST(domanda.text, "domanda");
    QCOMPARE(domanda.title, QStringLiteral("Collegamento a ") + c.indirizzo);
    QCOMPARE(domanda.icon, ui::Icon::Information);
    QCOMPARE(domanda.buttons, ui::Buttons::YesNo);
    QVERIFY(inst.interaction.openedUrls.isEmpty());
    inst.interaction.answers = {ui::Answer::Yes};
    QTest::mouseClick(logo, Qt::LeftButton);
    QCOMPARE(inst.interaction.openedUrls, QList<QUrl>{QUrl(c.indirizzo)});
    QCOMPARE(inst.interaction.messages.size(), 2);
    QCOMPARE(inst.interaction.busyCalls, 0);
    // The article of the region and the maker joins "del": no blank left.
    QVERIFY(!domanda.text.contains(QStringLiteral("del  ")));
    QVERIFY(domanda.text.contains(QStringLiteral("del ")) ||
            domanda.text.contains(QStringLiteral("della ")));
}

// ---------------------------------------------------------------- menu entries

void TestMain::rifiutiPrimaDelloScarico() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDCorsiDef"));
    Main m(s);
    mostra(m);
    s.TipoOperazione = QStringLiteral("TRASMISSIONE");
    s.CorsoSelezionato = 41238;
    const auto aperto = quandoAperto(inst, [](TabCorsiApprovati& d) { d.reject(); });
    QTest::mouseClick(pulsante(&m, "cmdCorsi"), Qt::LeftButton);
    QCOMPARE(inst.interaction.texts(),
             QStringList{QStringLiteral("Non è stato effettuato lo scarico dei Corsi. Impossibile "
                                        "accedere a questa sezione.")});
    QCOMPARE(s.TipoOperazione, QStringLiteral("FINECORSO"));
    QCOMPARE(s.CorsoSelezionato, 0);
    QTest::mouseClick(pulsante(&m, "cmdInvia1"), Qt::LeftButton);
    QCOMPARE(inst.interaction.messages.size(), 2);
    QCOMPARE(inst.interaction.last().text, QStringLiteral("Effettuar elo scarico dei Corsi."));
    QCOMPARE(s.TipoOperazione, QStringLiteral("FINECORSO")); // refused before setting it
    QCoreApplication::processEvents();
    QVERIFY(!*aperto);
    QVERIFY(inst.interaction.dialogsRun.isEmpty());
}

void TestMain::gestioneCorsiConsegnaIlCorso() {
    TestInstallation inst;
    Session& s = inst.sessione();
    Main m(s);
    mostra(m);
    QString tipo;
    bool mostraTrasmessiNascosto = false;
    const auto aperto = quandoAperto(inst, [&](TabCorsiApprovati& d) {
        tipo = s.TipoOperazione;
        mostraTrasmessiNascosto = figlio<QPushButton>(&d, "cmdMostraTutti")->isHidden();
        QCOMPARE(d.righe(), 5);
        QVERIFY(d.isModal());
        d.vaiA(41236);
        QTest::mouseClick(figlio<QPushButton>(&d, "cmdSele2"), Qt::LeftButton);
    });
    // The picked course opens in the end-of-course form, left at once with Esci.
    QString attivitaMostrata;
    const auto schedaAperta =
        guida<report::FineCor>(inst.interaction, "FineCor", [&](report::FineCor& f) {
            attivitaMostrata = figlio<QLabel>(&f, "lblAttivita")->text();
            QVERIFY(f.isModal());
            figlio<QAbstractButton>(&f, "cmdEsci")->click();
        });
    s.CorsoSelezionato = 99;
    QTest::mouseClick(pulsante(&m, "cmdCorsi"), Qt::LeftButton);
    QCOMPARE(*aperto, 1);
    QCOMPARE(*schedaAperta, 1);
    QCOMPARE(inst.interaction.dialogsRun, (QStringList{"TabCorsiApprovati", "FineCor"}));
    QVERIFY(inst.interaction.unfinishedDialogs.isEmpty());
    QVERIFY(attivitaMostrata.contains(QStringLiteral("41236")));
    QCOMPARE(tipo, QStringLiteral("FINECORSO"));
    QVERIFY(mostraTrasmessiNascosto);
    QCOMPARE(s.CorsoSelezionato, 41236);
    QCOMPARE(s.corso.DenCorso, QStringLiteral("Tecniche di saldatura"));
    QCOMPARE(s.corso.CodSubAsse, QStringLiteral("03"));
    QCOMPARE(s.corso.TotIter, 120);
    QVERIFY(inst.interaction.messages.isEmpty());
}

void TestMain::gestioneCorsiAnnullataNonApreNulla() {
    TestInstallation inst;
    Session& s = inst.sessione();
    Main m(s);
    mostra(m);
    const auto aperto = quandoAperto(inst, [](TabCorsiApprovati& d) {
        QTest::mouseClick(figlio<QPushButton>(&d, "cmdEsci2"), Qt::LeftButton);
    });
    s.CorsoSelezionato = 41235; // from an earlier choice
    QTest::mouseClick(pulsante(&m, "cmdCorsi"), Qt::LeftButton);
    QVERIFY(*aperto);
    QCOMPARE(inst.interaction.dialogsRun, QStringList{"TabCorsiApprovati"});
    QCOMPARE(s.CorsoSelezionato, 0);
    QVERIFY(inst.interaction.messages.isEmpty());
}

void TestMain::trasmissioneBloccataDaMatricolaNull() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato = ? WHERE IdAttivita = ?"),
                     {QStringLiteral("CHIUSO"), 41236});
    s.CorsiDB().exec(QStringLiteral("UPDATE KELDAnagFreq SET Matricola = 'NULL' WHERE CodFiscale "
                                    "= 'FRRLGU75E15A326V'"));
    Main m(s);
    mostra(m);
    QString tipo;
    const auto aperto = quandoAperto(inst, [&](TabCorsiApprovati& d) {
        tipo = s.TipoOperazione;
        QVERIFY(figlio<QPushButton>(&d, "cmdMostraTutti")->isVisible());
        QCOMPARE(d.righe(), 2); // 41236 and 41238, the closed ones
        d.vaiA(41236);
        QTest::keyClick(figlio<QWidget>(&d, "GrdCorsi"), Qt::Key_Return);
    });
    QTest::mouseClick(pulsante(&m, "cmdInvia1"), Qt::LeftButton);
    QVERIFY(*aperto);
    QCOMPARE(tipo, QStringLiteral("TRASMISSIONE"));
    QCOMPARE(s.CorsoSelezionato, 41236);
    QCOMPARE(inst.interaction.messages.size(), 1);
    const ui::Message m1 = inst.interaction.last();
    QCOMPARE(m1.text, QStringLiteral("Per il corso selezionato è stata riscontrata la presenza di "
                                     "allievi privi del numero di Matricola.\nOccorre effettuare "
                                     "l'aggiornamento delle schede dei corsi\n\nAllievi "
                                     "interessati:\n- Colombo Sara\n- Ferrari Luigi"));
    QCOMPARE(m1.title, QStringLiteral("Trasmissione non effettuabile"));
    QCOMPARE(m1.icon, ui::Icon::Information);
}

void TestMain::trasmissioneConMatricolaVuota() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato = ? WHERE IdAttivita = ?"),
                     {QStringLiteral("CHIUSO"), 41235});
    Main m(s);
    mostra(m);
    const auto aperto = quandoAperto(inst, [&](TabCorsiApprovati& d) {
        QVERIFY(d.vaiA(41235));
        QTest::mouseClick(figlio<QPushButton>(&d, "cmdSele2"), Qt::LeftButton);
    });
    QTest::mouseClick(pulsante(&m, "cmdInvia1"), Qt::LeftButton);
    QVERIFY(*aperto);
    QCOMPARE(s.CorsoSelezionato, 41235);
    QVERIFY(inst.interaction.messages.isEmpty());
    // The transmission form of the picked course follows the chooser.
    QCOMPARE(inst.interaction.dialogsRun.last(), QStringLiteral("Trasmis"));
}

void TestMain::didascalieComeIlPulsante() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDCorsiDef"));
    Main m(s);
    mostra(m);
    QTest::mouseClick(label(&m, "Label20"), Qt::LeftButton);
    QCOMPARE(inst.interaction.messages.size(), 1);
    const ui::Message posta = inst.interaction.last();
    QCOMPARE(posta.text,
             QStringLiteral("Verrà ora precompilata una mail da inviare all'assitenza V.R.D.\nE' "
                            "opportuno indicare il numero di telefono, la persona di riferimento "
                            "e il tipo di problema riscontrato"));
    QCOMPARE(posta.icon, ui::Icon::Information);
    // The two course captions act like their buttons as well.
    QTest::mouseClick(label(&m, "Label11"), Qt::LeftButton);
    QVERIFY(inst.interaction.last().text.startsWith(
        QStringLiteral("Non è stato effettuato lo scarico dei Corsi.")));
    QTest::mouseClick(label(&m, "Label13"), Qt::LeftButton);
    QCOMPARE(inst.interaction.last().text, QStringLiteral("Effettuar elo scarico dei Corsi."));
    QCOMPARE(inst.interaction.messages.size(), 3);
    // A right click does nothing.
    QTest::mouseClick(label(&m, "Label20"), Qt::RightButton);
    QCOMPARE(inst.interaction.messages.size(), 3);
    // Esci's caption closes the window.
    QTest::mouseClick(label(&m, "Label15"), Qt::LeftButton);
    QVERIFY(inst.interaction.programEnded());
}

void TestMain::scaricoSenzaFileNonDiceNulla() {
    TestInstallation inst;
    Main m(inst.sessione());
    mostra(m);
    QTest::mouseClick(pulsante(&m, "cmdScaricoCorsi"), Qt::LeftButton);
    QVERIFY(inst.interaction.messages.isEmpty());
    QCOMPARE(inst.interaction.busyCalls, 0);
}

void TestMain::scaricoConFileNonAcquisito() {
    TestInstallation inst;
    QVERIFY(prova::scrivi(inst.file(QStringLiteral("CorsiDestinatari30.tx1")),
                          "contenuto non valido\n"));
    Main m(inst.sessione());
    mostra(m);
    QTest::mouseClick(label(&m, "Label2"), Qt::LeftButton);
    // The update reports the unusable line and the restore, then the window
    // says the download must be repeated.
    const QStringList testi = inst.interaction.texts();
    QCOMPARE(testi.size(), 4);
    QVERIFY(testi.first().endsWith(QStringLiteral("durante il caricamento dei CORSI")));
    QCOMPARE(testi.at(2), QStringLiteral("Ripristino della base dati riuscito"));
    QCOMPARE(testi.last(), QStringLiteral("Si è verificato un errore in fase di acquisizione della "
                                          "base dati.\nE' necessario rieffettuare lo scarico."));
    QCOMPARE(inst.interaction.busyCalls, 0);
}

void TestMain::aggiornaDatiAnnullato() {
    TestInstallation inst;
    Session& s = inst.sessione();
    Main m(s);
    mostra(m);
    inst.interaction.answers = {ui::Answer::Cancel};
    QTest::mouseClick(pulsante(&m, "cmdAggInst"), Qt::LeftButton);
    QCOMPARE(inst.interaction.messages.size(), 1);
    const ui::Message domanda = inst.interaction.last();
    QCOMPARE(domanda.text, QStringLiteral("Attivazione collegamento con Internet.\nProcedere solo "
                                          "dopo aver aperto la connessione \ncon il vostro "
                                          "Provider"));
    QCOMPARE(domanda.title, QStringLiteral("Trasmissione dati"));
    QCOMPARE(domanda.icon, ui::Icon::Information);
    QCOMPARE(domanda.buttons, ui::Buttons::OkCancel);
    // The connection was left as it was.
    QVERIFY(s.CorsiDB().isOpen());
    QCOMPARE(s.CorsiDB().mode(), db::OpenMode::Shared);
}

void TestMain::aggiornaDatiRiapreLaBaseDati() {
    for (const char* tipo : {"StandAlone", "Multiutenza"}) {
        TestInstallation inst;
        Session& s = inst.sessione();
        s.tipoInstallazione = QLatin1String(tipo);
        s.AnnullaOperazione = QStringLiteral("annulla");
        Main m(s);
        m.show();
        m.attiva();
        QTest::mouseClick(label(&m, "lblAggiorna"), Qt::LeftButton);
        QCOMPARE(inst.interaction.messages.size(), 1); // only the question
        QVERIFY(figlio<QWidget>(&m, "pnlAttesa")->isHidden());
        QCOMPARE(label(&m, "lblAttesa")->text(),
                 QStringLiteral("Aggiornamento base dati in corso.\nAttendere..."));
        QVERIFY(s.AnnullaOperazione.isEmpty());
        QVERIFY(s.CorsiDB().isOpen());
        QCOMPARE(s.CorsiDB().mode(), s.tipoInstallazione == QLatin1String("StandAlone")
                                         ? db::OpenMode::Exclusive
                                         : db::OpenMode::Shared);
        QCOMPARE(mainregole::contaCorsiScaricati(s.CorsiDB(), s.OperatoreCorrente), 5);
        QCOMPARE(inst.interaction.busyCalls, 0);
    }
}

void TestMain::aggiornaDatiConClientConnessi() {
    TestInstallation inst;
    Session& s = inst.sessione();
    Main m(s);
    mostra(m);
    // A client workstation is connected.
    auto client = prova::avviaProbe({QStringLiteral("attendi"), inst.database()});
    QVERIFY(client);
    QTest::mouseClick(pulsante(&m, "cmdAggInst"), Qt::LeftButton);
    client->kill();
    QVERIFY(prova::attendiFine(*client));
    QCOMPARE(inst.interaction.messages.size(), 2);
    const ui::Message errore = inst.interaction.last();
    QVERIFY(errore.text.startsWith(QStringLiteral("Errore ")));
    QVERIFY(errore.text.endsWith(
        QStringLiteral("\n\nQualche client potrebbe ancora essere connesso alla base dati. \n\n"
                       "Il programma uscira a Windows.\nChiudere tutti i client, riavviare "
                       "l'applicativo SERVER e ritentare l'Operazione.")));
    QCOMPARE(errore.title, QStringLiteral("Proposta Corsi Direttiva FINALIZZ. ALL'OCCUPAZ. 2002"));
    QCOMPARE(errore.icon, ui::Icon::Critical);
    // As announced, the program ends.
    QVERIFY(inst.interaction.programEnded());
    QVERIFY(!s.de.CorsiDB.isOpen());
}

void TestMain::aggiornaDatiSenzaRiaperturaTermina() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.tipoInstallazione = QStringLiteral("Multiutenza");
    s.AnnullaOperazione = QStringLiteral("annulla");
    Main m(s);
    mostra(m);
    // While the update holds the database exclusively, the file is taken away:
    // the connection cannot be opened again in its normal mode.
    bool esclusiva = false;
    QTimer::singleShot(0, [&] {
        esclusiva = s.CorsiDB().mode() == db::OpenMode::Exclusive;
        QVERIFY(QFile::rename(inst.database(), inst.file(QStringLiteral("altrove.mdb"))));
    });
    QTest::mouseClick(pulsante(&m, "cmdAggInst"), Qt::LeftButton);
    QVERIFY(esclusiva);
    // The program says it cannot go on and ends; nothing is left exclusive.
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Errore di connessione"));
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
    QVERIFY(inst.interaction.programEnded());
    QVERIFY(!s.de.CorsiDB.isOpen());
    QVERIFY(figlio<QWidget>(&m, "pnlAttesa")->isHidden());
    QCOMPARE(inst.interaction.busyCalls, 0);
}

void TestMain::annullaPannelloAttesa() {
    TestInstallation inst;
    Main m(inst.sessione());
    mostra(m);
    QWidget* pannello = figlio<QWidget>(&m, "pnlAttesa");
    pannello->show();
    QTest::mouseClick(pulsante(&m, "cmdAnnullaAgg"), Qt::LeftButton);
    QVERIFY(pannello->isHidden());
    QCOMPARE(pulsante(&m, "cmdAnnullaAgg")->text(), QStringLiteral("Annulla..."));
}

// ---------------------------------------------------------------- exit

namespace {

// One run of the program on the folder, ended with "Esci"; the messages of the
// run come back.
QList<ui::Message> esegui(const QString& cartella) {
    ui::ScriptedInteraction interaction;
    Session s(interaction, cartella, QDir(cartella).filePath(QStringLiteral("utente.ini")));
    s.PercorsoDB = QDir(cartella).filePath(QStringLiteral("KORVADIN.mdb"));
    s.tipoInstallazione = QStringLiteral("StandAlone");
    s.CorsiDB().open(s.PercorsoDB, Session::databasePassword(), db::OpenMode::Exclusive);
    s.OperatoreCorrente = {QStringLiteral("A"), QStringLiteral("123"), QStringLiteral("Ente")};
    Main m(s);
    mostra(m);
    QTest::mouseClick(m.findChild<QPushButton*>(QStringLiteral("cmdEsci")), Qt::LeftButton);
    if (!interaction.programEnded())
        qWarning("il programma non è terminato");
    if (s.de.CorsiDB.isOpen())
        qWarning("la base dati è ancora aperta");
    return interaction.messages;
}

QStringList copie(const QString& cartella) {
    return QDir(cartella).entryList({QStringLiteral("backup.*"), QStringLiteral("*.lst")},
                                    QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

void TestMain::usciteServerRuotanoLeCopie() {
    TestInstallation inst;
    QCOMPARE(inst.sessione().ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")),
             QStringLiteral("SERVER"));
    inst.sessione().CorsiDB().close();
    const QString cartella = inst.folder();
    QCOMPARE(copie(cartella), QStringList());
    QVERIFY(esegui(cartella).isEmpty());
    QCOMPARE(copie(cartella), (QStringList{"001.lst", "backup.001"}));
    QVERIFY(esegui(cartella).isEmpty());
    QCOMPARE(copie(cartella), (QStringList{"002.lst", "backup.001", "backup.002"}));
    QVERIFY(esegui(cartella).isEmpty());
    QCOMPARE(copie(cartella), (QStringList{"003.lst", "backup.001", "backup.002", "backup.003"}));
    // The fourth exit overwrites slot 1 with the database as it is now.
    {
        db::Connection c;
        c.open(inst.database(), Session::databasePassword(), db::OpenMode::Exclusive);
        c.exec(QStringLiteral("DELETE FROM KELDCorsiDef WHERE IdAttivita = ?"), {41235});
    }
    QVERIFY(esegui(cartella).isEmpty());
    QCOMPARE(copie(cartella), (QStringList{"001.lst", "backup.001", "backup.002", "backup.003"}));
    // Each copy is a database that opens with its key.
    for (const auto& [copia, corsi] : {std::pair{"backup.001", 4}, std::pair{"backup.003", 5}}) {
        db::Connection c;
        c.open(inst.file(QLatin1String(copia)), Session::databasePassword(), db::OpenMode::Shared);
        QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt(), corsi);
    }
}

void TestMain::copiaFallitaAvvisaERicomincia() {
    TestInstallation inst;
    inst.sessione().CorsiDB().close();
    const QString cartella = inst.folder();
    QVERIFY(esegui(cartella).isEmpty()); // backup.001
    // Slot 2 cannot be written: a folder holds its name.
    QVERIFY(QDir(cartella).mkdir(QStringLiteral("backup.002")));
    const QList<ui::Message> messaggi = esegui(cartella);
    QCOMPARE(messaggi.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^Errore \\d+ -> .+"))
                .match(messaggi.first().text)
                .hasMatch());
    QCOMPARE(messaggi.first().title, QStringLiteral("Errore nella copia di riserva"));
    QCOMPARE(messaggi.first().icon, ui::Icon::Warning);
    // No marker left: the next exit starts again from backup.001.
    QCOMPARE(copie(cartella), (QStringList{"backup.001", "backup.002"}));
    QVERIFY(esegui(cartella).isEmpty());
    QCOMPARE(copie(cartella), (QStringList{"001.lst", "backup.001", "backup.002"}));
}

void TestMain::nessunaCopiaSenzaServer_data() {
    QTest::addColumn<QString>("versione");
    QTest::newRow("CLIENT") << "CLIENT";
    QTest::newRow("non scelta") << "";
    QTest::newRow("minuscolo") << "server";
}

void TestMain::nessunaCopiaSenzaServer() {
    QFETCH(QString, versione);
    TestInstallation inst;
    Session& s = inst.sessione();
    s.ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"), versione);
    Main m(s);
    QCOMPARE(s.versioneInstallazione, versione);
    mostra(m);
    // The window's close box works like Esci.
    QVERIFY(m.close());
    QVERIFY(inst.interaction.programEnded());
    QVERIFY(!s.de.CorsiDB.isOpen());
    QCOMPARE(copie(inst.folder()), QStringList());
    QVERIFY(inst.interaction.messages.isEmpty());
}

void TestMain::cornicePrincipale() {
    TestInstallation inst;
    Session& s = inst.sessione();
    MDI_Main cornice(s);
    cornice.show();
    cornice.caricaMain();
    Main* m = cornice.main();
    QVERIFY(m);
    QCOMPARE(m->window(), &cornice);
    auto* finestra = qobject_cast<QMdiSubWindow*>(m->parentWidget());
    QVERIFY(finestra);
    QCOMPARE(finestra->windowTitle(), m->windowTitle());
    QVERIFY(m->isVisible());
    // Shown means activated: the agency is there and the waiting panel gone.
    QCOMPARE(label(m, "lblCodOpe")->text(), QStringLiteral("123"));
    QVERIFY(figlio<QWidget>(m, "panel_Attesa")->isHidden());
    // The whole window fits in the frame.
    auto* area = qobject_cast<QAbstractScrollArea*>(cornice.centralWidget());
    QVERIFY(area);
    QVERIFY(area->viewport()->rect().contains(QRect(finestra->pos(), finestra->size())));
    QCOMPARE(inst.interaction.busyCalls, 0);
    // Closing the frame goes through the main window's exit.
    cornice.close();
    QVERIFY(inst.interaction.programEnded());
    QVERIFY(QFile::exists(inst.file(QStringLiteral("backup.001"))));
}

// Every entry is reached with Tab and framed while it has the focus; Return
// opens it, and once its form has closed the caption is back at rest.
void TestMain::tastiera_data() {
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("didascalia");
    QTest::addColumn<QString>("finestra");
    QTest::newRow("scarico") << "cmdScaricoCorsi"
                             << "Label2"
                             << "FrmScaricoDB";
    QTest::newRow("gestione corsi") << "cmdCorsi"
                                    << "Label11"
                                    << "TabCorsiApprovati";
    QTest::newRow("trasmissione") << "cmdInvia1"
                                  << "Label13"
                                  << "TabCorsiApprovati";
}

void TestMain::tastiera() {
    QFETCH(QString, nome);
    QFETCH(QString, didascalia);
    QFETCH(QString, finestra);
    TestInstallation inst;
    Main m(inst.sessione());
    mostra(m);
    m.activateWindow();
    QTRY_VERIFY(m.isActiveWindow());
    QStringList raggiunti;
    for (int i = 0; i < 8; ++i) {
        raggiunti << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    raggiunti.sort();
    QCOMPARE(raggiunti, QStringList({"cmdAggInst", "cmdBackup", "cmdCorsi", "cmdEsci", "cmdInvia1",
                                     "cmdMailHelp", "cmdOpzioni", "cmdScaricoCorsi"}));

    QPushButton* voce = pulsante(&m, qPrintable(nome));
    const QRect cornice = voce->geometry().adjusted(-6, -6, 0, 6);
    pulsante(&m, "cmdEsci")->setFocus(Qt::TabFocusReason);
    const QImage senzaFuoco = m.grab(cornice).toImage();
    voce->setFocus(Qt::TabFocusReason);
    QVERIFY(voce->hasFocus());
    QVERIFY(m.grab(cornice).toImage() != senzaFuoco);

    entra(label(&m, didascalia));
    QVERIFY(!aRiposo(label(&m, didascalia)));
    QTest::keyClick(voce, Qt::Key_Return);
    QCOMPARE(inst.interaction.dialogsRun, QStringList(finestra));
    QVERIFY(aRiposo(label(&m, didascalia)));
}

KORVADIN_TEST_MAIN(TestMain)
#include "tst_main.moc"
