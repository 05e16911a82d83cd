// The transmission form and the upload form against the regional-server
// simulator over loopback sockets.

#include "SimulatoreSupport.h"
#include "TestSupport.h"
#include "db/Database.h"
#include "transmit/Trasmis.h"
#include "transmit/Trasmissione.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

Q_DECLARE_METATYPE(ui::EsitoStampa)

using ui::Answer;
using ui::Icon;

namespace {

const QString kEmail = QStringLiteral("segreteria@cfva.it");
const QString kAllegato = QStringLiteral("KORVADIN_888_41238.A123");
const QString kModulo = QStringLiteral("ModuloFineCorso_41238_A123.pdf");
const QString kSuccesso = QStringLiteral("Trasmissione alla Regione completata con successo");
const QString kConnessioneInvio =
    QStringLiteral("Errore di connessione al server. Si consiglia di riprovare in un secondo "
                   "momento.");

void clic(QDialog& d, const char* nome) {
    auto* b = d.findChild<QAbstractButton*>(QString::fromLatin1(nome));
    QVERIFY2(b, nome);
    b->click();
}

// A port on which nobody listens.
quint16 portaChiusa() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    const quint16 p = s.serverPort();
    s.close();
    return p;
}

} // namespace

class TestTrasmis : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<Simulatore> sim;

    Session& s() { return inst->sessione(); }
    ui::ScriptedInteraction& ui() { return inst->interaction; }
    QString stato() {
        return s()
            .CorsiDB()
            .scalar(QStringLiteral("SELECT Stato FROM KELDCorsiDef WHERE IdAttivita = 41238"))
            .toString();
    }
    void fidatiDelCertificato() {
        QVERIFY(QFile::copy(QStringLiteral(KORVADIN_CERTIFICATI "/CA_ROOT.DER"),
                            inst->file(QStringLiteral("CA_ROOT.DER"))));
    }
    void hostUpload(const QString& host) {
        s().ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("HOSTUPLOAD"), host);
    }
    // What Trasmis showed once the button's work was done.
    bool inviabile = true;
    QString statoMostrato;
    // Trasmis presses the given button and is then left with Esci.
    void guidaTrasmis(const char* pulsante) {
        ui().dialogDrivers[QStringLiteral("Trasmis")] = [this, pulsante](QDialog& d) {
            clic(d, pulsante);
            inviabile = d.findChild<QPushButton*>(QStringLiteral("cmdSend"))->isEnabled();
            statoMostrato = d.findChild<QLabel*>(QStringLiteral("lblStato"))->text();
            if (d.isVisible())
                clic(d, "cmdEsci");
        };
    }
    // frmInet gets the address and presses the button; left with Esci if open.
    void guidaInvio(const char* pulsante = "Cmd_Send", bool* restaAperto = nullptr) {
        ui().dialogDrivers[QStringLiteral("frmInet")] = [pulsante, restaAperto](QDialog& d) {
            auto* box = d.findChild<QLineEdit*>(QStringLiteral("txFrom"));
            box->setFocus();
            QCoreApplication::processEvents();
            box->setText(kEmail);
            clic(d, pulsante);
            if (restaAperto)
                *restaAperto = d.isVisible();
            if (d.isVisible())
                clic(d, "Cmd_Esci");
        };
    }
    void guidaEmail(const QString& indirizzo) {
        ui().dialogDrivers[QStringLiteral("frmMailAggInst")] = [indirizzo](QDialog& d) {
            if (indirizzo.isEmpty()) {
                d.findChild<QToolButton*>(QStringLiteral("imgAnnulla"))->click();
                return;
            }
            d.findChild<QLineEdit*>(QStringLiteral("txtEMail"))->setText(indirizzo);
            d.findChild<QToolButton*>(QStringLiteral("imgConferma"))->click();
        };
    }
    QStringList titoli() const {
        QStringList t;
        for (const ui::Message& m : inst->interaction.messages)
            t << m.title;
        return t;
    }

