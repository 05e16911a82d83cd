#include "report/BancoFineCor.h"

#include "report/Segnalazione.h"

#include <QGroupBox>
#include <QLabel>
#include <QTableView>

namespace {

const QString kBianchi = QStringLiteral("BNCGPP90C10A326Z");
const QString kDAngelo = QStringLiteral("DNGLCU85B41A326Y");
const QString kRossi = QStringLiteral("RSSMRA80A01A326X");

// The demo course 41235 with a course credit, on the participant tab.
struct Elenco : BancoFineCor {
    explicit Elenco(std::function<void(db::Connection&)> prepara = {}, qint32 corso = 41235)
        : BancoFineCor(std::move(prepara)) {
        apri(corso);
        scrivi("txtCredFormCorso", QStringLiteral("3,5"));
        tab()->setCurrentIndex(2);
    }
    QTableView* griglia() const { return w<QTableView>("grdDomande"); }
    QGroupBox* editor() const { return w<QGroupBox>("FrameDettaglio"); }
    int riga(const QString& cf) const {
        for (int r = 0; r < griglia()->model()->rowCount(); ++r)
            if (griglia()->model()->index(r, 1).data().toString() == cf)
                return r;
        return -1;
    }
    QString cella(const QString& cf, int colonna) const {
        return griglia()->model()->index(riga(cf), colonna).data().toString();
    }
    // A double click on a cell, as the mouse makes it: a click, then the second press.
    void doppioClic(int r) { doppioClicSu(griglia(), r); }
    static void doppioClicSu(QTableView* g, int r) {
        const QPoint punto = g->visualRect(g->model()->index(r, 2)).center();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, punto);
    }
    void gestisci(const QString& cf) {
        griglia()->selectRow(riga(cf));
        clic("cmdGestAllievo");
    }
    void compila(const QString& ore, const QString& partecipazione, const QString& giudizio,
                 const QString& motivo, const QString& credito) {
        scrivi("txt_OreAssenza", ore);
        scegli("cmbPartecipazione", partecipazione);
        scegli("cmbGiudizio", giudizio);
        if (!motivo.isEmpty())
            scegli("cmbMotivo", motivo);
        scrivi("txtCredFormValut", credito);
    }
};

const QString kNonSuperata = QStringLiteral("0 - Prova non superata o non sostenuta");
const QString kSuperata = QStringLiteral("8 - Prova superata");
const QString kNonPrevista = QStringLiteral("9 - Prova non prevista");

} // namespace

class TestFineCorAllievi : public QObject {
    Q_OBJECT
private slots:
    void serveIlCreditoDelCorso();
    void aperturaDalPulsante();
    void aperturaColDoppioClic();
    void frequenzaInsufficiente();
    void presenzaSegueLeAssenze();
    void giudizioEMotivo();
    void altraRigaNonCambiaLEditor();
    void partecipazioneNonPiuPresente();
    void apostrofi();
    void corsoChiusoAltroveNonRiceveAllievi();
    void annulla();
    void conteggiSeguonoGliAllievi();
    void focusDopoUnRifiuto();
    void creditoDelCorsoLettoAllaConferma();
    void corsoChiusoNonApreAllievi();
    void riaperturaMostraIDatiSalvati();
    void tastieraNellaGriglia();
    void motivoNonSpostaLaGriglia();
    void matricolaMancanteSegnata();
};

void TestFineCorAllievi::serveIlCreditoDelCorso() {
    Elenco e;
    e.scrivi("txtCredFormCorso", QString());
    e.tab()->setCurrentIndex(2);
    e.clic("cmdGestAllievo");
    QCOMPARE(e.ui().texts(),
             QStringList{QStringLiteral("Prima di compilare i dai dei singoli allievi occorre "
                                        "specificare il 'Credito Formativo (complessivo)' del "
                                        "corso.")});
    QCOMPARE(e.ui().last().title, ui::DefaultTitle);
    QCOMPARE(e.tab()->currentIndex(), 0);
    QVERIFY(e.editor()->isHidden());
    e.scrivi("txtCredFormCorso", QStringLiteral("0,00"));
    e.tab()->setCurrentIndex(2);
    e.doppioClic(0);
    QCOMPARE(e.ui().messages.size(), 2);
    QVERIFY(e.editor()->isHidden());
}

