#include "report/BancoFineCor.h"

#include "core/DocumentoPdf.h"
#include "core/Session.h"
#include "report/FineCorso.h"

#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

using report::FineCor;

namespace {

const char* const kSottoconteggi[] = {"txt_maschiH",         "txt_femmineH",
                                      "txt_maschiH_ammessi", "txt_femmineH_ammesse",
                                      "txt_maschiH_idonei",  "txt_femmineH_idonee"};
const char* const kControlliDiStato[] = {
    "txtDataFineEffGG", "txtDataFineEffMM", "txtDataFineEffAAAA", "txtCredFormCorso",
    "cmbTipOrg",        "cmbAreaFor",       "cmbSegmento",        "grdDomande",
    "cmdGestAllievo",   "cmdSalva",         "cmdChiudi"};

// Every participant of the demo course 41235 handled with judgement 8.
void allieviGestiti(db::Connection& db) {
    db.exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='8', OreAssenza=4, codPartec=1, "
                           "DescPartec='Esecutivo', CredFormValut=2 WHERE IdAttivita=41235"));
}

} // namespace

class TestFineCor : public QObject {
    Q_OBJECT
private slots:
    void statoCambiatoDaAltraPostazione_data();
    void statoCambiatoDaAltraPostazione();
    void aspetto_data();
    void aspetto();
    void layoutCompleto();
    void layoutSoloDate();
    void salvataggioSoloDate();
    void corsoChiusoMostraLaClassificazione();
    void corsoTrasmessoBloccato();
    void regoleDiSalvataggioSulForm();
    void conteggiAlSalvataggio();
    void sottoconteggioNonIntero();
    void salvataggioCompleto();
    void chiusuraSoloDate();
    void chiusuraCompleta();
    void chiusuraRifiutata_data();
    void chiusuraRifiutata();
    void chiusuraPerdeISottoconteggiNonSalvati();
    void riaperturaEdEsci();
    void esci_data();
    void esci();
    void esciConSalvataggioRifiutato();
    void comportamentoDelleCaselle();
    void mostraFineCorModale();
    void stampaComeCompilata();
};

void TestFineCor::aspetto_data() {
    QTest::addColumn<int>("corso");
    QTest::addColumn<int>("scheda");
    QTest::newRow("completo-dati") << 41235 << 0;
    QTest::newRow("completo-quadro") << 41235 << 1;
    QTest::newRow("completo-elenco") << 41235 << 2;
    QTest::newRow("solodate") << 41237 << 0;
    QTest::newRow("chiuso") << 41238 << 0;
    QTest::newRow("trasmesso") << 41239 << 2;
}

// Shows the form; with KORVADIN_SCREENSHOT set, saves a picture of it there.
void TestFineCor::aspetto() {
    QFETCH(int, corso);
    QFETCH(int, scheda);
    BancoFineCor b;
    FineCor& form = b.apri(corso);
    QVERIFY(form.caricato());
    QCOMPARE(form.windowTitle(), QStringLiteral("Fine Corsi"));
    if (scheda == 2 && corso == 41235) {
        b.scrivi("txtCredFormCorso", QStringLiteral("3"));
        b.tab()->setCurrentIndex(2);
        b.clic("cmdGestAllievo");
        b.scegli("cmbGiudizio", QStringLiteral("0 - Prova non superata o non sostenuta"));
    }
    b.tab()->setCurrentIndex(scheda);
    // Nothing is cut off: every control gets at least the room it asks for.
    for (QWidget* w : form.findChildren<QWidget*>())
        if (w->isVisible() && (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                               qobject_cast<QAbstractButton*>(w)))
            QVERIFY2(w->width() >= std::min(w->minimumSizeHint().width(), 40),
                     qPrintable(w->objectName()));
    const QString cartella = qEnvironmentVariable("KORVADIN_SCREENSHOT");
    if (!cartella.isEmpty())
        QVERIFY(form.grab().save(QDir(cartella).filePath(
            QStringLiteral("FineCor-%1.png").arg(QString::fromLatin1(QTest::currentDataTag())))));
    QVERIFY(b.ui().messages.isEmpty());
}

