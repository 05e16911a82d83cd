#include "TestSupport.h"
#include "core/Cp1252.h"
#include "report/EsitiFoglio.h"
#include "report/FoglioCsv.h"

#include <QStringEncoder>
#include <QtTest>

using namespace report;
using foglio::Azione;

namespace {

const QByteArray kTestata = "Codice fiscale;Cognome;Nome;Matricola;Ore assenza;Partecipazione;"
                            "Giudizio;Motivo;Credito formativo valutato";
const QString kRossi = QStringLiteral("RSSMRA80A01A326X");

archivio::Allievo iscritto(const QString& cf, const QString& cognome) {
    archivio::Allievo a;
    a.codFiscale = cf;
    a.cognome = cognome;
    a.nome = QStringLiteral("Mario");
    a.giudizio = QStringLiteral(" ");
    return a;
}

// Every participant's stored outcome, by tax code.
QMap<QString, QVariantList> esiti(db::Connection& db, qint32 corso) {
    QMap<QString, QVariantList> m;
    for (const db::Row& r :
         db.query(QStringLiteral("SELECT CodFiscale, OreAssenza, codPartec, DescPartec, Giudizio, "
                                 "DescizioneGiudizio, CredFormValut, OrePresenzaEffettiva, "
                                 "Cognome FROM KELDAnagFreq WHERE IdAttivita=?"),
                  {corso}))
        for (int c = 1; c < r.size(); ++c)
            m[r.value(0).toString()] << r.value(c);
    return m;
}

foglio::Anteprima leggiRossi(const QByteArray& file) {
    return foglio::leggi(file, {iscritto(kRossi, QStringLiteral("Rossi"))}, QStringLiteral("40"),
                         QStringLiteral("3,5"));
}

} // namespace

class TestEsitiFoglio : public QObject {
    Q_OBJECT
private slots:
    void giroCompleto();
    void varianti_data();
    void varianti();
    void esportazione_data();
    void esportazione();
    void righeRifiutate_data();
    void righeRifiutate();
    void applicazione_data();
    void applicazione();
};

void TestEsitiFoglio::giroCompleto() {
    TestInstallation inst;
    db::Connection& db = inst.sessione().CorsiDB();
    prova::creaCorsoGrande(db, 90001, 300);
    const auto prima = esiti(db, 90001);
    const auto allievi = archivio::leggiAllievi(db, 90001);
    csv::Lettura l = csv::leggi(foglio::esporta(allievi));
    QCOMPARE(l.righe.size(), 301);
    QSet<QString> cambiati;
    for (int k = 0; k < 40; ++k) {
        QStringList& riga = l.righe[1 + (k * 7) % 300];
        riga[4] = QStringLiteral("6");
        riga[5] = QStringLiteral("Partecipazione parziale");
        riga[6] = QStringLiteral("9");
        riga[8] = QStringLiteral("1,75");
        cambiati << riga[0];
    }
    const foglio::Anteprima a =
        foglio::leggi(csv::scrivi(l.righe), allievi, QStringLiteral("40"), QStringLiteral("3,5"));
    QCOMPARE(a.conta(Azione::DaAggiornare), 40);
    QCOMPARE(a.conta(Azione::Invariato), 260);
    QCOMPARE(foglio::applica(db, 90001, a, QStringLiteral("APERTO")).value_or(-1), 40);
    const auto dopo = esiti(db, 90001);
    const QVariantList nuovo{6, 3, "Partecipazione parziale", "9", "", 1.75, 34};
    for (auto it = prima.begin(); it != prima.end(); ++it) {
        const QVariantList atteso =
            cambiati.contains(it.key()) ? nuovo + QVariantList{it->last()} : *it;
        QCOMPARE(dopo.value(it.key()), atteso);
    }
}

