#pragma once

#include "ScriptedInteraction.h"
#include "core/Session.h"
#include "db/Database.h"

#include <QFileDevice>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// A program folder in a temporary directory with a real encrypted database, a
// session on it answered by the scripted interaction, and per-user settings kept
// inside the folder. When the test run's engine is PostgreSQL the database is
// a new one on the run's server holding the same content, and database() is
// its address.
class TestInstallation {
public:
    enum class Contenuto { Demo, Vuota };
    explicit TestInstallation(Contenuto contenuto = Contenuto::Demo);

    QString folder() const { return m_dir.path(); }
    QString file(const QString& name) const;
    QString database() const;
    // The encrypted file the installation was made from.
    QString fileDatabase() const { return file(QStringLiteral("KORVADIN.mdb")); }

    // A new session on the folder (not yet connected).
    std::unique_ptr<Session> nuovaSessione();
    // A session connected to the database, with the demo agency as current.
    Session& sessione();

    ui::ScriptedInteraction interaction;

private:
    QTemporaryDir m_dir;
    QString m_indirizzo;
    std::unique_ptr<Session> m_session;
};

// Real second processes and database checks for the tests of shared use and
// crashes.
namespace prova {

// The engine of the test run: KORVADIN_TEST_MOTORE, "sqlcipher" (the default)
// or "postgresql".
db::TipoMotore motoreProva();

// The address of a new, empty database (a schema of its own) on the test run's
// private PostgreSQL server. The server is the one the run started (its folder
// in KORVADIN_TEST_PG), otherwise one of this process, stopped at its end.
QString nuovaBaseDatiServer();

// Starts a private PostgreSQL server in the folder (initdb, local socket only,
// a free port, the user postgres when running as root); stops it. False with a
// message on standard error when it could not be done.
bool avviaServer(const QString& cartella);
bool fermaServer(const QString& cartella);

// Starts the db_probe helper with the arguments and waits (bounded) until it
// prints "PRONTO"; nullptr when it did not.
std::unique_ptr<QProcess> avviaProbe(const QStringList& argomenti);
// The same for another helper program.
std::unique_ptr<QProcess> avviaProbe(const QString& programma, const QStringList& argomenti);

// Kills the process ms milliseconds from now (never when ms < 0), waits for its
// end and returns what it printed; the output of a kill is of no use.
QByteArray uccidiDopo(QProcess& processo, int ms);

// Waits (bounded) until the process has ended; true when it has.
bool attendiFine(QProcess& processo);

// Adds the tables ProvaA and ProvaB that the writing helper fills in pairs.
void creaTabelleProva(const QString& database);

// "" when the file opens with the key, passes PRAGMA quick_check and (when it
// holds them) ProvaA and ProvaB have as many rows; otherwise what is wrong.
QString verificaCopia(const QString& file);

// The whole content of a file ("" when it cannot be read).
QByteArray contenuto(const QString& file);

// Replaces the whole content of a file with the bytes; true when all were written.
bool scrivi(const QString& file, const QByteArray& byte);

// An open course (40 hours, credit 3,5, full layout) with that many
// participants: tax codes "CRS" + 13 digits, surnames with accents and
// apostrophes, every third participant already handled (4 hours of absence,
// "Esecutivo", "8", credit 2), the others not yet.
void creaCorsoGrande(db::Connection& db, qint32 idAttivita, int allievi);
// A course of the demo agency in the full layout (classified, credit 2,5,
// 60 hours, end date 20/12/2018) in the given state, with `allievi`
// participants "Allievo001 Nome" ... each handled ("8 - Prova superata",
// credit 2,25) and tax codes "PRV" + 13 digits.
void corsoConAllievi(db::Connection& db, qint32 id, int allievi,
                     const QString& stato = QStringLiteral("CHIUSO"));

// Runs a poppler tool (poppler-utils) on the PDF, whose file follows the
// arguments and precedes dopo, and returns what it printed.
QString poppler(const QString& programma, const QStringList& argomenti, const QByteArray& pdf,
                const QStringList& dopo = {});
// The text of every page of the PDF as pdftotext reads it in drawing order,
// each run of blanks as one space.
QStringList pagineDelPdf(const QByteArray& pdf);

// How a streaming writer lays out an archive: every entry flagged with a data
// descriptor after its data.
struct Streaming {
    bool comprimi = false; // deflated, else stored
    int locali = 0;        // in the local header: 0 CRC and sizes zero, 1 only the
                           // uncompressed size (as Info-ZIP writes), 2 all three
    bool zip64 = false;    // Zip64 extra fields, 64-bit descriptor, Zip64 end records
    bool firma = true;     // the descriptor's optional signature
    quint32 alteraCrc = 0; // XORed into the descriptor's CRC
};
// The bytes of a zip archive holding the files (name, content) written that way.
QByteArray zipStreaming(const QList<QPair<QString, QByteArray>>& voci, const Streaming& modo);

// The permission bits of a file (owner, group, others), without the current
// user's; and the Unix mode of an archive's entry from its external attributes.
QFileDevice::Permissions permessi(const QString& file);
inline const QFileDevice::Permissions soloProprietario =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;
quint32 modoVoce(const QString& archivio, int indice = 0);

} // namespace prova
// A folder on a small file system of its own (a 64 KiB tmpfs), so that a test
// can fill it up. Mounting needs root: when it is not permitted montato() is
// false and the test skips.
class DiscoPiccolo {
public:
    DiscoPiccolo();
    ~DiscoPiccolo();
    DiscoPiccolo(const DiscoPiccolo&) = delete;
    DiscoPiccolo& operator=(const DiscoPiccolo&) = delete;