void TestFineCor::layoutCompleto() {
    BancoFineCor b;
    b.apri(41235);
    QCOMPARE(b.tab()->count(), 3);
    QCOMPARE(b.tab()->tabText(0), QStringLiteral("Dati principali"));
    QCOMPARE(b.tab()->tabText(1), QStringLiteral("Quadro Riassuntivo Allievi"));
    QCOMPARE(b.tab()->tabText(2), QStringLiteral("Elenco Iscritti"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(b.tab()->isTabEnabled(i));
    QCOMPARE(b.tab()->currentIndex(), 0);
    for (const char* nome : {"Label58", "txtCredFormCorso", "Label41", "cmbTipOrg", "Label42",
                             "cmbSegmento", "Label26", "cmbAreaFor"})
        QVERIFY2(!b.w(nome)->isHidden(), nome);

    // Header.
    QCOMPARE(b.w<QGroupBox>("Frame6")->title(), QStringLiteral(" Operatore"));
    const QString operatore = QStringLiteral("A 123 Centro Formazione Val d'Aosta Lavoro");
    bool mostrato = false;
    for (QLabel* l : b.w("Frame6")->findChildren<QLabel*>())
        mostrato = mostrato || l->text() == operatore;
    QVERIFY(mostrato);
    QCOMPARE(b.w<QLabel>("lblAttivita")->text(), QStringLiteral("41235"));
    QCOMPARE(b.w<QLabel>("lblCorso")->text(), QStringLiteral("1"));
    QCOMPARE(b.w<QLabel>("lblQuali")->text(), QStringLiteral("Addetto alla contabilità di base"));
    QCOMPARE(b.w<QLabel>("lblSTATO")->text(), QStringLiteral("APERTO"));
    QCOMPARE(b.w("Shape1")->property("coloreBordo").value<QColor>(), QColor(0, 192, 0));
    QVERIFY(b.w("Shape1")->isAncestorOf(b.w("lblSTATO")));
    QCOMPARE(b.box("txtTotOre")->text(), QStringLiteral("40"));
    QVERIFY(b.box("txtTotOre")->isReadOnly());
    QCOMPARE(b.w<QLabel>("lblDataInizioGG")->text() + b.w<QLabel>("lblDataInizioMM")->text() +
                 b.w<QLabel>("lblDataInizioAAAA")->text(),
             QStringLiteral("10092018"));

    // Lists: an empty item, then one per lookup row.
    QCOMPARE(b.combo("cmbTipOrg")->count(), 3);
    QCOMPARE(b.combo("cmbTipOrg")->itemText(0), QString());
    QCOMPARE(b.combo("cmbTipOrg")->itemText(2), QStringLiteral("R - Gestione diretta"));
    QCOMPARE(b.combo("cmbAreaFor")->count(), 7);
    QCOMPARE(b.combo("cmbSegmento")->count(), 3);
    for (const char* c : {"cmbTipOrg", "cmbAreaFor", "cmbSegmento"})
        QCOMPARE(b.combo(c)->currentIndex(), 0);

    // Counts: two men and two women, nobody handled yet.
    QCOMPARE(b.box("txt_maschi")->text(), QStringLiteral("2"));
    QCOMPARE(b.box("txt_femmine")->text(), QStringLiteral("2"));
    for (const char* c :
         {"txt_maschi_ammessi", "txt_femmine_ammesse", "txt_maschi_idonei", "txt_femmine_idonee"})
        QCOMPARE(b.box(c)->text(), QStringLiteral("0"));
    for (const char* c : {"txt_maschi", "txt_femmine_idonee"})
        QVERIFY(b.box(c)->isReadOnly());
    for (const char* c : kSottoconteggi) {
        QCOMPARE(b.box(c)->text(), QStringLiteral("0"));
        QVERIFY(!b.box(c)->isReadOnly());
    }

    // Participant list, read-only, sorted by surname and name.
    auto* griglia = b.w<QTableView>("grdDomande");
    auto* modello = griglia->model();
    QCOMPARE(modello->columnCount(), 12);
    QCOMPARE(modello->rowCount(), 4);
    QCOMPARE(modello->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Cognome"));
    QCOMPARE(modello->headerData(8, Qt::Horizontal).toString(),
             QStringLiteral("Descizione Giudizio Negativo"));
    QStringList cognomi;
    for (int r = 0; r < modello->rowCount(); ++r)
        cognomi << modello->index(r, 2).data().toString();
    QCOMPARE(cognomi, QStringList({"Bianchi", "D'Angelo", "Rossi", "Verdi"}));
    QCOMPARE(modello->index(1, 1).data().toString(), QStringLiteral("DNGLCU85B41A326Y"));
    QCOMPARE(griglia->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(modello->flags(modello->index(0, 2)) & Qt::ItemIsEditable));
    QVERIFY(b.w("FrameDettaglio")->isHidden());

    // State "APERTO".
    for (const char* nome : kControlliDiStato)
        QVERIFY2(b.w(nome)->isEnabled(), nome);
    QVERIFY(!b.w("cmdRiapri")->isEnabled());
    QCOMPARE(b.w<QAbstractButton>("cmdChiudi")->text(), QStringLiteral("Chiusura Corso"));
    QCOMPARE(b.w<QAbstractButton>("cmdRiapri")->text(), QStringLiteral("Riapertura  Corso"));
    QCOMPARE(b.w<QAbstractButton>("cmdSalva")->text(), QStringLiteral(" Salva Modifiche "));
    QCOMPARE(b.w<QAbstractButton>("cmdEsci")->text(), QStringLiteral(" Esci "));

    // The picture buttons show their caption while the mouse is over them.
    QLabel* didascalia = b.w<QLabel>("lblSalva");
    QCOMPARE(didascalia->text(), QStringLiteral(" Salva Modifiche "));
    QVERIFY(didascalia->isHidden());
    QEvent entra(QEvent::Enter), esce(QEvent::Leave);
    QApplication::sendEvent(b.w("cmdSalva"), &entra);
    QVERIFY(didascalia->isVisible());
    QVERIFY(b.w("lblEsci")->isHidden());
    QApplication::sendEvent(b.w("cmdSalva"), &esce);
    QVERIFY(didascalia->isHidden());
}

void TestFineCor::layoutSoloDate() {
    BancoFineCor b;
    b.apri(41237);
    QVERIFY(b.tab()->isTabEnabled(0));
    QVERIFY(!b.tab()->isTabEnabled(1));
    QVERIFY(!b.tab()->isTabEnabled(2));
    for (const char* nome : {"Label58", "txtCredFormCorso", "Label41", "cmbTipOrg", "Label42",
                             "cmbSegmento", "Label26", "cmbAreaFor"})
        QVERIFY2(b.w(nome)->isHidden(), nome);
    for (const char* nome :
         {"txtDataFineEffGG", "txtDataFineEffMM", "txtDataFineEffAAAA", "cmdSalva", "cmdChiudi"})
        QVERIFY2(b.w(nome)->isEnabled() && b.w(nome)->isVisible(), nome);
    QVERIFY(!b.w("cmdRiapri")->isEnabled());
    QCOMPARE(b.box("txtTotOre")->text(), QStringLiteral("16"));
}

void TestFineCor::salvataggioSoloDate() {
    BancoFineCor b([](db::Connection& db) {
        db.exec(QStringLiteral("UPDATE KELDCorsiDef SET CreditoFormativo=1.5, "
                               "codTipologiaOrg='R', TotMaschiH=NULL WHERE IdAttivita=41237"));
    });
    b.apri(41237);
    b.data(QStringLiteral("5"), QStringLiteral("11"), QStringLiteral("18"));
    b.clic("cmdSalva");
    QVERIFY(b.ui().messages.isEmpty());
    QCOMPARE(b.corso(41237, "DataFineEffGG").toString(), QStringLiteral("05"));
    QCOMPARE(b.corso(41237, "DataFineEffMM").toString(), QStringLiteral("11"));
    QCOMPARE(b.corso(41237, "DataFineEffAAAA").toString(), QStringLiteral("2018"));
    QCOMPARE(b.corso(41237, "CreditoFormativo").toDouble(), 1.5);
    QCOMPARE(b.corso(41237, "codTipologiaOrg").toString(), QStringLiteral("R"));
    QVERIFY(b.corso(41237, "TotMaschiH").isNull());
    QVERIFY(b.corso(41237, "codAreaFormativa").isNull());
    // Saved: leaving asks nothing.
    b.clic("cmdEsci");
    QVERIFY(b.ui().messages.isEmpty());
    QVERIFY(!b.form->isVisible());
}

void TestFineCor::corsoChiusoMostraLaClassificazione() {
    BancoFineCor b;
    b.apri(41238);
    QCOMPARE(b.w<QLabel>("lblSTATO")->text(), QStringLiteral("CHIUSO"));
    QCOMPARE(b.w("Shape1")->property("coloreBordo").value<QColor>(), QColor(255, 255, 0));
    QCOMPARE(b.box("txtCredFormCorso")->text(), QStringLiteral("2,5"));
    QCOMPARE(b.combo("cmbTipOrg")->currentText(), QStringLiteral("I - Gestione indiretta"));
    QCOMPARE(b.combo("cmbAreaFor")->currentText(),
             QStringLiteral("ce - Formazione area economico-finanziaria"));
    QCOMPARE(b.combo("cmbSegmento")->currentText(),
             QStringLiteral("S1 - Conoscenze tecnico professionali"));
    QCOMPARE(b.box("txtDataFineEffGG")->text(), QStringLiteral("20"));
    for (const char* nome : kControlliDiStato)
        QVERIFY2(!b.w(nome)->isEnabled(), nome);
    for (const char* nome : kSottoconteggi)
        QVERIFY2(!b.w(nome)->isEnabled(), nome);
    QVERIFY(b.w("cmdRiapri")->isEnabled());
    QVERIFY(b.w("cmdEsci")->isEnabled());
}

void TestFineCor::corsoTrasmessoBloccato() {
    BancoFineCor b;
    b.apri(41239);
    QCOMPARE(b.w<QLabel>("lblSTATO")->text(), QStringLiteral("TRASMESSO"));
    QCOMPARE(b.w("Shape1")->property("coloreBordo").value<QColor>(), QColor(192, 0, 0));
    for (int i = 0; i < 3; ++i)
        QVERIFY(b.tab()->isTabEnabled(i));
    for (const char* nome : kControlliDiStato)
        QVERIFY2(!b.w(nome)->isEnabled(), nome);
    for (const char* nome : kSottoconteggi)
        QVERIFY2(!b.w(nome)->isEnabled(), nome);
    QVERIFY(!b.w("cmdRiapri")->isEnabled());
    // Nothing can be changed, so leaving asks nothing.
    b.clic("cmdEsci");
    QVERIFY(b.ui().messages.isEmpty());
    QVERIFY(!b.form->isVisible());
}

void TestFineCor::regoleDiSalvataggioSulForm() {
    BancoFineCor b;
    b.apri(41235);
    // Credit missing: first tab, focus on the credit.
    b.tab()->setCurrentIndex(1);
    b.clic("cmdSalva");
    QCOMPARE(b.ui().messages.size(), 1);
    QCOMPARE(b.ui().last().text,
             QStringLiteral("Occorre indicare il credito formativo complessivo."));
    QCOMPARE(b.ui().last().title, QStringLiteral("Verifica dati"));
    QCOMPARE(b.ui().last().icon, ui::Icon::Critical);
    QCOMPARE(b.tab()->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), b.w("txtCredFormCorso"));

    // Month missing: focus on the month box.
    b.scrivi("txtCredFormCorso", QStringLiteral("2"));
    b.scrivi("txtDataFineEffGG", QStringLiteral("20"));
    b.scrivi("txtDataFineEffAAAA", QStringLiteral("2018"));
    b.tab()->setCurrentIndex(2);
    b.clic("cmdSalva");
    QCOMPARE(b.ui().last().text,
             QStringLiteral("Specificare il mese nella data di fine corso effettiva"));
    QCOMPARE(b.tab()->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), b.w("txtDataFineEffMM"));

    // C11 on the second tab: the tab stays, the focus goes to the box.
    b.scrivi("txtDataFineEffMM", QStringLiteral("12"));
    b.scrivi("txt_maschiH", QStringLiteral("2"));
    b.scrivi("txt_maschiH_ammessi", QStringLiteral("0"));
    b.clic("cmdSalva");
    QCOMPARE(b.ui().last().text,
             QStringLiteral("La somma del numero di allievi MH ammessi e non ammessi deve "
                            "corrispondere al numero di allievi iscritti MH"));
    QCOMPARE(b.tab()->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), b.w("txt_maschiH_idonei"));
    QCOMPARE(b.ui().messages.size(), 3);
    QVERIFY(b.corso(41235, "DataFineEffGG").isNull());
    QVERIFY(b.corso(41235, "CreditoFormativo").isNull());
}

