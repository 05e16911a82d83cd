#include "TestSupport.h"

#include "DemoInstallation.h"
#include "app/Avvio.h"
#include "app/MDI_Main.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "maint/Frm_Impostazioni.h"
#include "maint/frmServerClient.h"
#include "refdata/TabelleDecodifica.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QString kAvviso = QStringLiteral("Vista la brevità delle attività formative, si consiglia di "
                                       "effettuare l'aggiornamento dei Corsi con frequenza "
                                       "giornaliera.");

QByteArray contenuto(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString chiave(TestInstallation& inst, const QString& sezione, const QString& nome) {
    clsFileINI ini(inst.folder());
    ini.setNomeFile(inst.file(QStringLiteral("KORVADIN.INI")));
    return ini.leggi(sezione, nome, QStringLiteral("<assente>"));
}

void scriviChiave(TestInstallation& inst, const QString& sezione, const QString& nome,
                  const QString& valore) {
    clsFileINI ini(inst.folder());
    ini.setNomeFile(inst.file(QStringLiteral("KORVADIN.INI")));
    ini.scrivi(sezione, nome, valore);
}

// The start-up sequence: the frame, or nothing when the program ended on the
// way.
std::unique_ptr<MDI_Main> avvia(Startup& startup) {
    std::unique_ptr<MDI_Main> frame;
    if (terminaIlProgramma([&] { frame = startup.run(); }))
        return nullptr;
    return frame;
}

bool chiaviAzzerate(TestInstallation& inst) {
    return chiave(inst, QStringLiteral("BaseDati"), QStringLiteral("Database")).isEmpty() &&
           chiave(inst, QStringLiteral("BaseDati"), QStringLiteral("NFileDB")).isEmpty() &&
           chiave(inst, QStringLiteral("Installazione"), QStringLiteral("Tipo")).isEmpty();
}

} // namespace

class TestAvvio : public QObject {
    Q_OBJECT
private slots:
    void avvioCompletoMostraLOperatore();
    void fileIniMancante();
    void tipoNonValidoPerMaiuscole();
    void baseDatiNonTrovata_data();
    void baseDatiNonTrovata();
    void indirizzoServerSenzaBarra();
    void avvisoUnaVoltaPerEsecuzione();
    void secondoProcessoSuInstallazioneStandAlone();
    void standAloneNonEntraTraPostazioniMultiutenza();
    void fileCheNonEBaseDatiDelProgramma_data();
    void fileCheNonEBaseDatiDelProgramma();
    void primaInstallazioneDaTipoVuoto();
    void azzeramentoSuDiscoPieno();
    void fileIniIlleggibile();
    void aggiornamentoTabelleAllAvvio();
};

void TestAvvio::avvioCompletoMostraLOperatore() {
    TestInstallation inst;
    auto session = inst.nuovaSessione();
    Startup startup(*session);
    auto frame = avvia(startup);
    QVERIFY(frame);
    QVERIFY(!session->ended());
    QCOMPARE(frame->objectName(), QStringLiteral("MDI_Main"));
    QCOMPARE(frame->windowTitle(), QStringLiteral("KORVADIN  - fine corso"));
    QVERIFY(frame->isVisible());
    QVERIFY(frame->main());
    QTRY_VERIFY(frame->main()->isVisible());
    QCOMPARE(frame->main()->findChild<QLabel*>(QStringLiteral("lblGrOpe"))->text(),
             QStringLiteral("A"));
    QCOMPARE(frame->main()->findChild<QLabel*>(QStringLiteral("lblCodOpe"))->text(),
             QStringLiteral("123"));
    QVERIFY(frame->main()
                ->findChild<QLabel*>(QStringLiteral("lblDenOpe"))
                ->text()
                .startsWith(QStringLiteral("-  Centro Formazione")));
    QCOMPARE(inst.interaction.texts(), QStringList{kAvviso});
    QCOMPARE(session->OperatoreCorrente.Operatore, QStringLiteral("123"));
    QCOMPARE(session->indirizzoServer, QStringLiteral("http://127.0.0.1:8088"));
    QCOMPARE(session->passwordServizio, QStringLiteral("korvadin:Pwd2026@"));
    QCOMPARE(session->CorsiDB().mode(), db::OpenMode::Exclusive);
    QVERIFY(!session->PrimaInstallazione);
}