    bool montato() const { return m_montato; }
    QString cartella() const { return m_dir.path(); }
    QString file(const QString& name) const;
    // Fills the free space with a file of its own; svuota() removes it.
    void riempi();
    void svuota();

private:
    QTemporaryDir m_dir;
    bool m_montato = false;
};

// For the lifetime of the object the process acts as an unprivileged user
// (effective user "nobody" when running as root), so that file permissions
// apply to it. attivo() is false when the switch is not possible.
class ComeUtenteComune {
public:
    ComeUtenteComune();
    ~ComeUtenteComune();
    ComeUtenteComune(const ComeUtenteComune&) = delete;
    ComeUtenteComune& operator=(const ComeUtenteComune&) = delete;

    bool attivo() const { return m_attivo; }

private:
    bool m_attivo = false;
    bool m_cambiato = false;
};

// True when the step ended the program (it left by ui::FineProgramma).
bool terminaIlProgramma(const std::function<void()>& passo);

#ifndef KORVADIN_TEST_NO_WIDGETS
#include "common/Applicazione.h"

#include <QDialog>
#include <QtTest>

// The child of the window with that objectName; the test stops when it is
// missing.
template <class T = QWidget> T* figlio(const QObject* finestra, const QString& nome) {
    T* f = finestra->findChild<T*>(nome);
    if (!f)
        qFatal("controllo %s assente", qPrintable(nome));
    return f;
}

// Drives the form named `nome` (a D) whenever the program runs it; the returned
// counter tells how many times it was driven.
template <class D>
std::shared_ptr<int> guida(ui::ScriptedInteraction& ui, const QString& nome,
                           std::function<void(D&)> driver) {
    auto volte = std::make_shared<int>(0);
    ui.dialogDrivers[nome] = [volte, driver, nome](QDialog& dialog) {
        auto* form = qobject_cast<D*>(&dialog);
        if (!form)
            qFatal("il form %s non è del tipo atteso", qPrintable(nome));
        ++*volte;
        driver(*form);
    };
    return volte;
}

// Like QTEST_MAIN, with the program's application object, so that the end of
// the program stops at the event loop as it does in the program.
#define KORVADIN_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char* argv[]) {                                                             \
        Applicazione app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
#endif
