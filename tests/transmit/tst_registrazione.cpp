// Registration of the installation (FrmnReg with the e-mail dialog) against the
// simulator over loopback sockets.

#include "SimulatoreSupport.h"
#include "TestSupport.h"
#include "app/MDI_Main.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "db/Database.h"
#include "transmit/FrmnReg.h"
#include "transmit/Registrazione.h"
#include "transmit/RegistrazioneInstallazione.h"
#include "transmit/frmMailAggInst.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QToolButton>
#include <QtTest>

using ui::Answer;
using ui::Buttons;
using ui::Icon;

namespace {

const QString kEmail = QStringLiteral("segreteria@centroformazione.it");

QString serverErrore(const QString& server) {
    return QStringLiteral("Si è verificato un errore sul server %1 (servizio: korvadin/nreg.asp), "
                          "cliccando su OK il sistema cercherà di visualizzare ulteriori "
                          "informazioni sull'errore. Contattare il servizio assistenza VRD "
                          "riportando questo messaggio e le informazioni visualizzate")
        .arg(server);
}

} // namespace

class TestRegistrazione : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<Simulatore> sim;
    QString server;

    Session& s() { return inst->sessione(); }
    QList<db::Row> righe() {
        return s().CorsiDB().query(
            QStringLiteral("SELECT GrupOpe, Operatore, NumInstall, VersioneDB FROM Installazione"));
    }
    // The e-mail dialog: types the address and confirms, or cancels when empty.
    void guidaEmail(const QString& indirizzo) {
        inst->interaction.dialogDrivers[QStringLiteral("frmMailAggInst")] =
            [indirizzo](QDialog& d) {
                if (indirizzo.isEmpty()) {
                    d.findChild<QToolButton*>(QStringLiteral("imgAnnulla"))->click();
                    return;
                }
                d.findChild<QLineEdit*>(QStringLiteral("txtEMail"))->setText(indirizzo);
                d.findChild<QToolButton*>(QStringLiteral("imgConferma"))->click();
            };
        inst->interaction.dialogDrivers[QStringLiteral("FrmnReg")] = [](QDialog& d) {
            d.findChild<QPushButton*>(QStringLiteral("CmdnReg"))->click();
        };
    }

