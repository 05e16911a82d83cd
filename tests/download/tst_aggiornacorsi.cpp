// The database update after an approved-course download, on the demo database
// (agency A/123, courses 41235..41239; 41238 CHIUSO with its report).

#include "TestSupport.h"

#include "core/Cp1252.h"
#include "db/Database.h"
#include "download/mdAggiornaCorsiApprovati.h"

#include <QFile>
#include <QtTest>

#include <csignal>

using ui::Icon;

namespace {

// A participant line of "CorsiDestinatari30.tx1".
QString partecipante(const QString& corso, const QString& codFiscale, const QString& cognome,
                     const QString& nome, const QString& sesso, const QString& matricola,
                     const QString& sede = QString()) {
    return QStringLiteral("#A#,#123#,#%1#,#9#,#Corso %1#,#07/01/2019#,#100#,#%2#,#%3#,#%4#,#%5#,"
                          "#%6#,#1#,#%7#,#3#,#III#,#01#")
        .arg(corso, codFiscale, cognome, nome, sesso, matricola, sede);
}

// Every row of the tables the update writes, as text.
QStringList righe(db::Connection& c) {
    QStringList tutte;
    for (const char* t : {"KELDCorsiDef", "KELDAnagFreq"})
        for (const db::Row& r : c.query(
                 QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(QString::fromLatin1(t)))) {
            QStringList valori;
            for (int i = 0; i < r.size(); ++i)
                valori << (r.value(i).isValid() ? r.value(i).toString() : QStringLiteral("<N>"));
            tutte << QString::fromLatin1(t) + QLatin1Char(':') + valori.join(QLatin1Char('|'));
        }
    return tutte;
}

} // namespace

class TestAggiornaCorsi : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    Session& s() { return inst->sessione(); }
    void scrivi(const QString& nome, const QStringList& righe) {
        QFile f(inst->file(nome));
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (const QString& r : righe)
            f.write(cp1252::encode(r) + "\r\n");
    }
    db::Row riga(const QString& sql, const QVariantList& valori) {
        const auto r = s().CorsiDB().query(sql, valori);
        return r.isEmpty() ? db::Row() : r.first();
    }
    QStringList testi() { return inst->interaction.texts(); }

private slots:
    void init() { inst = std::make_unique<TestInstallation>(); }
    void cleanup() { inst.reset(); }

    void primoScaricoAggiungeCorsiAperti();
    void secondoScaricoTieneIlCorsoChiuso();
    void giornateOre_data();
    void giornateOre();
    void rigaNonValida_data();
    void rigaNonValida();
    void databaseDiversoDallaCopia();
    void fileVuoto();
    void copiaDiSicurezzaNonRiuscita();
    void interrottoDaSigkill();
};