private slots:
    void init();
    void cleanup();

    void invioRiuscito();
    void erroriDiInvio_data();
    void erroriDiInvio();
    void statoNonAggiornato();
    void controlliPrimaDellInvio_data();
    void controlliPrimaDellInvio();
    void unaSolaRichiestaAllaVolta();
    void nonSiChiudeDuranteLaRichiesta();
    void copiaInTrasmissioni();
    void copiaSenzaIndirizzo();
    void tavrelNonRiesce();
    void stampaDelModulo_data();
    void stampaDelModulo();
    void moduloInCartellaNonScrivibile();
};

void TestTrasmis::init() {
    inst = std::make_unique<TestInstallation>();
    sim = std::make_unique<Simulatore>();
    QVERIFY(sim->avvia());
    puntaAlSimulatore(s(), *sim, false);
    sim->setVersione(Session::versione(), Session::versione(), QStringLiteral("N"), QString());
    sim->setStatoAvanzamento(QStringLiteral("41238"), QStringLiteral("30"));
    s().userSettings.set(QStringLiteral("E-Mail"), kEmail);
    net::RichiestaServer::setLimitePredefinitoMs(5000);
    // The closed course of the demo, as the course chooser hands it over.
    s().CorsoSelezionato = 41238;
    s().corso = {41238, QStringLiteral("4"), QStringLiteral("Lingua inglese per il turismo"), 60,
                 QStringLiteral("01")};
}

void TestTrasmis::cleanup() {
    sim.reset();
    inst.reset();
}

void TestTrasmis::invioRiuscito() {
    fidatiDelCertificato();
    guidaTrasmis("cmdSend");
    guidaInvio();
    transmit::mostraTrasmis(s(), nullptr);

    QCOMPARE(ui().dialogsRun, QStringList({"Trasmis", "frmInet"}));
    QCOMPARE(ui().texts().size(), 2);
    QCOMPARE(ui().messages[0].title, QStringLiteral("Trasmissione dati"));
    QCOMPARE(ui().last().text, kSuccesso);
    QCOMPARE(ui().last().title, QStringLiteral("TRASMISSIONE TERMINATA"));
    QCOMPARE(ui().last().icon, Icon::Information);
    QCOMPARE(stato(), QStringLiteral("TRASMESSO"));
    QCOMPARE(statoMostrato, QStringLiteral("TRASMESSO"));
    QVERIFY(!inviabile);
    QVERIFY(!QFile::exists(inst->file(kAllegato)));
    QCOMPARE(ui().busyCalls, 0);

    QCOMPARE(sim->ricevute(Simulatore::VERSIONE).size(), 2); // Trasmis, then frmInet
    QCOMPARE(sim->ricevute(Simulatore::VERSIONE).first().corpo,
             QByteArray("applicativo=KORVADIN&anno=2018"));
    QCOMPARE(sim->ricevute(Simulatore::STATOAVANZAMENTO).last().corpo,
             QByteArray("gruppo=A&codice=123&idAttivita=41238"));
    const auto ricevuta = sim->ricevute(Simulatore::UPLOAD).last();
    QVERIFY(ricevuta.sicura);
    QCOMPARE(ricevuta.utente, QStringLiteral("velto"));
    QCOMPARE(ricevuta.password, QStringLiteral("Xq7#kp2$zw"));
    // The name, then every line of the attachment with a single LF.
    const QByteArray corpo = ricevuta.corpo;
    QVERIFY(corpo.startsWith(kAllegato.toLatin1() + "\n#Z#,#VRD_ALLEGATO_FINE_CORSO_KELD_2018#"));
    QVERIFY(corpo.endsWith("\n#Z#,#EOF#\n"));
    QVERIFY(!corpo.contains('\r'));
    QCOMPARE(corpo.count('\n'), 1 + 3 + 2 * 2 + 1); // name, Z A B, C and D per participant, end
    QVERIFY(corpo.contains("\n#A#,#41238#,#96#,#2018#,#RP#,#A#,#123#,#" + kEmail.toLatin1()));
    QCOMPARE(sim->allegati().last().nome, kAllegato);
}