private slots:
    void init() {
        inst = std::make_unique<TestInstallation>();
        sim = std::make_unique<Simulatore>();
        QVERIFY(sim->avvia());
        s().CorsiDB().exec(QStringLiteral("DELETE FROM Installazione"));
        puntaAlSimulatore(s(), *sim);
        server = sim->indirizzoBase();
        net::RichiestaServer::setLimitePredefinitoMs(5000);
    }
    void cleanup() {
        sim.reset();
        inst.reset();
    }

    void numeroDallaRisposta_data() {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<bool>("numerica"); // accepted: no server error
        QTest::addColumn<int>("numero");    // -1: nothing to store
        QTest::newRow("blanks around") << " 123 " << true << 123;
        QTest::newRow("line break after") << "45\r\n" << true << 45;
        QTest::newRow("largest") << "32767" << true << 32767;
        QTest::newRow("too large") << "32768" << true << -1;
        QTest::newRow("six digits") << "123456" << true << -1;
        QTest::newRow("ERRORE") << "ERRORE: operatore sconosciuto" << false << -1;
        QTest::newRow("not numeric") << "12a" << false << -1;
        QTest::newRow("decimal") << "12.5" << false << -1;
        QTest::newRow("negative") << "-3" << false << -1;
        QTest::newRow("empty") << "  " << false << -1;
    }
    void numeroDallaRisposta() {
        QFETCH(QString, risposta);
        QFETCH(bool, numerica);
        QFETCH(int, numero);
        QCOMPARE(transmit::rispostaNumerica(risposta), numerica);
        QCOMPARE(transmit::numeroInstallazione(risposta).value_or(-1), numero);
    }

    void rispostaDelServer_data() {
        QTest::addColumn<QByteArray>("risposta"); // empty: an HTML page
        QTest::addColumn<int>("numero");          // -1: refused
        QTest::newRow("number with blanks") << QByteArray(" 123 ") << 123;
        QTest::newRow("ERRORE") << QByteArray("ERRORE: operatore non abilitato") << -1;
        QTest::newRow("not numeric") << QByteArray("numero 12") << -1;
        QTest::newRow("HTML page") << QByteArray() << -1;
    }
    void rispostaDelServer() {
        QFETCH(QByteArray, risposta);
        QFETCH(int, numero);
        if (risposta.isEmpty())
            sim->setGuasto(Simulatore::NREG, Simulatore::Guasto::Html);
        else
            sim->setRisposta(Simulatore::NREG, risposta);
        guidaEmail(kEmail);

        const bool registrata = transmit::registraInstallazione(s(), nullptr);

        QCOMPARE(inst->interaction.dialogsRun,
                 (QStringList{QStringLiteral("FrmnReg"), QStringLiteral("frmMailAggInst")}));
        const auto ricevute = sim->ricevute(Simulatore::NREG);
        QCOMPARE(ricevute.size(), 1);
        QCOMPARE(ricevute.first().corpo,
                 QByteArray("gruppo=A&codice=123&compo=&applicativo=KORVADIN&email=") +
                     kEmail.toLatin1());
        QCOMPARE(s().userSettings.get(QStringLiteral("E-Mail")), kEmail);
        QCOMPARE(registrata, numero >= 0);
        const auto r = righe();
        if (numero >= 0) {
            QVERIFY(inst->interaction.messages.isEmpty());
            QCOMPARE(r.size(), 1);
            QCOMPARE(r.first().value(0).toString(), QStringLiteral("A"));
            QCOMPARE(r.first().value(1).toInt(), 123);
            QCOMPARE(r.first().value(2).toInt(), numero);
            QCOMPARE(r.first().value(3).toString(), QStringLiteral("2.0.1"));
            QVERIFY(!QFile::exists(inst->file(QStringLiteral("ErrServer.html"))));
        } else {
            QVERIFY(r.isEmpty());
            QCOMPARE(inst->interaction.messages.size(), 1);
            const auto m = inst->interaction.last();
            QCOMPARE(m.text, serverErrore(server));
            QCOMPARE(m.title, QStringLiteral("ERRORE"));
            QCOMPARE(m.icon, Icon::Critical);
            QFile pagina(inst->file(QStringLiteral("ErrServer.html")));
            QVERIFY(pagina.open(QIODevice::ReadOnly));
            const QByteArray scritta = pagina.readAll();
            if (risposta.isEmpty())
                QVERIFY(scritta.startsWith("<HTML>"));
            else
                QCOMPARE(scritta, risposta);
            QCOMPARE(inst->interaction.openedUrls,
                     QList<QUrl>{QUrl::fromLocalFile(pagina.fileName())});
        }
        QVERIFY(!s().ended());
    }

    void numeroFuoriMisura_data() {
        QTest::addColumn<QByteArray>("risposta");
        QTest::newRow("40000") << QByteArray("40000");
        QTest::newRow("32768 with blanks") << QByteArray(" 32768\r\n");
    }
    void numeroFuoriMisura() {
        // A number the installation table cannot hold: no server error page.
        QFETCH(QByteArray, risposta);
        sim->setRisposta(Simulatore::NREG, risposta);
        guidaEmail(kEmail);
        QVERIFY(!transmit::registraInstallazione(s(), nullptr));
        QVERIFY(righe().isEmpty());
        QCOMPARE(inst->interaction.messages.size(), 1);
        QCOMPARE(inst->interaction.last().text,
                 QStringLiteral("Numero registrazione Nuova Domanda non valido, o impossibile da "
                                "recuperare. Si è verificato un errore sul server %1 in fase di "
                                "acquisizione del numero di registrazione per la nuova proposta "
                                "(servizio:korvadin/nreg.asp). Contattare il servizio di "
                                "assistenza VRD riportando questo messaggio")
                     .arg(server));
        QCOMPARE(inst->interaction.last().title, QStringLiteral("KORVADIN"));
        QVERIFY(!QFile::exists(inst->file(QStringLiteral("ErrServer.html"))));
        QVERIFY(inst->interaction.openedUrls.isEmpty());
        QVERIFY(!s().ended());
    }

    void indirizzoRifiutato() {
        guidaEmail(QString());
        inst->interaction.answers = {Answer::No};
        QVERIFY(!transmit::registraInstallazione(s(), nullptr));
        QCOMPARE(inst->interaction.messages.size(), 2);
        const auto domanda = inst->interaction.messages.at(0);
        QCOMPARE(domanda.text, QStringLiteral("E' necessario specificare un indirizzo e-mail per "
                                              "procedere.\nSpecificarlo ora?"));
        QCOMPARE(domanda.title, QStringLiteral("E-Mail"));
        QCOMPARE(domanda.icon, Icon::Information);
        QCOMPARE(domanda.buttons, Buttons::YesNo);
        const auto fine = inst->interaction.messages.at(1);
        QCOMPARE(fine.text, QStringLiteral("E' impossibile continuare.\nTrasmissione interrotta."));
        QCOMPARE(fine.title, QStringLiteral("ERRORE"));
        QCOMPARE(fine.icon, Icon::Critical);
        QVERIFY(sim->ricevute().isEmpty());
        QVERIFY(righe().isEmpty());
    }

    void indirizzoNonValidoPoiConfermato() {
        // Yes to "Specificarlo ora?" opens the e-mail dialog again.
        int volte = 0;
        inst->interaction.dialogDrivers[QStringLiteral("frmMailAggInst")] = [&](QDialog& d) {
            if (volte++ == 0) {
                d.findChild<QToolButton*>(QStringLiteral("imgAnnulla"))->click();
                return;
            }
            d.findChild<QLineEdit*>(QStringLiteral("txtEMail"))->setText(kEmail);
            d.findChild<QToolButton*>(QStringLiteral("imgConferma"))->click();
        };
        inst->interaction.dialogDrivers[QStringLiteral("FrmnReg")] = [](QDialog& d) {
            d.findChild<QPushButton*>(QStringLiteral("CmdnReg"))->click();
        };
        inst->interaction.answers = {Answer::Yes};
        QVERIFY(transmit::registraInstallazione(s(), nullptr));
        QCOMPARE(volte, 2);
        QCOMPARE(righe().size(), 1);
    }

    void annullaDopoErroreDiConnessioneTerminaIlProgramma() {
        sim->setGuasto(Simulatore::NREG, Simulatore::Guasto::Caduta);
        guidaEmail(kEmail);
        inst->interaction.answers = {Answer::Ok, Answer::Cancel};

        QVERIFY(terminaIlProgramma([&] { transmit::registraInstallazione(s(), nullptr); }));

        const auto& mm = inst->interaction.messages;
        QCOMPARE(mm.size(), 3);
        QVERIFY(mm.at(0).text.startsWith(QStringLiteral("Si è verificato un errore: 12030 : ")));
        QCOMPARE(mm.at(0).title, QStringLiteral("Errore"));
        QCOMPARE(mm.at(1).text,
                 QStringLiteral("Si è verificato un errore in fase di connessione con il server "
                                "%1 (servizio: korvadin/nreg.asp), è probabile che si tratti di "
                                "un errore temporaneo, Riprovare?")
                     .arg(server));
        QCOMPARE(mm.at(1).buttons, Buttons::OkCancel);
        QCOMPARE(mm.at(1).icon, Icon::Critical);
        QVERIFY(mm.at(2).text.startsWith(
            QStringLiteral("L'errore che si è verificato potrebbe essere causato dalla mancanza "
                           "di autorizzazione per accedere al server %1.")
                .arg(server)));
        QVERIFY(mm.at(2).text.contains(QStringLiteral("\n\n") + sim->url(Simulatore::CERTIFICATO) +
                                       QStringLiteral("\n\n")));
        QVERIFY(mm.at(2).text.endsWith(
            QStringLiteral("V.R.D.Impossibile continuare con l'esecuzione dell'applicativo, il "
                           "programma verrà terminato.")));
        QCOMPARE(mm.at(2).title, QStringLiteral("ERRORE"));
        QVERIFY(s().ended());
        QVERIFY(!s().de.CorsiDB.isOpen());
    }

    void okDopoErroreDiConnessioneRiprova() {
        sim->setGuasto(Simulatore::NREG, Simulatore::Guasto::Caduta);
        guidaEmail(kEmail);
        inst->interaction.handler = [this](const ui::Message& m) {
            if (m.buttons == Buttons::OkCancel)
                sim->azzeraGuasti();
            return Answer::Ok;
        };
        QVERIFY(transmit::registraInstallazione(s(), nullptr));
        // Qt itself sends a request again, once, when the connection closes before
        // any byte of the answer: the dropped attempt reaches the server twice.
        QCOMPARE(sim->registrazioni().size(), 1);
        QCOMPARE(inst->interaction.dialogsRun.count(QStringLiteral("frmMailAggInst")), 2);
        QCOMPARE(righe().first().value(2).toInt(), 123);
    }

    void annullaNonRegistra() {
        inst->interaction.dialogDrivers[QStringLiteral("FrmnReg")] = [](QDialog& d) {
            d.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        };
        QVERIFY(!transmit::registraInstallazione(s(), nullptr));
        QVERIFY(sim->ricevute().isEmpty());
        QVERIFY(righe().isEmpty());
        QVERIFY(!s().ended());
    }

    void avvioSenzaInstallazioneRegistra() {
        // The start-up opens FrmnReg on a database without installation record
        // and reads the current agency from the new record.
        s().CorsiDB().close();
        auto sessione = inst->nuovaSessione();
        guidaEmail(kEmail);
        sim->setNumeroInstallazione(77);
        Startup startup(*sessione);
        auto frame = startup.run();
        QVERIFY(frame);
        QCOMPARE(inst->interaction.dialogsRun.first(), QStringLiteral("FrmnReg"));
        QCOMPARE(sessione->OperatoreCorrente.GrupOpe, QStringLiteral("A"));
        QCOMPARE(sessione->OperatoreCorrente.Operatore, QStringLiteral("123"));
        QCOMPARE(sessione->CorsiDB()
                     .scalar(QStringLiteral("SELECT NumInstall FROM Installazione"))
                     .toInt(),
                 77);
    }

    void emailDalleImpostazioni_data() {
        QTest::addColumn<QString>("memorizzata");
        QTest::addColumn<QString>("mostrata");
        QTest::newRow("stored address") << "mario.rossi@example.it"
                                        << "mario.rossi@example.it";
        QTest::newRow("none stored") << ""
                                     << "Indirizzo e-mail...";
    }
    void emailDalleImpostazioni() {
        QFETCH(QString, memorizzata);
        QFETCH(QString, mostrata);
        if (!memorizzata.isEmpty())
            s().userSettings.set(QStringLiteral("E-Mail"), memorizzata);
        transmit::frmMailAggInst dialogo(s());
        auto* box = dialogo.findChild<QLineEdit*>(QStringLiteral("txtEMail"));
        dialogo.show();
        QApplication::setActiveWindow(&dialogo);
        box->setFocus();
        QTRY_COMPARE(box->text(), mostrata);
        QTRY_COMPARE(box->selectedText(), mostrata);
    }

    void emailNonValidaRifiutata() {
        QStringList titoli;
        inst->interaction.dialogDrivers[QStringLiteral("frmMailAggInst")] = [&](QDialog& d) {
            auto* box = d.findChild<QLineEdit*>(QStringLiteral("txtEMail"));
            box->setText(QStringLiteral("senza-chiocciola"));
            d.findChild<QToolButton*>(QStringLiteral("imgConferma"))->click();
            titoli << inst->interaction.last().title;
            QVERIFY(d.isVisible());
            QCOMPARE(box->text(), QStringLiteral("senza-chiocciola"));
            box->setText(kEmail);
            d.findChild<QToolButton*>(QStringLiteral("imgConferma"))->click();
        };
        QCOMPARE(transmit::chiediEmail(s(), nullptr), std::optional<QString>(kEmail));
        QCOMPARE(titoli, QStringList{QStringLiteral("Indirizzo e-mail")});
        QCOMPARE(s().userSettings.get(QStringLiteral("E-Mail")), kEmail);
    }
};

KORVADIN_TEST_MAIN(TestRegistrazione)
#include "tst_registrazione.moc"
