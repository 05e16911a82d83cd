#include "report/BancoFineCor.h"

#include "report/Segnalazione.h"

#include <QLabel>
#include <QTime>

// The end-of-course form as it answers the user: where a refusal leaves the
// focus and its mark, what the form says after saving, and its keys.
class TestFineCorUso : public QObject {
    Q_OBJECT
private slots:
    void rifiutoPortaAllaCasella_data();
    void rifiutoPortaAllaCasella();
    void focusAllApertura_data();
    void focusAllApertura();
    void salvataggioDaTastieraConOra();
};

void TestFineCorUso::rifiutoPortaAllaCasella_data() {
    QTest::addColumn<QString>("pulsante");
    QTest::addColumn<QStringList>("modifiche"); // box=text; a combo is emptied by "cmb...="
    QTest::addColumn<QString>("preparazione");  // SQL on the demo data
    QTest::addColumn<QString>("casella");
    const QString s = QStringLiteral("cmdSalva"), k = QStringLiteral("cmdChiudi");
    const QString bianchi0 =
        QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='0' WHERE CodFiscale='BNCGPP90C10A326Z'");
    const QString verdi = QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='%1' WHERE "
                                         "CodFiscale='VRDNNA92D50A326W'");
    const QString gg = QStringLiteral("txtDataFineEffGG"), mm = QStringLiteral("txtDataFineEffMM"),
                  aa = QStringLiteral("txtDataFineEffAAAA");
    const QString credito = QStringLiteral("txtCredFormCorso");
    const QString griglia = QStringLiteral("grdDomande");
    QTest::newRow("S1") << s << QStringList{"txtCredFormCorso="} << "" << credito;
    QTest::newRow("D1") << s << QStringList{gg + "=", mm + "=", aa + "="} << "" << gg;
    QTest::newRow("D2") << s << QStringList{gg + "="} << "" << gg;
    QTest::newRow("D3") << s << QStringList{mm + "="} << "" << mm;
    QTest::newRow("D4") << s << QStringList{aa + "="} << "" << aa;
    QTest::newRow("D5") << s << QStringList{gg + "=31", mm + "=02"} << "" << gg;
    QTest::newRow("D6") << s << QStringList{aa + "=218"} << "" << aa;
    QTest::newRow("D7") << s << QStringList{aa + "=2118"} << "" << aa;
    QTest::newRow("D8") << s << QStringList{gg + "=09", mm + "=09"} << "" << gg;
    QTest::newRow("C0") << s << QStringList{"txt_maschiH=1,5"} << ""
                        << "txt_maschiH";
    QTest::newRow("C1") << s << QStringList{"txt_maschiH=9"} << ""
                        << "txt_maschiH";
    QTest::newRow("C2") << s << QStringList{"txt_femmineH=9"} << ""
                        << "txt_femmineH";
    QTest::newRow("C3") << s << QStringList{"txt_maschiH_ammessi=3"} << ""
                        << "txt_maschiH_ammessi";
    QTest::newRow("C4") << s << QStringList{"txt_femmineH_ammesse=3"} << ""
                        << "txt_femmineH_ammesse";
    QTest::newRow("C5") << s << QStringList{"txt_maschiH_idonei=1"} << ""
                        << "txt_maschiH_idonei";
    QTest::newRow("C6") << s << QStringList{"txt_femmineH_idonee=1"} << ""
                        << "txt_femmineH_idonee";
    QTest::newRow("C7") << s << QStringList{"txt_maschiH_ammessi=1"} << ""
                        << "txt_maschiH_ammessi";
    QTest::newRow("C8") << s << QStringList{"txt_femmineH_ammesse=1"} << ""
                        << "txt_femmineH_ammesse";
    QTest::newRow("C9") << s << QStringList{"txt_maschiH_idonei=1"} << bianchi0
                        << "txt_maschiH_idonei";
    QTest::newRow("C10") << s << QStringList{"txt_femmineH_idonee=1"} << verdi.arg(0)
                         << "txt_femmineH_idonee";
    QTest::newRow("C11") << s << QStringList{"txt_maschiH=1"} << ""
                         << "txt_maschiH_idonei";
    QTest::newRow("C12") << s << QStringList{"txt_femmineH=1"} << ""
                         << "txt_femmineH_ammesse";
    QTest::newRow("chiusura D2") << k << QStringList{gg + "="} << "" << gg;
    QTest::newRow("K2") << k << QStringList{"txtCredFormCorso="} << "" << credito;
    QTest::newRow("K3") << k << QStringList{"txtCredFormCorso=5,5"} << "" << credito;
    QTest::newRow("K4") << k << QStringList{"txtCredFormCorso=1"} << "" << credito;
    QTest::newRow("K5") << k << QStringList{"cmbTipOrg="} << ""
                        << "cmbTipOrg";
    QTest::newRow("K6") << k << QStringList{"cmbSegmento="} << ""
                        << "cmbSegmento";
    QTest::newRow("K7") << k << QStringList{"cmbAreaFor="} << ""
                        << "cmbAreaFor";
    QTest::newRow("K8 (C2)") << k << QStringList{"txt_femmineH=9"} << ""
                             << "txt_femmineH";
    QTest::newRow("K9") << k << QStringList{} << verdi.arg(' ') << griglia;
    QTest::newRow("K10") << k << QStringList{} << verdi.arg(9) << griglia;
}

