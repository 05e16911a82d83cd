// The options dialog and the proxy dialog; a request through the proxy chosen in
// the dialog goes through a small proxy of the test's own.

#include "SimulatoreSupport.h"
#include "TestSupport.h"
#include "core/RichiestaServer.h"
#include "maint/Assistenza.h"
#include "maint/Manutenzione.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolButton>
#include <QtTest>

using ui::Answer;
using ui::Icon;

namespace {

const QString kEmail = QStringLiteral("mario.rossi@example.it");

template <typename T> T* trova(QDialog& d, const char* nome) {
    T* w = d.template findChild<T*>(QString::fromLatin1(nome));
    if (!w)
        qFatal("manca %s", nome);
    return w;
}

// An HTTP proxy in a few lines: takes the absolute-form request, opens the
// connection to the host it names and relays both ways.
class ProxyDiProva : public QTcpServer {
public:
    int richieste = 0;
    ProxyDiProva() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* cliente = nextPendingConnection()) {
                auto* buffer = new QByteArray;
                connect(cliente, &QTcpSocket::readyRead, cliente, [this, cliente, buffer] {
                    *buffer += cliente->readAll();
                    if (cliente->property("inoltro").toBool() || !buffer->contains("\r\n\r\n"))
                        return;
                    cliente->setProperty("inoltro", true);
                    ++richieste;
                    const int fine = buffer->indexOf("\r\n");
                    const QList<QByteArray> riga = buffer->left(fine).split(' ');
                    const QUrl url(QString::fromLatin1(riga.value(1)));
                    auto* server = new QTcpSocket(cliente);
                    connect(server, &QTcpSocket::readyRead, cliente,
                            [cliente, server] { cliente->write(server->readAll()); });
                    connect(server, &QTcpSocket::disconnected, cliente,
                            &QTcpSocket::disconnectFromHost);
                    connect(cliente, &QTcpSocket::readyRead, server,
                            [cliente, server] { server->write(cliente->readAll()); });
                    server->connectToHost(url.host(), quint16(url.port(80)));
                    server->write(riga.value(0) + ' ' + url.path(QUrl::FullyEncoded).toLatin1() +
                                  (url.hasQuery() ? '?' + url.query().toLatin1() : QByteArray()) +
                                  ' ' + riga.value(2) + buffer->mid(fine));
                });
                connect(cliente, &QTcpSocket::disconnected, cliente, [cliente, buffer] {
                    delete buffer;
                    cliente->deleteLater();
                });
            }
        });
    }
};

} // namespace

class TestOpzioni : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstallation> inst;
    Session& s() { return inst->sessione(); }
    ui::ScriptedInteraction& ui() { return inst->interaction; }
    QString ini(const QString& sezione, const QString& chiave) {
        clsFileINI f(s().CartellaProgramma);
        f.setNomeFile(QStringLiteral("KORVADIN.INI"));
        return f.leggi(sezione, chiave);
    }
    void guida(const QString& nome, std::function<void(QDialog&)> driver) {
        ui().dialogDrivers[nome] = std::move(driver);
    }

private slots:
    void init() {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                              "ALL_PROXY", "no_proxy", "NO_PROXY"})
            qunsetenv(v);
        inst = std::make_unique<TestInstallation>();
        s().ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"),
                       QStringLiteral("StandAlone"));
        s().ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Database"), inst->database());
        s().userSettings.set(QStringLiteral("E-Mail"), kEmail);
    }
    void cleanup() { inst.reset(); }

    void aperturaSenzaModifiche();
    void cambioPercorsoDatabase();
    void preferenzeSalvate();
    void serverPosta_data();
    void serverPosta();
    void proprioServerVuoto();
    void emailNonValida();
    void proxyRifiuti_data();
    void proxyRifiuti();
    void proxyDiSistema();
    void richiestaTramiteProxy();
};

void TestOpzioni::aperturaSenzaModifiche() {
    const QByteArray prima = prova::contenuto(s().file(QStringLiteral("KORVADIN.INI")));
    guida("frmOpzioni", [](QDialog& d) { trova<QPushButton>(d, "cmdAnnulla")->click(); });
    maint::mostraFrmOpzioni(s(), nullptr);
    QCOMPARE(ui().dialogsRun, QStringList({"frmOpzioni"}));
    QVERIFY(ui().messages.isEmpty());
    QCOMPARE(prova::contenuto(s().file(QStringLiteral("KORVADIN.INI"))), prima);
    QVERIFY(ui().unfinishedDialogs.isEmpty());
}