void TestFineCorAllievi::aperturaDalPulsante() {
    Elenco e;
    QCOMPARE(e.w<QLabel>("lblIstruzioni")->text(),
             QStringLiteral("Selezionare la riga e premere il pulsante 'Gestisci allievo' (oppure "
                            "doppio click sulla riga)"));
    e.gestisci(kBianchi);
    QVERIFY(e.ui().messages.isEmpty());
    QVERIFY(e.editor()->isVisible());
    QCOMPARE(e.editor()->title(), QStringLiteral("Allievo selezionato: Bianchi - Giuseppe"));
    QCOMPARE(e.box("txt_OreAssenza")->text(), QStringLiteral("0"));
    QCOMPARE(e.box("txtPresenzaEFF")->text(), QStringLiteral("40"));
    QCOMPARE(e.combo("cmbPartecipazione")->currentIndex(), 0);
    QCOMPARE(e.combo("cmbGiudizio")->currentIndex(), 0);
    QVERIFY(e.combo("cmbMotivo")->isHidden());
    QVERIFY(e.w("lblMotivo")->isHidden());
    QCOMPARE(e.box("txtCredFormValut")->text(), QString());
    QCOMPARE(e.combo("cmbPartecipazione")->count(), 4);
    QCOMPARE(e.combo("cmbGiudizio")->itemText(2), kSuperata);
    QCOMPARE(e.combo("cmbMotivo")->itemText(3), QStringLiteral("Allievo assente"));
}

void TestFineCorAllievi::aperturaColDoppioClic() {
    Elenco e;
    e.doppioClic(e.riga(kRossi));
    QVERIFY(e.editor()->isVisible());
    QCOMPARE(e.editor()->title(), QStringLiteral("Allievo selezionato: Rossi - Mario"));
}

void TestFineCorAllievi::frequenzaInsufficiente() {
    Elenco e;
    e.gestisci(kBianchi);
    e.compila("12", "Esecutivo", kNonSuperata, "Allievo ritirato", "0");
    e.clic("cmdConfer");
    QCOMPARE(e.ui().messages.size(), 1);
    QCOMPARE(e.ui().last().title,
             QStringLiteral("Mancato raggiungimento della frequenza minima (3/4)."));
    QVERIFY(e.ui().last().text.endsWith(QStringLiteral(
        "In questo caso la partecipazione deve essere 'Partecipazione parziale' o 'Assente'.")));
    QVERIFY(e.editor()->isVisible());
    QCOMPARE(e.allievo(kBianchi, "Giudizio").toString(), QStringLiteral(" "));

    e.scegli("cmbPartecipazione", QStringLiteral("Partecipazione parziale"));
    e.scrivi("txtCredFormValut", QStringLiteral("1"));
    e.clic("cmdConfer");
    QVERIFY(e.ui().last().text.endsWith(
        QStringLiteral("In questo caso il 'Credito Formativo Valutato' deve essere zero.")));

    e.scrivi("txtCredFormValut", QStringLiteral("0"));
    e.clic("cmdConfer");
    QCOMPARE(e.ui().messages.size(), 2);
    QVERIFY(e.editor()->isHidden());
    QCOMPARE(e.allievo(kBianchi, "OreAssenza").toInt(), 12);
    QCOMPARE(e.allievo(kBianchi, "OrePresenzaEffettiva").toInt(), 28);
    QCOMPARE(e.allievo(kBianchi, "codPartec").toInt(), 3);
    QCOMPARE(e.allievo(kBianchi, "DescPartec").toString(),
             QStringLiteral("Partecipazione parziale"));
    QCOMPARE(e.allievo(kBianchi, "Giudizio").toString(), QStringLiteral("0"));
    QCOMPARE(e.allievo(kBianchi, "DescizioneGiudizio").toString(),
             QStringLiteral("Allievo ritirato"));
    QCOMPARE(e.allievo(kBianchi, "CredFormValut").toDouble(), 0.0);
    // The list is reloaded and keeps the participant selected.
    QCOMPARE(e.cella(kBianchi, 6), QStringLiteral("12"));
    QCOMPARE(e.cella(kBianchi, 7), QStringLiteral("0"));
    QCOMPARE(e.cella(kBianchi, 8), QStringLiteral("Allievo ritirato"));
    QCOMPARE(e.griglia()->selectionModel()->selectedRows().value(0).row(), e.riga(kBianchi));
}

