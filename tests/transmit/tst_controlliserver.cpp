#include "ScriptedInteraction.h"
#include "transmit/ControlliServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using ui::Icon;

Q_DECLARE_METATYPE(QList<ui::Message>)

namespace {

ui::Message msg(const QString& text, const QString& title, Icon icon) {
    return {text, title, icon, ui::Buttons::Ok, ui::Answer::Ok};
}

void confronta(const QList<ui::Message>& avuti, const QList<ui::Message>& attesi) {
    QCOMPARE(avuti.size(), attesi.size());
    for (qsizetype i = 0; i < attesi.size(); ++i) {
        QCOMPARE(avuti[i].text, attesi[i].text);
        QCOMPARE(avuti[i].title, attesi[i].title);
        QCOMPARE(avuti[i].icon, attesi[i].icon);
    }
}

} // namespace

class TestControlliServer : public QObject {
    Q_OBJECT
private slots:
    void versioni_data();
    void versioni();
    void rispostaVersione_data();
    void rispostaVersione();
    void statoAvanzamento_data();
    void statoAvanzamento();
    void rispostaNonValida_data();
    void rispostaNonValida();
};

void TestControlliServer::versioni_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("segno");
    QTest::newRow("2.0.1 below 10.0.0") << "2.0.1"
                                        << "10.0.0" << -1;
    QTest::newRow("2.0.10 above 2.0.9") << "2.0.10"
                                        << "2.0.9" << 1;
    QTest::newRow("missing revision counts as 0") << "2.0"
                                                  << "2.0.0" << 0;
    QTest::newRow("blanks around") << " 2.0.1 "
                                   << "2.0.1" << 0;
}

void TestControlliServer::versioni() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QTEST(transmit::confrontaVersioni(a, b), "segno");
    QCOMPARE(transmit::confrontaVersioni(b, a), -transmit::confrontaVersioni(a, b));
}

void TestControlliServer::rispostaVersione_data() {
    QTest::addColumn<QString>("risposta");
    QTest::addColumn<bool>("esito");
    QTest::addColumn<QList<ui::Message>>("messaggi");
    const QString titolo = QStringLiteral("Controllo Versione");
    const auto nonAutorizzata =
        msg(QStringLiteral("La presente versione dell'applicativo ( 2.0.1 ) non è autorizzata a "
                           "trasmettere.\r\nScaricare da Internet la nuova versione: 10.0.0"),
            titolo, Icon::Critical);
    QTest::newRow("equal versions, unknown status")
        << "2.0.1#2.0.1#X#testo#" << true << QList<ui::Message>{};
    QTest::newRow("minimum 2.0.2")
        << "2.0.2#2.0.3#N##" << false
        << QList<ui::Message>{msg(QStringLiteral("La presente versione dell'applicativo ( 2.0.1 ) "
                                                 "non è autorizzata a trasmettere.\r\nScaricare da "
                                                 "Internet la nuova versione: 2.0.3"),
                                  titolo, Icon::Critical)};
    QTest::newRow("minimum 10.0.0, compared as numbers")
        << "10.0.0#10.0.0#N##" << false << QList<ui::Message>{nonAutorizzata};
    QTest::newRow("status M, newer version")
        << "2.0.0#2.0.3#M#Nuova versione disponibile#" << true
        << QList<ui::Message>{
               msg(QStringLiteral("Nuova versione disponibile"), QStringLiteral("Trasmissione"),
                   Icon::Information),
               msg(QStringLiteral("La presente versione dell'applicativo ( 2.0.1 ) non è la più "
                                  "recente.\r\nSi consiglia di scaricare da Internet la nuova "
                                  "versione: 2.0.3\r\nLa trasmissione avverrà comunque."),
                   titolo, Icon::Warning)};
    QTest::newRow("status S")
        << "2.0.0#2.0.1#S#ignorato#" << false
        << QList<ui::Message>{msg(
               QStringLiteral("La presente versione dell'applicativo ( 2.0.1 ) non è più gestita "
                              "dalla Provincia.\r\nImpossibile effettuare la trasmissione, per "
                              "ulteriori informazioni contattare il servizio di assistenza VRD."),
               titolo, Icon::Warning)};
    QTest::newRow("status A") << "2.0.0#2.0.1#A#Trasmissioni sospese#" << false
                              << QList<ui::Message>{msg(QStringLiteral("Trasmissioni sospese"),
                                                        QStringLiteral("Trasmissione"),
                                                        Icon::Critical)};
}