void TestTrasmis::erroriDiInvio_data() {
    QTest::addColumn<QString>("caso");
    QTest::addColumn<int>("codice");
    QTest::addColumn<bool>("allegatoResta");
    QTest::newRow("reply without the success text") << "testo" << 0 << true;
    QTest::newRow("refused connection") << "chiusa" << 12029 << true;
    QTest::newRow("unknown host") << "sconosciuto" << 12007 << true;
    QTest::newRow("time-out") << "ritardo" << 12002 << true;
    QTest::newRow("untrusted certificate") << "certificato" << 12045 << false;
}

void TestTrasmis::erroriDiInvio() {
    QFETCH(QString, caso);
    QFETCH(int, codice);
    QFETCH(bool, allegatoResta);
    if (caso != QLatin1String("certificato"))
        fidatiDelCertificato();
    if (caso == QLatin1String("testo"))
        sim->setRisposta(Simulatore::UPLOAD, "File ricevuto, in attesa di verifica");
    if (caso == QLatin1String("chiusa"))
        hostUpload(QStringLiteral("127.0.0.1:%1").arg(portaChiusa()));
    if (caso == QLatin1String("sconosciuto"))
        hostUpload(QStringLiteral("server-regionale.invalid"));
    if (caso == QLatin1String("ritardo")) {
        net::RichiestaServer::setLimitePredefinitoMs(1000);
        sim->setGuasto(Simulatore::UPLOAD, Simulatore::Guasto::Ritardo, 3000);
    }
    bool restaAperto = true;
    guidaTrasmis("cmdSend");
    guidaInvio("Cmd_Send", &restaAperto);
    transmit::mostraTrasmis(s(), nullptr);

    QCOMPARE(stato(), QStringLiteral("CHIUSO"));
    QCOMPARE(statoMostrato, QStringLiteral("CHIUSO"));
    QVERIFY(inviabile);
    QCOMPARE(QFile::exists(inst->file(kAllegato)), allegatoResta);
    QCOMPARE(restaAperto, allegatoResta); // 12045 closes the form
    const auto& m = ui().messages;
    if (codice == 0) { // nothing more than the question before connecting
        QCOMPARE(m.size(), 1);
        return;
    }
    QVERIFY(m.size() >= 2);
    const ui::Message trasferimento = m[1];
    QCOMPARE(trasferimento.title, QStringLiteral("Errore di trasmissione"));
    QCOMPARE(trasferimento.icon, Icon::Critical);
    QVERIFY2(trasferimento.text.startsWith(
                 QStringLiteral("Si è verificato un errore in trasmissione, %1 : ").arg(codice)),
             qPrintable(trasferimento.text));
    if (codice == 12045) {
        QVERIFY(trasferimento.text.endsWith(
            QStringLiteral("\r\n\r\nE' necessario installare il certificato di autorizzazione per "
                           "l'accesso al server sicuro 127.0.0.1.\r\nPer procedere alla "
                           "reinstallazione, cercare nel sistema il file CA_ROOT.DER ed eseguire "
                           "un doppio click su di esso.\r\nSe il file è assente dal sistema, "
                           "contattare il servizio assistenza")));
        QCOMPARE(m.size(), 2);
    } else {
        QCOMPARE(m.size(), 3);
        QCOMPARE(m[2].text, kConnessioneInvio);
        QCOMPARE(m[2].title, QStringLiteral("Errore di connessione"));
    }
    QCOMPARE(ui().busyCalls, 0);
}

void TestTrasmis::statoNonAggiornato() {
    // Another workstation reopened the course while it was being sent.
    fidatiDelCertificato();
    connect(sim.get(), &Simulatore::richiestaRicevuta, this, [this](const QString& servizio) {
        if (servizio == Simulatore::UPLOAD)
            s().CorsiDB().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato = 'APERTO' "
                                              "WHERE IdAttivita = 41238"));
    });
    guidaTrasmis("cmdSend");
    guidaInvio();
    transmit::mostraTrasmis(s(), nullptr);
    QCOMPARE(sim->allegati().size(), 1);
    QVERIFY(!ui().texts().contains(kSuccesso));
    QCOMPARE(ui().last().title, QStringLiteral("Aggiornamento stato del corso"));
    QCOMPARE(ui().last().icon, Icon::Critical);
    QCOMPARE(stato(), QStringLiteral("APERTO"));
}

