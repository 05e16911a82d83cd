#pragma once

#include <QPointer>

#include <memory>

class Session;
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

    // Runs the whole sequence; returns the shown main frame, or nothing when the
    // program ended on the way.
    std::unique_ptr<MDI_Main> run();

    Avvio& avvio() { return *m_avvio; }

private:
    bool controlloConfigurazione();
    bool leggiOperatoreCorrente();
    void chiudiSplash();

    Session& m_session;
    std::unique_ptr<Avvio> m_avvio;
    QPointer<Splash> m_splash;
};

namespace startup {

// Reads the configuration, opens the connection and sets the run-wide values.
// False when the program ended (its message was shown). Also called again by
// database restore and the safety copy.
bool Inizializza(Session& session, QWidget* parent = nullptr);

// Empties Database, NFileDB and Tipo, so that the next start asks for the
// installation again; the three keys are written together or not at all. A
// failed write is reported ("Errore di inizializzazione") and gives false.
bool resetInstallazione(Session& session, QWidget* parent = nullptr);

// Any message raised by the connection while the program runs: shown, then the
// program ends.
void erroreConnessione(Session& session, int number, const QString& description,
                       QWidget* parent = nullptr);

} // namespace startup
