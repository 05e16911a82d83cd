// The course-registry export: the dataset of a proposal, and the exchange with
// the registry's SOAP service (the in-process simulator).

#include "SimulatoreSupport.h"
#include "TestSupport.h"
#include "export/ClientSoap.h"
#include "export/DatasetNorva.h"
#include "export/EsportazioneNorvaTavrel.h"
#include "transmit/frmInet.h"
#include "transmit/mdCreaFileTrasm.h"

#include <QPushButton>
#include <QTcpServer>
#include <QXmlStreamReader>
#include <QtTest>

using ui::Icon;

namespace {

const QString kTesta = QStringLiteral("<dsNorva xmlns=\"http://tempuri.org/dsNorva.xsd\">\r\n");
const QString kCoda = QStringLiteral("</dsNorva>\r\n");
constexpr qint32 kCorso = 77001;

QString righe(const QStringList& r) {
    return kTesta + r.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n") + kCoda;
}

} // namespace

class TestEsportazione : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstallation> inst;
    Session& s() { return inst->sessione(); }
    ui::ScriptedInteraction& ui() { return inst->interaction; }
    void esegui(const QStringList& sql) {
        for (const QString& q : sql)
            s().CorsiDB().exec(q);
    }
    void propostaSemplice(const QString& guid, int sede) {
        s().CorsiDB().exec(
            QStringLiteral("INSERT INTO CorsiProp (Guid, GrupOpe, Operatore, SedeInteressata, "
                           "IdAttivita_CorsoRifB111) VALUES (?, 'A', 12, ?, ?)"),
            {guid, sede, kCorso});
    }

private slots:
    void init() {
        inst = std::make_unique<TestInstallation>();
        esegui({"DELETE FROM CorsiProp", "DELETE FROM Qualifi", "DELETE FROM Destin",
                "DELETE FROM CorsiSediOcc", "DELETE FROM Comuni"});
    }
    void cleanup() { inst.reset(); }

    void dataset_data();
    void dataset();
    void escapeNorva();
    void inviaIlDataset();
    void descrizioniDelServizio_data();
    void descrizioniDelServizio();
    void faultDelServizio();
    void connessioneRifiutata();
};

