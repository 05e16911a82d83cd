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

// The installation number in the server's reply: the trimmed reply when it is a
// whole number that fits the installation table (0..32767) and the reply holds
// no "ERRORE"; nothing otherwise (a sign, a decimal point, blanks inside or any
// other character make the reply unusable).
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
