#include "report/BancoFineCor.h"
#include "report/FoglioEsiti.h"

#include <QPushButton>
#include <QTableView>

using report::FrmAnteprimaEsiti;

namespace {

const QString kRossi = QStringLiteral("RSSMRA80A01A326X");

// The demo course 41235 with a course credit, on the participant tab; the
// file chosen for export and import sits in a folder of its own.
struct Foglio : BancoFineCor {
    Foglio() {
        apri(41235);
        scrivi("txtCredFormCorso", QStringLiteral("3,5"));
        tab()->setCurrentIndex(2);
    }
    // Imports the file with those rows; the preview is worked by the driver.
    std::shared_ptr<int> importa(const QByteArray& righe,
                                 std::function<void(FrmAnteprimaEsiti&)> driver) {
        const QString file = dir.filePath(QStringLiteral("esiti.csv"));
        prova::scrivi(file, "Codice fiscale;Ore assenza;Partecipazione;Giudizio;Motivo;"
                            "Credito formativo valutato\r\n" +
                                righe);
        ui().fileAnswers << file;
        auto volte =
            guida<FrmAnteprimaEsiti>(ui(), QStringLiteral("FrmAnteprimaEsiti"), std::move(driver));
        clic("cmdImportaEsiti");
        return volte;
    }
    static QString cella(FrmAnteprimaEsiti& f, int riga, int colonna) {
        return figlio<QTableView>(&f, QStringLiteral("grdAnteprima"))
            ->model()
            ->index(riga, colonna)
            .data()
            .toString();
    }
    QTemporaryDir dir;
};

const QByteArray kDueRighe = "RSSMRA80A01A326X;4;Esecutivo;8;;2\r\n"
                             "VRDNNA92D50A326W;4;Esecutivo;8;;9\r\n";

} // namespace

class TestFineCorFoglio : public QObject {
    Q_OBJECT
private slots:
    void esportaElenco();
    void anteprima_data();
    void anteprima();
};

void TestFineCorFoglio::esportaElenco() {
    Foglio f;
    const QString file = f.dir.filePath(QStringLiteral("elenco.csv"));
    f.ui().fileAnswers << file;
    f.clic("cmdEsportaElenco");
    QVERIFY(f.ui().fileDialogs.last().save);
    QCOMPARE(f.ui().fileDialogs.last().fileName, QStringLiteral("Allievi_41235.csv"));
    QCOMPARE(f.ui().last().title, QStringLiteral("Esporta elenco"));
    const QList<QByteArray> righe = prova::contenuto(file).split('\n');
    QCOMPARE(righe.size(), 6); // heading, four participants, nothing after the last CR LF
    QVERIFY(righe[1].startsWith("BNCGPP90C10A326Z;Bianchi;Giuseppe;1003;;;;;\r"));
}

void TestFineCorFoglio::anteprima_data() {
    QTest::addColumn<QString>("statoAltrove"); // set on file after the form has read the course
    QTest::addColumn<QString>("pulsante");
    QTest::addColumn<bool>("scritto");
    QTest::newRow("Applica") << ""
                             << "cmdApplica" << true;
    QTest::newRow("Annulla") << ""
                             << "cmdAnnulla" << false;
    QTest::newRow("chiuso altrove") << "CHIUSO"
                                    << "cmdApplica" << false;
}

void TestFineCorFoglio::anteprima() {
    QFETCH(QString, statoAltrove);
    QFETCH(QString, pulsante);
    QFETCH(bool, scritto);
    Foglio f;
    if (!statoAltrove.isEmpty())
        f.db().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato=? WHERE IdAttivita=41235"),
                    {statoAltrove});
    const auto volte = f.importa(kDueRighe, [&](FrmAnteprimaEsiti& form) {
        QCOMPARE(Foglio::cella(form, 0, 9), QStringLiteral("Da aggiornare"));
        QCOMPARE(Foglio::cella(form, 1, 9), QStringLiteral("Rifiutato"));
        QCOMPARE(Foglio::cella(form, 1, 10),
                 QStringLiteral("Il credito formativo valutato deve essere compreso tra i valori "
                                "0 e 5."));
        QTest::mouseClick(figlio<QPushButton>(&form, pulsante), Qt::LeftButton);
        if (form.isVisible()) { // applied: the rows stay listed until Chiudi
            QCOMPARE(Foglio::cella(form, 0, 9), QStringLiteral("Aggiornato"));
            QCOMPARE(Foglio::cella(form, 1, 9), QStringLiteral("Rifiutato"));
            QTest::mouseClick(figlio<QPushButton>(&form, QStringLiteral("cmdAnnulla")),
                              Qt::LeftButton);
        }
    });
    QCOMPARE(*volte, 1);
    QCOMPARE(f.allievo(kRossi, "OreAssenza"), scritto ? QVariant(4) : QVariant());
    QCOMPARE(f.allievo(QStringLiteral("VRDNNA92D50A326W"), "Giudizio"), QVariant(" "));
    QCOMPARE(f.box("txt_maschi_ammessi")->text(), scritto ? QStringLiteral("1") : "0");
    // A course closed elsewhere: the form says so, as for the editor, and takes no more outcomes.
    QCOMPARE(f.ui().messages.size(), statoAltrove.isEmpty() ? 0 : 1);
    if (!statoAltrove.isEmpty()) {
        QCOMPARE(f.ui().last().title, QStringLiteral("Importa esiti"));
        QVERIFY(f.ui().last().text.startsWith(
            QStringLiteral("Il corso è stato modificato da un'altra postazione")));
    }
    QCOMPARE(f.w("cmdImportaEsiti")->isEnabled(), statoAltrove.isEmpty());
}

KORVADIN_TEST_MAIN(TestFineCorFoglio)
#include "tst_finecorfoglio.moc"