// Every refusal of saving or closing shows its box (on its tab), puts the
// focus there and marks it, with the message as tool tip, until it changes.
void TestFineCorUso::rifiutoPortaAllaCasella() {
    QFETCH(QString, pulsante);
    QFETCH(QStringList, modifiche);
    QFETCH(QString, preparazione);
    QFETCH(QString, casella);
    BancoFineCor b([&](db::Connection& db) {
        db.exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='8', OreAssenza=4, codPartec=1, "
                               "DescPartec='Esecutivo', CredFormValut=2 WHERE IdAttivita=41235"));
        if (!preparazione.isEmpty())
            db.exec(preparazione);
    });
    b.apri(41235);
    b.classifica();
    b.data(QStringLiteral("20"), QStringLiteral("12"), QStringLiteral("2018"));
    for (const QString& m : modifiche) {
        const QString nome = m.section(QLatin1Char('='), 0, 0);
        if (nome.startsWith(QLatin1String("cmb")))
            b.combo(qPrintable(nome))->setCurrentIndex(0);
        else
            b.scrivi(qPrintable(nome), m.section(QLatin1Char('='), 1));
    }
    b.tab()->setCurrentIndex(pulsante == QLatin1String("cmdSalva") ? 2 : 0);
    b.clic(qPrintable(pulsante));
    QCOMPARE(b.ui().messages.size(), 1);
    QWidget* box = b.w(qPrintable(casella));
    QCOMPARE(QApplication::focusWidget(), box);
    QVERIFY(b.tab()->currentWidget()->isAncestorOf(box));
    QVERIFY(report::segnalato(box));
    QCOMPARE(box->toolTip(), b.ui().last().text);
    if (auto* testo = qobject_cast<QLineEdit*>(box))
        testo->setText(testo->text().isEmpty() ? QStringLiteral("1") : QString());
    else if (auto* lista = qobject_cast<QComboBox*>(box))
        lista->setCurrentIndex(1);
    else
        return; // the list loses its mark when its rows change (participant tests)
    QVERIFY(!report::segnalato(box));
    QVERIFY(box->toolTip().isEmpty());
}

void TestFineCorUso::focusAllApertura_data() {
    QTest::addColumn<int>("corso");
    QTest::addColumn<QString>("casella");
    QTest::newRow("aperto") << 41235 << "txtDataFineEffGG";
    QTest::newRow("solo date") << 41237 << "txtDataFineEffGG";
    QTest::newRow("chiuso") << 41238 << "cmdRiapri";
    QTest::newRow("trasmesso") << 41239 << "cmdEsci";
}

void TestFineCorUso::focusAllApertura() {
    QFETCH(int, corso);
    QFETCH(QString, casella);
    BancoFineCor b;
    b.apri(corso);
    QCOMPARE(QApplication::focusWidget(), b.w(qPrintable(casella)));
}

// Ctrl+S saves from the box being typed in, completing it first, and the form
// says when; Esc then leaves without a question.
void TestFineCorUso::salvataggioDaTastieraConOra() {
    BancoFineCor b;
    b.apri(41235);
    QLabel* salvato = b.w<QLabel>("lblSalvato");
    QVERIFY(salvato->text().isEmpty());
    QCOMPARE(b.w("cmdSalva")->toolTip(), QStringLiteral("Salva Modifiche (Ctrl+S)"));
    QCOMPARE(b.w("cmdEsci")->toolTip(), QStringLiteral("Esci (Esc)"));
    b.classifica();
    b.data(QStringLiteral("20"), QStringLiteral("12"), QString());
    QLineEdit* anno = b.box("txtDataFineEffAAAA");
    anno->setFocus();
    QTest::keyClicks(anno, QStringLiteral("18"));
    const QString prima = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    QTest::keyClick(anno, Qt::Key_S, Qt::ControlModifier);
    const QString dopo = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    QVERIFY(b.ui().messages.isEmpty());
    QCOMPARE(b.corso(41235, "DataFineEffAAAA").toString(), QStringLiteral("2018"));
    QCOMPARE(QApplication::focusWidget(), anno);
    QVERIFY2(salvato->text() == QStringLiteral("Dati salvati alle ") + prima ||
                 salvato->text() == QStringLiteral("Dati salvati alle ") + dopo,
             qPrintable(salvato->text()));
    QTest::keyClick(anno, Qt::Key_Escape);
    QVERIFY(!b.form->isVisible());
    QVERIFY(b.ui().messages.isEmpty());
}

KORVADIN_TEST_MAIN(TestFineCorUso)
#include "tst_finecoruso.moc"
