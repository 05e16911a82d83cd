// The support request: the archive, the query string and the address handed to
// the user's browser.

#include "SimulatoreSupport.h"
#include "TestSupport.h"
#include "core/RichiestaServer.h"
#include "maint/Assistenza.h"
#include "maint/Browser.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QUrlQuery>
#include <QtTest>

#include <zip.h>

namespace {

// The names and contents of the files of a zip archive.
QList<QPair<QString, QByteArray>> leggiZip(const QString& archivio) {
    QList<QPair<QString, QByteArray>> file;
    int errore = 0;
    zip_t* z = zip_open(QFile::encodeName(archivio).constData(), ZIP_RDONLY, &errore);
    if (!z)
        return file;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, i, 0, &st);
        QByteArray dati(qsizetype(st.size), '\0');
        zip_file_t* f = zip_fopen_index(z, i, 0);
        zip_fread(f, dati.data(), st.size);
        zip_fclose(f);
        file.append({QString::fromUtf8(st.name), dati});
    }
    zip_close(z);
    return file;
}

} // namespace

class TestAssistenza : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstallation> inst;
    Session& s() { return inst->sessione(); }
    ui::ScriptedInteraction& ui() { return inst->interaction; }

private slots:
    void init() {
        inst = std::make_unique<TestInstallation>();
        s().ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Database"), inst->database());
    }
    void cleanup() { inst.reset(); }

    void nomeArchivio_data();
    void nomeArchivio();
    void queryString();
    void richiesta();
    void indirizzoNonApribile();
};

void TestAssistenza::nomeArchivio_data() {
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("nome");
    QTest::newRow("una cifra") << "7"
                               << "/p/KORVADIN_07-03-2026_A12-0007.zip";
    QTest::newRow("spazi") << " 123 "
                           << "/p/KORVADIN_07-03-2026_A12-0123.zip";
    QTest::newRow("quattro cifre") << "4321"
                                   << "/p/KORVADIN_07-03-2026_A12-4321.zip";
    QTest::newRow("nessun numero") << ""
                                   << "/p/KORVADIN_07-03-2026_A12-0000.zip";
}

void TestAssistenza::nomeArchivio() {
    QFETCH(QString, numero);
    QFETCH(QString, nome);
    QCOMPARE(assistenza::nomeArchivio(QStringLiteral("/p/"), QDate(2026, 3, 7), QStringLiteral("A"),
                                      QStringLiteral("12"), numero),
             nome);
}

void TestAssistenza::queryString() {
    assistenza::DatiRichiesta d;
    d.versione = QStringLiteral("2.0.1");
    d.grupOpe = QStringLiteral("A");
    d.operatore = QStringLiteral("12");
    d.nomeOperatore = QStringLiteral("Rossi & Figli #2 srl");
    d.sistema = QStringLiteral("WINDOWS Versione: 6.1");
    d.browser = QStringLiteral("Internet Explorer non trovato");
    d.memoria = QStringLiteral("Total RAM = 10 MB\r\nAvailable RAM = 5 MB");
    d.helpDesk = QStringLiteral("help@desk.it");
    d.archivio = QStringLiteral("/p/KORVADIN_07-03-2026_A12-0007.zip");
    QCOMPARE(assistenza::queryString(d),
             QStringLiteral("fr=Indirizzo%20e-mail...&su=KORVADIN%20%28ver.%202.0.1%29&g=A&c=12"
                            "&d=Rossi%20%26%20Figli%20%232%20srl&cp=&so=WINDOWS%20Versione%3A%206.1"
                            "&h=help%40desk.it&ie=Internet%20Explorer%20non%20trovato"
                            "&mem=Total%20RAM%20%3D%2010%20MB%0D%0AAvailable%20RAM%20%3D%205%20MB"
                            "&tel=&rif=&prb=&ap=KORVADIN"
                            "&file=%2Fp%2FKORVADIN_07-03-2026_A12-0007.zip"));
    d.email = QStringLiteral("mario@ente.it");
    QVERIFY(assistenza::queryString(d).startsWith(QStringLiteral("fr=mario%40ente.it&su=")));
}

