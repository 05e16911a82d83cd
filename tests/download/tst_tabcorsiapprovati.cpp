#include "TestSupport.h"

#include "download/TabCorsiApprovati.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

using download::TabCorsiApprovati;

// The course chooser as the user meets it, on the demo database: agency A/123
// with courses 41235..41239 in the states APERTO, APERTO, APERTO, CHIUSO,
// TRASMESSO.
class TestTabCorsiApprovati : public QObject {
    Q_OBJECT

    // A fresh demo installation for every test; nuova() starts another one.
    std::unique_ptr<TestInstallation> inst;
    Session& s() { return inst->sessione(); }
    void nuova() { inst = std::make_unique<TestInstallation>(); }

private slots:
    void init() { nuova(); }
    void cleanup() { inst.reset(); }

    void fineCorsoElencaTuttiSenzaMostraTrasmessi();
    void grigliaLeggibileEInModificabile();
    void filtroPerStato_data();
    void filtroPerStato();
    void matricoleMancantiSegnalate();
    void trasmissioneConSoliCorsiAperti();
    void mostraTrasmessiEConfermaDelTrasmesso();
    void mostraTrasmessiAbilitaLaConferma();
    void chiusoConfermatoInTrasmissione();
    void apertoRifiutatoInTrasmissione();
    void fineCorsoConfermaQualunqueStato();
    void nessunaRigaCorrente();
    void ricercaSenzaRisultatoTieneLaRiga();
    void ricercaParteDallaPrimaRiga();
    void ricercaConApostrofoEPercento();
    void ricercaLungaQuantoLaDenominazione();
    void ricercaVuotaNonFaNulla();
    void invioConfermaEscAnnulla();
    void invioNellaRicercaCerca();
    void doppioClicConferma();
    void annullaNonSceglie();
    void erroreInAperturaRiprova();
    void erroreInAperturaAnnulla();

private:
    static std::unique_ptr<TabCorsiApprovati> apri(Session& s, const QString& tipo) {
        s.TipoOperazione = tipo;
        s.CorsoSelezionato = 0;
        auto dialogo = std::make_unique<TabCorsiApprovati>(s);
        dialogo->show();
        QCoreApplication::processEvents();
        return dialogo;
    }
    static void imposta(Session& s, qint32 id, const char* stato) {
        s.CorsiDB().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato = ? WHERE IdAttivita = ?"),
                         {QLatin1String(stato), id});
    }
};

const QString kNessuno = QStringLiteral("Nessun Corso Approvato scaricato. Impossibile "
                                        "selezionarne uno");

void TestTabCorsiApprovati::fineCorsoElencaTuttiSenzaMostraTrasmessi() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    QCOMPARE(d->windowTitle(), QStringLiteral("Elenco Corsi Approvati e Finanziati"));
    QCOMPARE(d->righe(), 5);
    QVERIFY(figlio<QPushButton>(d.get(), "cmdMostraTutti")->isHidden());
    QVERIFY(figlio<QPushButton>(d.get(), "cmdSele2")->isEnabled());
    QCOMPARE(figlio<QPushButton>(d.get(), "cmdSele2")->text(), QStringLiteral("Conferma"));
    QCOMPARE(figlio<QPushButton>(d.get(), "cmdEsci2")->text(), QStringLiteral("Annulla"));
    QCOMPARE(figlio<QPushButton>(d.get(), "cmdCerca2")->text(), QStringLiteral("Cerca"));
    // The first row is current, and nothing was said.
    QCOMPARE(d->idCorrente(), 41235);
    QCoreApplication::processEvents();
    QVERIFY(inst->interaction.messages.isEmpty());
}

void TestTabCorsiApprovati::grigliaLeggibileEInModificabile() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    auto* griglia = figlio<QTableView>(d.get(), "GrdCorsi");
    QAbstractItemModel* m = griglia->model();
    QCOMPARE(m->columnCount(), 27);
    QCOMPARE(m->rowCount(), 5);
    // Headings are words, not column names; the title column is wide.
    QCOMPARE(m->headerData(6, Qt::Horizontal).toString(), QStringLiteral("Denominazione corso"));
    QCOMPARE(m->headerData(26, Qt::Horizontal).toString(), QStringLiteral("Stato"));
    QVERIFY(griglia->columnWidth(6) > 2 * griglia->columnWidth(3));
    QCOMPARE(m->index(1, 6).data().toString(), QStringLiteral("Tecniche di saldatura"));
    QCOMPARE(m->index(3, 26).data().toString(), QStringLiteral("CHIUSO"));
    // First, where each course stands: in words, on a colour of its own.
    QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Stato corso"));
    const QStringList parole = {"Da compilare", "Da compilare", "Da compilare", "Da trasmettere",
                                "Trasmesso"};
    QSet<QRgb> colori;
    for (int r = 0; r < 5; ++r) {
        QCOMPARE(m->index(r, 0).data().toString(), parole.at(r));
        colori << m->index(r, 0).data(Qt::BackgroundRole).value<QBrush>().color().rgb();
    }
    QCOMPARE(colori.size(), 3);
    // Read-only: no edit starts, the model refuses edits.
    QCOMPARE(griglia->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(m->flags(m->index(0, 4)) & Qt::ItemIsEditable));
    griglia->edit(m->index(0, 4));
    QVERIFY(griglia->indexWidget(m->index(0, 4)) == nullptr);
    QVERIFY(griglia->findChildren<QLineEdit*>().isEmpty());
}