void TestOpzioni::cambioPercorsoDatabase() {
    const QString nuovo = inst->file(QStringLiteral("altro/KORVADIN.mdb"));
    guida("frmOpzioni", [nuovo](QDialog& d) {
        trova<QLineEdit>(d, "txtDatabase")->setText(nuovo);
        trova<QCheckBox>(d, "ckSottolinea")->setChecked(true);
        trova<QPushButton>(d, "cmdSalva")->click();
    });
    QVERIFY(terminaIlProgramma([&] { maint::mostraFrmOpzioni(s(), nullptr); }));
    QCOMPARE(ini("BaseDati", "Database"), nuovo);
    QCOMPARE(ini("Installazione", "Tipo"), QStringLiteral("StandAlone"));
    QCOMPARE(ui().messages.size(), 1);
    QCOMPARE(ui().last().text,
             QStringLiteral("Sono state modificate delle impostazioni di installazione.\n"
                            "E' necessario riavviare l'applicativo."));
    QCOMPARE(ui().last().title, QStringLiteral("Salvataggio dati"));
    QCOMPARE(ui().last().icon, Icon::Information);
    QVERIFY(s().ended());
    QVERIFY(!s().de.CorsiDB.isOpen());
    QCOMPARE(s().userSettings.get(QStringLiteral("OptSottolinea"), QStringLiteral("-")),
             QStringLiteral("-"));
}

void TestOpzioni::preferenzeSalvate() {
    guida("frmOpzioni", [](QDialog& d) {
        trova<QCheckBox>(d, "ckSottolinea")->setChecked(true);
        trova<QCheckBox>(d, "ckCambia")->setChecked(false);
        trova<QPushButton>(d, "cmdAnnulla")->click(); // "Salvare...?" Yes
    });
    maint::mostraFrmOpzioni(s(), nullptr);
    QCOMPARE(ui().texts(), QStringList({"Salvare le modifiche effettuate?"}));
    QCOMPARE(ui().last().buttons, ui::Buttons::YesNo);
    QCOMPARE(s().userSettings.get(QStringLiteral("OptSottolinea")), QStringLiteral("1"));
    QCOMPARE(s().userSettings.get(QStringLiteral("OptCambia")), QStringLiteral("0"));
    QVERIFY(s().preferenze.sottolinea);
    QVERIFY(!s().preferenze.cambiaColore);
    QVERIFY(!s().ended());
}

void TestOpzioni::serverPosta_data() {
    QTest::addColumn<QString>("memorizzato");
    QTest::addColumn<QString>("scelta");
    const QString consigliato = assistenza::serverPostaConsigliato(clsFileINI());
    const QString interno = assistenza::serverPostaInterno(clsFileINI());
    QTest::newRow("nessuno") << QString() << QString();
    QTest::newRow("consigliato") << consigliato << "optServVRD";
    QTest::newRow("interno") << interno << "optServVRDINT";
    QTest::newRow("altro") << "smtp.ente-formazione.it"
                           << "optMioServ";
}

void TestOpzioni::serverPosta() {
    QFETCH(QString, memorizzato);
    QFETCH(QString, scelta);
    s().userSettings.set(QStringLiteral("ServerMail"), memorizzato);
    QStringList scelte;
    QString testo;
    bool visibile = false;
    guida("frmOpzioni", [&](QDialog& d) {
        for (const char* o : {"optServVRD", "optServVRDINT", "optMioServ"})
            if (trova<QRadioButton>(d, o)->isChecked())
                scelte << QString::fromLatin1(o);
        testo = trova<QLineEdit>(d, "txtMioServ")->text();
        visibile = trova<QLineEdit>(d, "txtMioServ")->isVisible();
        trova<QPushButton>(d, "cmdSalva")->click();
    });
    maint::mostraFrmOpzioni(s(), nullptr);
    QCOMPARE(scelte, scelta.isEmpty() ? QStringList() : QStringList{scelta});
    QCOMPARE(visibile, scelta == QLatin1String("optMioServ"));
    QCOMPARE(testo, visibile ? memorizzato : QString());
    QCOMPARE(s().userSettings.get(QStringLiteral("ServerMail")), memorizzato);
}

void TestOpzioni::proprioServerVuoto() {
    bool aperto = false;
    guida("frmOpzioni", [&](QDialog& d) {
        trova<QRadioButton>(d, "optMioServ")->setChecked(true);
        trova<QPushButton>(d, "cmdSalva")->click();
        aperto = d.isVisible();
        d.done(QDialog::Rejected);
    });
    maint::mostraFrmOpzioni(s(), nullptr);
    QVERIFY(aperto);
    QCOMPARE(ui().last().text, QStringLiteral("Indicare l'indirizzo del proprio server di posta."));
    QCOMPARE(ui().last().title, QStringLiteral("Salvataggio dati"));
    QCOMPARE(ui().last().icon, Icon::Critical);
    QCOMPARE(s().userSettings.get(QStringLiteral("ServerMail"), QStringLiteral("-")),
             QStringLiteral("-"));
}