void TestAggiornaCorsi::primoScaricoAggiungeCorsiAperti() {
    scrivi(download::kFileCorsi,
           {partecipante("50001", "DLLMRC82C12A326K", "DELL'ACQUA", "MARCO", "M", "6001", "2"),
            partecipante("50001", "NCLSVR88T10A326H", "NICOLÒ", "SAVERIO", "M", ""),
            partecipante("50002", "DNNFNC90A41A326J", "D'ANNUNZIO", "FRANCESCA", "F", "7001")});
    scrivi(download::kFileGiornateOre, {"#50001#,#20#,#5#,#12000#", "#99999#,#1#,#1#,#1#"});
    QVERIFY(download::AggiornaCorsiScaricati(s(), nullptr));
    QCOMPARE(testi(), QStringList());

    const db::Row corso =
        riga(QStringLiteral("SELECT * FROM KELDCorsiDef WHERE IdAttivita=?"), {50001});
    QCOMPARE(corso.value("Stato").toString(), QStringLiteral("APERTO"));
    QCOMPARE(corso.value("GrupOpe").toString(), QStringLiteral("A"));
    QCOMPARE(corso.value("Operatore").toInt(), 123);
    QCOMPARE(corso.value("DenCorso").toString(), QStringLiteral("Corso 50001"));
    QCOMPARE(corso.value("DataInizioGG").toString(), QStringLiteral("07"));
    QCOMPARE(corso.value("DataInizioMM").toString(), QStringLiteral("01"));
    QCOMPARE(corso.value("DataInizioAAAA").toString(), QStringLiteral("2019"));
    QCOMPARE(corso.value("TotIter").toInt(), 100);
    QCOMPARE(corso.value("SedeOcca").toInt(), 2);
    QCOMPARE(corso.value("CodSubAsse").toString(), QStringLiteral("01"));
    QCOMPARE(corso.value("NumGiornate").toInt(), 20);
    QCOMPARE(corso.value("CostoCorso").toDouble(), 12000.0);
    for (const char* contatore :
         {"TotMaschi", "TotFemmine", "TotMaschiH", "TotFemmineH", "AmmessiM", "AmmessiF",
          "AmmessiMH", "AmmessiFH", "NonAmmessiM", "NonAmmessiF", "NonAmmessiMH", "NonAmmessiFH"}) {
        QVERIFY2(corso.value(QString::fromLatin1(contatore)).isValid(), contatore);
        QCOMPARE(corso.value(QString::fromLatin1(contatore)).toInt(), 0);
    }
    // One row per course, whatever the number of its participants.
    QCOMPARE(s().CorsiDB()
                 .scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef WHERE "
                                        "IdAttivita IN (50001, 50002)"))
                 .toInt(),
             2);
    QVERIFY(!riga(QStringLiteral("SELECT SedeOcca FROM KELDCorsiDef WHERE IdAttivita=?"), {50002})
                 .value(0)
                 .isValid());

    const auto allievi = s().CorsiDB().query(
        QStringLiteral("SELECT Cognome, Nome, Sesso, Matricola, Giudizio FROM KELDAnagFreq WHERE "
                       "IdAttivita=? ORDER BY CodFiscale"),
        {50001});
    QCOMPARE(allievi.size(), 2);
    QCOMPARE(allievi[0].value(0).toString(), QStringLiteral("DELL'ACQUA"));
    QCOMPARE(allievi[0].value(3).toString(), QStringLiteral("6001"));
    QCOMPARE(allievi[1].value(0).toString(), QStringLiteral("NICOLÒ"));
    QCOMPARE(allievi[1].value(3).toString(), QStringLiteral("null"));
    for (const db::Row& a : allievi)
        QCOMPARE(a.value(4).toString(), QStringLiteral(" "));

    // The participants' file is kept under CAR, the safety copy is gone.
    QVERIFY(!QFile::exists(inst->file(download::kFileCorsi)));
    QVERIFY(QFile::exists(inst->file(QStringLiteral("CAR/CorsiDestinatari30.car"))));
    QVERIFY(!QFile::exists(inst->database() + QStringLiteral("_BAK")));
}

void TestAggiornaCorsi::secondoScaricoTieneIlCorsoChiuso() {
    const QString corsoChiuso = QStringLiteral("SELECT * FROM KELDCorsiDef WHERE IdAttivita=41238");
    const QStringList prima = righe(s().CorsiDB()).filter(QStringLiteral("KELDCorsiDef:41238|"));
    const QString greco = QStringLiteral(
        "SELECT Giudizio, OreAssenza, Matricola FROM KELDAnagFreq WHERE CodFiscale=?");
    const db::Row grecoPrima = riga(greco, {QStringLiteral("GRCPLA93P10A326R")});
    auto righeCorso = [&](const QString& cognomeGreco, const QString& matricolaGreco) {
        QStringList l = {
            QStringLiteral("#A#,#123#,#41238#,#4#,#Lingua inglese (titolo nuovo)#,#01/01/2020#,"
                           "#999#,#MRNLSA95M41A326S#,#MARINO#,#ELISA#,#F#,#4001#,#1#,##,#3#,"
                           "#III#,#01#"),
            partecipante("41238", "GRCPLA93P10A326R", cognomeGreco, "PAOLO", "M", matricolaGreco),
            partecipante("41238", "LCCCNC79D55A326G", "LUCÀ", "CONCETTA", "F", "4003")};
        return l;
    };
    scrivi(download::kFileCorsi, righeCorso("GRECO", ""));
    scrivi(download::kFileGiornateOre, {"#41240#,#1#,#1#,#1#"});
    QVERIFY(s().userSettings.get(QStringLiteral("LastUpdate")).isEmpty());
    QVERIFY(download::AggiornaCorsiScaricati(s(), nullptr));
    // What the success message adds, and the date the options dialog shows.
    QCOMPARE(download::testoConteggio(s()),
             QStringLiteral("Corsi: 0 nuovi, 1 aggiornati.\nPartecipanti: 1 nuovi, 2 aggiornati."));
    QCOMPARE(s().userSettings.get(QStringLiteral("LastUpdate")),
             QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));

    QCOMPARE(righe(s().CorsiDB()).filter(QStringLiteral("KELDCorsiDef:41238|")), prima);
    QCOMPARE(riga(corsoChiuso, {}).value("Stato").toString(), QStringLiteral("CHIUSO"));
    const db::Row nuovo = riga(QStringLiteral("SELECT Giudizio, Matricola FROM KELDAnagFreq "
                                              "WHERE IdAttivita=41238 AND CodFiscale=?"),
                               {QStringLiteral("LCCCNC79D55A326G")});
    QCOMPARE(nuovo.value(0).toString(), QStringLiteral(" "));
    QCOMPARE(nuovo.value(1).toString(), QStringLiteral("4003"));
    // The known participant: only the enrolment number changes.
    const db::Row grecoDopo = riga(greco, {QStringLiteral("GRCPLA93P10A326R")});
    QCOMPARE(grecoDopo.value(0), grecoPrima.value(0));
    QCOMPARE(grecoDopo.value(1), grecoPrima.value(1));
    QCOMPARE(grecoDopo.value(2).toString(), QStringLiteral("null"));

    // A third download refreshes it again.
    scrivi(download::kFileCorsi, righeCorso("GRECO", "4002"));
    QVERIFY(download::AggiornaCorsiScaricati(s(), nullptr));
    QCOMPARE(riga(greco, {QStringLiteral("GRCPLA93P10A326R")}).value(2).toString(),
             QStringLiteral("4002"));
    QCOMPARE(s().CorsiDB()
                 .scalar(QStringLiteral("SELECT count(*) FROM KELDAnagFreq WHERE "
                                        "IdAttivita=41238"))
                 .toInt(),
             3);
}