void TestFineCorAllievi::presenzaSegueLeAssenze() {
    Elenco e;
    e.gestisci(kBianchi);
    e.scrivi("txt_OreAssenza", QStringLiteral("12"));
    QCOMPARE(e.box("txtPresenzaEFF")->text(), QStringLiteral("28"));
    e.scrivi("txt_OreAssenza", QString());
    QCOMPARE(e.box("txtPresenzaEFF")->text(), QString());
    e.clic("cmdConfer");
    QCOMPARE(e.ui().texts(), QStringList{QStringLiteral("Indicare le ore di assenza.")});
    QCOMPARE(QApplication::focusWidget(), e.w("txt_OreAssenza"));
}

void TestFineCorAllievi::giudizioEMotivo() {
    Elenco e;
    e.gestisci(kRossi);
    e.scegli("cmbGiudizio", kNonSuperata);
    QVERIFY(e.combo("cmbMotivo")->isVisible());
    QVERIFY(e.w("lblMotivo")->isVisible());
    QCOMPARE(e.w<QLabel>("lblMotivo")->text(), QStringLiteral("Motivo"));
    e.scegli("cmbMotivo", QStringLiteral("Allievo assente"));
    e.scegli("cmbGiudizio", kSuperata);
    QVERIFY(e.combo("cmbMotivo")->isHidden());
    QCOMPARE(e.combo("cmbMotivo")->currentText(), QString());
    e.scegli("cmbGiudizio", kNonSuperata);
    QCOMPARE(e.combo("cmbMotivo")->currentText(), QString());

    // "Allievo assente" with no absence is refused.
    e.compila("0", "Assente", kNonSuperata, "Allievo assente", "0");
    e.clic("cmdConfer");
    QCOMPARE(e.ui().texts(),
             QStringList{QStringLiteral("Se per il motivo la voce scelta è 'Allievo assente', "
                                        "allora occorre valorizzare le ore di assenza.")});
    QCOMPARE(e.ui().last().title, ui::DefaultTitle);
    QVERIFY(e.allievo(kRossi, "DescizioneGiudizio").isNull());
}

void TestFineCorAllievi::altraRigaNonCambiaLEditor() {
    Elenco e;
    e.gestisci(kBianchi);
    e.compila("10", "Esecutivo", kSuperata, "", "2,5");
    e.griglia()->selectRow(e.riga(kDAngelo));
    QTest::mouseClick(
        e.griglia()->viewport(), Qt::LeftButton, {},
        e.griglia()->visualRect(e.griglia()->model()->index(e.riga(kRossi), 3)).center());
    QCOMPARE(e.editor()->title(), QStringLiteral("Allievo selezionato: Bianchi - Giuseppe"));
    QCOMPARE(e.box("txt_OreAssenza")->text(), QStringLiteral("10"));
    QCOMPARE(e.box("txtCredFormValut")->text(), QStringLiteral("2,5"));
    e.clic("cmdConfer");
    QVERIFY(e.ui().messages.isEmpty());
    QCOMPARE(e.allievo(kBianchi, "Giudizio").toString(), QStringLiteral("8"));
    QCOMPARE(e.allievo(kBianchi, "CredFormValut").toDouble(), 2.5);
    QCOMPARE(e.allievo(kRossi, "Giudizio").toString(), QStringLiteral(" "));
    QCOMPARE(e.allievo(kDAngelo, "Giudizio").toString(), QStringLiteral(" "));
}

void TestFineCorAllievi::partecipazioneNonPiuPresente() {
    Elenco e([](db::Connection& db) {
        db.exec(QStringLiteral("UPDATE KELDAnagFreq SET codPartec=2, DescPartec='Partecipazione "
                               "senza verifica', Giudizio='8', CredFormValut=1.5, OreAssenza=6 "
                               "WHERE CodFiscale=?"),
                {kRossi});
    });
    e.gestisci(kRossi);
    QCOMPARE(e.ui().texts(),
             QStringList{QStringLiteral("Era stata indicata una voce ora non più presente ( "
                                        "Partecipazione senza verifica)")});
    QCOMPARE(e.combo("cmbPartecipazione")->currentIndex(), 0);
    QCOMPARE(e.combo("cmbGiudizio")->currentText(), kSuperata);
    QCOMPARE(e.box("txtCredFormValut")->text(), QStringLiteral("1,5"));
    QCOMPARE(e.box("txt_OreAssenza")->text(), QStringLiteral("6"));
    QCOMPARE(e.box("txtPresenzaEFF")->text(), QStringLiteral("34"));
    e.clic("cmdConfer");
    QCOMPARE(e.ui().last().text, QStringLiteral("Indicare la partecipazione."));
    QCOMPARE(QApplication::focusWidget(), e.w("cmbPartecipazione"));
    QCOMPARE(e.allievo(kRossi, "codPartec").toInt(), 2);
    e.scegli("cmbPartecipazione", QStringLiteral("Esecutivo"));
    e.clic("cmdConfer");
    QCOMPARE(e.ui().messages.size(), 2);
    QCOMPARE(e.allievo(kRossi, "codPartec").toInt(), 1);
}