void TestTrasmis::controlliPrimaDellInvio_data() {
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QStringList>("titoli"); // after the first question
    const QString centrali = QStringLiteral("Controllo sugli Archivi Centrali.");
    QTest::newRow("version below the minimum")
        << "10.0.0" << QStringList{QStringLiteral("Controllo Versione")};
    QTest::newRow("course past its start state") << "40" << QStringList{centrali};
    QTest::newRow("progress state with field 2") << "30X" << QStringList{centrali};
    QTest::newRow("HTML page for the progress state")
        << "html" << QStringList{QStringLiteral("ERRORE"), centrali};
    QTest::newRow("ERRORE for the version")
        << "errore" << QStringList{QStringLiteral("Errore restituito dal Server")};
    QTest::newRow("untrusted certificate for the version")
        << "certificato" << QStringList{QStringLiteral("Errore di trasmissione")};
    QTest::newRow("server not reachable") << "chiuso"
                                          << QStringList{QStringLiteral("Errore di trasmissione"),
                                                         QStringLiteral("Errore di connessione")};
}

void TestTrasmis::controlliPrimaDellInvio() {
    QFETCH(QString, caso);
    if (caso == QLatin1String("10.0.0"))
        sim->setVersione(caso, caso, QStringLiteral("N"), QString());
    if (caso == QLatin1String("40"))
        sim->setStatoAvanzamento(QStringLiteral("41238"), caso);
    if (caso == QLatin1String("30X"))
        sim->setStatoAvanzamento(QStringLiteral("41238"), QStringLiteral("30"),
                                 QStringLiteral("X"));
    if (caso == QLatin1String("html"))
        sim->setGuasto(Simulatore::STATOAVANZAMENTO, Simulatore::Guasto::Html);
    if (caso == QLatin1String("errore"))
        sim->setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Errore);
    if (caso == QLatin1String("certificato"))
        s().ini.scrivi(QStringLiteral("CONNESSIONE"), Simulatore::VERSIONE,
                       sim->urlHttps(Simulatore::VERSIONE));
    if (caso == QLatin1String("chiuso"))
        s().ini.scrivi(
            QStringLiteral("CONNESSIONE"), Simulatore::VERSIONE,
            QStringLiteral("http://127.0.0.1:%1/korvadin/versione.asp").arg(portaChiusa()));
    guidaTrasmis("cmdSend");
    guidaInvio();
    transmit::mostraTrasmis(s(), nullptr);
    QCOMPARE(ui().dialogsRun, QStringList{"Trasmis"});
    QTEST(titoli().mid(1), "titoli");
    const QString pagina = inst->file(QStringLiteral("ErrServer.html"));
    if (caso == QLatin1String("html")) {
        QCOMPARE(ui().openedUrls, QList<QUrl>{QUrl::fromLocalFile(pagina)});
        QFile f(pagina);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("<"));
    }
    if (caso == QLatin1String("chiuso"))
        QVERIFY(
            ui().messages[1].text.endsWith(QStringLiteral(" (servizio: korvadin/versione.asp)")));
    QCOMPARE(stato(), QStringLiteral("CHIUSO"));
    QCOMPARE(ui().busyCalls, 0);
}

void TestTrasmis::unaSolaRichiestaAllaVolta() {
    // A second click while the request waits starts nothing: in Trasmis during
    // the version check and in frmInet during the upload.
    fidatiDelCertificato();
    sim->setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Ritardo, 600);
    sim->setGuasto(Simulatore::UPLOAD, Simulatore::Guasto::Ritardo, 600);
    ui().dialogDrivers[QStringLiteral("Trasmis")] = [](QDialog& d) {
        QTimer::singleShot(200, &d, [&d] { clic(d, "cmdSend"); });
        clic(d, "cmdSend");
        if (d.isVisible())
            clic(d, "cmdEsci");
    };
    ui().dialogDrivers[QStringLiteral("frmInet")] = [](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("txFrom"))->setText(kEmail);
        QTimer::singleShot(900, &d, [&d] { clic(d, "Cmd_Send"); });
        clic(d, "Cmd_Send");
    };
    transmit::mostraTrasmis(s(), nullptr);
    QCOMPARE(sim->ricevute(Simulatore::STATOAVANZAMENTO).size(), 1);
    QCOMPARE(sim->ricevute(Simulatore::VERSIONE).size(), 2); // one per form
    QCOMPARE(sim->allegati().size(), 1);
    // The second clicks did not even ask their question.
    QCOMPARE(titoli(), QStringList({"Trasmissione dati", "TRASMISSIONE TERMINATA"}));
    QCOMPARE(stato(), QStringLiteral("TRASMESSO"));
}