void TestEsitiFoglio::varianti_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("cognome");
    QTest::addColumn<double>("credito");
    QTest::addColumn<QString>("nota"); // or the error that refuses the whole file
    const QString riga = QStringLiteral("RSSMRA80A01A326X;Rossà;Mario;1001;4;Esecutivo;8 - Prova "
                                        "superata;;2,5");
    QTest::newRow("Windows-1252 con ;")
        << cp1252::encode(QString::fromUtf8(kTestata) + "\r\n" + riga + "\r\n") << "Rossà" << 2.5
        << "";
    QTest::newRow("UTF-8 con , e LF")
        << QByteArray("Codice fiscale,Cognome,Nome,Ore assenza,Partecipazione,Giudizio,Motivo,"
                      "Credito formativo valutato\nRSSMRA80A01A326X,Rossà,Mario,4,Esecutivo,8,,"
                      "\"2,5\"\n")
        << "Rossà" << 2.5 << "";
    QTest::newRow("UTF-8 con marca, tab, altro ordine, colonna ignota")
        << QByteArray("\xEF\xBB\xBF"
                      "Note\tGiudizio\tMotivo\tCREDITO FORMATIVO VALUTATO\tOre Assenza\t"
                      "Partecipazione\tCodice Fiscale\nvisto\t8\t\t2\t4\tesecutivo\t"
                      "RSSMRA80A01A326X\n")
        << "Rossi" << 2.0 << "Colonne ignorate: Note";
    QTest::newRow("virgolette con ; e a capo")
        << kTestata + "\r\nRSSMRA80A01A326X;\"Ros;si \"\"detto\"\"\r\nMario\";Mario;;4;Esecutivo;"
                      "8;;2\r\n"
        << "Ros;si \"detto\"\nMario" << 2.0 << "";
    QTest::newRow("punto decimale, spazi, riga vuota, codice minuscolo")
        << kTestata + "\r\n;;;;;;;;\r\n rssmra80a01a326x ; Rossi ;;; 4.0 ; Esecutivo ; 8 ;; 2.25 "
        << "Rossi" << 2.25 << "";
    QTest::newRow("sep= di Excel") << "sep=,\r\n" + QByteArray(kTestata).replace(';', ',') +
                                          "\r\nRSSMRA80A01A326X,Rossi,,,4,Esecutivo,8,,2\r\n"
                                   << "Rossi" << 2.0 << "";
    QTest::newRow("UTF-16 con tab, virgola nelle ore")
        << QByteArray("\xFF\xFE") +
               QByteArray(QStringEncoder(QStringEncoder::Utf16LE)(QStringLiteral(
                   "Codice fiscale\tOre assenza\tPartecipazione\tGiudizio\tMotivo\t"
                   "Credito formativo valutato\r\nRSSMRA80A01A326X\t4,0\tEsecutivo\t8"
                   "\t\t2\r\n")))
        << "Rossi" << 2.0 << "";
    const auto errore = [](const char* nome, const QByteArray& file, const char* testo) {
        QTest::newRow(nome) << file << "" << 0.0 << testo;
    };
    errore("manca una colonna", "Codice fiscale;Ore assenza;Partecipazione;Motivo;Credito\r\n",
           "Nel file manca la colonna \"Giudizio\".");
    errore("vuoto", QByteArray(), "Il file è vuoto.");
    errore("solo righe vuote", "\xEF\xBB\xBF;;\r\n\r\n", "Il file è vuoto.");
    errore("binario", QByteArray("PK\x03\x04\x14\x00\x06\x00", 8),
           "Il file non è un testo: salvarlo dal foglio di calcolo nel formato CSV.");
    errore("oltre 5 MB", kTestata + "\r\n" + QByteArray(5 * 1024 * 1024, ';'),
           "Il file supera i 5 MB: non è un elenco di allievi.");
}