void TestEsportazione::dataset_data() {
    QTest::addColumn<QStringList>("dati");
    QTest::addColumn<QString>("guid");
    QTest::addColumn<QString>("atteso");

    QTest::newRow("CompoResp Null: componente dalla sede, niente sedi")
        << QStringList{"INSERT INTO Qualifi VALUES ('Q7', 'Addetto è & \"magazzino\"')",
                       "INSERT INTO CorsiSediOcc (SedeOcc, Denominazione) VALUES (3, 'Aula')",
                       "INSERT INTO CorsiProp (Guid, GrupOpe, Operatore, SedeInteressata, "
                       "CompoResp, Corso, CodQualif, CodSetto, CodComp, DurataTotIter, CodCert, "
                       "OreStage, TotOreIter, CodAsse, CodMisura, CodAzione, ATI) VALUES "
                       "('{G-1}', 'A', 12, 3, NULL, 41, 'Q7', 'S1', '', 900, 2, 300, 1200, "
                       "'C', 'C3', 'C3a', 1)"}
        << "{G-1}"
        << righe({"  <CorsoNorva>", "    <Guid>{G-1}</Guid>",
                  "    <GruppoOperatore>A</GruppoOperatore>",
                  "    <CodiceOperatore>12</CodiceOperatore>",
                  "    <ProgrComponente>3</ProgrComponente>",
                  "    <CodiceNorvaCentro>A00012003</CodiceNorvaCentro>",
                  "    <ProvvProgrAttivita>41</ProvvProgrAttivita>",
                  "    <CodiceQualifica>Q7</CodiceQualifica>",
                  "    <Denominazione>Addetto &#232; &amp; &quot;magazzino&quot;</Denominazione>",
                  "    <Settore>S1</Settore>", "    <RipartizioneIter>900</RipartizioneIter>",
                  "    <Certificazione>2</Certificazione>", "    <OreStage>300</OreStage>",
                  "    <TotaleOreIter>1200</TotaleOreIter>", "    <Asse>C</Asse>",
                  "    <Misura>C3</Misura>", "    <Azione>C3a</Azione>",
                  "    <TipoAssociazione>ATS</TipoAssociazione>", "  </CorsoNorva>"});

    QTest::newRow("sede occasionale, destinatario, indirizzo; Tel vuoto con Pref; Guid "
                  "com'è solo nel corso")
        << QStringList{"INSERT INTO Destin VALUES (5, 'Giovani <18 anni')",
                       "INSERT INTO Comuni (CodComune, CodiceConversione) VALUES ('A326', '7003')",
                       "INSERT INTO CorsiSediOcc (SedeOcc, Denominazione, Cap, Indirizzo, Pref, "
                       "Tel, PrefFax, Fax, CodComune) VALUES (501, 'Sala l''Incontro', '11100', "
                       "'Via Roma 1', '0165', '', '0165', '44556', 'A326')",
                       "INSERT INTO CorsiProp (Guid, GrupOpe, Operatore, SedeInteressata, "
                       "CompoResp, CodQualif, CodDest, CodDest2, CodInd, DesInd, ATI) VALUES "
                       "('G&2', 'B', 7, 501, 2, 'QX', 5, 99, 'I1', 'Indirizzo > base', 0)"}
        << "G&2"
        << righe({"  <CorsoNorva>",
                  "    <Guid>G&2</Guid>",
                  "    <GruppoOperatore>B</GruppoOperatore>",
                  "    <CodiceOperatore>7</CodiceOperatore>",
                  "    <ProgrComponente>2</ProgrComponente>",
                  "    <CodiceNorvaCentro>B00007002</CodiceNorvaCentro>",
                  "    <CodiceQualifica>QX</CodiceQualifica>",
                  "    <SedeOccasionale>501</SedeOccasionale>",
                  "  </CorsoNorva>",
                  "  <DestinatariNorva>",
                  "    <Guid>G&amp;2</Guid>",
                  "    <CodiceDestinatario>5</CodiceDestinatario>",
                  "    <DescrDestinatario>Giovani &lt;18 anni</DescrDestinatario>",
                  "  </DestinatariNorva>",
                  "  <IndirizzoNorva>",
                  "    <Guid>G&amp;2</Guid>",
                  "    <CodiceIndirizzo>I1</CodiceIndirizzo>",
                  "    <DescrIndirizzo>Indirizzo &gt; base</DescrIndirizzo>",
                  "  </IndirizzoNorva>",
                  "  <SediOccasionaliNorva>",
                  "    <CodiceSedeOccasionale>501</CodiceSedeOccasionale>",
                  "    <Denominazione>Sala l'Incontro</Denominazione>",
                  "    <CodiceConversione>7003</CodiceConversione>",
                  "    <Cap>11100</Cap>",
                  "    <Indirizzo>Via Roma 1</Indirizzo>",
                  "    <Fax>0165-44556</Fax>",
                  "  </SediOccasionaliNorva>"});

    QTest::newRow("sede senza comune noto: la sede resta, senza codice di conversione")
        << QStringList{"INSERT INTO CorsiSediOcc (SedeOcc, Tel, Pref, CodComune) VALUES (8, "
                       "'123', '', 'ZZZZ')",
                       "INSERT INTO CorsiProp (Guid, GrupOpe, Operatore, SedeInteressata, "
                       "CompoResp) VALUES ('G-3', 'A', 1, 8, 1)"}
        << "G-3"
        << righe({"  <CorsoNorva>", "    <Guid>G-3</Guid>",
                  "    <GruppoOperatore>A</GruppoOperatore>",
                  "    <CodiceOperatore>1</CodiceOperatore>",
                  "    <ProgrComponente>1</ProgrComponente>",
                  "    <CodiceNorvaCentro>A00001001</CodiceNorvaCentro>",
                  "    <SedeOccasionale>8</SedeOccasionale>", "  </CorsoNorva>",
                  "  <SediOccasionaliNorva>",
                  "    <CodiceSedeOccasionale>8</CodiceSedeOccasionale>",
                  "    <Telefono>-123</Telefono>", "  </SediOccasionaliNorva>"});

    QTest::newRow("due righe con lo stesso Guid")
        << QStringList{"INSERT INTO CorsiProp (Guid, GrupOpe, Operatore, SedeInteressata) "
                       "VALUES ('G-4', 'A', 12, 3)",
                       "INSERT INTO CorsiProp (Guid, GrupOpe, Operatore, SedeInteressata) "
                       "VALUES ('G-4', 'A', 12, 4)",
                       "INSERT INTO CorsiProp (Guid, GrupOpe, Operatore, SedeInteressata) "
                       "VALUES ('G-5', 'A', 12, 5)"}
        << "G-4"
        << righe({"  <CorsoNorva>", "    <Guid>G-4</Guid>",
                  "    <GruppoOperatore>A</GruppoOperatore>",
                  "    <CodiceOperatore>12</CodiceOperatore>",
                  "    <ProgrComponente>3</ProgrComponente>",
                  "    <CodiceNorvaCentro>A00012003</CodiceNorvaCentro>", "  </CorsoNorva>",
                  "  <CorsoNorva>", "    <Guid>G-4</Guid>",
                  "    <GruppoOperatore>A</GruppoOperatore>",
                  "    <CodiceOperatore>12</CodiceOperatore>",
                  "    <ProgrComponente>4</ProgrComponente>",
                  "    <CodiceNorvaCentro>A00012004</CodiceNorvaCentro>", "  </CorsoNorva>"});
}