void TestFineCorAllievi::apostrofi() {
    const QString cf = QStringLiteral("DNG'NN80A41'326");
    Elenco e([&](db::Connection& db) {
        db.exec(QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, "
                               "Sesso, Giudizio) VALUES (41235, ?, 'D''Annunzio', 'Anna', 'F', "
                               "' ')"),
                {cf});
    });
    e.gestisci(kDAngelo);
    QCOMPARE(e.editor()->title(), QStringLiteral("Allievo selezionato: D'Angelo - Lucia"));
    e.compila("4", "Esecutivo", kNonPrevista, "", "1,25");
    e.clic("cmdConfer");
    QVERIFY(e.ui().messages.isEmpty());
    QCOMPARE(e.allievo(kDAngelo, "Giudizio").toString(), QStringLiteral("9"));
    QCOMPARE(e.allievo(kDAngelo, "CredFormValut").toDouble(), 1.25);

    e.gestisci(cf);
    QCOMPARE(e.editor()->title(), QStringLiteral("Allievo selezionato: D'Annunzio - Anna"));
    e.compila("2", "Esecutivo", kNonPrevista, "", "1");
    e.clic("cmdConfer");
    QVERIFY(e.ui().messages.isEmpty());
    QCOMPARE(e.allievo(cf, "Giudizio").toString(), QStringLiteral("9"));
    QCOMPARE(e.allievo(cf, "OreAssenza").toInt(), 2);
    QCOMPARE(e.allievo(kDAngelo, "OreAssenza").toInt(), 4);
    QCOMPARE(e.cella(cf, 2), QStringLiteral("D'Annunzio"));
}

void TestFineCorAllievi::corsoChiusoAltroveNonRiceveAllievi() {
    Elenco e;
    e.gestisci(kDAngelo);
    e.compila("4", "Esecutivo", kNonPrevista, "", "1,25");
    {
        // Meanwhile another workstation closes the course.
        db::Connection altra;
        altra.open(e.inst.database(), Session::databasePassword(), db::OpenMode::Shared);
        altra.exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato='CHIUSO' WHERE IdAttivita=41235"));
    }
    e.clic("cmdConfer");
    QCOMPARE(e.ui().messages.size(), 1);
    QCOMPARE(e.ui().last().title, QStringLiteral("Conferma dati allievo"));
    QVERIFY(e.ui().last().text.contains(QStringLiteral("modificato da un'altra postazione")));
    QVERIFY(e.allievo(kDAngelo, "Giudizio").toString() != QStringLiteral("9"));
    // The form shows the closed course: participants locked.
    QCOMPARE(e.w<QLabel>("lblSTATO")->text(), QStringLiteral("CHIUSO"));
    QVERIFY(!e.w("cmdGestAllievo")->isEnabled());
    QVERIFY(e.editor()->isHidden());
}

void TestFineCorAllievi::annulla() {
    Elenco e;
    e.gestisci(kBianchi);
    e.compila("10", "Esecutivo", kSuperata, "", "2,5");
    e.clic("cmdAnnulla");
    QVERIFY(e.editor()->isHidden());
    QVERIFY(e.ui().messages.isEmpty());
    QCOMPARE(e.allievo(kBianchi, "Giudizio").toString(), QStringLiteral(" "));
    QVERIFY(e.allievo(kBianchi, "OreAssenza").isNull());
}

