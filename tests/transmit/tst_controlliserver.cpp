#include "ScriptedInteraction.h"
#include "transmit/ControlliServer.h"

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
    void rispostaVersione_data();
    void rispostaVersione();
    void statoAvanzamento_data();
    void statoAvanzamento();
};

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

QTEST_GUILESS_MAIN(TestControlliServer)
#include "tst_controlliserver.moc"
