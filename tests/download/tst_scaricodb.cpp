// The approved-course download FrmScaricoDB against the simulator over
// loopback, on the demo database, followed by the update as the main window
// runs it.

#include "SimulatoreSupport.h"
#include "TestSupport.h"

#include "core/Cp1252.h"
#include "core/RichiestaServer.h"
#include "db/Database.h"
#include "download/ScaricoCorsi.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using download::RisultatoScarico;
using ui::Answer;
using ui::Buttons;
using ui::Icon;

Q_DECLARE_METATYPE(Simulatore::Guasto)

namespace {
const QString kTitolo = QStringLiteral("Corsi Approvati e Finanziati - Scarico/Aggiornamento");
}

class TestScaricoDB : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<Simulatore> sim;
    QString testoIncollato;

    Session& s() { return inst->sessione(); }
    QStringList titoli() {
        QStringList t;
        for (const auto& m : inst->interaction.messages)
            t << m.title;
        return t;
    }
    // The download dialog: download, then leave when it is still open.
    void guida() {
        inst->interaction.dialogDrivers[QStringLiteral("FrmScaricoDB")] = [](QDialog& d) {
            d.findChild<QPushButton*>(QStringLiteral("CmdConferma"))->click();
            if (d.isVisible())
                d.findChild<QPushButton*>(QStringLiteral("cmdEsci"))->click();
        };
        inst->interaction.dialogDrivers[QStringLiteral("frmMailAggPleia2")] = [this](QDialog& d) {
            d.findChild<QPlainTextEdit*>(QStringLiteral("TxtRisposta"))
                ->setPlainText(testoIncollato);
            d.findChild<QPushButton*>(QStringLiteral("imgConferma"))->click();
        };
    }
    int conta(const QString& sql) { return s().CorsiDB().scalar(sql).toInt(); }
    QString contenuto(const QString& nome) {
        QFile f(inst->file(nome));
        return f.open(QIODevice::ReadOnly) ? cp1252::decode(f.readAll()) : QString();
    }

private slots:
    void init() {
        inst = std::make_unique<TestInstallation>();
        sim = std::make_unique<Simulatore>();
        QVERIFY(sim->avvia());
        puntaAlSimulatore(s(), *sim);
        net::RichiestaServer::setLimitePredefinitoMs(5000);
        guida();
    }
    void cleanup() {
        sim.reset();
        inst.reset();
    }

    void scaricoEAcquisizione();
    void codiceRiusatoNellaSessione();
    void rispostaSenzaRigaDiChiusura();
    void nomiFuoriDallaCartella();
    void guasti_data();
    void guasti();
    void modalitaAlternativa();
    void esciSenzaScaricare();
};

void TestScaricoDB::scaricoEAcquisizione() {
    QCOMPARE(Simulatore::datiCorsi(QStringLiteral("CorsiGiornateOre30.tx1")).size(), 4);
    const auto risultato = download::scaricaEAcquisisci(s(), nullptr);
    QCOMPARE(inst->interaction.texts(), QStringList());
    QCOMPARE(risultato, RisultatoScarico::Acquisito);
    QCOMPARE(inst->interaction.dialogsRun, QStringList{"FrmScaricoDB"});
    QCOMPARE(inst->interaction.messages.size(), 0);
    QVERIFY(s().corsiAcquisiti);
    const auto richieste = sim->ricevute(Simulatore::CORSIDESTINATARI);
    QCOMPARE(richieste.size(), 1);
    QCOMPARE(richieste.first().corpo, QByteArray("gruppo=A&codice=123&pleia_id=PL-7781"));
    QVERIFY(richieste.first().utente.isEmpty());
    QCOMPARE(s().codicePleia, QStringLiteral("PL-7781"));
    QVERIFY(!QFile::exists(inst->file(QStringLiteral("$tmpDenOp.tx1"))));
    QVERIFY(QFile::exists(inst->file(QStringLiteral("CAR/CorsiDestinatari30.car"))));

    // The data set: three new courses, open with their participants, and the
    // closed course 41238 as it was.
    QCOMPARE(conta("SELECT count(*) FROM KELDCorsiDef WHERE IdAttivita IN (41240, 41241, 41242) "
                   "AND Stato='APERTO' AND TotMaschi=0 AND NonAmmessiFH=0"),
             3);
    QCOMPARE(conta("SELECT count(*) FROM KELDAnagFreq WHERE IdAttivita>=41240 AND Giudizio=' '"),
             8);
    QCOMPARE(conta("SELECT count(*) FROM KELDAnagFreq WHERE Cognome='D''ANNUNZIO' AND "
                   "Matricola='6002'"),
             1);
    QCOMPARE(conta("SELECT count(*) FROM KELDAnagFreq WHERE Nome='ZOÈ'"), 1);
    QCOMPARE(conta("SELECT count(*) FROM KELDAnagFreq WHERE IdAttivita=41240 AND "
                   "Matricola='null'"),
             1);
    QCOMPARE(conta("SELECT count(*) FROM KELDCorsiDef WHERE IdAttivita=41238 AND Stato='CHIUSO' "
                   "AND TotMaschi=1 AND NumGiornate=12"),
             1);
    QCOMPARE(s().CorsiDB()
                 .scalar(QStringLiteral("SELECT CostoCorso FROM KELDCorsiDef WHERE "
                                        "IdAttivita=41241"))
                 .toDouble(),
             21600.5);
    QVERIFY(!s().CorsiDB()
                 .scalar(QStringLiteral("SELECT CostoCorso FROM KELDCorsiDef WHERE "
                                        "IdAttivita=41242"))
                 .isValid());
}