void TestFineCorAllievi::conteggiSeguonoGliAllievi() {
    Elenco e(
        [](db::Connection& db) {
            db.exec(
                QStringLiteral("INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, "
                               "ProgrAttivita, DenCorso, DataInizioGG, DataInizioMM, "
                               "DataInizioAAAA, TotIter, Stato, CodSubAsse) VALUES (50001, "
                               "'A', 123, 9, 'Prova', '01', '02', '2019', 40, 'APERTO', '01')"));
            db.exec(QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, "
                                   "Nome, Sesso, Giudizio) VALUES (50001, 'M1', 'Alfa', 'Aldo', "
                                   "'M', ' '), (50001, 'F1', 'Beta', 'Bice', 'F', ' ')"));
        },
        50001);
    QCOMPARE(e.box("txt_maschi")->text(), QStringLiteral("1"));
    QCOMPARE(e.box("txt_maschi_ammessi")->text(), QStringLiteral("0"));
    e.gestisci(QStringLiteral("M1"));
    e.compila("0", "Esecutivo", kNonPrevista, "", "0");
    e.clic("cmdConfer");
    QVERIFY(e.ui().messages.isEmpty());
    const QList<QPair<const char*, const char*>> attesi = {
        {"txt_maschi", "1"},  {"txt_maschi_ammessi", "1"},  {"txt_maschi_idonei", "0"},
        {"txt_femmine", "1"}, {"txt_femmine_ammesse", "0"}, {"txt_femmine_idonee", "0"}};
    for (const auto& [box, valore] : attesi)
        QCOMPARE(e.box(box)->text(), QString::fromLatin1(valore));
}

void TestFineCorAllievi::focusDopoUnRifiuto() {
    Elenco e;
    e.gestisci(kBianchi);
    e.compila("10", "Esecutivo", kSuperata, "", "2,30");
    e.clic("cmdConfer");
    QCOMPARE(e.ui().last().text,
             QStringLiteral("Il valore dei decimali del credito formativo valutato non è corretto "
                            "(i valori ammessi sono ,00 ,25, 50, 75) "));
    QCOMPARE(e.ui().last().title, QStringLiteral("Dati incoerenti o incompleti"));
    QCOMPARE(e.ui().last().icon, ui::Icon::Information);
    QCOMPARE(QApplication::focusWidget(), e.w("txtCredFormValut"));
    e.scrivi("txtCredFormValut", QStringLiteral("5,25"));
    e.clic("cmdConfer");
    QCOMPARE(e.ui().last().text,
             QStringLiteral("Il credito formativo valutato deve essere compreso tra i valori 0 e "
                            "5."));
    e.scegli("cmbGiudizio", QString());
    e.clic("cmdConfer");
    QCOMPARE(e.ui().last().text, QStringLiteral("Indicare il giudizio."));
    QCOMPARE(QApplication::focusWidget(), e.w("cmbGiudizio"));
    e.scrivi("txt_OreAssenza", QStringLiteral("11"));
    e.clic("cmdConfer");
    QCOMPARE(e.ui().last().text, QStringLiteral("Le ore di assenza non possono essere dispari."));
    QCOMPARE(e.ui().messages.size(), 4);
}

void TestFineCorAllievi::creditoDelCorsoLettoAllaConferma() {
    Elenco e;
    e.gestisci(kBianchi);
    e.compila("10", "Esecutivo", kSuperata, "", "3,75");
    e.clic("cmdConfer");
    QCOMPARE(e.ui().last().text, QStringLiteral("Il credito formativo valutato non puo' superare "
                                                "il Il credito formativo del corso."));
    e.scrivi("txtCredFormCorso", QStringLiteral("4"));
    e.tab()->setCurrentIndex(2);
    e.clic("cmdConfer");
    QCOMPARE(e.ui().messages.size(), 1);
    QCOMPARE(e.allievo(kBianchi, "CredFormValut").toDouble(), 3.75);
}

void TestFineCorAllievi::corsoChiusoNonApreAllievi() {
    BancoFineCor b;
    b.apri(41238);
    auto* griglia = b.w<QTableView>("grdDomande");
    QCOMPARE(griglia->model()->rowCount(), 2);
    QVERIFY(!griglia->isEnabled());
    QVERIFY(!b.w("cmdGestAllievo")->isEnabled());
    Elenco::doppioClicSu(griglia, 0);
    QVERIFY(b.w("FrameDettaglio")->isHidden());
}