void TestTabCorsiApprovati::filtroPerStato_data() {
    QTest::addColumn<QString>("opzione");
    QTest::addColumn<QList<qint32>>("corsi");
    QTest::newRow("tutti") << "optTutti" << QList<qint32>{41235, 41236, 41237, 41238, 41239};
    QTest::newRow("da compilare") << "optAperti" << QList<qint32>{41235, 41236, 41237};
    QTest::newRow("da trasmettere") << "optChiusi" << QList<qint32>{41238};
    QTest::newRow("trasmessi") << "optTrasmessi" << QList<qint32>{41239};
}

// Demo set with every state; the filter counts all of them and is remembered.
void TestTabCorsiApprovati::filtroPerStato() {
    QFETCH(QString, opzione);
    QFETCH(QList<qint32>, corsi);
    for (int volta = 0; volta < 2; ++volta) {
        auto d = apri(s(), QStringLiteral("FINECORSO"));
        const QStringList testi = {"Tutti (5)", "Da compilare (3)", "Da trasmettere (1)",
                                   "Trasmessi (1)"};
        const auto opzioni = figlio<QGroupBox>(d.get(), "fraStato")->findChildren<QRadioButton*>();
        QCOMPARE(opzioni.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(opzioni.at(i)->text(), testi.at(i));
        auto* scelta = figlio<QRadioButton>(d.get(), opzione);
        if (volta == 0)
            QTest::mouseClick(scelta, Qt::LeftButton);
        QVERIFY(scelta->isChecked());
        QAbstractItemModel* m = figlio<QTableView>(d.get(), "GrdCorsi")->model();
        QList<qint32> elencati;
        for (int r = 0; r < d->righe(); ++r)
            elencati << qint32(m->index(r, 2).data().toLongLong());
        QCOMPARE(elencati, corsi);
        QVERIFY(figlio<QPushButton>(d.get(), "cmdSele2")->isEnabled());
    }
}

void TestTabCorsiApprovati::matricoleMancantiSegnalate() {
    s().CorsiDB().exec(QStringLiteral("UPDATE KELDAnagFreq SET Matricola = 'NULL' WHERE "
                                      "CodFiscale = 'FRRLGU75E15A326V'"));
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    QAbstractItemModel* m = figlio<QTableView>(d.get(), "GrdCorsi")->model();
    for (int r = 0; r < 5; ++r) {
        const QModelIndex segno = m->index(r, 1);
        const bool mancano = r == 1; // 41236: Colombo Sara and Ferrari Luigi
        QCOMPARE(segno.data(Qt::DecorationRole).isNull(), !mancano);
        QCOMPARE(segno.data(Qt::ToolTipRole).isNull(), !mancano);
    }
    QCOMPARE(m->index(1, 1).data().toString(), QStringLiteral("2 mancanti"));
    const QString avviso = m->index(1, 1).data(Qt::ToolTipRole).toString();
    QVERIFY2(avviso.contains(QStringLiteral("- Colombo Sara\n- Ferrari Luigi")),
             qPrintable(avviso));
    QVERIFY(avviso.contains(QStringLiteral("effettuare di nuovo lo scarico dei Corsi")));
}

void TestTabCorsiApprovati::trasmissioneConSoliCorsiAperti() {
    imposta(s(), 41238, "APERTO");
    imposta(s(), 41239, "APERTO");
    auto d = apri(s(), QStringLiteral("TRASMISSIONE"));
    QTRY_COMPARE(inst->interaction.messages.size(), 1);
    // The transmission list keeps its own filter: no state filter beside it.
    QVERIFY(figlio<QGroupBox>(d.get(), "fraStato")->isHidden());
    const ui::Message m = inst->interaction.last();
    QCOMPARE(m.text, kNessuno);
    QCOMPARE(m.title, QStringLiteral("Corsi Approvati"));
    QCOMPARE(m.icon, ui::Icon::Warning);
    QCOMPARE(d->righe(), 0);
    auto* conferma = figlio<QPushButton>(d.get(), "cmdSele2");
    QVERIFY(!conferma->isEnabled());
    QVERIFY(figlio<QPushButton>(d.get(), "cmdMostraTutti")->isVisible());
    // Enter confirms nothing and the dialog stays.
    QTest::keyClick(figlio<QTableView>(d.get(), "GrdCorsi"), Qt::Key_Return);
    QVERIFY(d->isVisible());
    QCOMPARE(s().CorsoSelezionato, 0);
    QCOMPARE(inst->interaction.messages.size(), 1);
}

void TestTabCorsiApprovati::mostraTrasmessiEConfermaDelTrasmesso() {
    auto d = apri(s(), QStringLiteral("TRASMISSIONE"));
    QCOMPARE(d->righe(), 1);
    QCOMPARE(d->idCorrente(), 41238);
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdMostraTutti"), Qt::LeftButton);
    QCOMPARE(d->righe(), 2);
    QVERIFY(d->vaiA(41239));

    inst->interaction.answers = {ui::Answer::No};
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdSele2"), Qt::LeftButton);
    QCOMPARE(inst->interaction.messages.size(), 1);
    const ui::Message m = inst->interaction.last();
    QCOMPARE(m.text,
             QStringLiteral("E' stato selezionato un corso già 'TRASMESSO'.\nSi evidenzia che "
                            "questa operazione deve avvenire solo in casi eccezionali concordati "
                            "con l'assistenza.\nProcedere con la trasmissione?"));
    QCOMPARE(m.title, QStringLiteral("Corso già trasmesso, 'richiesta conferma'"));
    QCOMPARE(m.buttons, ui::Buttons::YesNo);
    // No: still open, nothing chosen.
    QVERIFY(d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QCOMPARE(s().CorsoSelezionato, 0);

    inst->interaction.answers = {ui::Answer::Yes};
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdSele2"), Qt::LeftButton);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(s().CorsoSelezionato, 41239);
    QCOMPARE(s().corso.IdAttivita, 41239);
    QCOMPARE(s().corso.DenCorso, QStringLiteral("Informatica di base"));
    QCOMPARE(s().corso.ProgrAttivita, QStringLiteral("5"));
    QCOMPARE(s().corso.TotIter, 80);
    QCOMPARE(s().corso.CodSubAsse, QStringLiteral("05"));
}

void TestTabCorsiApprovati::mostraTrasmessiAbilitaLaConferma() {
    imposta(s(), 41238, "APERTO"); // no closed course left, one transmitted
    auto d = apri(s(), QStringLiteral("TRASMISSIONE"));
    QTRY_COMPARE(inst->interaction.messages.size(), 1);
    auto* conferma = figlio<QPushButton>(d.get(), "cmdSele2");
    QVERIFY(!conferma->isEnabled());
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdMostraTutti"), Qt::LeftButton);
    QCOMPARE(d->righe(), 1);
    QVERIFY(conferma->isEnabled());
    QCOMPARE(d->idCorrente(), 41239);
    inst->interaction.answers = {ui::Answer::Yes};
    QTest::mouseClick(conferma, Qt::LeftButton);
    QCOMPARE(s().CorsoSelezionato, 41239);
}

void TestTabCorsiApprovati::chiusoConfermatoInTrasmissione() {
    auto d = apri(s(), QStringLiteral("TRASMISSIONE"));
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdSele2"), Qt::LeftButton);
    QVERIFY(inst->interaction.messages.isEmpty());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(s().CorsoSelezionato, 41238);
    QCOMPARE(s().corso.DenCorso, QStringLiteral("Lingua inglese per il turismo"));
    QCOMPARE(s().corso.TotIter, 60);
    QCOMPARE(s().corso.CodSubAsse, QStringLiteral("01"));
}

void TestTabCorsiApprovati::apertoRifiutatoInTrasmissione() {
    auto d = apri(s(), QStringLiteral("TRASMISSIONE"));
    QCOMPARE(d->idCorrente(), 41238);
    // Meanwhile the course was reopened (from another workstation).
    imposta(s(), 41238, "APERTO");
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdSele2"), Qt::LeftButton);
    QCOMPARE(inst->interaction.messages.size(), 1);
    const ui::Message m = inst->interaction.last();
    QCOMPARE(m.text, QStringLiteral("E' possibile effettuare la trasmissione del fine corso solo "
                                    "per attività con stato 'CHIUSO' (o, in casi eccezionali "
                                    "concordati con l'assistenza, già 'TRASMESSO')"));
    QCOMPARE(m.icon, ui::Icon::None);
    QCOMPARE(m.title, QString());
    QVERIFY(d->isVisible());
    QCOMPARE(s().CorsoSelezionato, 0);
}

void TestTabCorsiApprovati::fineCorsoConfermaQualunqueStato() {
    for (qint32 id : {41236, 41238, 41239}) {
        nuova();
        auto d = apri(s(), QStringLiteral("FINECORSO"));
        QVERIFY(d->vaiA(id));
        QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdSele2"), Qt::LeftButton);
        QVERIFY(inst->interaction.messages.isEmpty());
        QCOMPARE(s().CorsoSelezionato, id);
        QCOMPARE(s().corso.IdAttivita, id);
    }
}

void TestTabCorsiApprovati::nessunaRigaCorrente() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    figlio<QTableView>(d.get(), "GrdCorsi")->setCurrentIndex(QModelIndex());
    QCOMPARE(d->idCorrente(), 0);
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdSele2"), Qt::LeftButton);
    QCOMPARE(inst->interaction.messages.size(), 1);
    QCOMPARE(inst->interaction.last().text,
             QStringLiteral("Selezionare un Corso nella griglia oppure Uscire"));
    QCOMPARE(inst->interaction.last().icon, ui::Icon::Warning);
    QVERIFY(d->isVisible());
    QCOMPARE(s().CorsoSelezionato, 0);
}

void TestTabCorsiApprovati::ricercaSenzaRisultatoTieneLaRiga() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    QVERIFY(d->vaiA(41237));
    figlio<QLineEdit>(d.get(), "txtRicDenom")->setText(QStringLiteral("astronomia"));
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdCerca2"), Qt::LeftButton);
    QCOMPARE(inst->interaction.messages.size(), 1);
    QCOMPARE(inst->interaction.last().text, QStringLiteral("Nessun corso trovato"));
    QCOMPARE(inst->interaction.last().title, QStringLiteral("Ricerca Corso"));
    QCOMPARE(inst->interaction.last().icon, ui::Icon::Warning);
    QCOMPARE(d->idCorrente(), 41237);
}