void TestEsitiFoglio::varianti() {
    QFETCH(QByteArray, file);
    QFETCH(QString, cognome);
    QFETCH(double, credito);
    QFETCH(QString, nota);
    QTemporaryDir dir;
    QVERIFY(prova::scrivi(dir.filePath(QStringLiteral("esiti.csv")), file));
    const foglio::Anteprima a =
        foglio::leggiFile(dir.filePath(QStringLiteral("esiti.csv")),
                          {iscritto(kRossi, QStringLiteral("Rossi"))}, "40", "3,5");
    QCOMPARE(a.errore.isEmpty() ? a.nota() : a.errore, nota);
    QCOMPARE(a.righe.size(), a.errore.isEmpty() ? 1 : 0);
    const foglio::RigaFoglio r = a.righe.value(0);
    QCOMPARE(r.azione, a.errore.isEmpty() ? Azione::DaAggiornare : Azione::Invariato);
    QCOMPARE(r.valori[foglio::Cognome], cognome);
    QCOMPARE(r.daSalvare.oreAssenza, a.errore.isEmpty() ? 4 : 0);
    QCOMPARE(r.daSalvare.credito, credito);
}

void TestEsitiFoglio::esportazione_data() {
    QTest::addColumn<QString>("cognome");
    QTest::addColumn<QByteArray>("cella");
    QTest::newRow("formula") << "=SOMMA(A1)" << QByteArray("'=SOMMA(A1)");
    QTest::newRow("meno") << "-Rossi" << QByteArray("'-Rossi");
    QTest::newRow("più") << "+39" << QByteArray("'+39");
    QTest::newRow("chiocciola") << "@Rossi" << QByteArray("'@Rossi");
    QTest::newRow("punto e virgola") << "Dell'Orto; Jr" << QByteArray("\"Dell'Orto; Jr\"");
    QTest::newRow("accento") << "Nicolò" << QByteArray("Nicol\xC3\xB2");
}

void TestEsitiFoglio::esportazione() {
    QFETCH(QString, cognome);
    QFETCH(QByteArray, cella);
    archivio::Allievo a = iscritto(kRossi, cognome);
    a.matricola = QStringLiteral("1001");
    a.oreAssenza = 4;
    a.codPartec = 3;
    a.giudizio = QStringLiteral("0");
    a.descizioneGiudizio = QStringLiteral("Altro");
    a.credFormValut = 0.25;
    const QByteArray file = foglio::esporta({a});
    QCOMPARE(file, "\xEF\xBB\xBF" + kTestata + "\r\nRSSMRA80A01A326X;" + cella +
                       ";Mario;1001;4;Partecipazione parziale;0 - Prova non superata o non "
                       "sostenuta;Altro;0,25\r\n");
    const foglio::Anteprima letta = leggiRossi(file);
    QCOMPARE(letta.righe.value(0).valori[foglio::Cognome], cognome);
}

void TestEsitiFoglio::righeRifiutate_data() {
    QTest::addColumn<QByteArray>("righe"); // after the tax code
    QTest::addColumn<Azione>("azione");
    QTest::addColumn<QString>("regola");
    QTest::addColumn<QString>("messaggio"); // beginning of the message
    const auto riga = [](const char* valori) {
        return "RSSMRA80A01A326X;;;;" + QByteArray(valori);
    };
    const auto rifiuto = [&](const char* nome, const char* valori, const char* regola,
                             const char* testo) {
        QTest::newRow(nome) << riga(valori) << Azione::Rifiutato << regola << testo;
    };
    QTest::newRow("codice due volte")
        << riga("4;Esecutivo;8;;2") + "\r\n rssmra80a01a326x;;;;6;Esecutivo;8;;2"
        << Azione::Rifiutato << ""
        << "Il codice fiscale compare più volte nel file (righe 2, 3).";
    QTest::newRow("non nel corso")
        << QByteArray("VRDNNA92D50A326W;;;;4;Esecutivo;8;;2") << Azione::NonNelCorso << ""
        << "Il codice fiscale non è tra gli allievi del corso.";
    QTest::newRow("codice mancante")
        << QByteArray(";Verdi;;;4;Esecutivo;8;;2") << Azione::NonNelCorso << ""
        << "Manca il codice fiscale.";
    rifiuto("partecipazione ignota", "4;Presente;8;;2", "",
            "Valore non previsto nella colonna \"Partecipazione\": Presente");
    rifiuto("A1", ";Esecutivo;8;;2", "A1", "Indicare le ore di assenza.");
    rifiuto("A2", "42;Esecutivo;8;;2", "A2", "Le ore di assenza non possono superare");
    rifiuto("A3", "11;Esecutivo;8;;2", "A3", "Le ore di assenza non possono essere dispari.");
    rifiuto("A4", "4;;8;;2", "A4", "Indicare la partecipazione.");
    rifiuto("A5", "4;Esecutivo;;;2", "A5", "Indicare il giudizio.");
    rifiuto("A6", "4;Esecutivo;0;;0", "A6", "Indicare la causale del giudizio negativo.");
    rifiuto("A7", "4;Esecutivo;8;;", "A7", "Indicare il credito formativo valutato.");
    rifiuto("A8", "4;Esecutivo;8;;5,25", "A8", "Il credito formativo valutato deve essere");
    rifiuto("A9", "4;Esecutivo;8;;2,30", "A9", "Il valore dei decimali del credito");
    rifiuto("A10", "4;Esecutivo;8;;3,75", "A10", "Il credito formativo valutato non puo'");
    rifiuto("A11", "0;Esecutivo;0;Allievo assente;0", "A11", "Se per il motivo la voce scelta");
    rifiuto("A12a", "12;Esecutivo;0;Altro;0", "A12a", "Le ore di presenza, ottenute");
    rifiuto("A12b", "12;Assente;0;Altro;1", "A12b", "Le ore di presenza, ottenute");
    rifiuto("A12c", "12;Assente;9;Altro;0", "A12c", "Le ore di presenza, ottenute");
    rifiuto("A12d", "4;Esecutivo;8;;0", "A12d", "Per il giudizio 'Prova superata'");
    rifiuto("A12e", "4;Esecutivo;0;Altro;0,25", "A12e", "Per poter inserire un credito");
}

