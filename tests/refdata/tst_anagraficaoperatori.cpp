#include "TestSupport.h"
#include "core/Cp1252.h"
#include "core/RigaRecord.h"
#include "refdata/AnagraficaOperatori.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QThread>

using FileRegistro = QMap<QString, QStringList>; // file name -> records (fields)

namespace {

QString riga(const QStringList& campi) {
    return RigaRecord::scrivi(campi);
}

// An agency of "oper.tx1": 14 fields.
QString oper(const QString& g, int op, const QString& den) {
    return riga({g, QString::number(op), den, QStringLiteral("EF"), QStringLiteral("CF%1").arg(op),
                 QStringLiteral("PI%1").arg(op), QStringLiteral("Rossi Mario"),
                 QStringLiteral("Aosta"), QStringLiteral("AO"), QStringLiteral("01021960"),
                 QStringLiteral("AO"), QStringLiteral("1234567"), QStringLiteral("1999"),
                 QStringLiteral("85")});
}

QString compo(const QString& g, int op, int comp, const QString& tipo) {
    return riga({g, QString::number(op), QString::number(comp), tipo,
                 QStringLiteral("Sede %1").arg(comp), QStringLiteral("A326"),
                 QStringLiteral("11100"), QStringLiteral("Via Roma 1"), QStringLiteral("x"),
                 QStringLiteral("0165123456"), QStringLiteral("x"), QStringLiteral("0165654321"),
                 QString(), QString()});
}

QString sede(const QString& numero) {
    return riga({numero, QStringLiteral("Palestra comunale"), QStringLiteral("Via Po 3"),
                 QStringLiteral("A326"), QStringLiteral("11100"), QStringLiteral("x"),
                 QStringLiteral("0165111111"), QStringLiteral("x"), QStringLiteral("0165222222")});
}

QString uso(const QString& g, int op, int comp, int sede) {
    return riga({g, QString::number(op), QString::number(comp), QString::number(sede)});
}

void scriviFile(const QString& cartella, const FileRegistro& file) {
    for (auto it = file.cbegin(); it != file.cend(); ++it) {
        QFile f(QDir(cartella).filePath(it.key()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (const QString& r : it.value())
            f.write(cp1252::encode(r + QStringLiteral("\r\n")));
    }
}

qint64 conta(const QString& database, const QString& sql, const QVariantList& valori = {}) {
    db::Connection c;
    c.open(database, Session::databasePassword(), db::OpenMode::Shared);
    return c.scalar(sql, valori).toLongLong();
}

const FileRegistro kCompleto{
    {anagrafica::kOper, {oper("A", 123, "Centro A"), oper("B", 7, "Ente B")}},
    {anagrafica::kCompo,
     {compo("A", 123, 1, "SL"), compo("A", 123, 2, "UO"), compo("B", 7, 3, "SL")}},
    {anagrafica::kSediOcc, {sede("900")}},
    {anagrafica::kSediUtil, {uso("A", 123, 2, 900)}}};

FileRegistro con(FileRegistro f, const QString& nome, const QStringList& righe) {
    f[nome] = righe;
    return f;
}

FileRegistro senza(FileRegistro f, const QString& nome) {
    f.remove(nome);
    return f;
}

} // namespace

class TestAnagraficaOperatori : public QObject {
    Q_OBJECT
private slots:
    void installazione_data();
    void installazione();
    void secondaPartenzaSaltaInstallazione();
    void aggiornamento_data();
    void aggiornamento();
    void operatoreRipetutoTieneIConti();
    void domandaDelLog_data();
    void domandaDelLog();
    void aggiornamentoInterrotto_data();
    void aggiornamentoInterrotto();
};

void TestAnagraficaOperatori::installazione_data() {
    QTest::addColumn<FileRegistro>("file");
    QTest::addColumn<QString>("messaggio"); // "" = installed
    QTest::addColumn<QString>("titolo");

    QTest::newRow("completa") << kCompleto << QString() << QString();
    QTest::newRow("senza sedi occasionali")
        << senza(senza(kCompleto, anagrafica::kSediOcc), anagrafica::kSediUtil) << QString()
        << QString();
    QTest::newRow("senza sede legale")
        << con(kCompleto, anagrafica::kCompo,
               {compo("A", 123, 1, "SL"), compo("A", 123, 2, "UO"), compo("B", 7, 3, "UO")})
        << QStringLiteral("Manca la sede legale dell'Operatore B - 7. Impossibile utilizzare il "
                          "programma.")
        << QStringLiteral("Installazione/Aggiornamento Base Dati");
    QTest::newRow("nessun operatore")
        << con(kCompleto, anagrafica::kOper, {})
        << QStringLiteral("ATTENZIONE: non è presente alcun OPERATORE da caricare nella base "
                          "dati.\nImpossibile utilizzare il programma.")
        << QStringLiteral("Installazione Base Dati");
    QTest::newRow("nessun componente")
        << con(kCompleto, anagrafica::kCompo, {})
        << QStringLiteral("ATTENZIONE: non è presente alcun COMPONENTE da caricare nella base "
                          "dati.\nImpossibile utilizzare il programma.")
        << QStringLiteral("Installazione Base Dati");
    QTest::newRow("codice non numerico")
        << con(kCompleto, anagrafica::kOper,
               {oper("A", 123, "Centro A"), oper("B", 7, "x").replace("#7#", "#7a#")})
        << QStringLiteral("Errore 13 --> ") << QStringLiteral("Installazione Base Dati");
    QTest::newRow("sedi vuote, usi no")
        << con(kCompleto, anagrafica::kSediOcc, {})
        << QStringLiteral("ATTENZIONE: il file con i dati anagrafici delle sedi occasionali è "
                          "vuoto, ma non lo è quello con i dati di utilizzo delle sedi stesse. La "
                          "base dati è incompleta.\nImpossibile continuare l'installazione.")
        << QStringLiteral("Installazione Base Dati");
    QTest::newRow("usi vuoti, sedi no")
        << con(kCompleto, anagrafica::kSediUtil, {})
        << QStringLiteral("ATTENZIONE: il file con i dati di utilizzo delle sedi occasionali è "
                          "vuoto. La base dati è incompleta.\nImpossibile continuare "
                          "l'installazione.")
        << QStringLiteral("Installazione Base Dati");
    QTest::newRow("sede non numerica")
        << con(kCompleto, anagrafica::kSediOcc, {sede("9x")}) << QStringLiteral("Errore 13 --> ")
        << QStringLiteral("Installazione Base Dati");
    QTest::newRow("manca compo") << senza(kCompleto, anagrafica::kCompo)
                                 << QStringLiteral("ATTENZIONE: la base dati è incompleta.")
                                 << QStringLiteral("Installazione Base Dati");
    QTest::newRow("un solo file delle sedi")
        << senza(kCompleto, anagrafica::kSediUtil)
        << QStringLiteral("ATTENZIONE: la base dati è incompleta.")
        << QStringLiteral("Installazione Base Dati");
}

// Loaded: the four tables filled, every agency with its legal seat, the files
// in CAR. Any failure: its message, the end of the program, the tables empty
// (so the next start installs again) and the files left in the program folder.
void TestAnagraficaOperatori::installazione() {
    QFETCH(FileRegistro, file);
    QFETCH(QString, messaggio);
    QFETCH(QString, titolo);
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    scriviFile(inst.folder(), file);

    bool installata = false;
    const bool terminato = terminaIlProgramma([&] {
        anagrafica::verificaFileInstallazione(s);
        installata = anagrafica::installa(s);
    });
    QCOMPARE(installata, messaggio.isEmpty());
    QCOMPARE(terminato, !messaggio.isEmpty());
    const QString db = inst.database();
    if (messaggio.isEmpty()) {
        QVERIFY(inst.interaction.messages.isEmpty());
        QCOMPARE(conta(db, "SELECT count(*) FROM CorsiOper"), 2);
        QCOMPARE(conta(db, "SELECT Corrispondenza FROM CorsiOper WHERE GrupOpe='B'"), 3);
        QCOMPARE(conta(db, "SELECT count(*) FROM CorsiCompo WHERE Email=''"), 3);
        const bool sedi = file.contains(anagrafica::kSediOcc);
        QCOMPARE(conta(db, "SELECT count(*) FROM CorsiSediOccUtil"), sedi ? 1 : 0);
        for (const QString& nome : file.keys()) {
            QVERIFY(!QFileInfo::exists(inst.file(nome)));
            QVERIFY(
                QFileInfo::exists(inst.file("CAR/" + QFileInfo(nome).completeBaseName() + ".car")));
        }
        return;
    }
    QVERIFY(inst.interaction.last().text.startsWith(messaggio));
    QCOMPARE(inst.interaction.last().title, titolo);
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
    for (const char* tabella : {"CorsiOper", "CorsiCompo", "CorsiSediOcc", "CorsiSediOccUtil"})
        QCOMPARE(conta(db, QStringLiteral("SELECT count(*) FROM ") + tabella), 0);
    for (const QString& nome : file.keys())
        QVERIFY(QFileInfo::exists(inst.file(nome)));
}

void TestAnagraficaOperatori::secondaPartenzaSaltaInstallazione() {
    TestInstallation inst(TestInstallation::Contenuto::Vuota);
    Session& s = inst.sessione();
    scriviFile(inst.folder(), kCompleto);
    QVERIFY(anagrafica::installa(s));
    scriviFile(inst.folder(), con(kCompleto, anagrafica::kOper, {oper("C", 9, "Altro")}));

    QVERIFY(!anagrafica::installa(s));
    QVERIFY(inst.interaction.messages.isEmpty());
    QVERIFY(!inst.interaction.programEnded());
    QCOMPARE(conta(inst.database(), "SELECT count(*) FROM CorsiOper WHERE GrupOpe='C'"), 0);
    QVERIFY(QFileInfo::exists(inst.file(anagrafica::kOper)));
}

void TestAnagraficaOperatori::aggiornamento_data() {
    QTest::addColumn<FileRegistro>("file");
    QTest::addColumn<QStringList>("titoli"); // of the messages, in order; empty = merged

    const FileRegistro nuovo{{anagrafica::kOper, {oper("B", 7, "Ente B")}},
                             {anagrafica::kCompo, {compo("B", 7, 3, "SL")}},
                             {anagrafica::kSediOcc, {sede("900")}},
                             {anagrafica::kSediUtil, {uso("B", 7, 3, 900)}}};
    QTest::newRow("nuovo operatore") << nuovo << QStringList();
    QTest::newRow("sede non numerica")
        << con(nuovo, anagrafica::kSediOcc, {sede("9x")})
        << QStringList{"Aggiornamento Base Dati - AggCorsiSediOcc", "Aggiornamento Base Dati"};
    QTest::newRow("uso non numerico")
        << con(nuovo, anagrafica::kSediUtil, {riga({"B", "7", "3", "900a"})})
        << QStringList{"Aggiornamento Base Dati - AggCorsiSediOccUtil", "Aggiornamento Base Dati"};
    QTest::newRow("compo vuoto") << con(nuovo, anagrafica::kCompo, {})
                                 << QStringList{"Aggiornamento Base Dati",
                                                "Aggiornamento Base Dati"};
    QTest::newRow("una sola delle sedi")
        << senza(nuovo, anagrafica::kSediUtil) << QStringList{"Installazione Base Dati"};
    QTest::newRow("manca compo") << senza(nuovo, anagrafica::kCompo)
                                 << QStringList{"Aggiornamento Base Dati"};
}

// A merge that fails anywhere leaves the database as it was, the operators
// merged before the failing step included, and sends the files to BAD.
void TestAnagraficaOperatori::aggiornamento() {
    QFETCH(FileRegistro, file);
    QFETCH(QStringList, titoli);
    TestInstallation inst;
    Session& s = inst.sessione();
    scriviFile(inst.folder(), file);

    const bool unito = anagrafica::aggiorna(s, nullptr);
    QCOMPARE(unito, titoli.isEmpty());
    QStringList mostrati;
    for (const ui::Message& m : inst.interaction.messages)
        mostrati << m.title;
    QCOMPARE(mostrati, titoli);
    if (titoli.size() == 2) // a failed step, then the restore
        QCOMPARE(inst.interaction.last().text,
                 QStringLiteral("Ripristino della base dati riuscito"));
    const qint64 b7 = conta(inst.database(), "SELECT count(*) FROM CorsiOper WHERE GrupOpe='B'");
    QCOMPARE(b7, unito ? 1 : 0);
    if (unito) {
        QCOMPARE(conta(inst.database(), "SELECT Corrispondenza FROM CorsiOper WHERE GrupOpe='B'"),
                 3);
        QCOMPARE(conta(inst.database(), "SELECT count(*) FROM CorsiSediOcc WHERE TipoCompo='UO'"),
                 1);
    }
    QCOMPARE(conta(inst.database(), "SELECT count(*) FROM CorsiOper"), unito ? 2 : 1);
    QVERIFY(!QFileInfo::exists(inst.database() + "_BAK") || !unito);
    const QString cartella = unito ? QStringLiteral("CAR/") : QStringLiteral("BAD/");
    for (const QString& nome : file.keys()) {
        QVERIFY(!QFileInfo::exists(inst.file(nome)));
        QVERIFY(
            QFileInfo::exists(inst.file(cartella + QFileInfo(nome).completeBaseName() + ".car")));
    }
}

void TestAnagraficaOperatori::operatoreRipetutoTieneIConti() {
    TestInstallation inst;
    Session& s = inst.sessione();
    s.CorsiDB().exec("UPDATE CorsiOper SET ContABI='03069', ContNumCC='1000/123', "
                     "Denominazione='Vecchio nome'");
    scriviFile(inst.folder(), {{anagrafica::kOper, {oper("A", 123, "  Nuovo nome  ")}},
                               {anagrafica::kCompo, {compo("A", 123, 5, "SL")}}});

    QVERIFY(anagrafica::aggiorna(s, nullptr));
    const auto r = s.CorsiDB().query("SELECT * FROM CorsiOper").first();
    const QStringList attese{"A",           "123",     "Nuovo nome", "EF", "CF123", "PI123",
                             "Rossi Mario", "Aosta",   "AO",         "01", "02",    "1960",
                             "AO",          "1234567", "1999",       "85"};
    for (int i = 0; i < attese.size(); ++i)
        QCOMPARE(r.value(i).toString(), attese.at(i));
    QCOMPARE(r.value("ContABI").toString(), QStringLiteral("03069"));
    QCOMPARE(r.value("ContNumCC").toString(), QStringLiteral("1000/123"));
    // The lowest legal seat wins: the demo's branch 1 is one too.
    QCOMPARE(r.value("Corrispondenza").toInt(), 1);
    QCOMPARE(s.CorsiDB().scalar("SELECT count(*) FROM CorsiCompo").toInt(), 2);
}

void TestAnagraficaOperatori::domandaDelLog_data() {
    QTest::addColumn<ui::Answer>("risposta");
    QTest::addColumn<bool>("parte");
    QTest::newRow("Sì, editor avviato") << ui::Answer::Yes << true;
    QTest::newRow("Sì, editor mancante") << ui::Answer::Yes << false;
    QTest::newRow("No") << ui::Answer::No << true;
}

// An agency without legal seat is merged with Corrispondenza 0 and noted in the
// log, which the user may open in the text editor (the program waits for it).
void TestAnagraficaOperatori::domandaDelLog() {
    QFETCH(ui::Answer, risposta);
    QFETCH(bool, parte);
    TestInstallation inst;
    Session& s = inst.sessione();
    scriviFile(inst.folder(), {{anagrafica::kOper, {oper("B", 7, "Ente B")}},
                               {anagrafica::kCompo, {compo("B", 7, 3, "UO")}}});
    inst.interaction.answers = {risposta};
    inst.interaction.processStarts = parte;

    QVERIFY(anagrafica::aggiorna(s, nullptr));
    QCOMPARE(s.CorsiDB().scalar("SELECT Corrispondenza FROM CorsiOper WHERE GrupOpe='B'").toInt(),
             0);
    const QString log = inst.file(anagrafica::kFileLog);
    QVERIFY(cp1252::readLines(log).join("\n").contains("Operatore B - 7"));
    const ui::Message domanda = inst.interaction.messages.value(0);
    QCOMPARE(domanda.title, QStringLiteral("Aggiornamento Base Dati"));
    QCOMPARE(domanda.buttons, ui::Buttons::YesNo);
    QVERIFY(domanda.text.startsWith("E' stato creato un file di log con nome: " + log + ", "));
    if (risposta == ui::Answer::No) {
        QVERIFY(inst.interaction.processes.isEmpty());
        QCOMPARE(inst.interaction.messages.size(), 1);
        return;
    }
    QCOMPARE(inst.interaction.processes, QStringList{anagrafica::editoreDiTesto() + " " + log});
    if (parte) {
        QCOMPARE(inst.interaction.messages.size(), 1);
        return;
    }
    QCOMPARE(inst.interaction.messages.size(), 2);
    QVERIFY(inst.interaction.last().text.startsWith("VisLog - 53 - "));
    QVERIFY(inst.interaction.last().text.contains("sul file " + log + ", selezionando"));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("KORVADIN"));
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
}

void TestAnagraficaOperatori::aggiornamentoInterrotto_data() {
    QTest::addColumn<int>("ms"); // after "PRONTO"; -1 = not killed
    for (int ms : {0, 30, 100, 250, 600, -1})
        QTest::addRow("%d ms", ms) << ms;
}

// The merge killed at any point: the database opens, passes its check, and
// holds either none or all of the merge.
void TestAnagraficaOperatori::aggiornamentoInterrotto() {
    QFETCH(int, ms);
    TestInstallation inst;
    constexpr int n = 3000;
    FileRegistro file;
    for (int i = 1; i <= n; ++i) {
        file[anagrafica::kOper] << oper("C", i, QStringLiteral("Ente %1").arg(i));
        file[anagrafica::kCompo] << compo("C", i, 1, "SL");
        file[anagrafica::kSediOcc] << sede(QString::number(1000 + i));
        file[anagrafica::kSediUtil] << uso("C", i, 1, 1000 + i);
    }
    scriviFile(inst.folder(), file);

    const auto figlio = prova::avviaProbe(QStringLiteral(KORVADIN_CARICAMENTO_PROBE),
                                          {inst.folder(), QStringLiteral("anagrafica")});
    QVERIFY(figlio);
    const QByteArray uscita = prova::uccidiDopo(*figlio, ms);
    QCOMPARE(figlio->state(), QProcess::NotRunning);
    if (ms < 0)
        QVERIFY(uscita.contains("FATTO 1"));

    QCOMPARE(prova::verificaCopia(inst.database()), QString());
    const qint64 operatori = conta(inst.database(), "SELECT count(*) FROM CorsiOper");
    QVERIFY2(operatori == 1 || operatori == n + 1, QByteArray::number(operatori));
    const qint64 attesi = operatori == 1 ? 0 : n;
    QCOMPARE(conta(inst.database(), "SELECT count(*) FROM CorsiCompo WHERE GrupOpe='C'"), attesi);
    QCOMPARE(conta(inst.database(), "SELECT count(*) FROM CorsiSediOccUtil WHERE GrupOpe='C'"),
             attesi);
    QCOMPARE(conta(inst.database(), "SELECT count(*) FROM CorsiOper WHERE Corrispondenza=1"),
             attesi + 1);
    if (ms < 0)
        QCOMPARE(operatori, n + 1);
}

QTEST_GUILESS_MAIN(TestAnagraficaOperatori)
#include "tst_anagraficaoperatori.moc"