void TestFineCor::conteggiAlSalvataggio() {
    BancoFineCor b([](db::Connection& db) {
        db.exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='9' WHERE CodFiscale IN "
                               "('RSSMRA80A01A326X', 'DNGLCU85B41A326Y')"));
        db.exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='0' WHERE "
                               "CodFiscale='BNCGPP90C10A326Z'"));
    });
    b.apri(41235);
    QCOMPARE(b.box("txt_maschi_ammessi")->text(), QStringLiteral("1"));
    QCOMPARE(b.box("txt_maschi_idonei")->text(), QStringLiteral("1"));
    QCOMPARE(b.box("txt_femmine_ammesse")->text(), QStringLiteral("1"));
    // Save refuses a disability count above its plain count (C5), whatever tab shows.
    b.scrivi("txtCredFormCorso", QStringLiteral("1"));
    b.data(QStringLiteral("20"), QStringLiteral("12"), QStringLiteral("2018"));
    b.scrivi("txt_maschiH", QStringLiteral("2"));
    b.scrivi("txt_maschiH_idonei", QStringLiteral("2"));
    b.clic("cmdSalva");
    QCOMPARE(b.ui().last().text,
             QStringLiteral("Il numero di allievi non ammessi MH non può superare il numero di "
                            "allievi non ammessi M"));
    QCOMPARE(QApplication::focusWidget(), b.w("txt_maschiH_idonei"));
    b.scrivi("txt_maschiH", QStringLiteral("1"));
    b.scrivi("txt_maschiH_idonei", QStringLiteral("1"));
    b.ui().messages.clear();
    b.clic("cmdSalva");
    QVERIFY(b.ui().messages.isEmpty());
    const QList<QPair<const char*, int>> attesi = {
        {"TotMaschi", 2},   {"TotFemmine", 2},  {"TotMaschiH", 1},   {"TotFemmineH", 0},
        {"AmmessiM", 1},    {"AmmessiF", 1},    {"AmmessiMH", 0},    {"AmmessiFH", 0},
        {"NonAmmessiM", 1}, {"NonAmmessiF", 0}, {"NonAmmessiMH", 1}, {"NonAmmessiFH", 0}};
    for (const auto& [colonna, valore] : attesi)
        QCOMPARE(b.corso(41235, colonna).toInt(), valore);
}