void TestAggiornaCorsi::giornateOre_data() {
    QTest::addColumn<QString>("riga");
    QTest::addColumn<QVariantList>("attesi"); // NumGiornate, NumOreGiornata, CostoCorso
    const QVariantList prima = {10, 4.0, 500.0};
    QTest::newRow("solo le ore") << "#41235#,#null#,#6#,#null#" << QVariantList{10, 6.0, 500.0};
    QTest::newRow("tutto") << "#41235#,#20#,#5#,#12000#" << QVariantList{20, 5.0, 12000.0};
    QTest::newRow("niente") << "#41235#,#null#,#null#,#null#" << prima;
    QTest::newRow("decimali con virgola")
        << "#41235#,#null#,#4,5#,#1500,50#" << QVariantList{10, 4.5, 1500.5};
    QTest::newRow("corso assente") << "#77777#,#1#,#1#,#1#" << prima;
}

void TestAggiornaCorsi::giornateOre() {
    QFETCH(QString, riga);
    QFETCH(QVariantList, attesi);
    s().CorsiDB().exec(QStringLiteral("UPDATE KELDCorsiDef SET NumGiornate=10, NumOreGiornata=4,"
                                      " CostoCorso=500 WHERE IdAttivita=41235"));
    scrivi(download::kFileGiornateOre, {riga});
    QVERIFY(download::CaricaGiornateOre(s(), nullptr, inst->file(download::kFileGiornateOre)));
    const db::Row r = this->riga(QStringLiteral("SELECT NumGiornate, NumOreGiornata, CostoCorso "
                                                "FROM KELDCorsiDef WHERE IdAttivita=41235"),
                                 {});
    QCOMPARE(r.value(0).toInt(), attesi[0].toInt());
    QCOMPARE(r.value(1).toDouble(), attesi[1].toDouble());
    QCOMPARE(r.value(2).toDouble(), attesi[2].toDouble());
}

void TestAggiornaCorsi::rigaNonValida_data() {
    QTest::addColumn<QString>("riga");
    QTest::addColumn<QString>("titolo");
    QTest::addColumn<QString>("fine");
    const QString partecipanti =
        QStringLiteral("Aggiornamento Base Dati - Acquisizione Partecipanti");
    const QString corsi = QStringLiteral("Aggiornamento Base Dati - Acquisizione Corsi");
    QTest::newRow("sesso di due lettere")
        << partecipante("50001", "NCLSVR88T10A326H", "NICOLÒ", "SAVERIO", "MF", "1") << partecipanti
        << "durante il caricamento dei PARTECIPANTI";
    QTest::newRow("codice fiscale vuoto")
        << partecipante("50001", "", "ROSSI", "ADA", "F", "1") << partecipanti
        << "durante il caricamento dei PARTECIPANTI";
    QTest::newRow("identificativo non numerico")
        << partecipante("5000l", "RSSDAA80A41A326X", "ROSSI", "ADA", "F", "1") << corsi
        << "durante il caricamento dei CORSI";
    QTest::newRow("troppo pochi campi")
        << "#A#,#123#" << corsi << "durante il caricamento dei CORSI";
}

