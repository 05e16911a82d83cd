// Time of the approved-course update on a generated download: 10,000
// participant lines over 500 courses loaded into a fresh demo database (safety
// copy included, and the three loaders alone in one transaction).
//   korvadin-bench-scarico [lines] [courses]
#include "DemoInstallation.h"
#include "ScriptedInteraction.h"
#include "core/Cp1252.h"
#include "core/Session.h"
#include "db/Database.h"
#include "download/mdAggiornaCorsiApprovati.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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

struct Misura {
    qint64 ms;
    bool ok;
};

Misura misura(const QString& cartella, bool conCopia) {
    ui::ScriptedInteraction interaction;
    Session s(interaction, cartella);
    s.PercorsoDB = s.file(QStringLiteral("KORVADIN.mdb"));
    s.CorsiDB().open(s.PercorsoDB, Session::databasePassword(), db::OpenMode::Exclusive);
    QElapsedTimer t;
    t.start();
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
    return {t.elapsed(), ok && interaction.messages.isEmpty()};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int righe = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const int corsi = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 500;
    QTextStream out(stdout);

    QStringList partecipanti, giornate;
    for (int i = 0; i < righe; ++i) {
        const int corso = 70000 + i % corsi;
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
        giornate << QStringLiteral("#%1#,#20#,#5#,#12000#").arg(70000 + k);
    }

    for (const bool conCopia : {false, true}) {
        QTemporaryDir dir;
        tooling::creaInstallazioneDemo(dir.path());
        scrivi(QDir(dir.path()).filePath(download::kFileCorsi), partecipanti);
        scrivi(QDir(dir.path()).filePath(download::kFileGiornateOre), giornate);
        const Misura m = misura(dir.path(), conCopia);
        out << (conCopia
                    ? "AggiornaCorsiScaricati (copia di sicurezza inclusa): "
                    : "CaricaCorsi + CaricaPartecipanti + CaricaGiornateOre, una transazione: ")
            << m.ms << " ms" << (m.ok ? "" : "  (NON RIUSCITO)") << "\n";
    }
    out << righe << " righe partecipanti, " << corsi << " corsi\n";

    return 0;
}