void TestFineCor::sottoconteggioNonIntero() {
    BancoFineCor b;
    b.apri(41235);
    b.classifica();
    b.data(QStringLiteral("20"), QStringLiteral("12"), QStringLiteral("2018"));
    // "1.9" typed shows "1,9": the save refuses it instead of storing 1.
    b.scrivi("txt_femmineH_ammesse", QStringLiteral("1.9"));
    QCOMPARE(b.box("txt_femmineH_ammesse")->text(), QStringLiteral("1,9"));
    b.clic("cmdSalva");
    QCOMPARE(b.ui().texts(),
             QStringList{"Il numero di allievi ammessi FH deve essere un numero intero"});
    QCOMPARE(b.ui().last().title, QStringLiteral("Verifica dati"));
    QCOMPARE(b.ui().last().icon, ui::Icon::Critical);
    QCOMPARE(QApplication::focusWidget(), b.w("txt_femmineH_ammesse"));
    QVERIFY(b.corso(41235, "CreditoFormativo").isNull());
}

void TestFineCor::salvataggioCompleto() {
    BancoFineCor b;
    b.apri(41235);
    b.classifica();
    b.data(QStringLiteral("20"), QStringLiteral("12"), QStringLiteral("2018"));
    b.clic("cmdSalva");
    QVERIFY(b.ui().messages.isEmpty());
    QCOMPARE(b.corso(41235, "CreditoFormativo").toDouble(), 2.5);
    QCOMPARE(b.corso(41235, "codTipologiaOrg").toString(), QStringLiteral("I"));
    QCOMPARE(b.corso(41235, "codAreaFormativa").toString(), QStringLiteral("ci"));
    QCOMPARE(b.corso(41235, "codSegmentoForm").toString(), QStringLiteral("S2"));
    QCOMPARE(b.corso(41235, "codSubAreaFormativa").toString(), QString());
    QCOMPARE(b.corso(41235, "DataFineEffGG").toString(), QStringLiteral("20"));
    QCOMPARE(b.corso(41235, "Stato").toString(), QStringLiteral("APERTO"));
    // Reopened, the form shows what was stored.
    b.clic("cmdEsci");
    QVERIFY(b.ui().messages.isEmpty());
    b.apri(41235);
    QCOMPARE(b.box("txtCredFormCorso")->text(), QStringLiteral("2,5"));
    QCOMPARE(b.combo("cmbAreaFor")->currentText(),
             QStringLiteral("ci - Formazione area informatica"));
    QCOMPARE(b.combo("cmbSegmento")->currentText(), QStringLiteral("S2 - Capacita'"));
}

