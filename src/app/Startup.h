#pragma once

#include <QPointer>

#include <memory>

class Session;
struct Errore;
class Avvio;
class Splash;
class MDI_Main;
class QWidget;

// The start-up sequence: configuration check, database connection, reference
// data, agency identity and the main frame. Nearly every failure ends the
// program after its message.
class Startup {
public:
    explicit Startup(Session& session);
    ~Startup();

    // Runs the whole sequence and returns the shown main frame. When the
    // program ends on the way, ui::FineProgramma leaves it.
    std::unique_ptr<MDI_Main> run();

    Avvio& avvio() { return *m_avvio; }

private:
    void controlloConfigurazione();
    void leggiOperatoreCorrente();
    void chiudiSplash();

    Session& m_session;
    std::unique_ptr<Avvio> m_avvio;
    QPointer<Splash> m_splash;
};

namespace startup {

// Reads the configuration, opens the connection and sets the run-wide values.
// Every failure shows its message and ends the program. Also called again by
// database restore and the safety copy.
void Inizializza(Session& session, QWidget* parent = nullptr);

// Empties Database, NFileDB and Tipo, so that the next start asks for the
// installation again; the three keys are written together or not at all. A
// failed write is reported ("Errore di inizializzazione") and gives false.
bool resetInstallazione(Session& session, QWidget* parent = nullptr);

// Any message raised by the connection while the program runs: shown, then the
// program ends.
[[noreturn]] void erroreConnessione(Session& session, const Errore& errore,
                                    QWidget* parent = nullptr);

} // namespace startup