void TestEsportazione::dataset() {
    QFETCH(QStringList, dati);
    QFETCH(QString, guid);
    QFETCH(QString, atteso);
    esegui(dati);
    QCOMPARE(esportazione::CreaDatasetNorva(s().CorsiDB(), guid), atteso);
}

void TestEsportazione::escapeNorva() {
    QCOMPARE(esportazione::escapeNorva(QStringLiteral("a b'c\t\u20ac\u0100")),
             QStringLiteral("a b'c&#9;&#128;&#256;"));
}

void TestEsportazione::inviaIlDataset() {
    Simulatore sim;
    QVERIFY(sim.avvia());
    puntaAlSimulatore(s(), sim);
    propostaSemplice(QStringLiteral("G-9"), 3);
    propostaSemplice(QStringLiteral("G-9"), 4); // one call for the Guid
    propostaSemplice(QStringLiteral("G-10"), 5);
    s().CorsiDB().exec(QStringLiteral("INSERT INTO CorsiProp (Guid, GrupOpe, Operatore, "
                                      "IdAttivita_CorsoRifB111) VALUES ('G-11', 'A', 12, 1)"));
    QList<int> percentuali;
    const int esito = esportazione::EsportaCorsoTavrel(s(), kCorso, QString(), QString(),
                                                       [&](int p) { percentuali << p; });
    QCOMPARE(esito, 0);
    QCOMPARE(ui().last().text, QStringLiteral("Operazione eseguita correttamente."));
    QCOMPARE(ui().last().icon, Icon::Information);
    QCOMPARE(percentuali, QList<int>({50, 100}));

    const auto richieste = sim.ricevute(Simulatore::TAVREL);
    QCOMPARE(richieste.size(), 3);
    QCOMPARE(richieste[0].metodo, QByteArray("GET"));
    QCOMPARE(richieste[0].percorso, QByteArray("/webservicenorva/percorsidirittodovere.asmx?WSDL"));
    const auto& busta = richieste[1];
    QCOMPARE(busta.metodo, QByteArray("POST"));
    QCOMPARE(busta.intestazioni.value("soapaction"),
             QByteArray("\"http://tavrel.local/norva/AggiornaPercorsiTavrel\""));
    QVERIFY(busta.intestazioni.value("content-type").startsWith("text/xml"));
    const QString dataset = esportazione::CreaDatasetNorva(s().CorsiDB(), QStringLiteral("G-9"));
    QString testo = dataset;
    testo.replace(QLatin1Char('&'), QStringLiteral("&amp;"))
        .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;"))
        .replace(QLatin1Char('"'), QStringLiteral("&quot;"))
        .replace(QLatin1Char('\r'), QStringLiteral("&#13;"));
    QCOMPARE(QString::fromUtf8(busta.corpo),
             QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><soap:Envelope "
                            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                            "<AggiornaPercorsiTavrel xmlns=\"http://tavrel.local/norva/\">"
                            "<xmlDataset>") +
                 testo +
                 QStringLiteral("</xmlDataset></AggiornaPercorsiTavrel></soap:Body>"
                                "</soap:Envelope>\n"));
    // The registry reads back exactly the dataset, CR LF included.
    QCOMPARE(sim.datasetTavrel(),
             QStringList({dataset, esportazione::CreaDatasetNorva(s().CorsiDB(), "G-10")}));
}