void TestFineCor::chiusuraSoloDate() {
    BancoFineCor b([](db::Connection& db) {
        db.exec(QStringLiteral("UPDATE KELDCorsiDef SET CreditoFormativo=3, codTipologiaOrg='I', "
                               "codAreaFormativa='ce', codSegmentoForm='S1' "
                               "WHERE IdAttivita=41237"));
    });
    b.apri(41237);
    b.clic("cmdChiudi");
    QCOMPARE(b.ui().texts(),
             QStringList{QStringLiteral("Specificare la data di fine corso effettiva")});
    QCOMPARE(b.corso(41237, "Stato").toString(), QStringLiteral("APERTO"));
    b.data(QStringLiteral("30"), QStringLiteral("10"), QStringLiteral("2018"));
    b.clic("cmdChiudi");
    QCOMPARE(b.ui().messages.size(), 1);
    QCOMPARE(b.corso(41237, "Stato").toString(), QStringLiteral("CHIUSO"));
    QCOMPARE(b.corso(41237, "DataFineEffGG").toString() +
                 b.corso(41237, "DataFineEffMM").toString() +
                 b.corso(41237, "DataFineEffAAAA").toString(),
             QStringLiteral("30102018"));
    for (const char* c :
         {"codTipologiaOrg", "codAreaFormativa", "codSegmentoForm", "codSubAreaFormativa"})
        QCOMPARE(b.corso(41237, c).toString(), QString());
    QCOMPARE(b.corso(41237, "CreditoFormativo").toDouble(), 0.0);
    // The form shows the closed course: dates locked too, only reopening possible.
    QCOMPARE(b.w<QLabel>("lblSTATO")->text(), QStringLiteral("CHIUSO"));
    for (const char* nome :
         {"txtDataFineEffGG", "txtDataFineEffMM", "txtDataFineEffAAAA", "cmdSalva", "cmdChiudi"})
        QVERIFY2(!b.w(nome)->isEnabled(), nome);
    QVERIFY(b.w("cmdRiapri")->isEnabled());
}

void TestFineCor::chiusuraCompleta() {
    BancoFineCor b(allieviGestiti);
    b.apri(41235);
    b.classifica();
    b.data(QStringLiteral("20"), QStringLiteral("12"), QStringLiteral("2018"));
    b.clic("cmdChiudi");
    QVERIFY(b.ui().messages.isEmpty());
    QCOMPARE(b.corso(41235, "Stato").toString(), QStringLiteral("CHIUSO"));
    QCOMPARE(b.corso(41235, "CreditoFormativo").toDouble(), 2.5);
    QCOMPARE(b.corso(41235, "codTipologiaOrg").toString(), QStringLiteral("I"));
    QCOMPARE(b.corso(41235, "codAreaFormativa").toString(), QStringLiteral("ci"));
    QCOMPARE(b.corso(41235, "codSegmentoForm").toString(), QStringLiteral("S2"));
    QCOMPARE(b.corso(41235, "AmmessiM").toInt(), 2);
    QCOMPARE(b.corso(41235, "AmmessiF").toInt(), 2);
    QCOMPARE(b.w<QLabel>("lblSTATO")->text(), QStringLiteral("CHIUSO"));
    QCOMPARE(b.w("Shape1")->property("coloreBordo").value<QColor>(), QColor(255, 255, 0));
    for (const char* nome : kControlliDiStato)
        QVERIFY2(!b.w(nome)->isEnabled(), nome);
    QVERIFY(b.w("cmdRiapri")->isEnabled());
    QCOMPARE(b.box("txtCredFormCorso")->text(), QStringLiteral("2,5"));
    b.clic("cmdEsci");
    QVERIFY(b.ui().messages.isEmpty());
}

void TestFineCor::chiusuraRifiutata_data() {
    QTest::addColumn<QString>("credito");
    QTest::addColumn<QString>("preparazione");
    QTest::addColumn<QString>("messaggio");
    QTest::addColumn<QString>("titolo");
    QTest::newRow("credito 0 accettato") << "0"
                                         << ""
                                         << ""
                                         << "";
    QTest::newRow("credito 2 con un allievo a 2,5")
        << "2"
        << "UPDATE KELDAnagFreq SET CredFormValut=2.5 WHERE CodFiscale='VRDNNA92D50A326W'"
        << "Il credito formativo indicato non è compatibile con i crediti formativi valutati "
           "specificati sugli allievi"
        << "KORVADIN";
    QTest::newRow("giudizi 8 e 9")
        << "2,5"
        << "UPDATE KELDAnagFreq SET Giudizio='9' WHERE CodFiscale='VRDNNA92D50A326W'"
        << "Per alcuni allievi è stato indicato 'Prova non prevista' e per altri 'Prova "
           "superata', ciò non è corretto.\nAllineare i dati in modo coerente con la "
           "presenza/assenza della prova."
        << "Incoerenza Giudizi";
    QTest::newRow("un allievo non gestito")
        << "2,5"
        << "UPDATE KELDAnagFreq SET Giudizio=' ' WHERE CodFiscale='VRDNNA92D50A326W'"
        << "Per poter effettuare la chiusura del corso devono essere stati gestiti tutti gli "
           "allievi."
        << "KORVADIN";
    QTest::newRow("credito 5,5") << "5,5"
                                 << ""
                                 << "Il credito formativo deve essere compreso tra i valori 0 e "
                                    "5,00"
                                 << "KORVADIN";
}

