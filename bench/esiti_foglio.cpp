// Time of an outcome import on a course of many participants: the filled-in
// file read and every row checked, then the preview form built with all rows.
// Goal: under 200 ms for 300 rows.
//   korvadin-bench-esiti [participants] [runs]
#include "TestSupport.h"
#include "report/EsitiFoglio.h"
#include "report/FoglioCsv.h"
#include "report/FoglioEsiti.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int allievi = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 300;
    const int prove = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10;
    QTextStream out(stdout);

    TestInstallation inst;
    Session& sessione = inst.sessione();
    const qint32 corso = 90001;
    prova::creaCorsoGrande(sessione.CorsiDB(), corso, allievi);
    const auto elenco = report::archivio::leggiAllievi(sessione.CorsiDB(), corso);
    // Every row filled in, one in five with a value the rules refuse.
    report::csv::Lettura file = report::csv::leggi(report::foglio::esporta(elenco));
    for (int i = 1; i < file.righe.size(); ++i) {
        QStringList& r = file.righe[i];
        r[4] = i % 5 ? QStringLiteral("6") : QStringLiteral("7");
        r[5] = QStringLiteral("Esecutivo");
        r[6] = QStringLiteral("8 - Prova superata");
        r[7].clear();
        r[8] = QStringLiteral("1,5");
    }
    const QString percorso = inst.file(QStringLiteral("esiti.csv"));
    prova::scrivi(percorso, report::csv::scrivi(file.righe));

    QList<double> lettura, anteprima;
    int aggiornare = 0, rifiutate = 0;
    for (int p = 0; p < prove; ++p) {
        QElapsedTimer t;
        t.start();
        report::foglio::Anteprima a = report::foglio::leggiFile(
            percorso, elenco, QStringLiteral("40"), QStringLiteral("3,5"));
        lettura << t.nsecsElapsed() / 1e6;
        aggiornare = a.conta(report::foglio::Azione::DaAggiornare);
        rifiutate = a.conta(report::foglio::Azione::Rifiutato);
        t.restart();
        report::FrmAnteprimaEsiti form(sessione, corso, std::move(a), QStringLiteral("APERTO"));
        form.show();
        QApplication::processEvents();
        anteprima << t.nsecsElapsed() / 1e6;
    }
    const auto mediana = [](QList<double> v) {
        std::sort(v.begin(), v.end());
        return v.value(v.size() / 2);
    };
    out << allievi << " righe (" << aggiornare << " da aggiornare, " << rifiutate
        << " rifiutate), mediana di " << prove << " prove:\n"
        << "  lettura e verifica: " << mediana(lettura) << " ms\n"
        << "  anteprima (form mostrato): " << mediana(anteprima) << " ms\n"
        << "  totale: " << mediana(lettura) + mediana(anteprima)
        << " ms (obiettivo: sotto 200 ms)\n";
    return 0;
}