void TestEsportazione::descrizioniDelServizio_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("attesi"); // path, SOAPAction, namespaces and names
    QTest::addColumn<QString>("rifiuto");

    const QString op = QStringLiteral("AggiornaPercorsiTavrel");
    QTest::newRow("tipo anonimo, binding SOAP 1.2 accanto")
        << "percorsi.wsdl"
        << QStringList{"/webservicenorva/percorsidirittodovere.asmx",
                       "http://tavrel.local/norva/AggiornaPercorsiTavrel",
                       "http://tavrel.local/norva/",
                       op,
                       "http://tavrel.local/norva/",
                       "xmlDataset"}
        << QString();
    QTest::newRow("tipo nominato, argomento non qualificato, altro spazio e nome")
        << "tipo-nominato.wsdl"
        << QStringList{"/tavrel/PercorsiDirittoDovere",
                       "urn:regione:tavrel:aggiorna",
                       "urn:regione:tavrel",
                       op,
                       "",
                       "dataset"}
        << QString();
    QTest::newRow("tipo nominato qualificato, soapAction vuota")
        << "tipo-qualificato.wsdl"
        << QStringList{"/webservicenorva/percorsidirittodovere.asmx",
                       "",
                       "http://tavrel.local/tipi",
                       op,
                       "http://tavrel.local/tipi",
                       "xmlDataset"}
        << QString();
    QTest::newRow("elemento di un altro schema importato")
        << "schema-importato.wsdl"
        << QStringList{"/norva/percorsidirittodovere.svc",
                       "urn:tavrel:percorsi#AggiornaPercorsiTavrel",
                       "urn:tavrel:percorsi",
                       op,
                       "urn:tavrel:dati",
                       "datasetNorva"}
        << QString();
    QTest::newRow("stile rpc") << "rpc.wsdl" << QStringList()
                               << "L'operazione AggiornaPercorsiTavrel del servizio è in stile "
                                  "rpc: il programma sa chiamare solo operazioni in stile "
                                  "document.";
    QTest::newRow("due argomenti") << "due-argomenti.wsdl" << QStringList()
                                   << "L'operazione AggiornaPercorsiTavrel del servizio chiede 2 "
                                      "argomenti: il programma ne invia uno solo.";
    QTest::newRow("operazione assente")
        << "senza-operazione.wsdl" << QStringList()
        << "Operazione non presente nel servizio: AggiornaPercorsiTavrel";
}