void TestFineCor::chiusuraRifiutata() {
    QFETCH(QString, credito);
    QFETCH(QString, preparazione);
    QFETCH(QString, messaggio);
    QFETCH(QString, titolo);
    BancoFineCor b([&](db::Connection& db) {
        allieviGestiti(db);
        db.exec(QStringLiteral("UPDATE KELDAnagFreq SET CredFormValut=0 WHERE IdAttivita=41235"));
        if (!preparazione.isEmpty())
            db.exec(preparazione);
    });
    b.apri(41235);
    b.classifica();
    b.scrivi("txtCredFormCorso", credito);
    b.data(QStringLiteral("20"), QStringLiteral("12"), QStringLiteral("2018"));
    b.clic("cmdChiudi");
    if (messaggio.isEmpty()) {
        QVERIFY(b.ui().messages.isEmpty());
        QCOMPARE(b.corso(41235, "Stato").toString(), QStringLiteral("CHIUSO"));
        QCOMPARE(b.corso(41235, "CreditoFormativo").toDouble(), 0.0);
        return;
    }
    QCOMPARE(b.ui().texts(), QStringList{messaggio});
    QCOMPARE(b.ui().last().title, titolo);
    QCOMPARE(b.corso(41235, "Stato").toString(), QStringLiteral("APERTO"));
    QVERIFY(b.corso(41235, "DataFineEffGG").isNull());
    QVERIFY(b.w("cmdChiudi")->isEnabled());
}

void TestFineCor::chiusuraPerdeISottoconteggiNonSalvati() {
    BancoFineCor b(allieviGestiti);
    b.apri(41235);
    b.classifica();
    b.data(QStringLiteral("20"), QStringLiteral("12"), QStringLiteral("2018"));
    b.scrivi("txt_maschiH", QStringLiteral("1"));
    b.clic("cmdChiudi");
    QVERIFY(b.ui().messages.isEmpty());
    QCOMPARE(b.corso(41235, "Stato").toString(), QStringLiteral("CHIUSO"));
    QCOMPARE(b.corso(41235, "TotMaschiH").toInt(), 0);
    QCOMPARE(b.box("txt_maschiH")->text(), QStringLiteral("0"));
}

void TestFineCor::riaperturaEdEsci() {
    BancoFineCor b;
    b.apri(41238);
    b.clic("cmdRiapri");
    QVERIFY(b.ui().messages.isEmpty());
    QCOMPARE(b.corso(41238, "Stato").toString(), QStringLiteral("APERTO"));
    QCOMPARE(b.corso(41238, "CreditoFormativo").toDouble(), 2.5);
    QCOMPARE(b.corso(41238, "codAreaFormativa").toString(), QStringLiteral("ce"));
    QCOMPARE(b.w<QLabel>("lblSTATO")->text(), QStringLiteral("APERTO"));
    QVERIFY(!b.w("cmdRiapri")->isEnabled());
    for (const char* nome : kControlliDiStato)
        QVERIFY2(b.w(nome)->isEnabled(), nome);
    b.clic("cmdEsci");
    QVERIFY(b.ui().messages.isEmpty());
    QVERIFY(!b.form->isVisible());
}

void TestFineCor::esci_data() {
    QTest::addColumn<QString>("casella");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<int>("risposta"); // -1: no question expected
    QTest::addColumn<QString>("colonna");
    QTest::addColumn<QString>("stored");  // the column's value afterwards
    QTest::addColumn<QString>("rifiuto"); // message of a refused save, if any
    const int annulla = int(ui::Answer::Cancel), no = int(ui::Answer::No),
              si = int(ui::Answer::Yes);
    const QString c12 = QStringLiteral("La somma del numero di allievi FH ammessi e non ammessi "
                                       "deve corrispondere al numero di allievi iscritti FH");
    QTest::newRow("nessuna modifica") << ""
                                      << "" << -1 << "DataFineEffGG"
                                      << "20"
                                      << "";
    QTest::newRow("giorno, Annulla") << "txtDataFineEffGG"
                                     << "21" << annulla << "DataFineEffGG"
                                     << "20"
                                     << "";
    QTest::newRow("giorno, No") << "txtDataFineEffGG"
                                << "21" << no << "DataFineEffGG"
                                << "20"
                                << "";
    QTest::newRow("giorno, Sì") << "txtDataFineEffGG"
                                << "21" << si << "DataFineEffGG"
                                << "21"
                                << "";
    QTest::newRow("credito, No") << "txtCredFormCorso"
                                 << "3" << no << "CreditoFormativo"
                                 << "2.5"
                                 << "";
    QTest::newRow("credito, Sì") << "txtCredFormCorso"
                                 << "3" << si << "CreditoFormativo"
                                 << "3"
                                 << "";
    QTest::newRow("credito riscritto uguale") << "txtCredFormCorso"
                                              << "2,50" << -1 << "CreditoFormativo"
                                              << "2.5"
                                              << "";
    QTest::newRow("sottoconteggio, No") << "txt_femmineH"
                                        << "2" << no << "TotFemmineH"
                                        << "1"
                                        << "";
    QTest::newRow("sottoconteggio, Sì rifiutato") << "txt_femmineH"
                                                  << "2" << si << "TotFemmineH"
                                                  << "1" << c12;
    QTest::newRow("sottoconteggio vuoto vale 0") << "txt_femmineH_idonee"
                                                 << "" << -1 << "NonAmmessiFH"
                                                 << "0"
                                                 << "";
    QTest::newRow("tipologia, Annulla") << "cmbTipOrg"
                                        << "R - Gestione diretta" << annulla << "codTipologiaOrg"
                                        << "I"
                                        << "";
    QTest::newRow("tipologia, Sì") << "cmbTipOrg"
                                   << "R - Gestione diretta" << si << "codTipologiaOrg"
                                   << "R"
                                   << "";
}