void TestTrasmis::nonSiChiudeDuranteLaRichiesta() {
    // Esc and the close button do nothing while a request waits: in Trasmis
    // during the version check and in frmInet during the upload.
    fidatiDelCertificato();
    sim->setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Ritardo, 600);
    sim->setGuasto(Simulatore::UPLOAD, Simulatore::Guasto::Ritardo, 600);
    QStringList rimasti;
    const auto chiudiDopo = [&rimasti](QDialog& d, int ms) {
        QTimer::singleShot(ms, &d, [&rimasti, &d] {
            d.reject();
            d.close();
            if (d.isVisible())
                rimasti << d.objectName();
        });
    };
    ui().dialogDrivers[QStringLiteral("Trasmis")] = [chiudiDopo](QDialog& d) {
        chiudiDopo(d, 200);
        clic(d, "cmdSend");
        if (d.isVisible())
            clic(d, "cmdEsci");
    };
    ui().dialogDrivers[QStringLiteral("frmInet")] = [chiudiDopo](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("txFrom"))->setText(kEmail);
        chiudiDopo(d, 900);
        clic(d, "Cmd_Send");
    };
    transmit::mostraTrasmis(s(), nullptr);
    QCOMPARE(rimasti, QStringList({"Trasmis", "frmInet"}));
    QCOMPARE(sim->allegati().size(), 1);
    QCOMPARE(stato(), QStringLiteral("TRASMESSO"));
}

void TestTrasmis::copiaInTrasmissioni() {
    const QString cartella = inst->file(QStringLiteral("Trasmissioni"));
    QVERIFY(QDir().mkpath(cartella));
    QFile vecchia(QDir(cartella).filePath(kAllegato));
    QVERIFY(vecchia.open(QIODevice::WriteOnly));
    vecchia.write("copia precedente");
    vecchia.close();
    ui().answers = {Answer::No}; // no version check
    guidaEmail(kEmail);
    guidaTrasmis("cmdSalva");
    transmit::mostraTrasmis(s(), nullptr);

    QCOMPARE(ui().dialogsRun, QStringList({"Trasmis", "frmMailAggInst"}));
    QCOMPARE(sim->ricevute().size(), 0);
    const ui::Message m = ui().last();
    QCOMPARE(m.text, QStringLiteral("Copia dei dati effettuata.\r\nCopiato file \r\n") + kAllegato +
                         QStringLiteral("\r\nnella cartella \r\n") + s().CartellaProgramma +
                         QStringLiteral("Trasmissioni"));
    QCOMPARE(m.title, QStringLiteral("Copia su floppy disk"));
    QFile originale(inst->file(kAllegato));
    QVERIFY(originale.open(QIODevice::ReadOnly));
    QVERIFY(vecchia.open(QIODevice::ReadOnly));
    const QByteArray copiato = vecchia.readAll();
    QCOMPARE(copiato, originale.readAll());
    QVERIFY(copiato.contains(kEmail.toLatin1()));
    QCOMPARE(stato(), QStringLiteral("CHIUSO"));
}

void TestTrasmis::copiaSenzaIndirizzo() {
    ui().answers = {Answer::No};
    guidaEmail(QString());
    guidaTrasmis("cmdSalva");
    transmit::mostraTrasmis(s(), nullptr);
    QCOMPARE(ui().last().text,
             QStringLiteral("E' necessario specificare un indirizzo di posta\r\nelettronica per "
                            "poter procedere al salvataggio dei dati."));
    QCOMPARE(ui().last().icon, Icon::Warning);
    QVERIFY(!QFile::exists(inst->file(kAllegato)));
}

