// Times the decoding-table run on the generated set (about 8,000 municipalities):
// installation into the empty delivered database, then an update with the same
// files, each beside the time the sqlcipher shell takes to .import the same rows
// into the empty delivered database in one transaction (Debian package
// sqlcipher, installed by scripts/install-deps.sh). Run by hand:
//   korvadin-bench-decodifiche [comuni]
#include "DatiDecodifica.h"
#include "core/Cp1252.h"
#include "core/RigaRecord.h"
#include "core/Session.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "refdata/TabelleDecodifica.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Answers every question with its first button and records nothing.
class Silenziosa : public ui::Interaction {
public:
    ui::Answer message(QWidget*, const QString& text, const QString&, ui::Icon,
                       ui::Buttons buttons) override {
        QTextStream(stderr) << text << "\n";
        return ui::firstAnswer(buttons);
    }
    QString chooseFile(QWidget*, const ui::FileDialog&) override { return {}; }
    bool openUrl(const QUrl&) override { return false; }
    void showHelp(QWidget*, const QString&, int) override {}
    bool runAndWait(const QString&, const QStringList&, QString*) override { return false; }
    int runDialog(QDialog&) override { return 0; }
    void beep() override {}
    void setBusy(bool) override {}
    void processEvents() override {}

protected:
    void leaveEventLoops() override {}
};

// Writes the rows of every table as CSV beside the record files, every column of
// the table present (the shell's .import wants them all; NULL becomes empty).
void scriviCsv(db::Connection& c, const QString& dati, const QString& csv) {
    for (const auto& tab : refdata::elencoTabelle(refdata::Chiamante::FinestraPrincipale)) {
        const QStringList righe =
            cp1252::readLines(QDir(dati).filePath(tab.tabella + QStringLiteral(".txt")));
        const int colonne =
            int(c.query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(tab.tabella)).size());
        const int n = qMin(tab.campi, colonne);
        QFile f(QDir(csv).filePath(tab.tabella + QStringLiteral(".csv")));
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(f.fileName()));
        for (qsizetype i = 1; i < righe.size(); ++i) {
            const RigaRecord r = RigaRecord::leggi(righe[i].trimmed());
            QStringList campi;
            for (int k = 0; k < colonne; ++k) {
                QString v = k < n ? r.campo(k).trimmed().left(500) : QString();
                if (v.toUpper() == QLatin1String("NULL"))
                    v.clear();
                campi << QLatin1Char('"') + v.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                             QLatin1Char('"');
            }
            f.write(campi.join(u',').toUtf8() + '\n');
        }
    }
}

// Runs the sqlcipher shell on a fresh delivered database with the script; the
// time it takes, in ms.
qint64 shell(const QString& database, const QByteArray& comandi) {
    QFile::remove(database);
    db::creaBaseDatiVuota(database, Session::databasePassword());
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("sqlcipher"), {QStringLiteral("-batch"), database});
    if (!p.waitForStarted())
        qFatal("the sqlcipher shell is not installed (Debian package sqlcipher)");
    p.write("PRAGMA key = '" + Session::databasePassword().toUtf8() + "';\n" +
            db::cipherSettings() + "\nSELECT count(*) FROM sqlite_master;\n" + comandi + ".quit\n");
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const qint64 ms = t.elapsed();
    const QByteArray errori = p.readAllStandardError();
    if (p.exitCode() != 0 || !errori.isEmpty())
        qFatal("sqlcipher: %s", errori.constData());
    return ms;
}

// The shell's .import of the same rows in one transaction, less the shell's own
// start and key derivation (the same script without the imports).
qint64 importazioneShell(db::Connection& schema, const QString& dati, const QString& cartella) {
    const QString csv = cartella + QStringLiteral("csv");
    QDir().mkpath(csv);
    scriviCsv(schema, dati, csv);
    QByteArray importa = ".mode csv\nBEGIN;\n";
    for (const auto& tab : refdata::elencoTabelle(refdata::Chiamante::FinestraPrincipale))
        importa += ".import " + QDir(csv).filePath(tab.tabella + QStringLiteral(".csv")).toUtf8() +
                   ' ' + tab.tabella.toUtf8() + '\n';
    importa += "COMMIT;\n";
    const QString database = cartella + QStringLiteral("shell.mdb");
    const qint64 vuoto = shell(database, "BEGIN;\nCOMMIT;\n");
    return shell(database, importa) - vuoto;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    datidecodifica::Dimensioni d;
    if (argc > 1)
        d.comuni = QString::fromLocal8Bit(argv[1]).toInt();
    QTemporaryDir dir;
    const QString cartella = dir.path() + QLatin1Char('/');
    const QString dati = cartella + QStringLiteral("dati");
    const auto righe = datidecodifica::genera(dati, d);
    int totale = 0;
    for (int n : righe)
        totale += n;
    out << "righe: " << totale << " (Comuni " << righe.value(QStringLiteral("Comuni")) << ")\n";

    Silenziosa ui;
    Session s(ui, cartella);
    db::creaBaseDatiVuota(cartella + QStringLiteral("KORVADIN.mdb"), Session::databasePassword());
    s.CorsiDB().open(cartella + QStringLiteral("KORVADIN.mdb"), Session::databasePassword(),
                     db::OpenMode::Exclusive);
    const qint64 semplice = importazioneShell(s.CorsiDB(), dati, cartella);
    auto prepara = [&](const QString& flag) {
        for (const QString& f : QDir(dati).entryList(QDir::Files))
            QFile::copy(QDir(dati).filePath(f), cartella + f);
        QFile(cartella + flag).open(QIODevice::WriteOnly);
    };
    refdata::Caricamento c;
    c.chiamante = refdata::Chiamante::FinestraPrincipale;
    QElapsedTimer t;
    prepara(refdata::FlagInstalla);
    t.start();
    refdata::eseguiTabelleDecodifica(s, c);
    const qint64 installazione = t.elapsed();
    prepara(refdata::FlagAggiorna);
    t.restart();
    refdata::eseguiTabelleDecodifica(s, c);
    const qint64 aggiornamento = t.elapsed();

    out << "sqlcipher .import:     " << semplice << " ms\n"
        << "installazione:         " << installazione << " ms ("
        << QString::number(double(installazione) / qMax<qint64>(1, semplice), 'f', 2) << "x)\n"
        << "aggiornamento:         " << aggiornamento << " ms ("
        << QString::number(double(aggiornamento) / qMax<qint64>(1, semplice), 'f', 2) << "x)\n";
    return 0;
}