void TestAggiornaCorsi::rigaNonValida() {
    QFETCH(QString, riga);
    QFETCH(QString, titolo);
    QFETCH(QString, fine);
    const QStringList prima = righe(s().CorsiDB());
    scrivi(download::kFileCorsi,
           {partecipante("50001", "DLLMRC82C12A326K", "DELL'ACQUA", "MARCO", "M", "6001"),
            partecipante("41235", "RSSMRA80A01A326X", "ROSSI", "MARIO", "M", ""), riga,
            partecipante("50002", "DNNFNC90A41A326J", "D'ANNUNZIO", "FRANCESCA", "F", "7001")});
    scrivi(download::kFileGiornateOre, {"#41235#,#20#,#5#,#12000#"});
    scrivi(QStringLiteral("CorsiApprovati.tx1"), {"#41235#"});

    QVERIFY(!download::AggiornaCorsiScaricati(s(), nullptr));
    QCOMPARE(righe(s().CorsiDB()), prima);
    const auto& m = inst->interaction.messages;
    QCOMPARE(m.size(), 3);
    QCOMPARE(m[0].title, titolo);
    QCOMPARE(m[0].icon, Icon::Critical);
    QVERIFY2(m[0].text.startsWith(QStringLiteral("Errore ")) && m[0].text.endsWith("\n\r" + fine),
             qPrintable(m[0].text));
    QCOMPARE(m[1].text, QStringLiteral("L' aggiornamento della base dati non è andato a buon "
                                       "fine, verrà ripristinata la situazione iniziale. "
                                       "Contattare il servizio di assistenza V.R.D."));
    QCOMPARE(m[1].title, QStringLiteral("Corsi Approvati e Finanziati - Scarico/Aggiornamento"));
    QCOMPARE(m[2].text, QStringLiteral("Ripristino della base dati riuscito"));
    QCOMPARE(m[2].title, QStringLiteral("Aggiornamento Base Dati"));
    QCOMPARE(m[2].icon, Icon::Information);
    // The downloaded file stays, CorsiApprovati.tx1 goes to BAD.
    QVERIFY(QFile::exists(inst->file(download::kFileCorsi)));
    QVERIFY(!QFile::exists(inst->file(QStringLiteral("CAR/CorsiDestinatari30.car"))));
    QVERIFY(!QFile::exists(inst->file(QStringLiteral("CorsiApprovati.tx1"))));
    QVERIFY(QFile::exists(inst->file(QStringLiteral("BAD/CorsiApprovati.bad"))));
}

// Another workstation changed the database after the copy was taken: the copy
// is not put back over its work, the restore is reported as failed and the copy
// stays for the assistance service.
void TestAggiornaCorsi::databaseDiversoDallaCopia() {
    scrivi(download::kFileCorsi, {partecipante("50001", "", "ROSSI", "ADA", "F", "1")});
    const auto copiaEPoiModifica = [this] {
        s().CorsiDB().snapshotTo(inst->database() + QStringLiteral("_BAK"));
        s().CorsiDB().exec(QStringLiteral("UPDATE KELDAnagFreq SET Matricola='9' WHERE "
                                          "CodFiscale='RSSMRA80A01A326X'"));
        return true;
    };
    QVERIFY(!download::AggiornaCorsiScaricati(s(), nullptr, copiaEPoiModifica));
    QCOMPARE(inst->interaction.last().text,
             QStringLiteral("Ripristino della base dati non riuscito."));
    QCOMPARE(inst->interaction.last().icon, Icon::Critical);
    QCOMPARE(s().CorsiDB()
                 .scalar(QStringLiteral("SELECT Matricola FROM KELDAnagFreq WHERE "
                                        "CodFiscale='RSSMRA80A01A326X'"))
                 .toString(),
             QStringLiteral("9"));
    QVERIFY(QFile::exists(inst->database() + QStringLiteral("_BAK")));
}

void TestAggiornaCorsi::fileVuoto() {
    scrivi(download::kFileCorsi, {});
    const QStringList prima = righe(s().CorsiDB());
    QVERIFY(!download::AggiornaCorsiScaricati(s(), nullptr));
    QCOMPARE(inst->interaction.messages.first().text,
             QStringLiteral("ATTENZIONE: il file CorsiApprovati.tx1 risulta vuoto. Impossibile "
                            "continuare l'operazione di aggiornamento."));
    QCOMPARE(inst->interaction.messages.first().title, QStringLiteral("Aggiornamento Base Dati"));
    QCOMPARE(righe(s().CorsiDB()), prima);
}

