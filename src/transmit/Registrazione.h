#pragma once

#include <QString>

#include <optional>

namespace db {
class Connection;
}

// The registration of an installation with the regional server (service NREG).
namespace transmit {

// "gruppo=<g>&codice=<c>&compo=&applicativo=KORVADIN&email=<e>", values as they are.
QString corpoRegistrazione(const QString& gruppo, const QString& codice, const QString& email);

// The server's reply is accepted when, trimmed, it is a whole number written in
// digits only and it holds no "ERRORE" (a sign, a decimal point, blanks inside or
// any other character make it a server error).
bool rispostaNumerica(const QString& risposta);

// The installation number of an accepted reply when it fits the installation
// table (0..32767); nothing otherwise. An accepted reply that does not fit is
// not a server error: the number cannot be stored.
std::optional<int> numeroInstallazione(const QString& risposta);

struct AgenziaInstallata {
    QString gruppo;
    QString codice; // operator code, text of digits
};
// The agency row of the operators data (the first of CorsiOper).
std::optional<AgenziaInstallata> agenziaInstallata(db::Connection& c);

// Adds the installation row: group, operator code as a number, the number and
// the program version.
void salvaInstallazione(db::Connection& c, const AgenziaInstallata& agenzia, int numero,
                        const QString& versione);

} // namespace transmit