void TestTrasmis::tavrelNonRiesce() {
    sim->setGuasto(Simulatore::TAVREL, Simulatore::Guasto::Stato, 503);
    guidaTrasmis("cmdSend");
    guidaInvio("CmdTAVREL");
    transmit::mostraTrasmis(s(), nullptr);
    const ui::Message m = ui().last();
    QVERIFY(m.text.startsWith(
        QStringLiteral("La trasmissione al sistema TAVREL non è stata completata.")));
    QCOMPARE(m.title, QStringLiteral("TRASMISSIONE TAVREL FALLITA"));
    QCOMPARE(m.icon, Icon::Critical);
    QCOMPARE(ui().busyCalls, 0);
}

// The module goes to the print preview and is kept under "Trasmissioni",
// replacing the earlier one; a printer that fails is reported and changes
// nothing else.
void TestTrasmis::stampaDelModulo_data() {
    QTest::addColumn<ui::EsitoStampa>("esito");
    QTest::addColumn<QStringList>("messaggi");
    QTest::newRow("stampato") << ui::EsitoStampa::Stampata << QStringList();
    QTest::newRow("annullato") << ui::EsitoStampa::Annullata << QStringList();
    QTest::newRow("stampante guasta")
        << ui::EsitoStampa::Fallita
        << QStringList{QStringLiteral("La stampa del modulo non è riuscita.")};
}

void TestTrasmis::stampaDelModulo() {
    QFETCH(ui::EsitoStampa, esito);
    QFETCH(QStringList, messaggi);
    const QString pdf = inst->file(QStringLiteral("Trasmissioni/") + kModulo);
    QVERIFY(QDir().mkpath(inst->file(QStringLiteral("Trasmissioni"))));
    QVERIFY(prova::scrivi(pdf, "modulo precedente"));
    ui().esitiStampa = {esito};
    guidaTrasmis("cmdStampa");
    transmit::mostraTrasmis(s(), nullptr);

    QCOMPARE(ui().texts(), messaggi);
    QCOMPARE(ui().stampe.size(), 1);
    QCOMPARE(ui().stampe.first().filePdf, pdf);
    const QStringList pagine = prova::pagineDelPdf(prova::contenuto(pdf));
    QCOMPARE(pagine.size(), 2);
    QVERIFY(pagine.first().contains(QStringLiteral("ORIGINALE")));
    QVERIFY(pagine.last().contains(QStringLiteral("Lingua inglese per il turismo")));
    QCOMPARE(QDir(inst->file(QStringLiteral("Trasmissioni"))).entryList(QDir::Files),
             QStringList{kModulo});
    QCOMPARE(stato(), QStringLiteral("CHIUSO"));
    QCOMPARE(ui().busyCalls, 0);
}

void TestTrasmis::moduloInCartellaNonScrivibile() {
    const QString cartella = inst->file(QStringLiteral("Trasmissioni"));
    const QString pdf = QDir(cartella).filePath(kModulo);
    QVERIFY(QDir().mkpath(cartella));
    QVERIFY(prova::scrivi(pdf, "modulo precedente"));
    const auto lettura = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                         QFileDevice::ExeOther;
    QFile::setPermissions(inst->folder(), lettura | QFileDevice::WriteOwner);
    QFile::setPermissions(cartella, lettura);
    guidaTrasmis("cmdStampa");
    {
        ComeUtenteComune utente;
        if (!utente.attivo())
            QSKIP("cannot act as an unprivileged user");
        transmit::mostraTrasmis(s(), nullptr);
    }
    QFile::setPermissions(cartella, lettura | QFileDevice::WriteOwner);
    QCOMPARE(ui().messages.size(), 1);
    QVERIFY(ui().last().text.startsWith(
        QStringLiteral("Impossibile salvare il modulo in formato PDF nella cartella ") +
        QDir::toNativeSeparators(cartella) + QStringLiteral("\r\n")));
    QCOMPARE(prova::contenuto(pdf), QByteArray("modulo precedente"));
    QCOMPARE(QDir(cartella).entryList(QDir::Files), QStringList{kModulo});
    QCOMPARE(ui().stampe.size(), 1); // the paper copy can still be printed
}

QTEST_MAIN(TestTrasmis)
#include "tst_trasmis.moc"