void TestAvvio::fileIniMancante() {
    TestInstallation inst;
    QVERIFY(QFile::remove(inst.file(QStringLiteral("KORVADIN.INI"))));
    const QStringList prima = QDir(inst.folder()).entryList(QDir::Files);
    auto session = inst.nuovaSessione();
    Startup startup(*session);
    QVERIFY(!avvia(startup));
    QVERIFY(session->ended());
    QCOMPARE(inst.interaction.messages.size(), 1);
    QCOMPARE(inst.interaction.last().text,
             QStringLiteral("Impossibile trovare il file KORVADIN.INI.\nLa procedura verrà "
                            "terminata."));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Errore di inizializzazione"));
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
    QCOMPARE(QDir(inst.folder()).entryList(QDir::Files), prima);
}

void TestAvvio::tipoNonValidoPerMaiuscole() {
    TestInstallation inst;
    scriviChiave(inst, QStringLiteral("Installazione"), QStringLiteral("Tipo"),
                 QStringLiteral("standalone"));
    {
        auto session = inst.nuovaSessione();
        Startup startup(*session);
        QVERIFY(!avvia(startup));
        QVERIFY(session->ended());
        QCOMPARE(inst.interaction.messages.size(), 1);
        QVERIFY(inst.interaction.last().text.startsWith(
            QStringLiteral("E' stata rilevata una situazione anomala in fase di "
                           "inizializzazione.\nLe impostazioni di KORVADIN.INI non sono "
                           "valide.\n")));
        QCOMPARE(inst.interaction.last().title, QStringLiteral("Errore di inizializzazione"));
        QVERIFY(chiaviAzzerate(inst));
        QCOMPARE(chiave(inst, QStringLiteral("CONNESSIONE"), QStringLiteral("NREG")),
                 QStringLiteral("http://127.0.0.1:8088/korvadin/nreg.asp"));
    }
    // The next start asks for the installation again.
    inst.interaction.messages.clear();
    inst.interaction.nuovaEsecuzione();
    auto session = inst.nuovaSessione();
    bool chiesta = false;
    guida<Frm_Impostazioni>(inst.interaction, "Frm_Impostazioni", [&](Frm_Impostazioni& modale) {
        chiesta = true;
        inst.interaction.answers << ui::Answer::Yes; // leave the installation
        figlio<QPushButton>(&modale, "cmdEsci")->click();
    });
    Startup startup(*session);
    QVERIFY(!avvia(startup));
    QVERIFY(chiesta);
    QVERIFY(session->ended());
}

void TestAvvio::baseDatiNonTrovata_data() {
    QTest::addColumn<bool>("cartella");
    QTest::addColumn<bool>("correggi");
    QTest::newRow("cartella, Sì") << true << true;
    QTest::newRow("cartella, No") << true << false;
    QTest::newRow("file cancellato, Sì") << false << true;
    QTest::newRow("file cancellato, No") << false << false;
}

void TestAvvio::baseDatiNonTrovata() {
    QFETCH(bool, cartella);
    QFETCH(bool, correggi);
    TestInstallation inst;
    QString percorso = inst.database();
    if (cartella) {
        percorso = inst.folder();
    } else {
        QVERIFY(QFile::remove(inst.database()));
    }
    scriviChiave(inst, QStringLiteral("BaseDati"), QStringLiteral("Database"), percorso);
    const QByteArray ini = contenuto(inst.file(QStringLiteral("KORVADIN.INI")));
    inst.interaction.answers << (correggi ? ui::Answer::Yes : ui::Answer::No);

    auto session = inst.nuovaSessione();
    Startup startup(*session);
    QVERIFY(!avvia(startup));
    QVERIFY(session->ended());
    QCOMPARE(inst.interaction.messages.size(), 1);
    const ui::Message m = inst.interaction.last();
    QCOMPARE(m.title, QStringLiteral("Imposta base dati"));
    QCOMPARE(m.buttons, ui::Buttons::YesNo);
    QCOMPARE(m.icon, ui::Icon::Critical);
    QVERIFY(m.text.startsWith(QStringLiteral("File base dati non presente.") + percorso +
                              QStringLiteral("\nNon è possibile utilizzare il programma.")));
    if (correggi)
        QVERIFY(chiaviAzzerate(inst));
    else
        QCOMPARE(contenuto(inst.file(QStringLiteral("KORVADIN.INI"))), ini);
}

