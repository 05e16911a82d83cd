#pragma once

// For the tests that talk to the in-process regional-server simulator (list
// them in KORVADIN_SIMULATOR_TESTS, tests/CMakeLists.txt).

#include "Simulatore.h"
#include "core/Session.h"

#include <QFile>

// Points the session's configuration (CONNESSIONE) and server base address at
// the simulator; with fidati the simulator's test authority is put in the
// program folder as "CA_ROOT.DER", so that its HTTPS side is trusted.
inline void puntaAlSimulatore(Session& s, const Simulatore& sim, bool fidati = true) {
    for (const auto& [chiave, valore] : sim.connessione())
        s.ini.scrivi(QStringLiteral("CONNESSIONE"), chiave, valore);
    s.indirizzoServer = sim.indirizzoBase();
    const QString ca = s.file(QStringLiteral("CA_ROOT.DER"));
    QFile::remove(ca);
    if (fidati)
        QFile::copy(QStringLiteral(KORVADIN_CERTIFICATI "/CA_ROOT.DER"), ca);
}