void TestAssistenza::richiesta() {
    Simulatore sim;
    QVERIFY(sim.avvia());
    puntaAlSimulatore(s(), sim);
    s().OperatoreCorrente = {QStringLiteral("A"), QStringLiteral("12"),
                             QStringLiteral("Rossi & Figli srl")};
    s().CorsiDB().exec(QStringLiteral("DELETE FROM Installazione"));
    s().CorsiDB().exec(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, NumInstall) "
                                      "VALUES ('A', 12, 37)"));
    const QString atteso =
        assistenza::nomeArchivio(s().CartellaProgramma, QDate::currentDate(), QStringLiteral("A"),
                                 QStringLiteral("12"), QStringLiteral("37"));
    QVERIFY(prova::scrivi(atteso, "archivio di prima"));

    maint::Browser form(s());
    form.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    QVERIFY2(ui().messages.isEmpty(), qPrintable(ui().texts().join('|')));
    QCOMPARE(form.archivio(), atteso);
    QVERIFY(form.findChild<QLabel*>(QStringLiteral("lblArchivio"))
                ->text()
                .endsWith(QDir::toNativeSeparators(atteso)));
    QVERIFY(s().CorsiDB().isOpen());

    s().CorsiDB().close();
    const auto contenuto = leggiZip(atteso);
    QCOMPARE(contenuto.size(), 1);
    QCOMPARE(contenuto.first().first, QStringLiteral("KORVADIN.mdb"));
    QCOMPARE(contenuto.first().second, prova::contenuto(inst->database()));
    QVERIFY(!contenuto.first().second.startsWith("SQLite format 3")); // still encrypted
    QCOMPARE(prova::permessi(atteso), prova::soloProprietario);
    QCOMPARE(prova::modoVoce(atteso), 0100600u);

    QCOMPARE(ui().openedUrls.size(), 1);
    const QUrl url = ui().openedUrls.first();
    QCOMPARE(url, form.indirizzo());
    QCOMPARE(url.toString(QUrl::RemoveQuery),
             sim.indirizzoBase() +
                 QStringLiteral("/cgi-bin/fp/upload/form_allegato_bin_upload.cgi"));
    const QUrlQuery q(url);
    QCOMPARE(q.queryItemValue(QStringLiteral("fr"), QUrl::FullyDecoded),
             QStringLiteral("Indirizzo e-mail..."));
    QCOMPARE(q.queryItemValue(QStringLiteral("d"), QUrl::FullyDecoded),
             QStringLiteral("Rossi & Figli srl"));
    QCOMPARE(q.queryItemValue(QStringLiteral("file"), QUrl::FullyDecoded), atteso);
    QCOMPARE(q.queryItemValue(QStringLiteral("ap")), QStringLiteral("KORVADIN"));
    QVERIFY(q.queryItemValue(QStringLiteral("mem"), QUrl::FullyDecoded)
                .startsWith(QStringLiteral("Total RAM = ")));

    // The support service answers the address with its page.
    net::RichiestaServer pagina(s());
    net::Opzioni o;
    o.leggi = true;
    o.intestazioni = false;
    QCOMPARE(pagina.invia(url.toString(QUrl::FullyEncoded), {}, o), net::Esito::Completata);
    QVERIFY(pagina.risposta().contains(QStringLiteral("Richiesta di assistenza")));
    QCOMPARE(sim.ricevute(Simulatore::ASSISTENZA).size(), 1);
}

// An address that cannot be opened is reported as typed, with the archive's path.
void TestAssistenza::indirizzoNonApribile() {
    s().ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("ASSISTENZA"),
                   QStringLiteral("http://assistenza vrd.it"));
    maint::Browser form(s());
    form.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    QCOMPARE(ui().messages.size(), 1);
    QCOMPARE(ui().last().title, QStringLiteral("Errore durante l'invio della posta"));
    QCOMPARE(ui().last().text,
             QStringLiteral("Errore 5\nImpossibile aprire l'indirizzo http://assistenza vrd.it"
                            "/cgi-bin/fp/upload/form_allegato_bin_upload.cgi\n\nL'archivio da "
                            "allegare alla richiesta è:\n") +
                 QDir::toNativeSeparators(form.archivio()));
}

QTEST_MAIN(TestAssistenza)
#include "tst_assistenza.moc"