void TestAvvio::indirizzoServerSenzaBarra() {
    TestInstallation inst;
    scriviChiave(inst, QStringLiteral("CONNESSIONE"), QStringLiteral("NREG"),
                 QStringLiteral("http://server"));
    auto session = inst.nuovaSessione();
    Startup startup(*session);
    QVERIFY(!avvia(startup));
    QVERIFY(session->ended());
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Errore di inizializzazione"));
    QVERIFY(inst.interaction.last().text.startsWith(QStringLiteral("Errore ")));
    QVERIFY(chiaviAzzerate(inst));
    QVERIFY(!session->de.CorsiDB.isOpen());
}

void TestAvvio::avvisoUnaVoltaPerEsecuzione() {
    TestInstallation inst;
    auto session = inst.nuovaSessione();
    Startup startup(*session);
    auto frame = avvia(startup);
    QVERIFY(frame);
    session->CorsiDB().close();
    QVERIFY(!terminaIlProgramma([&] { startup::Inizializza(*session); }));
    QCOMPARE(inst.interaction.texts().count(kAvviso), 1);
    QVERIFY(session->CorsiDB().isOpen());
}

void TestAvvio::secondoProcessoSuInstallazioneStandAlone() {
    TestInstallation inst;
    auto session = inst.nuovaSessione();
    Startup startup(*session);
    auto frame = avvia(startup);
    QVERIFY(frame);
    QCOMPARE(session->CorsiDB().mode(), db::OpenMode::Exclusive);

    QProcess secondo;
    secondo.start(QStringLiteral(KORVADIN_STARTUP_PROBE), {inst.folder()});
    QVERIFY(secondo.waitForFinished(60000));
    const QStringList righe = QString::fromUtf8(secondo.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(righe.last(), QStringLiteral("ENDED"));
    QCOMPARE(righe.size(), 2);
    QVERIFY2(righe.first().startsWith(QStringLiteral("Errore di inizializzazione|Errore ")),
             qPrintable(righe.first()));
    QVERIFY(chiaviAzzerate(inst));

    // The running installation keeps working on its database.
    QCOMPARE(session->CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt(),
             5);
}

void TestAvvio::standAloneNonEntraTraPostazioniMultiutenza() {
    TestInstallation inst;
    // A workstation of the shared installation is running, idle between reads.
    Session& postazione = inst.sessione();
    QVERIFY(postazione.CorsiDB().isOpen());
    QCOMPARE(chiave(inst, QStringLiteral("Installazione"), QStringLiteral("Tipo")),
             QStringLiteral("StandAlone"));

    QProcess secondo;
    secondo.start(QStringLiteral(KORVADIN_STARTUP_PROBE), {inst.folder()});
    QVERIFY(secondo.waitForFinished(60000));
    const QStringList righe = QString::fromUtf8(secondo.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(righe.last(), QStringLiteral("ENDED"));
    QCOMPARE(righe.size(), 2);
    QVERIFY2(righe.first().startsWith(QStringLiteral("Errore di inizializzazione|Errore ")),
             qPrintable(righe.first()));
    QVERIFY(chiaviAzzerate(inst));
    // The running workstation still reads.
    QCOMPARE(
        postazione.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt(),
        5);
}

void TestAvvio::fileCheNonEBaseDatiDelProgramma_data() {
    QTest::addColumn<QByteArray>("dati");
    QTest::addColumn<QString>("schema"); // "" = the file holds dati, else a keyed database
    QTest::newRow("vuoto") << QByteArray() << QString();
    QTest::newRow("testo") << QByteArray("non sono una base dati\r\n") << QString();
    QTest::newRow("pagina di zeri") << QByteArray(1024, '\0') << QString();
    QTest::newRow("base dati di un altro programma")
        << QByteArray() << QStringLiteral("CREATE TABLE Altro (a);");
}

void TestAvvio::fileCheNonEBaseDatiDelProgramma() {
    QFETCH(QByteArray, dati);
    QFETCH(QString, schema);
    TestInstallation inst;
    const QString file = inst.file(QStringLiteral("altro.mdb"));
    if (schema.isEmpty()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(dati);
    } else {
        db::Connection::create(file, Session::databasePassword(), schema);
    }
    const QByteArray prima = contenuto(file);
    scriviChiave(inst, QStringLiteral("BaseDati"), QStringLiteral("Database"), file);

    auto session = inst.nuovaSessione();
    Startup startup(*session);
    QVERIFY(terminaIlProgramma([&] { startup.run(); }));
    QVERIFY(session->ended());
    QCOMPARE(inst.interaction.messages.size(), 1); // no daily advice
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Errore di inizializzazione"));
    QVERIFY(inst.interaction.last().text.startsWith(QStringLiteral("Errore ")));
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
    QVERIFY(chiaviAzzerate(inst));
    QVERIFY(!session->de.CorsiDB.isOpen());
    // The file is left exactly as it was, with no journal beside it.
    QCOMPARE(contenuto(file), prima);
    QVERIFY(!QFile::exists(file + QStringLiteral("-journal")));
}

void TestAvvio::primaInstallazioneDaTipoVuoto() {
    TestInstallation inst;
    scriviChiave(inst, QStringLiteral("Installazione"), QStringLiteral("Tipo"), QString());
    scriviChiave(inst, QStringLiteral("Installazione"), QStringLiteral("Versione"), QString());
    scriviChiave(inst, QStringLiteral("BaseDati"), QStringLiteral("Database"), QString());
    scriviChiave(inst, QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), QString());
    // The database lives in a folder of its own, as on a server share.
    const QString condivisa = inst.file(QStringLiteral("condivisa"));
    QVERIFY(QDir().mkpath(condivisa));
    const QString database = condivisa + QStringLiteral("/KORVADIN.mdb");
    QVERIFY(QFile::rename(inst.database(), database));
    inst.interaction.fileAnswers << database;

    // The order in which the forms were worked: the choice, shown over the
    // installation dialog, comes first.
    QStringList finestre;
    guida<frmServerClient>(inst.interaction, "frmServerClient", [&](frmServerClient& modale) {
        finestre << modale.objectName();
        figlio<QRadioButton>(&modale, "optServer")->setChecked(true);
        figlio<QPushButton>(&modale, "cmdOK")->click();
    });
    guida<Frm_Impostazioni>(inst.interaction, "Frm_Impostazioni", [&](Frm_Impostazioni& modale) {
        finestre << modale.objectName();
        figlio<QRadioButton>(&modale, "opt_InRete")->setChecked(true);
        figlio<QPushButton>(&modale, "cmdSfoglia")->click();
        figlio<QPushButton>(&modale, "Cmd_Ok")->click();
    });

    auto session = inst.nuovaSessione();
    Startup startup(*session);
    auto frame = avvia(startup);
    QCOMPARE(finestre, (QStringList{"frmServerClient", "Frm_Impostazioni"}));
    QVERIFY(inst.interaction.undrivenDialogs.isEmpty());
    QVERIFY(frame);
    QCOMPARE(chiave(inst, QStringLiteral("Installazione"), QStringLiteral("Tipo")),
             QStringLiteral("Multiutenza"));
    QCOMPARE(chiave(inst, QStringLiteral("BaseDati"), QStringLiteral("Database")), database);
    QCOMPARE(chiave(inst, QStringLiteral("BaseDati"), QStringLiteral("NFileDB")),
             QStringLiteral("KORVADIN.mdb"));
    QCOMPARE(chiave(inst, QStringLiteral("Installazione"), QStringLiteral("Versione")),
             QStringLiteral("SERVER"));
    QCOMPARE(session->CorsiDB().mode(), db::OpenMode::Shared);
}

void TestAvvio::azzeramentoSuDiscoPieno() {
    DiscoPiccolo disco;
    if (!disco.montato())
        QSKIP("mounting a small tmpfs is not permitted here");
    const QString ini = disco.file(QStringLiteral("KORVADIN.INI"));
    tooling::scriviIni(disco.cartella(), tooling::IniDemo());
    clsFileINI file(disco.cartella());
    file.setNomeFile(ini);
    QVERIFY(file.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"),
                        QStringLiteral("standalone")));
    const QByteArray prima = contenuto(ini);
    disco.riempi();
    QTemporaryDir utente;
    ui::ScriptedInteraction interaction;
    Session session(interaction, disco.cartella(), utente.filePath(QStringLiteral("u.ini")));
    Startup startup(session);
    QVERIFY(terminaIlProgramma([&] { startup.run(); }));
    QVERIFY(session.ended());
    QCOMPARE(interaction.messages.size(), 2);
    QVERIFY(interaction.last().text.startsWith(
        QStringLiteral("Non è stato possibile reimpostare l'installazione nel file "
                       "KORVADIN.INI.\n")));
    QCOMPARE(interaction.last().title, QStringLiteral("Errore di inizializzazione"));
    QCOMPARE(interaction.last().icon, ui::Icon::Critical);
    QCOMPARE(contenuto(ini), prima);
}

