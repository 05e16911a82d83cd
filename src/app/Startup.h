#pragma once

#include "app/Connessione.h"

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