void TestFineCorAllievi::riaperturaMostraIDatiSalvati() {
    Elenco e;
    e.gestisci(kBianchi);
    e.compila("12", "Partecipazione parziale", kNonSuperata, "Altro", "0");
    e.clic("cmdConfer");
    QVERIFY(e.ui().messages.isEmpty());
    e.gestisci(kBianchi);
    QCOMPARE(e.box("txt_OreAssenza")->text(), QStringLiteral("12"));
    QCOMPARE(e.box("txtPresenzaEFF")->text(), QStringLiteral("28"));
    QCOMPARE(e.combo("cmbPartecipazione")->currentText(),
             QStringLiteral("Partecipazione parziale"));
    QCOMPARE(e.combo("cmbGiudizio")->currentText(), kNonSuperata);
    QVERIFY(e.combo("cmbMotivo")->isVisible());
    QCOMPARE(e.combo("cmbMotivo")->currentText(), QStringLiteral("Altro"));
    QCOMPARE(e.box("txtCredFormValut")->text(), QStringLiteral("0"));
    QCOMPARE(e.box("txt_maschi_idonei")->text(), QStringLiteral("1"));
}

// Return opens the current row; Tab and Shift+Tab leave the list. After a
// closing refused for an unhandled participant, Return opens that one, and
// storing it takes the mark off the list.
void TestFineCorAllievi::tastieraNellaGriglia() {
    Elenco e([](db::Connection& db) {
        db.exec(QStringLiteral("UPDATE KELDAnagFreq SET Giudizio='8', OreAssenza=4, codPartec=1, "
                               "DescPartec='Esecutivo', CredFormValut=2 WHERE CodFiscale<>?"),
                {kDAngelo});
    });
    QTableView* g = e.griglia();
    for (const auto& [tasto, modificatore] :
         {std::pair{Qt::Key_Tab, Qt::NoModifier}, std::pair{Qt::Key_Backtab, Qt::ShiftModifier}}) {
        g->setFocus();
        g->setCurrentIndex(g->model()->index(e.riga(kRossi), 2));
        QTest::keyClick(g, tasto, modificatore);
        QWidget* ora = QApplication::focusWidget();
        QVERIFY(ora && ora != g && !g->isAncestorOf(ora));
        QCOMPARE(g->currentIndex().row(), e.riga(kRossi));
    }
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Return);
    QCOMPARE(e.editor()->title(), QStringLiteral("Allievo selezionato: Rossi - Mario"));
    e.clic("cmdAnnulla");

    e.tab()->setCurrentIndex(0);
    e.classifica();
    e.data(QStringLiteral("20"), QStringLiteral("12"), QStringLiteral("2018"));
    e.clic("cmdChiudi");
    QCOMPARE(QApplication::focusWidget(), g);
    QVERIFY(report::segnalato(g));
    QTest::keyClick(g, Qt::Key_Return);
    QCOMPARE(e.editor()->title(), QStringLiteral("Allievo selezionato: D'Angelo - Lucia"));
    e.compila(QStringLiteral("4"), QStringLiteral("Esecutivo"), kSuperata, QString(),
              QStringLiteral("2"));
    e.clic("cmdConfer");
    QCOMPARE(e.allievo(kDAngelo, "Giudizio").toString(), QStringLiteral("8"));
    QVERIFY(!report::segnalato(g));
}

void TestFineCorAllievi::motivoNonSpostaLaGriglia() {
    Elenco e;
    e.gestisci(kRossi);
    QCoreApplication::processEvents();
    const QRect griglia = e.griglia()->geometry();
    const QPoint conferma = e.w("cmdConfer")->pos();
    e.scegli("cmbGiudizio", kNonSuperata);
    QVERIFY(e.w("cmbMotivo")->isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(e.griglia()->geometry(), griglia);
    QCOMPARE(e.w("cmdConfer")->pos(), conferma);
}

// An enrolment number stored as "null" is an empty cell with the warning mark.
void TestFineCorAllievi::matricolaMancanteSegnata() {
    Elenco e({}, 41236);
    const QString colombo = QStringLiteral("CLMSRA88H60A326U");
    const QModelIndex mancante = e.griglia()->model()->index(e.riga(colombo), 5);
    QCOMPARE(mancante.data().toString(), QString());
    QVERIFY(!mancante.data(Qt::DecorationRole).isNull());
    QVERIFY(mancante.data(Qt::ToolTipRole).toString().contains(QStringLiteral("- Colombo Sara")));
    const QModelIndex presente =
        e.griglia()->model()->index(e.riga(QStringLiteral("FRRLGU75E15A326V")), 5);
    QCOMPARE(presente.data().toString(), QStringLiteral("2001"));
    QVERIFY(presente.data(Qt::DecorationRole).isNull());
}

KORVADIN_TEST_MAIN(TestFineCorAllievi)
#include "tst_finecorallievi.moc"