void TestScaricoDB::codiceRiusatoNellaSessione() {
    QCOMPARE(download::scaricaEAcquisisci(s(), nullptr), RisultatoScarico::Acquisito);
    QCOMPARE(download::scaricaEAcquisisci(s(), nullptr), RisultatoScarico::Acquisito);
    QCOMPARE(sim->ricevute(Simulatore::PLEIA).size(), 1);
    QCOMPARE(sim->ricevute(Simulatore::CORSIDESTINATARI).size(), 2);
    QCOMPARE(sim->ricevute(Simulatore::CORSIDESTINATARI).last().corpo,
             QByteArray("gruppo=A&codice=123&pleia_id=PL-7781"));
    QCOMPARE(conta("SELECT count(*) FROM KELDAnagFreq WHERE IdAttivita>=41240"), 8);
}

void TestScaricoDB::rispostaSenzaRigaDiChiusura() {
    sim->setCorsiDestinatari(cp1252::encode(QStringLiteral(
        "CorsiDestinatari30.tx1\r\n"
        "#A#,#123#,#50001#,#1#,#Corso#,#01/02/2019#,#10#,#PLLNNA80A41A326X#,#PELLÈ#,#ANNA#,#F#,"
        "#1#,#1#,##,#3#,#III#,#01#\r\n"
        "EOF\r\nCorsiGiornateOre30.tx1\r\n#50001#,#null#,#6#,#null#")));
    QCOMPARE(download::scaricaEAcquisisci(s(), nullptr), RisultatoScarico::Acquisito);
    QCOMPARE(s().CorsiDB()
                 .scalar(QStringLiteral("SELECT NumOreGiornata FROM KELDCorsiDef WHERE "
                                        "IdAttivita=50001"))
                 .toDouble(),
             6.0);
    QCOMPARE(contenuto(QStringLiteral("CorsiGiornateOre30.tx1")),
             QStringLiteral("#50001#,#null#,#6#,#null#\r\n"));
}

void TestScaricoDB::nomiFuoriDallaCartella() {
    QDir genitore(inst->folder());
    genitore.cdUp();
    QFile::remove(genitore.filePath(QStringLiteral("x")));
    // An absolute name of this test's own, beside its folder.
    const QString assoluto =
        genitore.absoluteFilePath(QFileInfo(inst->folder()).fileName() + QStringLiteral("-x"));
    const QStringList prima = QDir(inst->folder()).entryList(QDir::Files);
    sim->setCorsiDestinatari(cp1252::encode(QStringLiteral("../x\r\n#male#\r\n\r\n") + assoluto +
                                            QStringLiteral("\r\n#male#\r\n\r\nKORVADIN.mdb\r\n"
                                                           "#male#\r\nEOF\r\n")));
    QCOMPARE(download::scaricaEAcquisisci(s(), nullptr), RisultatoScarico::NienteScaricato);
    // (A folder of that name, someone else's, may sit beside it.)
    QVERIFY(!QFileInfo(genitore.filePath(QStringLiteral("x"))).isFile());
    QVERIFY(!QFile::exists(assoluto));
    QCOMPARE(QDir(inst->folder()).entryList(QDir::Files), prima);
    QCOMPARE(inst->interaction.messages.size(), 1);
    QCOMPARE(inst->interaction.last().title, QStringLiteral("SCARICO DB"));
    QVERIFY(inst->interaction.last().text.contains(QStringLiteral("../x, ") + assoluto +
                                                   QStringLiteral(", KORVADIN.mdb")));
    // The database is still the program's.
    QCOMPARE(conta("SELECT count(*) FROM KELDCorsiDef"), 5);
}