void TestTabCorsiApprovati::ricercaParteDallaPrimaRiga() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    QVERIFY(d->vaiA(41239)); // "Informatica di base"
    figlio<QLineEdit>(d.get(), "txtRicDenom")->setText(QStringLiteral("DI BASE"));
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdCerca2"), Qt::LeftButton);
    QVERIFY(inst->interaction.messages.isEmpty());
    QCOMPARE(d->idCorrente(), 41235); // "Addetto alla contabilità di base", first row
}

void TestTabCorsiApprovati::ricercaConApostrofoEPercento() {
    const QString sql = QStringLiteral("INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, "
                                       "ProgrAttivita, DenCorso, Stato) VALUES (?,?,?,?,?,?)");
    s().CorsiDB().exec(sql,
                       {80001, QStringLiteral("A"), 123, 6,
                        QStringLiteral("Sconto del 100% sulle tasse"), QStringLiteral("APERTO")});
    s().CorsiDB().exec(sql, {80002, QStringLiteral("A"), 123, 7,
                             QStringLiteral("Cucina dell'Aosta"), QStringLiteral("APERTO")});
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    auto* testo = figlio<QLineEdit>(d.get(), "txtRicDenom");
    auto* cerca = figlio<QPushButton>(d.get(), "cmdCerca2");
    testo->setText(QStringLiteral("dell'Aosta"));
    QTest::mouseClick(cerca, Qt::LeftButton);
    QCOMPARE(d->idCorrente(), 80002);
    testo->setText(QStringLiteral("%"));
    QTest::mouseClick(cerca, Qt::LeftButton);
    QCOMPARE(d->idCorrente(), 80001);
    testo->setText(QStringLiteral("0%s"));
    QTest::mouseClick(cerca, Qt::LeftButton);
    QCOMPARE(inst->interaction.texts(), QStringList{QStringLiteral("Nessun corso trovato")});
    QCOMPARE(d->idCorrente(), 80001);
}

