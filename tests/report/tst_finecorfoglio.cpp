#include "report/BancoFineCor.h"
#include "report/FoglioEsiti.h"

#include <QLabel>
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
    void applica();
    void annulla();
    void corsoChiusoAltrove();
    void corsoChiusoNonImporta();
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

void TestFineCorFoglio::applica() {
    Foglio f;
    const auto volte = f.importa(kDueRighe, [](FrmAnteprimaEsiti& form) {
        QCOMPARE(Foglio::cella(form, 0, 9), QStringLiteral("Da aggiornare"));
        QCOMPARE(Foglio::cella(form, 1, 9), QStringLiteral("Rifiutato"));
        QCOMPARE(Foglio::cella(form, 1, 10),
                 QStringLiteral("Il credito formativo valutato deve essere compreso tra i valori "
                                "0 e 5."));
        QTest::mouseClick(figlio<QPushButton>(&form, QStringLiteral("cmdApplica")), Qt::LeftButton);
        QCOMPARE(Foglio::cella(form, 0, 9), QStringLiteral("Aggiornato"));
        QCOMPARE(Foglio::cella(form, 1, 9), QStringLiteral("Rifiutato"));
        QVERIFY(!figlio<QPushButton>(&form, QStringLiteral("cmdApplica"))->isEnabled());
        QTest::mouseClick(figlio<QPushButton>(&form, QStringLiteral("cmdAnnulla")), Qt::LeftButton);
    });
    QCOMPARE(*volte, 1);
    QCOMPARE(f.allievo(kRossi, "OreAssenza"), QVariant(4));
    QCOMPARE(f.allievo(QStringLiteral("VRDNNA92D50A326W"), "Giudizio"), QVariant(" "));
    QCOMPARE(f.box("txt_maschi_ammessi")->text(), QStringLiteral("1"));
    QVERIFY(f.ui().messages.isEmpty());
}

void TestFineCorFoglio::annulla() {
    Foglio f;
    f.importa(kDueRighe, [](FrmAnteprimaEsiti& form) {
        QTest::mouseClick(figlio<QPushButton>(&form, QStringLiteral("cmdAnnulla")), Qt::LeftButton);
    });
    QCOMPARE(f.allievo(kRossi, "OreAssenza"), QVariant());
    QCOMPARE(f.box("txt_maschi_ammessi")->text(), QStringLiteral("0"));
}

void TestFineCorFoglio::corsoChiusoAltrove() {
    Foglio f;
    f.db().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato='CHIUSO' WHERE IdAttivita=41235"));
    f.importa(kDueRighe, [](FrmAnteprimaEsiti& form) {
        QTest::mouseClick(figlio<QPushButton>(&form, QStringLiteral("cmdApplica")), Qt::LeftButton);
    });
    QCOMPARE(f.allievo(kRossi, "OreAssenza"), QVariant());
    QCOMPARE(f.ui().last().title, QStringLiteral("Importa esiti"));
    QVERIFY(f.ui().last().text.startsWith(
        QStringLiteral("Il corso è stato modificato da un'altra postazione")));
    QVERIFY(!f.w("cmdImportaEsiti")->isEnabled());
}

void TestFineCorFoglio::corsoChiusoNonImporta() {
    BancoFineCor b;
    b.apri(41238);
    QVERIFY(!b.w("cmdImportaEsiti")->isEnabled());
    QVERIFY(b.w("cmdEsportaElenco")->isEnabled());
}

KORVADIN_TEST_MAIN(TestFineCorFoglio)
#include "tst_finecorfoglio.moc"