void TestScaricoDB::guasti_data() {
    QTest::addColumn<QString>("servizio");
    QTest::addColumn<Simulatore::Guasto>("guasto");
    QTest::addColumn<QByteArray>("risposta");
    QTest::addColumn<QStringList>("titoli");
    QTest::addColumn<QString>("ultimo"); // text of the last message
    QTest::addColumn<int>("richiesteCorsi");

    QTest::newRow("identità rifiutata")
        << Simulatore::PLEIA << Simulatore::Guasto::Errore << QByteArray() << QStringList{kTitolo}
        << "Autenticazione non riuscita" << 0;
    QTest::newRow("risposta ERRORE")
        << Simulatore::CORSIDESTINATARI << Simulatore::Guasto::Nessuno
        << QByteArray("CorsiDestinatari30.tx1\r\n#1#\r\nerrore: operatore sospeso\r\n")
        << QStringList{"SCARICO DB"} << "errore: operatore sospeso\r\n"
        << 1;
    QTest::newRow("stato HTTP 500")
        << Simulatore::CORSIDESTINATARI << Simulatore::Guasto::Stato << QByteArray()
        << QStringList{"Errore di trasmissione", "Errore di connessione"}
        << "Errore di connessione al server. Si consiglia di riprovare in un secondo momento." << 1;
    QTest::newRow("connessione caduta")
        << Simulatore::CORSIDESTINATARI << Simulatore::Guasto::Caduta << QByteArray()
        << QStringList{"Errore di trasmissione", "Errore di connessione"}
        << "Errore di connessione al server. Si consiglia di riprovare in un secondo momento." << 1;
}

void TestScaricoDB::guasti() {
    QFETCH(QString, servizio);
    QFETCH(Simulatore::Guasto, guasto);
    QFETCH(QByteArray, risposta);
    QFETCH(QStringList, titoli);
    QFETCH(QString, ultimo);
    QFETCH(int, richiesteCorsi);
    if (!risposta.isEmpty())
        sim->setRisposta(servizio, risposta);
    else
        sim->setGuasto(servizio, guasto);
    const int corsi = conta("SELECT count(*) FROM KELDCorsiDef");

    QCOMPARE(download::scaricaEAcquisisci(s(), nullptr), RisultatoScarico::NienteScaricato);
    QCOMPARE(this->titoli(), titoli);
    QCOMPARE(inst->interaction.last().text, ultimo);
    for (const auto& m : inst->interaction.messages)
        QCOMPARE(m.icon, Icon::Critical);
    // A connection closed without an answer may be tried again by the network layer.
    QCOMPARE(qMin(int(sim->ricevute(Simulatore::CORSIDESTINATARI).size()), 1), richiesteCorsi);
    // Nothing unpacked, nothing loaded.
    QVERIFY(!QFile::exists(inst->file(QStringLiteral("CorsiDestinatari30.tx1"))));
    QVERIFY(!QFile::exists(inst->file(QStringLiteral("$tmpDenOp.tx1"))));
    QCOMPARE(conta("SELECT count(*) FROM KELDCorsiDef"), corsi);
    QVERIFY(!s().corsiAcquisiti);
    QCOMPARE(inst->interaction.busyCalls, 0);
}

void TestScaricoDB::modalitaAlternativa() {
    // The identity page cannot be reached: help, the alternative mode, and the
    // code pasted into frmMailAggPleia2.
    s().ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("PLEIA"),
                   QStringLiteral("http://127.0.0.1:1/pleia/login.asp"));
    testoIncollato = QStringLiteral("risposta: ok; PL-7781 ;");
    QCOMPARE(download::scaricaEAcquisisci(s(), nullptr), RisultatoScarico::Acquisito);
    QCOMPARE(inst->interaction.dialogsRun, (QStringList{"FrmScaricoDB", "frmMailAggPleia2"}));
    const auto& m = inst->interaction.messages;
    QCOMPARE(m.size(), 2);
    QVERIFY(m[0].text.startsWith(QStringLiteral("Connessione non effettuata \r\n")));
    QCOMPARE(m[0].title, QStringLiteral("TORVEMIL"));
    QCOMPARE(m[0].icon, Icon::Information);
    QCOMPARE(m[1].title, QStringLiteral("Modalità di autenticazione alternativa."));
    QCOMPARE(m[1].buttons, Buttons::AbortRetryIgnore);
    QCOMPARE(s().codicePleia, QStringLiteral("PL-7781"));

    // A pasted page without "RISPOSTA: OK" gives no code.
    s().codicePleia.clear();
    testoIncollato = QStringLiteral("Pagina non trovata");
    inst->interaction.messages.clear();
    QCOMPARE(download::scaricaEAcquisisci(s(), nullptr), RisultatoScarico::NienteScaricato);
    QCOMPARE(inst->interaction.last().text, QStringLiteral("Autenticazione non riuscita"));
    QVERIFY(s().codicePleia.isEmpty());
}

void TestScaricoDB::esciSenzaScaricare() {
    inst->interaction.dialogDrivers[QStringLiteral("FrmScaricoDB")] = [](QDialog& d) {
        // The first agency is chosen when the dialog shows.
        QVERIFY(d.findChild<QComboBox*>(QStringLiteral("CmbOpe"))
                    ->currentText()
                    .startsWith(QStringLiteral("A - 123 - ")));
        d.findChild<QPushButton*>(QStringLiteral("cmdEsci"))->click();
    };
    QCOMPARE(download::scaricaEAcquisisci(s(), nullptr), RisultatoScarico::NienteScaricato);
    QVERIFY(s().scaricoAnnullato);
    QVERIFY(sim->ricevute().isEmpty());
}

QTEST_MAIN(TestScaricoDB)
#include "tst_scaricodb.moc"