void TestTabCorsiApprovati::ricercaLungaQuantoLaDenominazione() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    auto* testo = figlio<QLineEdit>(d.get(), "txtRicDenom");
    // Pasted text is cut to the width of DenCorso and searched as it is.
    testo->setFocus();
    testo->insert(QString(32767, QChar(0xE0)));
    QCOMPARE(testo->text().size(), 255);
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdCerca2"), Qt::LeftButton);
    QCOMPARE(inst->interaction.texts(), QStringList{QStringLiteral("Nessun corso trovato")});
    testo->setText(QStringLiteral("CONTABILITÀ"));
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdCerca2"), Qt::LeftButton);
    QCOMPARE(inst->interaction.messages.size(), 1);
    QCOMPARE(d->idCorrente(), 41235); // "Addetto alla contabilità di base"
}

void TestTabCorsiApprovati::ricercaVuotaNonFaNulla() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    QVERIFY(d->vaiA(41238));
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdCerca2"), Qt::LeftButton);
    QVERIFY(inst->interaction.messages.isEmpty());
    QCOMPARE(d->idCorrente(), 41238);
}

void TestTabCorsiApprovati::invioConfermaEscAnnulla() {
    {
        auto d = apri(s(), QStringLiteral("FINECORSO"));
        auto* griglia = figlio<QTableView>(d.get(), "GrdCorsi");
        QTest::keyClick(griglia, Qt::Key_Down);
        QTest::keyClick(griglia, Qt::Key_Down);
        QCOMPARE(d->idCorrente(), 41237);
        QTest::keyClick(griglia, Qt::Key_Return);
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(s().CorsoSelezionato, 41237);
    }
    {
        nuova();
        auto d = apri(s(), QStringLiteral("FINECORSO"));
        QTest::keyClick(figlio<QTableView>(d.get(), "GrdCorsi"), Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(s().CorsoSelezionato, 0);
    }
}

void TestTabCorsiApprovati::invioNellaRicercaCerca() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    auto* testo = figlio<QLineEdit>(d.get(), "txtRicDenom");
    QTest::keyClicks(testo, QStringLiteral("saldatura"));
    QTest::keyClick(testo, Qt::Key_Return);
    QCOMPARE(d->idCorrente(), 41236);
    QVERIFY(d->isVisible());
    QCOMPARE(s().CorsoSelezionato, 0);
}

