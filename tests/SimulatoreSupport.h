#pragma once

// For the tests that talk to the in-process regional-server simulator (list
// them in KORVADIN_SIMULATOR_TESTS, tests/CMakeLists.txt).

#include "Simulatore.h"
#include "core/RigaRecord.h"
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

// The records of the simulator's registry data set in `file` ("oper.tx1",
// "compo.tx1", "sediutil.tx1") for the agency gruppo/operatore; with an empty
// gruppo, every record of the file.
inline QList<RigaRecord> anagrafeSimulatore(const QString& file, const QString& gruppo = {},
                                            const QString& operatore = {}) {
    QList<RigaRecord> record;
    for (const QString& riga : Simulatore::datiAnagrafe(file)) {
        const RigaRecord r = RigaRecord::leggi(riga);
        if (gruppo.isEmpty() || (r.campo(0) == gruppo && r.campo(1) == operatore))
            record.append(r);
    }
    return record;
}

// The Componente of the agency's legal seat ("SL") in the data set, "" when it
// has none.
inline QString sedeLegaleSimulatore(const QString& gruppo, const QString& operatore) {
    for (const RigaRecord& r : anagrafeSimulatore(QStringLiteral("compo.tx1"), gruppo, operatore))
        if (r.campo(3) == QLatin1String("SL"))
            return r.campo(2);
    return {};
}

#ifndef KORVADIN_TEST_NO_WIDGETS
#include "TestSupport.h"
#include "enrol/frmInstOper.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

// The enrolment as a user works it: in frmInstOper the agency is entered and
// sent, in frmConferma the e-mail address is typed and confirmed.
inline void guidaIscrizione(ui::ScriptedInteraction& ui, const QString& gruppo,
                            const QString& operatore, const QString& email) {
    guida<enrol::frmInstOper>(ui, QStringLiteral("frmInstOper"), [=](enrol::frmInstOper& f) {
        figlio<QLineEdit>(&f, QStringLiteral("TxtGrup"))->setText(gruppo);
        figlio<QLineEdit>(&f, QStringLiteral("TxtOper"))->setText(operatore);
        figlio<QPushButton>(&f, QStringLiteral("CmdIns"))->click();
        figlio<QPushButton>(&f, QStringLiteral("cmdConferma"))->click();
    });
    guida<enrol::frmConferma>(ui, QStringLiteral("frmConferma"), [=](enrol::frmConferma& c) {
        figlio<QLineEdit>(&c, QStringLiteral("txtEMail"))->setText(email);
        figlio<QPushButton>(&c, QStringLiteral("cmdConferma"))->click();
    });
}

// The registration of the installation: FrmnReg asks for the number, the e-mail
// dialog confirms the stored address.
inline void guidaRegistrazione(ui::ScriptedInteraction& ui) {
    ui.dialogDrivers[QStringLiteral("FrmnReg")] = [](QDialog& d) {
        figlio<QPushButton>(&d, QStringLiteral("CmdnReg"))->click();
    };
    ui.dialogDrivers[QStringLiteral("frmMailAggInst")] = [](QDialog& d) {
        figlio<QToolButton>(&d, QStringLiteral("imgConferma"))->click();
    };
}
#endif