void TestOpzioni::emailNonValida() {
    bool aperto = false;
    guida("frmOpzioni", [&](QDialog& d) {
        trova<QLineEdit>(d, "txtEMail")->setText(QStringLiteral("mario.rossi"));
        trova<QRadioButton>(d, "optServVRD")->setChecked(true);
        trova<QCheckBox>(d, "ckAumenta")->setChecked(true);
        trova<QPushButton>(d, "cmdSalva")->click();
        aperto = d.isVisible();
        d.done(QDialog::Rejected);
    });
    maint::mostraFrmOpzioni(s(), nullptr);
    QVERIFY(aperto);
    QCOMPARE(ui().messages.size(), 1);
    QCOMPARE(ui().last().title, QStringLiteral("Indirizzo e-mail"));
    QCOMPARE(s().userSettings.get(QStringLiteral("E-Mail")), kEmail);
    QCOMPARE(s().userSettings.get(QStringLiteral("ServerMail"), QStringLiteral("-")),
             QStringLiteral("-"));
    QCOMPARE(s().userSettings.get(QStringLiteral("OptAumenta"), QStringLiteral("-")),
             QStringLiteral("-"));
}

void TestOpzioni::proxyRifiuti_data() {
    QTest::addColumn<QString>("proxy");
    QTest::addColumn<QString>("porta");
    QTest::addColumn<QString>("messaggio");
    QTest::newRow("senza porta") << "proxy.ente.it"
                                 << ""
                                 << "Specificare una porta per il server Proxy";
    QTest::newRow("senza server") << ""
                                  << "8080"
                                  << "Specificare un server Proxy";
}

void TestOpzioni::proxyRifiuti() {
    QFETCH(QString, proxy);
    QFETCH(QString, porta);
    QFETCH(QString, messaggio);
    bool aperto = false;
    guida("FrmProxy", [&](QDialog& d) {
        trova<QRadioButton>(d, "optProxy0")->setChecked(true);
        trova<QLineEdit>(d, "txtproxy")->setText(proxy);
        trova<QLineEdit>(d, "TxtPorta")->setText(porta);
        trova<QToolButton>(d, "ImgOk")->click();
        aperto = d.isVisible();
        trova<QToolButton>(d, "ImgAnn")->click();
    });
    maint::mostraFrmProxy(s(), nullptr);
    QVERIFY(aperto);
    QCOMPARE(ui().texts(), QStringList{messaggio});
    QCOMPARE(ui().last().title, QStringLiteral("PROXY"));
    QCOMPARE(ui().last().icon, Icon::Critical);
    QCOMPARE(s().userSettings.get(QStringLiteral("Proxy"), QStringLiteral("-")),
             QStringLiteral("-"));
}

void TestOpzioni::proxyDiSistema() {
    s().userSettings.set(QStringLiteral("Proxy"), QStringLiteral("proxy.ente.it"));
    s().userSettings.set(QStringLiteral("Porta"), QStringLiteral("3128"));
    bool abilitato = true, sceltoProxy = false;
    guida("FrmProxy", [&](QDialog& d) {
        sceltoProxy = trova<QRadioButton>(d, "optProxy0")->isChecked();
        trova<QRadioButton>(d, "optProxy1")->setChecked(true);
        abilitato = trova<QLineEdit>(d, "txtproxy")->isEnabled();
        trova<QToolButton>(d, "ImgOk")->click();
    });
    maint::mostraFrmProxy(s(), nullptr);
    QVERIFY(sceltoProxy);
    QVERIFY(!abilitato);
    QCOMPARE(s().userSettings.get(QStringLiteral("Proxy"), QStringLiteral("-")), QString());
    QCOMPARE(s().userSettings.get(QStringLiteral("Porta"), QStringLiteral("-")), QString());
}

void TestOpzioni::richiestaTramiteProxy() {
    Simulatore sim;
    QVERIFY(sim.avvia());
    puntaAlSimulatore(s(), sim);
    ProxyDiProva proxy;
    QVERIFY(proxy.listen(QHostAddress::LocalHost));
    auto scegli = [&](bool conProxy) {
        guida("FrmProxy", [&proxy, conProxy](QDialog& d) {
            trova<QRadioButton>(d, conProxy ? "optProxy0" : "optProxy1")->setChecked(true);
            trova<QLineEdit>(d, "txtproxy")->setText(QStringLiteral("127.0.0.1"));
            trova<QLineEdit>(d, "TxtPorta")->setText(QString::number(proxy.serverPort()));
            trova<QToolButton>(d, "ImgOk")->click();
        });
        maint::mostraFrmProxy(s(), nullptr);
    };
    net::RichiestaServer richiesta(s());
    scegli(true);
    QCOMPARE(richiesta.inviaServizio(net::servizio::VERSIONE, QStringLiteral("a=1")),
             net::Esito::Completata);
    QVERIFY(richiesta.valida());
    QCOMPARE(proxy.richieste, 1);
    QCOMPARE(sim.ricevute(Simulatore::VERSIONE).size(), 1);

    scegli(false);
    QCOMPARE(richiesta.inviaServizio(net::servizio::VERSIONE, QStringLiteral("a=2")),
             net::Esito::Completata);
    QCOMPARE(proxy.richieste, 1);
    QCOMPARE(sim.ricevute(Simulatore::VERSIONE).size(), 2);
    QCOMPARE(sim.ricevute(Simulatore::VERSIONE).last().corpo, QByteArray("a=2"));
}

QTEST_MAIN(TestOpzioni)
#include "tst_opzioni.moc"
