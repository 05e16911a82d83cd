#include "TestSupport.h"

#include "app/Main.h"
#include "maint/ArchivioBackup.h"
#include "maint/CopiaSicurezza.h"
#include "maint/Manutenzione.h"
#include "maint/frmBackup.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>

#include <zip.h>

using ui::Icon;

namespace {

const QString kFallito = QStringLiteral("Recupero fallito");
const QString kRecuperato = QStringLiteral("Recupero eseguito con successo");

QPointer<frmBackup> apri(Session& s) {
    maint::mostraFrmBackup(s, nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<frmBackup*>(w); f && f->isVisible())
            return f;
    return nullptr;
}

void chiudi(QPointer<frmBackup>& f) {
    f->findChild<QPushButton*>(QStringLiteral("cmdEsci_0"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void clicca(frmBackup* f, const char* nome) {
    f->findChild<QPushButton*>(QString::fromLatin1(nome))->click();
}

// Saves through the backup page into the chosen path.
void salva(TestInstallation& inst, frmBackup* f, const QString& scelto) {
    inst.interaction.fileAnswers << scelto;
    clicca(f, "cmdSfogliaBak");
    clicca(f, "cmdConfermaBak");
}

// Restores through the restore page from the archive.
void recupera(TestInstallation& inst, frmBackup* f, const QString& archivio, bool conserva) {
    f->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
    f->findChild<QRadioButton*>(conserva ? QStringLiteral("optAll") : QStringLiteral("optSost"))
        ->setChecked(true);
    inst.interaction.fileAnswers << archivio;
    clicca(f, "cmdSfogliaZip");
    clicca(f, "cmdConfermaZip");
}

// The demo installation saved through the backup page into KORVADIN.zip of its
// program folder, the dialog still open. Tests name the parts with
// auto& [inst, s, f, archivio] = salvata.
struct Salvata {
    TestInstallation inst;
    Session& s = inst.sessione();
    QPointer<frmBackup> f = apri(s);
    QString archivio = inst.file(QStringLiteral("KORVADIN.zip"));
    Salvata() { salva(inst, f, archivio); }
};

// A consistent copy of the open database as KORVADIN.mdb in the folder.
QString copiaBaseDati(Session& s, const QTemporaryDir& cartella) {
    const QString copia = QDir(cartella.path()).filePath(QStringLiteral("KORVADIN.mdb"));
    s.CorsiDB().snapshotTo(copia);
    return copia;
}

int righe(const QString& database, const QString& tabella) {
    db::Connection c;
    c.open(database, Session::databasePassword(), db::OpenMode::Shared);
    return c.scalar(QStringLiteral("SELECT count(*) FROM ") + tabella).toInt();
}

// An archive written with libzip directly, holding the given files under the
// given entry names.
void scriviArchivio(const QString& archivio, const QList<QPair<QString, QString>>& voci) {
    int codice = 0;
    zip_t* za =
        zip_open(QFile::encodeName(archivio).constData(), ZIP_CREATE | ZIP_TRUNCATE, &codice);
    QVERIFY(za);
    for (const auto& [nome, file] : voci) {
        zip_source_t* src = zip_source_file(za, QFile::encodeName(file).constData(), 0, -1);
        QVERIFY(src);
        QVERIFY(zip_file_add(za, nome.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8) >= 0);
    }
    QCOMPARE(zip_close(za), 0);
}

// Alters the CRC of the first entry in both headers, so that the archive stays
// consistent but its data no longer match.
void alteraCrc(const QString& archivio) {
    QByteArray byte = prova::contenuto(archivio);
    QVERIFY(byte.startsWith("PK\x03\x04"));
    byte[14] = char(byte[14] ^ 0xff);
    const qsizetype centrale = byte.indexOf(QByteArray("PK\x01\x02", 4));
    QVERIFY(centrale > 0);
    byte[centrale + 16] = char(byte[centrale + 16] ^ 0xff);
    QVERIFY(prova::scrivi(archivio, byte));
}

} // namespace

Q_DECLARE_METATYPE(prova::Streaming)

class TestFrmBackup : public QObject {
    Q_OBJECT
private slots:
    void mainWindowEntryOpensTheDialog();
    void roundTripRestoresEveryRow();
    void substituteKeepsNoCopy();
    void archiveWithSeveralFiles();
    void badArchiveIsRefused_data();
    void badArchiveIsRefused();
    void streamingArchive_data();
    void streamingArchive();
    void dataFilesAreTheOwnersOnly_data();
    void dataFilesAreTheOwnersOnly();
    void restoreRefusedWhileAnotherWorkstationIsConnected();
    void archiveName_data();
    void archiveName();
    void failedBackupBlanksFileBackup();
    void archivedDatabaseNeedsTheKey();
    void emptyBoxes_data();
    void emptyBoxes();
    void restoreAsksAndKeepsEveryCopy();
};

void TestFrmBackup::mainWindowEntryOpensTheDialog() {
    TestInstallation inst;
    Session& s = inst.sessione();
    Main m(s);
    m.show();
    m.findChild<QPushButton*>(QStringLiteral("cmdBackup"))->click();
    QPointer<frmBackup> f = m.findChild<frmBackup*>();
    QVERIFY(f && f->isVisible());
    // The main window is blocked, the dialog does not wait in an event loop of its own.
    QCOMPARE(f->windowModality(), Qt::WindowModal);
    QVERIFY(!s.CorsiDB().isOpen());
    chiudi(f);
    QVERIFY(s.CorsiDB().isOpen());
}

void TestFrmBackup::roundTripRestoresEveryRow() {
    TestInstallation inst;
    Session& s = inst.sessione();
    const QString riferimento = inst.file(QStringLiteral("riferimento.mdb"));
    s.CorsiDB().snapshotTo(riferimento);

    QPointer<frmBackup> f = apri(s);
    QVERIFY(f);
    QVERIFY(!s.CorsiDB().isOpen());
    const QString archivio = inst.file(QStringLiteral("salva.zip"));
    salva(inst, f, archivio);
    QCOMPARE(inst.interaction.last().text, QStringLiteral("Backup eseguito con successo."));
    QCOMPARE(inst.interaction.last().icon, Icon::Information);
    QCOMPARE(s.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup")), archivio);
    chiudi(f);
    QVERIFY(!f);
    QVERIFY(s.CorsiDB().isOpen());
    QCOMPARE(s.CorsiDB().mode(), db::OpenMode::Shared);

    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDAnagFreq"));
    s.CorsiDB().exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato = 'TRASMESSO'"));

    f = apri(s);
    recupera(inst, f, archivio, true);
    QCOMPARE(inst.interaction.last().text, kRecuperato);
    QCOMPARE(inst.interaction.last().icon, Icon::Information);
    QVERIFY(!QDir(inst.file(QStringLiteral("DBUnzip"))).exists());
    // optAll: the replaced database is kept, as it was, under BackupDB.
    const QDir copie(inst.file(QStringLiteral("BackupDB")));
    QCOMPARE(copie.entryList(QDir::Files).size(), 1);
    const QString conservata = copie.filePath(copie.entryList(QDir::Files).first());
    QCOMPARE(righe(conservata, QStringLiteral("KELDAnagFreq")), 0);
    QCOMPARE(righe(conservata, QStringLiteral("KELDCorsiDef WHERE Stato = 'TRASMESSO'")),
             righe(conservata, QStringLiteral("KELDCorsiDef")));
    chiudi(f);

    QVERIFY(s.CorsiDB().isOpen());
    db::Connection ref;
    ref.open(riferimento, Session::databasePassword(), db::OpenMode::Exclusive);
    QCOMPARE(maint::differenzaContenuto(s.CorsiDB(), ref), QString());
    QVERIFY(s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDAnagFreq")).toInt() > 0);
}

void TestFrmBackup::substituteKeepsNoCopy() {
    Salvata salvata;
    auto& [inst, s, f, archivio] = salvata;
    recupera(inst, f, archivio, false);
    QCOMPARE(inst.interaction.last().text, kRecuperato);
    chiudi(f);
    QVERIFY(!QFileInfo::exists(inst.file(QStringLiteral("BackupDB"))));
    QCOMPARE(s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDCorsiDef")).toInt(), 5);
}

void TestFrmBackup::archiveWithSeveralFiles() {
    TestInstallation inst;
    Session& s = inst.sessione();
    QTemporaryDir sorgenti;
    const QString copia = copiaBaseDati(s, sorgenti);
    const QString nota = QDir(sorgenti.path()).filePath(QStringLiteral("Note agenzia.txt"));
    const QString altra = QDir(sorgenti.path()).filePath(QStringLiteral("PROPOSTA.mdb"));
    QFile::copy(copia, altra);
    QVERIFY(prova::scrivi(nota, "prova\r\n"));
    const QString archivio = inst.file(QStringLiteral("tre.zip"));
    QVERIFY(archivioBackup::crea({copia, nota, altra}, archivio));

    QPointer<frmBackup> f = apri(s);
    recupera(inst, f, archivio, false);
    QCOMPARE(inst.interaction.last().text, kRecuperato);
    chiudi(f);
    QCOMPARE(prova::contenuto(inst.file(QStringLiteral("Note agenzia.txt"))),
             QByteArray("prova\r\n"));
    QCOMPARE(prova::contenuto(inst.file(QStringLiteral("PROPOSTA.mdb"))), prova::contenuto(altra));
    QVERIFY(s.CorsiDB().isOpen());
}

void TestFrmBackup::badArchiveIsRefused_data() {
    QTest::addColumn<QString>("guasto");
    QTest::addColumn<QString>("motivo"); // the second line of the message, its start
    const QString nome = QStringLiteral("L'archivio contiene un nome non ammesso: ");
    const QString assente =
        QStringLiteral("Nell'archivio non c'è la base dati KORVADIN.mdb fuori da ogni cartella.");
    const QString danneggiato = QStringLiteral("L'archivio è danneggiato o incompleto.");
    QTest::newRow("base dati con un'altra chiave")
        << "chiave"
        << "La base dati KORVADIN.mdb dell'archivio non si apre con la chiave del programma.";
    QTest::newRow("CRC errato") << "crc" << danneggiato;
    QTest::newRow("voce ../KORVADIN.mdb") << "risalita" << nome + "../KORVADIN.mdb";
    QTest::newRow("voce con percorso assoluto") << "assoluto" << nome + "/";
    QTest::newRow("voce con unità") << "unita" << nome + "C:KORVADIN.mdb";
    QTest::newRow("voce con barra rovesciata") << "rovesciata" << nome + "..\\KORVADIN.mdb";
    QTest::newRow("senza la base dati") << "assente" << assente;
    QTest::newRow("base dati in una cartella") << "cartella" << assente;
    QTest::newRow("archivio con KORVADIN.INI") << "ini" << nome + "korvadin.ini";
    QTest::newRow("non è un archivio") << "nonzip" << danneggiato;
}

void TestFrmBackup::badArchiveIsRefused() {
    QFETCH(QString, guasto);
    TestInstallation inst;
    Session& s = inst.sessione();
    QTemporaryDir sorgenti;
    const QString copia = copiaBaseDati(s, sorgenti);
    const QString archivio = QDir(sorgenti.path()).filePath(QStringLiteral("guasto.zip"));
    if (guasto == QLatin1String("chiave")) {
        QFile::remove(copia);
        db::creaBaseDatiVuota(copia, QStringLiteral("un'altra chiave"));
        QVERIFY(archivioBackup::crea({copia}, archivio));
    } else if (guasto == QLatin1String("crc")) {
        QVERIFY(archivioBackup::crea({copia}, archivio));
        alteraCrc(archivio);
    } else if (guasto == QLatin1String("risalita")) {
        scriviArchivio(archivio, {{QStringLiteral("../KORVADIN.mdb"), copia}});
    } else if (guasto == QLatin1String("assoluto")) {
        scriviArchivio(archivio, {{QStringLiteral("KORVADIN.mdb"), copia},
                                  {inst.file(QStringLiteral("estraneo.txt")), copia}});
    } else if (guasto == QLatin1String("unita")) {
        scriviArchivio(archivio, {{QStringLiteral("C:KORVADIN.mdb"), copia}});
    } else if (guasto == QLatin1String("rovesciata")) {
        scriviArchivio(archivio, {{QStringLiteral("..\\KORVADIN.mdb"), copia}});
    } else if (guasto == QLatin1String("assente")) {
        scriviArchivio(archivio, {{QStringLiteral("ALTRO.mdb"), copia}});
    } else if (guasto == QLatin1String("cartella")) {
        scriviArchivio(archivio, {{QStringLiteral("Archivio/KORVADIN.mdb"), copia}});
    } else if (guasto == QLatin1String("ini")) {
        scriviArchivio(archivio, {{QStringLiteral("KORVADIN.mdb"), copia},
                                  {QStringLiteral("korvadin.ini"), copia}});
    } else {
        QVERIFY(prova::scrivi(archivio, "PK non proprio un archivio"));
    }
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDAnagFreq"));

    QPointer<frmBackup> f = apri(s);
    const QByteArray prima = prova::contenuto(inst.database());
    const QByteArray ini = prova::contenuto(inst.file(QStringLiteral("KORVADIN.INI")));
    const QStringList cartella =
        QDir(inst.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    recupera(inst, f, archivio, true);
    QFETCH(QString, motivo);
    QVERIFY2(inst.interaction.last().text.startsWith(kFallito + QLatin1Char('\n') + motivo),
             qPrintable(inst.interaction.last().text));
    QCOMPARE(inst.interaction.last().icon, Icon::Critical);
    QCOMPARE(prova::contenuto(inst.database()), prima);
    QCOMPARE(prova::contenuto(inst.file(QStringLiteral("KORVADIN.INI"))), ini);
    QCOMPARE(QDir(inst.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), cartella);
    QVERIFY(!QFileInfo::exists(QDir(inst.folder()).filePath(QStringLiteral("../KORVADIN.mdb"))));
    chiudi(f);
    QCOMPARE(s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM KELDAnagFreq")).toInt(), 0);
}

void TestFrmBackup::streamingArchive_data() {
    QTest::addColumn<prova::Streaming>("modo");
    QTest::addColumn<bool>("riuscito");
    QTest::newRow("memorizzato, intestazioni a zero") << prova::Streaming{} << true;
    QTest::newRow("compresso, solo la dimensione originale") << prova::Streaming{true, 1} << true;
    QTest::newRow("compresso, tutto anche nell'intestazione") << prova::Streaming{true, 2} << true;
    QTest::newRow("zip64 compresso") << prova::Streaming{true, 0, true} << true;
    QTest::newRow("zip64 memorizzato, descrittore senza firma")
        << prova::Streaming{false, 1, true, false} << true;
    QTest::newRow("CRC errato nel descrittore")
        << prova::Streaming{true, 0, false, true, 0x10} << false;
}

// Archives as writers to a pipe lay them out: restored when every entry is
// sound, refused with the database untouched otherwise.
void TestFrmBackup::streamingArchive() {
    QFETCH(prova::Streaming, modo);
    QFETCH(bool, riuscito);
    TestInstallation inst;
    Session& s = inst.sessione();
    QTemporaryDir sorgenti;
    const QString copia = copiaBaseDati(s, sorgenti);
    const QString archivio = QDir(sorgenti.path()).filePath(QStringLiteral("flusso.zip"));
    QVERIFY(prova::scrivi(
        archivio, prova::zipStreaming({{QStringLiteral("KORVADIN.mdb"), prova::contenuto(copia)},
                                       {QStringLiteral("Nota.txt"), "nota\r\n"}},
                                      modo)));
    s.CorsiDB().exec(QStringLiteral("DELETE FROM KELDAnagFreq"));
    QPointer<frmBackup> f = apri(s);
    const QByteArray prima = prova::contenuto(inst.database());
    recupera(inst, f, archivio, false);
    if (riuscito) {
        QCOMPARE(inst.interaction.last().text, kRecuperato);
        QCOMPARE(prova::contenuto(inst.file(QStringLiteral("Nota.txt"))), QByteArray("nota\r\n"));
    } else {
        QCOMPARE(inst.interaction.last().text,
                 kFallito + QStringLiteral("\nL'archivio è danneggiato o incompleto."));
        QCOMPARE(prova::contenuto(inst.database()), prima);
    }
    chiudi(f);
    db::Connection ref;
    ref.open(copia, Session::databasePassword(), db::OpenMode::Shared);
    QCOMPARE(maint::differenzaContenuto(s.CorsiDB(), ref).isEmpty(), riuscito);
}

void TestFrmBackup::dataFilesAreTheOwnersOnly_data() {
    QTest::addColumn<bool>("gruppo");
    QTest::newRow("base dati del solo utente") << false;
    QTest::newRow("base dati condivisa con il gruppo") << true;
}

// Archive, its entry, copies and the restored database: the owner's alone; the
// group keeps what a shared database grants it.
void TestFrmBackup::dataFilesAreTheOwnersOnly() {
    QFETCH(bool, gruppo);
    Salvata salvata;
    auto& [inst, s, f, archivio] = salvata;
    const auto baseDati =
        gruppo ? prova::soloProprietario | QFileDevice::ReadGroup | QFileDevice::WriteGroup
               : prova::soloProprietario;
    QVERIFY(QFile::setPermissions(inst.database(), baseDati));
    QCOMPARE(prova::permessi(archivio), prova::soloProprietario);
    QCOMPARE(prova::modoVoce(archivio), 0100600u);
    recupera(inst, f, archivio, true);
    QCOMPARE(inst.interaction.last().text, kRecuperato);
    const QDir copie(inst.file(QStringLiteral("BackupDB")));
    QCOMPARE(copie.entryList(QDir::Files).size(), 1);
    QCOMPARE(prova::permessi(copie.filePath(copie.entryList(QDir::Files).first())),
             prova::soloProprietario);
    QCOMPARE(prova::permessi(inst.database()), baseDati);
    chiudi(f);
    QVERIFY(maint::Crea_DB_Backup(s, inst.database()));
    QCOMPARE(prova::permessi(maint::fileCopiaSicurezza(inst.database())), baseDati);
}

void TestFrmBackup::restoreRefusedWhileAnotherWorkstationIsConnected() {
    Salvata salvata;
    auto& [inst, s, f, archivio] = salvata;
    auto altra = prova::avviaProbe({QStringLiteral("attendi"), inst.database()});
    QVERIFY(altra);
    const QByteArray prima = prova::contenuto(inst.database());
    recupera(inst, f, archivio, true);
    QVERIFY(inst.interaction.last().text.startsWith(kFallito));
    QVERIFY(inst.interaction.last().text.contains(
        QStringLiteral("La base dati è in uso da un'altra postazione.")));
    QCOMPARE(prova::contenuto(inst.database()), prima);
    QVERIFY(!QFileInfo::exists(inst.file(QStringLiteral("BackupDB"))));
    altra->kill();
    QVERIFY(prova::attendiFine(*altra));
    recupera(inst, f, archivio, true);
    QCOMPARE(inst.interaction.last().text, kRecuperato);
    chiudi(f);
}

void TestFrmBackup::archiveName_data() {
    QTest::addColumn<QString>("scelto");
    QTest::addColumn<QString>("archivio");
    QTest::newRow("predefinito") << "KORVADIN.zip"
                                 << "KORVADIN.zip";
    QTest::newRow("senza punto") << "salvataggio"
                                 << "salvataggio.zip";
    QTest::newRow("più punti") << "copia.del.9.12.bak"
                               << "copia.del.9.12.zip";
    QTest::newRow("punto finale") << "copia."
                                  << "copia.zip";
}

void TestFrmBackup::archiveName() {
    QFETCH(QString, scelto);
    QFETCH(QString, archivio);
    TestInstallation inst;
    Session& s = inst.sessione();
    QPointer<frmBackup> f = apri(s);
    salva(inst, f, inst.file(scelto));
    QCOMPARE(inst.interaction.last().text, QStringLiteral("Backup eseguito con successo."));
    chiudi(f);
    QVERIFY(QFileInfo(inst.file(archivio)).isFile());
    QCOMPARE(s.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup")),
             inst.file(archivio));
}

void TestFrmBackup::failedBackupBlanksFileBackup() {
    Salvata salvata;
    auto& [inst, s, f, buono] = salvata;
    QCOMPARE(s.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup")), buono);
    chiudi(f);

    f = apri(s);
    // The next dialog starts from the last archive.
    QCOMPARE(f->dialogoFile().fileName, buono);
    salva(inst, f, inst.file(QStringLiteral("non/esiste/KORVADIN.zip")));
    QCOMPARE(inst.interaction.last().text, QStringLiteral("Backup fallito"));
    QCOMPARE(inst.interaction.last().icon, Icon::Critical);
    QCOMPARE(s.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup")), QString());
    chiudi(f);

    f = apri(s);
    QCOMPARE(f->findChild<QLineEdit*>(QStringLiteral("txtFileBak"))->text(), QString());
    QCOMPARE(f->findChild<QLineEdit*>(QStringLiteral("txtFileZip"))->text(), QString());
    clicca(f, "cmdSfogliaBak"); // cancelled
    QCOMPARE(inst.interaction.fileDialogs.last().fileName, QStringLiteral("KORVADIN.zip"));
    QVERIFY(inst.interaction.fileDialogs.last().save);
    chiudi(f);
}

void TestFrmBackup::archivedDatabaseNeedsTheKey() {
    Salvata salvata;
    auto& [inst, s, f, archivio] = salvata;
    chiudi(f);
    QTemporaryDir fuori;
    QStringList nomi;
    QVERIFY(archivioBackup::estrai(archivio, fuori.path(), &nomi));
    QCOMPARE(nomi, QStringList{QStringLiteral("KORVADIN.mdb")});
    const QString estratto = QDir(fuori.path()).filePath(nomi.first());
    QVERIFY(!prova::contenuto(estratto).contains("SQLite format 3"));
    QVERIFY(!prova::contenuto(estratto).contains("KELDCorsiDef"));
    QVERIFY(!maint::verificaBaseDati(estratto, QStringLiteral("chiave sbagliata")).isEmpty());
    QVERIFY(!maint::verificaBaseDati(estratto, QString()).isEmpty());
    QCOMPARE(maint::verificaBaseDati(estratto, Session::databasePassword()), QString());
}

void TestFrmBackup::emptyBoxes_data() {
    QTest::addColumn<int>("pagina");
    QTest::addColumn<QString>("pulsante");
    QTest::addColumn<QString>("testo");
    QTest::newRow("backup") << 0 << "cmdConfermaBak"
                            << "Selezionare prima un nome per l'Archivio di Backup.";
    QTest::newRow("recupero") << 1 << "cmdConfermaZip"
                              << "Nessun file da ripristinare selezionato.";
}

void TestFrmBackup::emptyBoxes() {
    QFETCH(int, pagina);
    QFETCH(QString, pulsante);
    QFETCH(QString, testo);
    TestInstallation inst;
    Session& s = inst.sessione();
    QPointer<frmBackup> f = apri(s);
    f->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(pagina);
    f->findChild<QPushButton*>(pulsante)->click();
    QCOMPARE(inst.interaction.last().text, testo);
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Errore"));
    QCOMPARE(inst.interaction.last().icon, Icon::Critical);
    QVERIFY(!QFileInfo::exists(inst.file(QStringLiteral("KORVADIN.zip"))));
    chiudi(f);
}

// The restore names the archive and its date before it replaces anything; every
// replaced database stays in BackupDB under the date and time of its restore.
void TestFrmBackup::restoreAsksAndKeepsEveryCopy() {
    Salvata salvata;
    auto& [inst, s, f, archivio] = salvata;
    const QDateTime data(QDate(2026, 3, 14), QTime(9, 26));
    QFile zip(archivio);
    QVERIFY(zip.open(QIODevice::ReadWrite) &&
            zip.setFileTime(data, QFileDevice::FileModificationTime));
    zip.close();
    inst.interaction.answers = {ui::Answer::No};
    recupera(inst, f, archivio, true);
    const ui::Message domanda = inst.interaction.last();
    QCOMPARE(domanda.title, QStringLiteral("Recupero Dati"));
    QCOMPARE(domanda.buttons, ui::Buttons::YesNo);
    QVERIFY2(domanda.text.contains(QDir::toNativeSeparators(archivio) +
                                   QStringLiteral("\ndel 14/03/2026 ore 09:26")),
             qPrintable(domanda.text));
    QVERIFY(!QFileInfo::exists(inst.file(QStringLiteral("BackupDB"))));

    const QRegularExpression datata(
        QStringLiteral("^KORVADIN_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d(_2)?\\.mdb$"));
    for (int volta = 1; volta <= 2; ++volta) {
        recupera(inst, f, archivio, true);
        QCOMPARE(inst.interaction.last().text, kRecuperato);
        const QStringList copie =
            QDir(inst.file(QStringLiteral("BackupDB"))).entryList(QDir::Files);
        QCOMPARE(copie.size(), volta);
        for (const QString& copia : copie)
            QVERIFY2(datata.match(copia).hasMatch(), qPrintable(copia));
    }
    chiudi(f);
}

KORVADIN_TEST_MAIN(TestFrmBackup)
#include "tst_frmbackup.moc"