void TestFineCor::esci() {
    QFETCH(QString, casella);
    QFETCH(QString, testo);
    QFETCH(int, risposta);
    QFETCH(QString, colonna);
    QFETCH(QString, stored);
    QFETCH(QString, rifiuto);
    // A complete, consistent record already stored.
    BancoFineCor b([](db::Connection& db) {
        db.exec(QStringLiteral(
            "UPDATE KELDCorsiDef SET DataFineEffGG='20', DataFineEffMM='12', "
            "DataFineEffAAAA='2018', CreditoFormativo=2.5, codTipologiaOrg='I', "
            "codAreaFormativa='ce', codSegmentoForm='S1', TotFemmineH=1, AmmessiFH=1, "
            "NonAmmessiFH=0 WHERE IdAttivita=41235"));
        db.exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='8' WHERE IdAttivita=41235"));
    });
    b.apri(41235);
    const QByteArray nome = casella.toLatin1();
    if (casella.startsWith(QLatin1String("cmb")))
        b.scegli(nome.constData(), testo);
    else if (!casella.isEmpty())
        b.scrivi(nome.constData(), testo);
    if (risposta >= 0)
        b.ui().answers << ui::Answer(risposta);
    b.clic("cmdEsci");
    QStringList attesi;
    if (risposta >= 0)
        attesi << QStringLiteral("Sono stati modificati uno o più dati della comunicazione\n"
                                 "Salvare le modifiche ?");
    if (!rifiuto.isEmpty())
        attesi << rifiuto;
    QCOMPARE(b.ui().texts(), attesi);
    if (risposta >= 0) {
        QCOMPARE(b.ui().messages.first().title, QStringLiteral("Comunicazioni di fine corsi"));
        QCOMPARE(b.ui().messages.first().buttons, ui::Buttons::YesNoCancel);
    }
    const bool resta = risposta == int(ui::Answer::Cancel) || !rifiuto.isEmpty();
    QCOMPARE(b.form->isVisible(), resta);
    QCOMPARE(b.corso(41235, colonna.toLatin1().constData()).toString(), stored);
}

void TestFineCor::esciConSalvataggioRifiutato() {
    BancoFineCor b;
    b.apri(41235);
    b.scrivi("txtDataFineEffGG", QStringLiteral("20"));
    b.ui().answers << ui::Answer::Yes;
    b.clic("cmdEsci");
    // The save rules refuse the missing credit: the form stays open.
    QCOMPARE(b.ui().texts(),
             QStringList({QStringLiteral("Sono stati modificati uno o più dati della "
                                         "comunicazione\nSalvare le modifiche ?"),
                          QStringLiteral("Occorre indicare il credito formativo complessivo.")}));
    QVERIFY(b.form->isVisible());
    QVERIFY(b.corso(41235, "DataFineEffGG").isNull());
    // Esc asks the same question.
    b.ui().answers << ui::Answer::No;
    QTest::keyClick(b.form.get(), Qt::Key_Escape);
    QCOMPARE(b.ui().messages.size(), 3);
    QVERIFY(!b.form->isVisible());
}

void TestFineCor::comportamentoDelleCaselle() {
    BancoFineCor b;
    b.apri(41235);
    b.scrivi("txtDataFineEffGG", QStringLiteral("5"));
    b.scrivi("txtDataFineEffMM", QStringLiteral("7"));
    b.scrivi("txtDataFineEffAAAA", QStringLiteral("18"));
    QCOMPARE(b.box("txtDataFineEffGG")->text(), QStringLiteral("05"));
    QCOMPARE(b.box("txtDataFineEffMM")->text(), QStringLiteral("07"));
    QCOMPARE(b.box("txtDataFineEffAAAA")->text(), QStringLiteral("2018"));
    b.scrivi("txtDataFineEffAAAA", QStringLiteral("95"));
    QCOMPARE(b.box("txtDataFineEffAAAA")->text(), QStringLiteral("1995"));
    b.scrivi("txtCredFormCorso", QStringLiteral("1.5"));
    QCOMPARE(b.box("txtCredFormCorso")->text(), QStringLiteral("1,5"));
    b.scrivi("txt_femmineH_idonee", QString());
    QCOMPARE(b.box("txt_femmineH_idonee")->text(), QStringLiteral("0"));
    QVERIFY(b.ui().messages.isEmpty());
    b.scrivi("txt_maschiH", QStringLiteral("x"));
    QCOMPARE(b.ui().texts(), QStringList{QStringLiteral("Carattere non numerico")});
    QCOMPARE(b.ui().beeps, 1);
}