void TestEsitiFoglio::righeRifiutate() {
    QFETCH(QByteArray, righe);
    QFETCH(Azione, azione);
    QFETCH(QString, regola);
    QFETCH(QString, messaggio);
    const foglio::Anteprima a = leggiRossi(kTestata + "\r\n" + righe + "\r\n");
    QVERIFY(!a.righe.isEmpty());
    for (const foglio::RigaFoglio& r : a.righe) {
        QCOMPARE(r.azione, azione);
        QCOMPARE(r.esito.regola, regola);
        QVERIFY2(r.messaggio.startsWith(messaggio), qPrintable(r.messaggio));
    }
    QCOMPARE(a.conta(Azione::DaAggiornare), 0);
}

void TestEsitiFoglio::applicazione_data() {
    QTest::addColumn<QString>("statoLetto");
    QTest::addColumn<QString>("statoInArchivio");
    QTest::addColumn<bool>("scritto");
    QTest::newRow("aperto") << "APERTO"
                            << "APERTO" << true;
    QTest::newRow("chiuso altrove") << "APERTO"
                                    << "CHIUSO" << false;
    QTest::newRow("riaperto altrove") << "CHIUSO"
                                      << "APERTO" << false;
    QTest::newRow("chiuso") << "CHIUSO"
                            << "CHIUSO" << false;
    QTest::newRow("trasmesso") << "TRASMESSO"
                               << "TRASMESSO" << false;
}

void TestEsitiFoglio::applicazione() {
    QFETCH(QString, statoLetto);
    QFETCH(QString, statoInArchivio);
    QFETCH(bool, scritto);
    TestInstallation inst;
    db::Connection& db = inst.sessione().CorsiDB();
    const foglio::Anteprima a = foglio::leggi(kTestata + "\r\nRSSMRA80A01A326X;;;;4;Esecutivo;8;;2",
                                              archivio::leggiAllievi(db, 41235), "40", "3,5");
    db.exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato=? WHERE IdAttivita=41235"),
            {statoInArchivio});
    QCOMPARE(foglio::applica(db, 41235, a, statoLetto).value_or(-1), scritto ? 1 : -1);
    QCOMPARE(esiti(db, 41235).value(kRossi).value(0), scritto ? QVariant(4) : QVariant());
}

QTEST_GUILESS_MAIN(TestEsitiFoglio)
#include "tst_esitifoglio.moc"