void TestAggiornaCorsi::copiaDiSicurezzaNonRiuscita() {
    scrivi(download::kFileCorsi, {partecipante("50001", "DLLMRC82C12A326K", "A", "B", "M", "1")});
    const QStringList prima = righe(s().CorsiDB());
    QVERIFY(!download::AggiornaCorsiScaricati(s(), nullptr, [] { return false; }));
    QCOMPARE(testi(), QStringList{"Copia di sicurezza della base dati non riuscita. Impossibile "
                                  "continuare l'operazione di aggiornamento."});
    QCOMPARE(inst->interaction.last().title, QStringLiteral("Aggiornamento Base Dati"));
    QCOMPARE(righe(s().CorsiDB()), prima);
    QVERIFY(QFile::exists(inst->file(download::kFileCorsi)));
}

// A real child process runs the update of a large download and is killed at
// several points: the database always opens with the key, passes quick_check
// and holds either the whole download or none of it.
void TestAggiornaCorsi::interrottoDaSigkill() {
    QStringList corsi, giornate;
    for (int i = 0; i < 8000; ++i)
        corsi << partecipante(QString::number(60000 + i / 20),
                              QStringLiteral("CF%1XXXXXXXX").arg(i, 6, 10, QLatin1Char('0')),
                              QStringLiteral("D'ARCO"), QStringLiteral("NICOLÒ"), "M", "1");
    for (int i = 0; i < 400; ++i)
        giornate << QStringLiteral("#%1#,#10#,#6#,#100#").arg(60000 + i);
    scrivi(download::kFileCorsi, corsi);
    scrivi(download::kFileGiornateOre, giornate);
    const int corsiPrima =
        s().CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt();
    const int allieviPrima =
        s().CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDAnagFreq")).toInt();
    s().CorsiDB().close();

    int interi = 0, nulli = 0;
    for (const int attesaMs : {0, 5, 20, 50, 100, 200, 400, 800, 1600, -1}) {
        // Each round starts from the database as it was.
        QProcess figlio;
        figlio.start(QStringLiteral(KORVADIN_AGGIORNA_PROBE), {inst->folder()});
        QVERIFY(figlio.waitForStarted(10000));
        QVERIFY(figlio.waitForReadyRead(10000));
        // The last round lets the update finish.
        if (attesaMs < 0) {
            QVERIFY(figlio.waitForFinished(60000));
            QVERIFY(figlio.readAll().contains("FATTO 1"));
        } else
            QTest::qWait(attesaMs);
        // Only a child still running is killed (pid 0 would be this process group).
        if (const qint64 pid = figlio.processId(); pid > 0 && figlio.state() == QProcess::Running)
            ::kill(pid_t(pid), SIGKILL);
        QVERIFY(figlio.state() == QProcess::NotRunning || figlio.waitForFinished(10000));

        db::Connection c;
        c.open(inst->database(), Session::databasePassword(), db::OpenMode::Shared);
        QCOMPARE(c.scalar(QStringLiteral("PRAGMA quick_check")).toString(), QStringLiteral("ok"));
        const int nuoviCorsi =
            c.scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt() - corsiPrima;
        const int nuoviAllievi =
            c.scalar(QStringLiteral("SELECT count(*) FROM KELDAnagFreq")).toInt() - allieviPrima;
        const int conOre = c.scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef WHERE "
                                                   "NumGiornate=10"))
                               .toInt();
        if (nuoviCorsi == 0) {
            QCOMPARE(nuoviAllievi, 0);
            QCOMPARE(conOre, 0);
            ++nulli;
        } else {
            QCOMPARE(nuoviCorsi, 400);
            QCOMPARE(nuoviAllievi, 8000);
            QCOMPARE(conOre, 400);
            ++interi;
            // Back to the state before the download for the next round.
            db::Transaction t(c);
            c.exec(QStringLiteral("DELETE FROM KELDAnagFreq WHERE IdAttivita>=60000"));
            c.exec(QStringLiteral("DELETE FROM KELDCorsiDef WHERE IdAttivita>=60000"));
            t.commit();
        }
        c.close();
        if (!QFile::exists(inst->file(download::kFileCorsi)))
            QVERIFY(QFile::copy(inst->file(QStringLiteral("CAR/CorsiDestinatari30.car")),
                                inst->file(download::kFileCorsi)));
    }
    qInfo("interrotti prima della fine: %d, completati: %d", nulli, interi);
    QVERIFY(nulli > 0);
    QVERIFY(interi > 0);
}

QTEST_GUILESS_MAIN(TestAggiornaCorsi)
#include "tst_aggiornacorsi.moc"
