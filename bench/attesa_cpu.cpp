// Measures the processor time the program spends while a server request waits:
// the simulator holds its answer for a few seconds and the request layer waits
// in its event loop. Prints wall time, processor time and their ratio.
//
//   korvadin-bench-attesa [milliseconds]      (default 3000)

#include "Simulatore.h"
#include "core/Interaction.h"
#include "core/RichiestaServer.h"
#include "core/Session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

// Nothing is shown: the measurement asks nothing of the user.
class Silenziosa : public ui::Interaction {
public:
    ui::Answer message(QWidget*, const QString&, const QString&, ui::Icon, ui::Buttons) override {
        return ui::Answer::Ok;
    }
    QString chooseFile(QWidget*, const ui::FileDialog&) override { return {}; }
    bool openUrl(const QUrl&) override { return false; }
    void showHelp(QWidget*, const QString&, int) override {}
    bool runAndWait(const QString&, const QStringList&, QString*) override { return false; }
    int runDialog(QDialog&) override { return 0; }
    void beep() override {}
    void setBusy(bool) override {}
    void processEvents() override { QCoreApplication::processEvents(); }

protected:
    void leaveEventLoops() override {}
};

double processoreMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int attesa = argc > 1 ? std::atoi(argv[1]) : 3000;
    QTemporaryDir cartella;
    Silenziosa ui;
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
    const double prima = processoreMs();
    const auto esito = richiesta.invia(sim.url(Simulatore::VERSIONE), "applicativo=KORVADIN");
    const double cpu = processoreMs() - prima;
    const double muro = double(orologio.elapsed());
    std::printf("esito %s, attesa %.0f ms, processore %.1f ms (%.2f %%)\n",
                esito == net::Esito::Completata ? "completata" : "errore", muro, cpu,
                muro > 0 ? 100.0 * cpu / muro : 0.0);
    return esito == net::Esito::Completata ? 0 : 1;
}