void TestTabCorsiApprovati::doppioClicConferma() {
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    auto* griglia = figlio<QTableView>(d.get(), "GrdCorsi");
    const QRect riga = griglia->visualRect(griglia->model()->index(3, 4));
    QVERIFY(riga.isValid());
    // The first click of the pair selects the row, the second one confirms it.
    QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, riga.center());
    QCOMPARE(d->idCorrente(), 41238);
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QTest::mouseDClick(griglia->viewport(), Qt::LeftButton, {}, riga.center());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(s().CorsoSelezionato, 41238);
}

void TestTabCorsiApprovati::annullaNonSceglie() {
    auto d = apri(s(), QStringLiteral("TRASMISSIONE"));
    QTest::mouseClick(figlio<QPushButton>(d.get(), "cmdEsci2"), Qt::LeftButton);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QCOMPARE(s().CorsoSelezionato, 0);
}

void TestTabCorsiApprovati::erroreInAperturaRiprova() {
    s().CorsiDB().close();
    inst->interaction.handler = [this](const ui::Message& m) {
        if (m.buttons == ui::Buttons::RetryCancel)
            s().CorsiDB().open(s().PercorsoDB, Session::databasePassword(), db::OpenMode::Shared);
        return m.answer;
    };
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    QVERIFY(!inst->interaction.messages.isEmpty());
    const ui::Message m = inst->interaction.messages.first();
    QCOMPARE(m.title, QStringLiteral("TabCorsiApprovati"));
    QCOMPARE(m.buttons, ui::Buttons::RetryCancel);
    QCOMPARE(m.icon, ui::Icon::Warning);
    QVERIFY(m.text.startsWith(QStringLiteral("Errore ")));
    QVERIFY(m.text.endsWith(QStringLiteral("\n\nSi è verificato un errore imprevisto,scegliere "
                                           "riprova per ritentare l'operazione.")));
    // Retry read the courses once the database was there again.
    QCOMPARE(d->righe(), 5);
    QCoreApplication::processEvents();
    QCOMPARE(inst->interaction.messages.size(), 1);
}

void TestTabCorsiApprovati::erroreInAperturaAnnulla() {
    s().CorsiDB().close();
    inst->interaction.answers = {ui::Answer::Cancel};
    auto d = apri(s(), QStringLiteral("FINECORSO"));
    QCOMPARE(inst->interaction.messages.first().buttons, ui::Buttons::RetryCancel);
    QCOMPARE(d->righe(), 0);
    QVERIFY(d->isVisible());
    QTRY_VERIFY(!figlio<QPushButton>(d.get(), "cmdSele2")->isEnabled());
}

KORVADIN_TEST_MAIN(TestTabCorsiApprovati)
#include "tst_tabcorsiapprovati.moc"