void TestEsportazione::descrizioniDelServizio() {
    QFETCH(QString, file);
    QFETCH(QStringList, attesi);
    QFETCH(QString, rifiuto);
    Simulatore sim;
    QVERIFY(sim.avvia());
    puntaAlSimulatore(s(), sim);
    sim.setDescrizioneTavrel(file);
    propostaSemplice(QStringLiteral("G-1"), 3);
    const int esito = esportazione::EsportaCorsoTavrel(s(), kCorso, QString(), QString(), {});
    const auto richieste = sim.ricevute(Simulatore::TAVREL);
    if (!rifiuto.isEmpty()) {
        QCOMPARE(esito, esportazione::soap::DescrizioneNonValida);
        QCOMPARE(ui().last().text, rifiuto);
        QCOMPARE(richieste.size(), 1); // the description only: nothing sent
        return;
    }
    QCOMPARE(esito, 0);
    QCOMPARE(richieste.size(), 2);
    const auto& r = richieste[1];
    QCOMPARE(QString::fromLatin1(r.percorso), attesi[0]);
    QCOMPARE(r.intestazioni.value("soapaction"), '"' + attesi[1].toUtf8() + '"');
    // Operation and argument elements, as namespace and name, below the Body.
    QStringList trovati;
    QXmlStreamReader x(r.corpo);
    while (!x.atEnd() && trovati.size() < 8)
        if (x.readNext() == QXmlStreamReader::StartElement)
            trovati << x.namespaceUri().toString() << x.name().toString();
    QCOMPARE(trovati.mid(4), attesi.mid(2));
    QCOMPARE(sim.datasetTavrel(),
             QStringList{esportazione::CreaDatasetNorva(s().CorsiDB(), QStringLiteral("G-1"))});
}

void TestEsportazione::faultDelServizio() {
    Simulatore sim;
    QVERIFY(sim.avvia());
    puntaAlSimulatore(s(), sim);
    propostaSemplice(QStringLiteral("G-1"), 3);
    propostaSemplice(QStringLiteral("G-2"), 3);
    sim.setGuasto(Simulatore::TAVREL, Simulatore::Guasto::Errore);
    const int esito = esportazione::EsportaCorsoTavrel(s(), kCorso, QString(), QString(), {});
    QCOMPARE(esito, esportazione::soap::Fault);
    QCOMPARE(ui().messages.size(), 1);
    QCOMPARE(ui().last().text, Simulatore::FaultTavrel);
    QCOMPARE(ui().last().title, QString());
    QCOMPARE(ui().last().icon, Icon::Critical);
    QCOMPARE(sim.ricevute(Simulatore::TAVREL).size(), 2); // stopped at the first course
}

void TestEsportazione::connessioneRifiutata() {
    Simulatore sim;
    QVERIFY(sim.avvia());
    puntaAlSimulatore(s(), sim);
    quint16 chiusa = 0;
    {
        QTcpServer libera;
        QVERIFY(libera.listen(QHostAddress::LocalHost));
        chiusa = libera.serverPort();
    }
    s().ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("TAVREL"),
                   QStringLiteral("http://127.0.0.1:%1/").arg(chiusa));
    propostaSemplice(QStringLiteral("G-1"), 3);
    sim.setVersione(Session::versione(), Session::versione(), QStringLiteral("N"), QString());
    s().CorsoSelezionato = kCorso;
    transmit::mdCreaFileTrasm crea(s().CorsiDB(), ui());
    transmit::frmInet form(s(), crea, 1);
    form.findChild<QPushButton*>(QStringLiteral("CmdTAVREL"))->click();
    QCOMPARE(ui().messages.size(), 2);
    QCOMPARE(ui().messages[0].icon, Icon::Critical);
    QVERIFY(ui().last().text.startsWith(QStringLiteral(
        "E' probabile che la connessione ad internet avvenga tramite un server proxy.")));
    QCOMPARE(ui().last().title, QStringLiteral("TRASMISSIONE TAVREL FALLITA"));
    QCOMPARE(ui().last().icon, Icon::Information);
}

QTEST_MAIN(TestEsportazione)
#include "tst_esportazione.moc"