void TestFineCor::mostraFineCorModale() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.CorsoSelezionato = 0;
    report::mostraFineCor(s, nullptr); // nothing chosen: nothing shown
    s.CorsoSelezionato = 99999;
    report::mostraFineCor(s, nullptr);
    QCOMPARE(inst.interaction.messages.size(), 1);

    s.CorsoSelezionato = 41235;
    QString titolo;
    const auto guidata = guida<FineCor>(inst.interaction, "FineCor", [&](FineCor& form) {
        QVERIFY(form.isModal());
        titolo = figlio<QLabel>(&form, "lblAttivita")->text();
        QTest::mouseClick(figlio<QToolButton>(&form, "cmdEsci"), Qt::LeftButton);
    });
    report::mostraFineCor(s, nullptr);
    QCOMPARE(*guidata, 1);
    QCOMPARE(inst.interaction.dialogsRun, QStringList{"FineCor"});
    QCOMPARE(titolo, QStringLiteral("41235"));
    QCOMPARE(inst.interaction.messages.size(), 1);
}

void TestFineCor::statoCambiatoDaAltraPostazione_data() {
    QTest::addColumn<QString>("letto");    // state when the form opens
    QTest::addColumn<QString>("pulsante"); // what the user presses
    QTest::addColumn<QString>("altrove");  // state set meanwhile by another workstation
    QTest::addColumn<QString>("titolo");
    QTest::newRow("riapertura di un corso trasmesso") << "CHIUSO"
                                                      << "cmdRiapri"
                                                      << "TRASMESSO"
                                                      << "Riapertura Corso";
    QTest::newRow("riapertura di un corso riaperto") << "CHIUSO"
                                                     << "cmdRiapri"
                                                     << "APERTO"
                                                     << "Riapertura Corso";
    QTest::newRow("chiusura di un corso trasmesso") << "APERTO"
                                                    << "cmdChiudi"
                                                    << "TRASMESSO"
                                                    << "Chiusura Corso";
    QTest::newRow("chiusura di un corso chiuso") << "APERTO"
                                                 << "cmdChiudi"
                                                 << "CHIUSO"
                                                 << "Chiusura Corso";
    QTest::newRow("salvataggio di un corso chiuso") << "APERTO"
                                                    << "cmdSalva"
                                                    << "CHIUSO"
                                                    << "Salvataggio";
}

void TestFineCor::statoCambiatoDaAltraPostazione() {
    QFETCH(QString, letto);
    QFETCH(QString, pulsante);
    QFETCH(QString, altrove);
    QFETCH(QString, titolo);
    BancoFineCor b([&](db::Connection& db) {
        db.exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato=?, DataFineEffGG='01', "
                               "DataFineEffMM='09', DataFineEffAAAA='2018' WHERE IdAttivita=41237"),
                {letto});
    });
    b.apri(41237);
    if (letto == QLatin1String("APERTO"))
        b.data(QStringLiteral("30"), QStringLiteral("10"), QStringLiteral("2018"));
    {
        db::Connection altra;
        altra.open(b.inst.database(), Session::databasePassword(), db::OpenMode::Shared);
        altra.exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato=? WHERE IdAttivita=41237"),
                   {altrove});
    }
    b.clic(pulsante.toLatin1().constData());
    QCOMPARE(b.ui().messages.size(), 1);
    const ui::Message m = b.ui().last();
    QCOMPARE(m.title, titolo);
    QCOMPARE(m.icon, ui::Icon::Warning);
    QVERIFY2(m.text.contains(QStringLiteral("modificato da un'altra postazione")),
             qPrintable(m.text));
    // Nothing was written over the other workstation's change ...
    QCOMPARE(b.corso(41237, "Stato").toString(), altrove);
    QCOMPARE(b.corso(41237, "DataFineEffGG").toString(), QStringLiteral("01"));
    // ... and the form shows the course as it is now.
    QCOMPARE(b.w<QLabel>("lblSTATO")->text(), altrove);
    QCOMPARE(b.box("txtDataFineEffGG")->text(), QStringLiteral("01"));
    QCOMPARE(b.w("cmdRiapri")->isEnabled(), altrove == QLatin1String("CHIUSO"));
}

// The report is printed as the form shows it, unsaved boxes included, as a
// draft while the course is open; nothing is written.
void TestFineCor::stampaComeCompilata() {
    BancoFineCor b;
    b.apri(41235);
    b.data(QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("19"));
    b.scrivi("txtCredFormCorso", QStringLiteral("3,5"));
    b.clic("cmdStampa");
    QCOMPARE(b.ui().stampe.size(), 1);
    const QStringList pagine =
        prova::pagineDelPdf(documento::pdf(b.ui().stampe.first().disegna, QString()));
    QCOMPARE(pagine.size(), 1);
    for (const char* testo : {"BOZZA – corso non ancora chiuso", "Data fine effettiva 05/01/2019",
                              "Credito formativo (complessivo) 3,5", "D'Angelo Lucia"})
        QVERIFY2(pagine.first().contains(QString::fromUtf8(testo)), testo);
    QVERIFY(!pagine.first().contains(QStringLiteral("ORIGINALE")));
    QVERIFY(b.db()
                .scalar(QStringLiteral("SELECT DataFineEffGG FROM KELDCorsiDef "
                                       "WHERE IdAttivita=41235"))
                .isNull());
    QVERIFY(b.ui().messages.isEmpty());
}

KORVADIN_TEST_MAIN(TestFineCor)
#include "tst_finecor.moc"