void TestAvvio::fileIniIlleggibile() {
    TestInstallation inst;
    const QString ini = inst.file(QStringLiteral("KORVADIN.INI"));
    const QByteArray prima = contenuto(ini);
    QFile::setPermissions(inst.folder(), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(ini, {});
    // Whatever dialog a wrong start shows is left at once, so that the test ends.
    QTimer passo;
    passo.setInterval(50);
    connect(&passo, &QTimer::timeout, [&] {
        if (QWidget* modale = QApplication::activeModalWidget()) {
            inst.interaction.answers << ui::Answer::Yes;
            static_cast<QDialog*>(modale)->reject();
        }
    });
    passo.start();
    auto session = inst.nuovaSessione();
    {
        ComeUtenteComune utente;
        if (!utente.attivo())
            QSKIP("cannot act as an unprivileged user");
        Startup startup(*session);
        QVERIFY(terminaIlProgramma([&] { startup.run(); }));
    }
    QVERIFY(session->ended());
    QCOMPARE(inst.interaction.messages.size(), 1);
    QVERIFY(inst.interaction.last().text.startsWith(
        QStringLiteral("Impossibile leggere il file KORVADIN.INI.\n")));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Errore di inizializzazione"));
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
    QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(contenuto(ini), prima);
}

// Decoding files dropped with "aggiorna.tab" are merged at the next start, with
// the progress on the start-up window, before the main window opens.
void TestAvvio::aggiornamentoTabelleAllAvvio() {
    TestInstallation inst;
    qint64 assi = 0;
    {
        auto s = inst.nuovaSessione();
        s->CorsiDB().open(inst.database(), Session::databasePassword(), db::OpenMode::Shared);
        assi = s->CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM Asse")).toLongLong();
    }
    QFile asse(inst.file(QStringLiteral("Asse.txt")));
    QVERIFY(asse.open(QIODevice::WriteOnly));
    asse.write("AGGIORNAMENTO\r\n#Z#,#Asse aggiunto#\r\n");
    asse.close();
    QFile(inst.file(QStringLiteral("aggiorna.tab"))).open(QIODevice::WriteOnly);

    auto session = inst.nuovaSessione();
    Startup startup(*session);
    auto frame = avvia(startup);
    QVERIFY(frame);
    QTRY_VERIFY(frame->main()->isVisible());
    QCOMPARE(session->CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM Asse")).toLongLong(),
             assi + 1);
    QCOMPARE(session->CorsiDB()
                 .scalar(QStringLiteral("SELECT DesAsse FROM Asse WHERE CodAsse='Z'"))
                 .toString(),
             QStringLiteral("Asse aggiunto"));
    QVERIFY(!QFile::exists(inst.file(QStringLiteral("aggiorna.tab"))));
    QVERIFY(QFile::exists(inst.file(refdata::CartellaCaricati + QStringLiteral("/Asse.txt"))));
    const Avvio& avvio = startup.avvio();
    QCOMPARE(figlio<QLabel>(&avvio, QStringLiteral("lblIntestazione"))->text(),
             QStringLiteral("AGGIORNAMENTO TABELLE"));
    QCOMPARE(figlio<QLabel>(&avvio, QStringLiteral("lblTabella"))->text(), QStringLiteral("Asse"));
    QCOMPARE(figlio<QLabel>(&avvio, QStringLiteral("lblRecord"))->text(), QStringLiteral("1"));
    QCOMPARE(inst.interaction.texts(), QStringList{kAvviso});
}

KORVADIN_TEST_MAIN(TestAvvio)
#include "tst_avvio.moc"
