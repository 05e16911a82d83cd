// Time of the approved-course update on a generated download: 10,000
// participant lines over 500 courses loaded into a fresh demo database (safety
// copy included, and the three loaders alone in one transaction), beside the
// sqlcipher shell's .import of the rows they leave into the same tables.
//   korvadin-bench-scarico [lines] [courses]
#include "DemoInstallation.h"
#include "ImportazioneShell.h"
#include "ScriptedInteraction.h"
#include "core/Cp1252.h"
#include "core/Session.h"
#include "db/Database.h"
#include "download/mdAggiornaCorsiApprovati.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

void scrivi(const QString& file, const QStringList& righe) {
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file));
    for (const QString& r : righe)
        f.write(cp1252::encode(r) + "\r\n");
}

// The first downloaded course's identifier.
constexpr int kPrimo = 70000;

struct Misura {
    misura::Tempo tempo;
    bool ok;
};

// The rows of the downloaded courses (identifiers primo..ultimo) that the load
// left in a table, every column, as CSV for the shell.
misura::Importazione righeCaricate(db::Connection& c, const QString& tabella, int primo, int ultimo,
                                   const QString& csv) {
    QList<QVariantList> righe;
    QStringList colonne;
    for (const db::Row& r :
         c.query(QStringLiteral("SELECT * FROM %1 WHERE IdAttivita BETWEEN ? AND ?").arg(tabella),
                 {primo, ultimo})) {
        QVariantList valori;
        for (int k = 0; k < r.size(); ++k)
            valori << r.value(k);
        righe << valori;
        colonne = r.names();
    }
    const QString file = QDir(csv).filePath(tabella + QStringLiteral(".csv"));
    misura::scriviCsv(file, righe);
    // Most numeric columns of a downloaded row are still null.
    return {tabella, file, colonne};
}

Misura caricamento(const QString& cartella, bool conCopia) {
    ui::ScriptedInteraction interaction;
    Session s(interaction, cartella);
    s.PercorsoDB = s.file(QStringLiteral("KORVADIN.mdb"));
    s.CorsiDB().open(s.PercorsoDB, Session::databasePassword(), db::OpenMode::Exclusive);
    const misura::Cronometro t;
    bool ok;
    if (conCopia) {
        ok = download::AggiornaCorsiScaricati(s, nullptr);
    } else {
        db::Transaction tr(s.CorsiDB());
        const QString corsi = s.file(download::kFileCorsi);
        ok = download::CaricaCorsi(s, nullptr, corsi) &&
             download::CaricaPartecipanti(s, nullptr, corsi) &&
             download::CaricaGiornateOre(s, nullptr, s.file(download::kFileGiornateOre));
        tr.commit();
    }
    return {t.tempo(), ok && interaction.messages.isEmpty()};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int righe = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const int corsi = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 500;
    QTextStream out(stdout);

    QStringList partecipanti, giornate;
    for (int i = 0; i < righe; ++i) {
        const int corso = kPrimo + i % corsi;
        const QString cf = QStringLiteral("DLL%1A326X").arg(i, 7, 10, QLatin1Char('0'));
        partecipanti << QStringLiteral("#A#,#123#,#%1#,#%2#,#Corso n. %2 dell'ente#,#07/01/2019#,"
                                       "#100#,#%3#,#D'ALESSANDRO#,#NICOLÒ#,#M#,#%4#,#1#,##,#3#,"
                                       "#III#,#01#")
                            .arg(corso)
                            .arg(i % corsi)
                            .arg(cf)
                            .arg(i % 7 ? QString::number(i) : QString());
    }
    for (int k = 0; k < corsi; ++k) {
        giornate << QStringLiteral("#%1#,#20#,#5#,#12000#").arg(kPrimo + k);
    }

    misura::Tempo shell;
    QList<QPair<QString, Misura>> misure;
    for (const bool conCopia : {false, true}) {
        QTemporaryDir dir;
        tooling::creaInstallazioneDemo(dir.path());
        scrivi(QDir(dir.path()).filePath(download::kFileCorsi), partecipanti);
        scrivi(QDir(dir.path()).filePath(download::kFileGiornateOre), giornate);
        misure.append({conCopia ? QStringLiteral("AggiornaCorsiScaricati (copia di sicurezza "
                                                 "inclusa):")
                                : QStringLiteral("CaricaCorsi + CaricaPartecipanti + "
                                                 "CaricaGiornateOre, una transazione:"),
                       caricamento(dir.path(), conCopia)});
        if (conCopia)
            continue;
        ui::ScriptedInteraction interaction;
        Session s(interaction, dir.path());
        s.CorsiDB().open(s.file(QStringLiteral("KORVADIN.mdb")), Session::databasePassword(),
                         db::OpenMode::Exclusive);
        const QString csv = QDir(dir.path()).filePath(QStringLiteral("csv"));
        QDir().mkpath(csv);
        shell =
            misura::importazioneShell(QDir(dir.path()).filePath(QStringLiteral("shell.mdb")),
                                      {righeCaricate(s.CorsiDB(), QStringLiteral("KELDCorsiDef"),
                                                     kPrimo, kPrimo + corsi - 1, csv),
                                       righeCaricate(s.CorsiDB(), QStringLiteral("KELDAnagFreq"),
                                                     kPrimo, kPrimo + corsi - 1, csv)});
    }
    constexpr int kColonna = 72;
    misura::stampa(out,
                   QStringLiteral("sqlcipher .import delle stesse righe, una transazione:")
                       .leftJustified(kColonna),
                   shell, shell);
    for (const auto& [nome, m] : misure) {
        misura::stampa(out, nome.leftJustified(kColonna), m.tempo, shell);
        if (!m.ok)
            out << "  (NON RIUSCITO)\n";
    }
    out << righe << " righe partecipanti, " << corsi << " corsi\n";

    return 0;
}
