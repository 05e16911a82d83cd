// Times the decoding-table run on the generated set (about 8,000 municipalities):
// installation into the empty delivered database, then an update with the same
// files, each beside the time the sqlcipher shell takes to .import the same rows
// into the empty delivered database in one transaction (Debian package
// sqlcipher, installed by scripts/install-deps.sh). Run by hand:
//   korvadin-bench-decodifiche [comuni]
#include "DatiDecodifica.h"
#include "ImportazioneShell.h"
#include "Misura.h"
#include "core/Cp1252.h"
#include "core/RigaRecord.h"
#include "core/Session.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "refdata/TabelleDecodifica.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

using misura::Tempo;

// The rows of every table as CSV beside the record files, every column of the
// table present (the shell's .import wants them all; NULL becomes empty).
QList<misura::Importazione> scriviCsv(db::Connection& c, const QString& dati, const QString& csv) {
    QList<misura::Importazione> importazioni;
    for (const auto& tab : refdata::elencoTabelle(refdata::Chiamante::FinestraPrincipale)) {
        const QStringList righe =
            cp1252::readLines(QDir(dati).filePath(tab.tabella + QStringLiteral(".txt")));
        const int colonne =
            db::Statement(c, QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(tab.tabella))
                .columnCount();
        const int n = qMin(tab.campi, colonne);
        QList<QVariantList> valori;
        for (qsizetype i = 1; i < righe.size(); ++i) {
            const RigaRecord r = RigaRecord::leggi(righe[i].trimmed());
            QVariantList campi;
            for (int k = 0; k < colonne; ++k) {
                const QString v = k < n ? r.campo(k) : QString();
                campi << (RigaRecord::nullo(v) ? QVariant() : QVariant(v.left(500).trimmed()));
            }
            valori << campi;
        }
        const QString file = QDir(csv).filePath(tab.tabella + QStringLiteral(".csv"));
        misura::scriviCsv(file, valori);
        importazioni.append({tab.tabella, file});
    }
    return importazioni;
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
    QDir().mkpath(cartella + QStringLiteral("csv"));
    const Tempo shell =
        misura::importazioneShell(cartella + QStringLiteral("shell.mdb"),
                                  scriviCsv(s.CorsiDB(), dati, cartella + QStringLiteral("csv")));
    auto prepara = [&](const QString& flag) {
        for (const QString& f : QDir(dati).entryList(QDir::Files))
            QFile::copy(QDir(dati).filePath(f), cartella + f);
        QFile(cartella + flag).open(QIODevice::WriteOnly);
    };
    refdata::Caricamento c;
    c.chiamante = refdata::Chiamante::FinestraPrincipale;
    prepara(refdata::FlagInstalla);
    const misura::Cronometro ti;
    refdata::eseguiTabelleDecodifica(s, c);
    const Tempo installazione = ti.tempo();
    prepara(refdata::FlagAggiorna);
    const misura::Cronometro ta;
    refdata::eseguiTabelleDecodifica(s, c);
    const Tempo aggiornamento = ta.tempo();

    misura::stampa(out, QStringLiteral("sqlcipher .import:  "), shell, shell);
    misura::stampa(out, QStringLiteral("installazione:      "), installazione, shell);
    misura::stampa(out, QStringLiteral("aggiornamento:      "), aggiornamento, shell);
    return 0;
}
