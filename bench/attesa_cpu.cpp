// Measures the processor time the program spends while a server request waits:
// the simulator holds its answer for a few seconds and the request layer waits
// in its event loop. Prints wall time, processor time and their ratio.
//
//   korvadin-bench-attesa [milliseconds]      (default 3000)

#include "Misura.h"
#include "Simulatore.h"
#include "core/RichiestaServer.h"
#include "core/Session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int attesa = argc > 1 ? std::atoi(argv[1]) : 3000;
    QTemporaryDir cartella;
    misura::Silenziosa ui;
    Session session(ui, cartella.path(), cartella.filePath(QStringLiteral("utente.ini")));
    Simulatore sim;
    if (!sim.avvia()) {
        std::fprintf(stderr, "simulatore non avviato: %s\n", qPrintable(sim.erroreAvvio()));
        return 1;
    }
    sim.setGuasto(Simulatore::VERSIONE, Simulatore::Guasto::Ritardo, attesa);
    net::RichiestaServer richiesta(session);
    richiesta.setLimiteMs(attesa + 10000);

    QElapsedTimer orologio;
    orologio.start();
    const double prima = misura::processoreMs();
    const auto esito = richiesta.invia(sim.url(Simulatore::VERSIONE), "applicativo=KORVADIN");
    const double cpu = misura::processoreMs() - prima;
    const double muro = double(orologio.elapsed());
    std::printf("esito %s, attesa %.0f ms, processore %.1f ms (%.2f %%)\n",
                esito == net::Esito::Completata ? "completata" : "errore", muro, cpu,
                muro > 0 ? 100.0 * cpu / muro : 0.0);
    return esito == net::Esito::Completata ? 0 : 1;
}
