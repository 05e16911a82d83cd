// The request layer against the simulator over real loopback sockets.

#include "Simulatore.h"
#include "TestSupport.h"
#include "core/RichiestaServer.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using net::Esito;
using net::RichiestaServer;

class TestRichiestaServer : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<Simulatore> sim;

    Session& sessione() { return inst->sessione(); }
    static quint16 portaChiusa() {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost, 0);
        return s.serverPort(); // closed again when s goes
    }

private slots:
    void init() {
        inst = std::make_unique<TestInstallation>();
        sim = std::make_unique<Simulatore>();
        QVERIFY2(sim->avvia(), qPrintable(sim->erroreAvvio()));
        QVERIFY2(sim->portaHttps() != 0, "HTTPS not served: build certificates missing");
    }
    void cleanup() {
        sim.reset();
        inst.reset();
    }

    void nomeServizioEPrefisso_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("servizio");
        QTest::addColumn<QString>("prefissato");
        QTest::newRow("http") << "http://127.0.0.1:8088/korvadin/nreg.asp"
                              << "korvadin/nreg.asp"
                              << "http://u:p@127.0.0.1:8088/korvadin/nreg.asp";
        QTest::newRow("https, short host") << "https://a/b/c"
                                           << "b/c"
                                           << "https://u:p@a/b/c";
        QTest::newRow("no path") << "http://host"
                                 << ""
                                 << "http://u:p@host";
    }
    void nomeServizioEPrefisso() {
        QFETCH(QString, url);
        QFETCH(QString, servizio);
        QFETCH(QString, prefissato);
        QCOMPARE(net::nomeServizio(url), servizio);
        QCOMPARE(net::urlConPrefisso(url, QStringLiteral("u:p@")), prefissato);
    }

    void codiciDiErrore_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<int>("codice");
        QTest::newRow("connection refused") << "rifiutata" << 12029;
        QTest::newRow("unknown host") << "sconosciuto" << 12007;
        QTest::newRow("time limit") << "ritardo" << 12002;
        QTest::newRow("untrusted authority") << "certificato" << 12045;
        QTest::newRow("dropped connection") << "caduta" << 12030;
        QTest::newRow("status 500") << "stato500" << 500;
        QTest::newRow("status 404") << "stato404" << 404;
        QTest::newRow("cancelled") << "annullata" << 12017;
    }
    void codiciDiErrore() {
        QFETCH(QString, caso);
        QFETCH(int, codice);
        QString url = sim->url(Simulatore::VERSIONE);
        RichiestaServer r(sessione());
        r.setLimiteMs(5000);
        if (caso == QLatin1String("rifiutata")) {
            url = QStringLiteral("http://127.0.0.1:%1/korvadin/versione.asp").arg(portaChiusa());
        } else if (caso == QLatin1String("sconosciuto")) {
            url = QStringLiteral("http://server-regionale.invalid/korvadin/versione.asp");
            r.setLimiteMs(RichiestaServer::LimitePredefinitoMs); // a slow resolver is no time-out
        } else if (caso == QLatin1String("ritardo")) {
            sim->setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Ritardo, 3000);
            r.setLimiteMs(300);
        } else if (caso == QLatin1String("certificato")) {
            url = sim->urlHttps(Simulatore::VERSIONE);
        } else if (caso == QLatin1String("caduta")) {
            sim->setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Caduta);
        } else if (caso == QLatin1String("annullata")) {
            sim->setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Ritardo, 3000);
            QTimer::singleShot(200, &r, [&r] { r.annulla(); });
        } else if (caso.startsWith(QLatin1String("stato"))) {
            sim->setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Stato, caso.mid(5).toInt());
        }
        QSignalSpy errori(&r, &RichiestaServer::erroreTrasferimento);
        QCOMPARE(r.invia(url, "applicativo=KORVADIN&anno=2018"), Esito::Errore);
        QCOMPARE(r.codiceErrore(), codice);
        QVERIFY(!r.completata());
        QVERIFY(!r.valida());
        QVERIFY(!r.testoErrore().isEmpty());
        QCOMPARE(r.errore()->numero, codice);
        QCOMPARE(errori.size(), 1);
        QCOMPARE(errori.first().at(0).toInt(), codice);
        QCOMPARE(r.servizio(), QStringLiteral("korvadin/versione.asp"));
        QVERIFY(!r.inCorso());
    }

    void certificatoDellaCartellaDelProgramma() {
        QVERIFY(QFile::copy(QStringLiteral(KORVADIN_CERTIFICATI "/CA_ROOT.DER"),
                            inst->file(QStringLiteral("CA_ROOT.DER"))));
        RichiestaServer r(sessione());
        QCOMPARE(r.invia(sim->urlHttps(Simulatore::VERSIONE), "applicativo=KORVADIN&anno=2018"),
                 Esito::Completata);
        QCOMPARE(r.codiceErrore(), 0);
        QVERIFY(r.valida());
        QCOMPARE(r.risposta(), QStringLiteral("2.0.1#2.0.1#N##"));
        QVERIFY(sim->ricevute(Simulatore::VERSIONE).last().sicura);
    }

    void validita_data() {
        QTest::addColumn<QByteArray>("risposta");
        QTest::addColumn<bool>("valida");
        QTest::newRow("version reply") << QByteArray("2.0.1#2.0.3#M#Avviso#") << true;
        QTest::newRow("number with blanks") << QByteArray(" 123 ") << true;
        QTest::newRow("ERRORE") << QByteArray("ERRORE: codice non valido") << false;
        QTest::newRow("errore in small letters")
            << QByteArray("si e' verificato un errore") << false;
        QTest::newRow("html page") << QByteArray("<html><body>x</body></html>") << false;
        QTest::newRow("capital H tag") << QByteArray("testo <H1>") << false;
        QTest::newRow("other tag") << QByteArray("a <b> c") << true;
        QTest::newRow("empty") << QByteArray() << true;
    }
    void validita() {
        QFETCH(QByteArray, risposta);
        QFETCH(bool, valida);
        sim->setRisposta(Simulatore::STATOAVANZAMENTO, risposta);
        RichiestaServer r(sessione());
        QCOMPARE(r.invia(sim->url(Simulatore::STATOAVANZAMENTO), "gruppo=A"), Esito::Completata);
        QVERIFY(r.completata());
        QCOMPARE(r.risposta(), QString::fromLatin1(risposta));
        QCOMPARE(r.valida(), valida);
        QVERIFY(!net::rispostaValida(false, QString::fromLatin1(risposta)));
    }

    void rispostaHtmlDelSimulatore() {
        sim->setGuasto(Simulatore::NREG, Simulatore::Guasto::Html);
        RichiestaServer r(sessione());
        QCOMPARE(r.invia(sim->url(Simulatore::NREG), "gruppo=A"), Esito::Completata);
        QCOMPARE(r.codiceErrore(), 0);
        QVERIFY(!r.valida());
    }

    void corpoIntestazioniECredenziali() {
        sessione().passwordServizio = QStringLiteral("utente:pa#ss/w@rd@");
        RichiestaServer r(sessione());
        const QByteArray corpo =
            "gruppo=A&codice=123&compo=&applicativo=KORVADIN&email=a+b%20@x.it";
        QCOMPARE(r.invia(sim->url(Simulatore::NREG), corpo), Esito::Completata);
        const auto ricevuta = sim->ricevute(Simulatore::NREG).last();
        QCOMPARE(ricevuta.metodo, QByteArray("POST"));
        QCOMPARE(ricevuta.corpo, corpo);
        QCOMPARE(ricevuta.utente, QStringLiteral("utente"));
        QCOMPARE(ricevuta.password, QStringLiteral("pa#ss/w@rd"));
        QCOMPARE(ricevuta.intestazioni.value("content-type"),
                 QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(ricevuta.intestazioni.value("proxy-connection"), QByteArray("Keep-Alive"));
        QCOMPARE(ricevuta.intestazioni.value("http"), QByteArray("Protocol Version = HTTP/1.1"));
        QCOMPARE(sim->registrazioni().last().email, QStringLiteral("a+b%20@x.it"));
    }

    void uploadConAutenticazioneBasic_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accettato");
        QTest::newRow("right credentials") << net::upload::password << true;
        QTest::newRow("wrong password") << QStringLiteral("Xq7") << false;
    }
    void uploadConAutenticazioneBasic() {
        QFETCH(QString, password);
        QFETCH(bool, accettato);
        QVERIFY(QFile::copy(QStringLiteral(KORVADIN_CERTIFICATI "/CA_ROOT.DER"),
                            inst->file(QStringLiteral("CA_ROOT.DER"))));
        sessione().passwordServizio = QStringLiteral("altro:x@");
        net::Opzioni o = net::upload::opzioni();
        o.password = password;
        RichiestaServer r(sessione());
        const QByteArray corpo = "A000123_41238.txt\n#Z#,#1#\n#A#,#2#\n";
        const Esito e = r.invia(sim->urlHttps(Simulatore::UPLOAD), corpo, o);
        const auto ricevuta = sim->ricevute(Simulatore::UPLOAD).last();
        QCOMPARE(ricevuta.utente, QStringLiteral("velto"));
        QCOMPARE(ricevuta.password, password);
        QVERIFY(!ricevuta.intestazioni.contains("proxy-connection"));
        if (accettato) {
            QCOMPARE(e, Esito::Completata);
            QVERIFY(r.risposta().contains(net::upload::successo));
            QCOMPARE(sim->allegati().size(), 1);
            QCOMPARE(sim->allegati().first().nome, QStringLiteral("A000123_41238.txt"));
            QCOMPARE(sim->allegati().first().righe, QByteArray("#Z#,#1#\n#A#,#2#\n"));
        } else {
            QCOMPARE(e, Esito::Errore);
            QCOMPARE(r.codiceErrore(), 401);
            QVERIFY(sim->allegati().isEmpty());
        }
    }

    void proxy_data() {
        QTest::addColumn<QString>("proxy");
        QTest::addColumn<QString>("porta");
        QTest::addColumn<QByteArray>("ambiente");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("numero");
        const int http = QNetworkProxy::HttpProxy, nessuno = QNetworkProxy::NoProxy;
        QTest::newRow("user proxy") << "proxy.lan"
                                    << "3128" << QByteArray() << http << "proxy.lan" << 3128;
        QTest::newRow("user proxy over system")
            << "proxy.lan"
            << "8080" << QByteArray("http://sistema.lan:9999") << http << "proxy.lan" << 8080;
        QTest::newRow("no port") << "proxy.lan"
                                 << "" << QByteArray() << http << "proxy.lan" << 80;
        QTest::newRow("port not a number") << "proxy.lan"
                                           << "abc" << QByteArray() << http << "proxy.lan" << 80;
        QTest::newRow("system proxy")
            << ""
            << "3128" << QByteArray("http://sistema.lan:9999") << http << "sistema.lan" << 9999;
        QTest::newRow("none") << ""
                              << "" << QByteArray() << nessuno << "" << 0;
    }
    void proxy() {
        QFETCH(QString, proxy);
        QFETCH(QString, porta);
        QFETCH(QByteArray, ambiente);
        QFETCH(int, tipo);
        QFETCH(QString, host);
        QFETCH(int, numero);
        const QByteArray prima = qgetenv("http_proxy");
        if (ambiente.isEmpty())
            qunsetenv("http_proxy");
        else
            qputenv("http_proxy", ambiente);
        const QNetworkProxy p = net::scegliProxy(
            proxy, porta, QUrl(QStringLiteral("http://server.regione.example/korvadin/x.asp")));
        if (prima.isEmpty())
            qunsetenv("http_proxy");
        else
            qputenv("http_proxy", prima);
        QCOMPARE(int(p.type()), tipo);
        if (tipo != QNetworkProxy::NoProxy) {
            QCOMPARE(p.hostName(), host);
            QCOMPARE(int(p.port()), numero);
        }
    }

    void proxyDelleImpostazioniUsato() {
        // The simulator stands in for the proxy: the request reaches it with the
        // full address of a host that does not exist.
        sessione().userSettings.set(QStringLiteral("Proxy"), QStringLiteral("127.0.0.1"));
        sessione().userSettings.set(QStringLiteral("Porta"), QString::number(sim->portaHttp()));
        RichiestaServer r(sessione());
        QCOMPARE(r.invia(QStringLiteral("http://server-regionale.invalid/korvadin/versione.asp"),
                         "applicativo=KORVADIN&anno=2018"),
                 Esito::Completata);
        QCOMPARE(sim->ricevute(Simulatore::VERSIONE).last().percorso,
                 QByteArray("http://server-regionale.invalid/korvadin/versione.asp"));
    }

    void unaRichiestaAllaVolta() {
        sim->setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Ritardo, 400);
        RichiestaServer r(sessione());
        Esito seconda = Esito::Completata;
        QTimer::singleShot(100, this, [&] {
            QVERIFY(r.inCorso());
            seconda = r.invia(sim->url(Simulatore::NREG), "gruppo=A");
        });
        QCOMPARE(r.invia(sim->url(Simulatore::VERSIONE), "applicativo=KORVADIN&anno=2018"),
                 Esito::Completata);
        QCOMPARE(seconda, Esito::Occupata);
        QVERIFY(r.valida());
        QVERIFY(sim->ricevute(Simulatore::NREG).isEmpty());
        QCOMPARE(r.invia(sim->url(Simulatore::NREG), "gruppo=A"), Esito::Completata);
    }

    void servizioDallaConfigurazione() {
        sessione().ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("VERSIONE"),
                              sim->url(Simulatore::VERSIONE));
        RichiestaServer r(sessione());
        QCOMPARE(r.inviaServizio(net::servizio::VERSIONE, QStringLiteral("applicativo=KORVADIN")),
                 Esito::Completata);
        QCOMPARE(sim->ricevute(Simulatore::VERSIONE).last().corpo,
                 QByteArray("applicativo=KORVADIN"));
        QCOMPARE(r.url(), sim->url(Simulatore::VERSIONE));
    }

    void simulatoreComeProcesso() {
        QTemporaryDir cartella;
        QVERIFY(
            prova::scrivi(cartella.filePath(QStringLiteral("guasti.txt")), "VERSIONE=errore\n"));
        QProcess processo;
        processo.start(QStringLiteral(KORVADIN_SIMULATORE),
                       {QStringLiteral("--cartella"), cartella.path(), QStringLiteral("--numero"),
                        QStringLiteral("500")});
        QHash<QString, QString> porte;
        while (porte.size() < 2 && processo.waitForReadyRead(10000)) {
            while (processo.canReadLine()) {
                const QStringList parti = QString::fromLatin1(processo.readLine()).split(' ');
                porte.insert(parti.value(0), parti.value(1).trimmed());
            }
        }
        QCOMPARE(porte.size(), 2);
        const QString http = QStringLiteral("http://127.0.0.1:") + porte.value("HTTP");
        const QString https = QStringLiteral("https://127.0.0.1:") + porte.value("HTTPS");
        QVERIFY(QFile::copy(QStringLiteral(KORVADIN_CERTIFICATI "/CA_ROOT.DER"),
                            inst->file(QStringLiteral("CA_ROOT.DER"))));

        RichiestaServer r(sessione());
        QCOMPARE(r.invia(http + Simulatore::percorso(Simulatore::VERSIONE), "applicativo=KORVADIN"),
                 Esito::Completata);
        QVERIFY(r.risposta().startsWith(QStringLiteral("ERRORE")));
        QCOMPARE(r.invia(http + Simulatore::percorso(Simulatore::NREG),
                         "gruppo=A&codice=123&compo=&applicativo=KORVADIN&email=a@b.it"),
                 Esito::Completata);
        QCOMPARE(r.risposta(), QStringLiteral(" 500 "));
        QCOMPARE(r.invia(https + Simulatore::percorso(Simulatore::UPLOAD), "A1.txt\n#Z#\n",
                         net::upload::opzioni()),
                 Esito::Completata);
        processo.terminate();
        QVERIFY(processo.waitForFinished(10000));

        QFile allegato(cartella.filePath(QStringLiteral("allegati/A1.txt")));
        QVERIFY(allegato.open(QIODevice::ReadOnly));
        QCOMPARE(allegato.readAll(), QByteArray("#Z#\n"));
        QFile registrazioni(cartella.filePath(QStringLiteral("registrazioni.txt")));
        QVERIFY(registrazioni.open(QIODevice::ReadOnly));
        QCOMPARE(registrazioni.readAll(), QByteArray("A;123;a@b.it;500\n"));
    }
};

QTEST_GUILESS_MAIN(TestRichiestaServer)
#include "tst_richiestaserver.moc"
