// Times the decoding-table run on the generated set (about 8,000 municipalities):
// installation into the empty delivered database, then an update with the same
// files, each beside the time the sqlcipher shell takes to .import the same rows
// into the empty delivered database in one transaction (Debian package
// sqlcipher, installed by scripts/install-deps.sh). Run by hand:
//   korvadin-bench-decodifiche [comuni]
#include "DatiDecodifica.h"
#include "Misura.h"
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

// Wall-clock and processor time of a step, in ms. The processor time does not
// depend on what else the machine is doing; the shell's is its own (a child).
struct Tempo {
    qint64 parete = 0;
    qint64 processore = 0;
};

class Cronometro {
public:
    explicit Cronometro(int chi = RUSAGE_SELF) : m_chi(chi), m_inizio(misura::processoreMs(chi)) {
        m_parete.start();
    }
    Tempo tempo() const {
        return {m_parete.elapsed(), qint64(misura::processoreMs(m_chi) - m_inizio)};
    }

private:
    int m_chi;
    double m_inizio;
    QElapsedTimer m_parete;
};

// Writes the rows of every table as CSV beside the record files, every column of
// the table present (the shell's .import wants them all; NULL becomes empty).
void scriviCsv(db::Connection& c, const QString& dati, const QString& csv) {
    for (const auto& tab : refdata::elencoTabelle(refdata::Chiamante::FinestraPrincipale)) {
        const QStringList righe =
            cp1252::readLines(QDir(dati).filePath(tab.tabella + QStringLiteral(".txt")));
        const int colonne =
            db::Statement(c, QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(tab.tabella))
                .columnCount();
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
Tempo shell(const QString& database, const QByteArray& comandi) {
    QFile::remove(database);
    db::creaBaseDatiVuota(database, Session::databasePassword());
    QProcess p;
    const Cronometro t(RUSAGE_CHILDREN);
    p.start(QStringLiteral("sqlcipher"), {QStringLiteral("-batch"), database});
    if (!p.waitForStarted())
        qFatal("the sqlcipher shell is not installed (Debian package sqlcipher)");
    p.write("PRAGMA key = '" + Session::databasePassword().toUtf8() + "';\n" +
            db::cipherSettings() + "\nSELECT count(*) FROM sqlite_master;\n" + comandi + ".quit\n");
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const Tempo tempo = t.tempo();
    const QByteArray errori = p.readAllStandardError();
    if (p.exitCode() != 0 || !errori.isEmpty())
        qFatal("sqlcipher: %s", errori.constData());
    return tempo;
}

// The shell's .import of the same rows in one transaction, less the shell's own
// start and key derivation (the same script without the imports).
Tempo importazioneShell(db::Connection& schema, const QString& dati, const QString& cartella) {
    const QString csv = cartella + QStringLiteral("csv");
    QDir().mkpath(csv);
    scriviCsv(schema, dati, csv);
    QByteArray importa = ".mode csv\nBEGIN;\n";
    for (const auto& tab : refdata::elencoTabelle(refdata::Chiamante::FinestraPrincipale))
        importa += ".import " + QDir(csv).filePath(tab.tabella + QStringLiteral(".csv")).toUtf8() +
                   ' ' + tab.tabella.toUtf8() + '\n';
    importa += "COMMIT;\n";
    const QString database = cartella + QStringLiteral("shell.mdb");
    const Tempo vuoto = shell(database, "BEGIN;\nCOMMIT;\n");
    const Tempo pieno = shell(database, importa);
    return {pieno.parete - vuoto.parete, pieno.processore - vuoto.processore};
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

    misura::Silenziosa ui;
    Session s(ui, cartella);
    db::creaBaseDatiVuota(cartella + QStringLiteral("KORVADIN.mdb"), Session::databasePassword());
    s.CorsiDB().open(cartella + QStringLiteral("KORVADIN.mdb"), Session::databasePassword(),
                     db::OpenMode::Exclusive);
    const Tempo shell = importazioneShell(s.CorsiDB(), dati, cartella);
    auto prepara = [&](const QString& flag) {
        for (const QString& f : QDir(dati).entryList(QDir::Files))
            QFile::copy(QDir(dati).filePath(f), cartella + f);
        QFile(cartella + flag).open(QIODevice::WriteOnly);
    };
    refdata::Caricamento c;
    c.chiamante = refdata::Chiamante::FinestraPrincipale;
    prepara(refdata::FlagInstalla);
    const Cronometro ti;
    refdata::eseguiTabelleDecodifica(s, c);
    const Tempo installazione = ti.tempo();
    prepara(refdata::FlagAggiorna);
    const Cronometro ta;
    refdata::eseguiTabelleDecodifica(s, c);
    const Tempo aggiornamento = ta.tempo();

    auto riga = [&](const char* nome, const Tempo& t) {
        auto rapporto = [](qint64 a, qint64 b) {
            return QString::number(double(a) / double(qMax<qint64>(1, b)), 'f', 2);
        };
        out << nome << qSetFieldWidth(6) << t.parete << qSetFieldWidth(0) << " ms ("
            << rapporto(t.parete, shell.parete) << "x)   processore " << qSetFieldWidth(6)
            << t.processore << qSetFieldWidth(0) << " ms ("
            << rapporto(t.processore, shell.processore) << "x)\n";
    };
    riga("sqlcipher .import:  ", shell);
    riga("installazione:      ", installazione);
    riga("aggiornamento:      ", aggiornamento);
    return 0;
}