void TestControlliServer::rispostaVersione() {
    QFETCH(QString, risposta);
    QFETCH(QList<ui::Message>, messaggi);
    ui::ScriptedInteraction ui;
    QTEST(transmit::esitoVersione(risposta, QStringLiteral("2.0.1"), ui, nullptr), "esito");
    confronta(ui.messages, messaggi);
}

void TestControlliServer::statoAvanzamento_data() {
    QTest::addColumn<QString>("risposta");
    QTest::addColumn<bool>("esito");
    QTest::newRow("30 with an empty field 2") << "#41238#,#30#,##" << true;
    QTest::newRow("30 without field 2") << "#41238#,#30#" << true;
    QTest::newRow("line ends removed") << "#41238#,#3\r\n0#,##\r\n" << true;
    QTest::newRow("another state") << "#41238#,#40#,##" << false;
    QTest::newRow("field 2 not empty") << "#41238#,#30#,#X#" << false;
    QTest::newRow("30 in field 0") << "#30#,##" << false;
}

void TestControlliServer::statoAvanzamento() {
    QFETCH(QString, risposta);
    QTEST(transmit::esitoStatoAvanzamento(risposta), "esito");
}

void TestControlliServer::rispostaNonValida_data() {
    QTest::addColumn<int>("codice");
    QTest::addColumn<QString>("risposta");
    QTest::addColumn<QList<ui::Message>>("messaggi");
    QTest::addColumn<bool>("pagina");
    QTest::newRow("untrusted certificate, already explained")
        << 12045 << "" << QList<ui::Message>{} << false;
    QTest::newRow("connection refused")
        << 12029 << ""
        << QList<ui::Message>{msg(
               QStringLiteral("Errore di connessione al server (server: https://srv, servizio: "
                              "korvadin/versione.asp). Riprovare in un secondo momento, oppure "
                              "contattare il servizio di assistenza VRD riportando questo "
                              "messaggio."),
               QStringLiteral("Errore di connessione"), Icon::Critical)}
        << false;
    QTest::newRow("HTML page")
        << 0 << "<HTML><body>Internal error</body></HTML>"
        << QList<ui::Message>{msg(
               QStringLiteral("Si è verificato un errore sul server https://srv (servizio: "
                              "korvadin/versione.asp), cliccando su OK il sistema cercherà di "
                              "visualizzare ulteriori informazioni sull'errore. Contattare il "
                              "servizio assistenza VRD riportando questo messaggio e le "
                              "informazioni visualizzate"),
               QStringLiteral("ERRORE"), Icon::Critical)}
        << true;
    QTest::newRow("ERRORE text")
        << 0 << "Errore: corso sconosciuto"
        << QList<ui::Message>{msg(
               QStringLiteral("Operazione non riuscita (servizio: korvadin/versione.asp). Il "
                              "server ha restituito il seguente messaggio di errore: \r\n\r\n"
                              "Errore: corso sconosciuto\r\n\r\nControllare i dati immessi e "
                              "ritentare l'operazione, oppure contattare il servizio di "
                              "assistenza VRD riportando questo messaggio."),
               QStringLiteral("Errore restituito dal Server"), Icon::Critical)}
        << false;
}

void TestControlliServer::rispostaNonValida() {
    QFETCH(int, codice);
    QFETCH(QString, risposta);
    QFETCH(QList<ui::Message>, messaggi);
    QFETCH(bool, pagina);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ErrServer.html"));
    QFile vecchia(file);
    QVERIFY(vecchia.open(QIODevice::WriteOnly));
    vecchia.write("pagina precedente, piu lunga di quella nuova ...........................");
    vecchia.close();
    ui::ScriptedInteraction ui;
    transmit::erroreRisposta(ui, nullptr, codice, risposta, QStringLiteral("https://srv"),
                             QStringLiteral("korvadin/versione.asp"), dir.path() + "/");
    confronta(ui.messages, messaggi);
    if (pagina) {
        QCOMPARE(ui.openedUrls, QList<QUrl>{QUrl::fromLocalFile(file)});
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(f.readAll()), risposta);
    } else {
        QCOMPARE(ui.openedUrls, QList<QUrl>{});
    }
}

QTEST_GUILESS_MAIN(TestControlliServer)
#include "tst_controlliserver.moc"
