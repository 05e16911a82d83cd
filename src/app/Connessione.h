#pragma once

class Session;
struct Errore;
class QWidget;

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
