#include "app/Avvio.h"
#include "core/Guardie.h"
#include "core/Session.h"
#include "enrol/InstOper.h"
#include "refdata/AnagraficaOperatori.h"
#include "refdata/InstallazioneDati.h"

namespace refdata {

void primaInstallazioneOperatori(Session& s, Avvio& avvio) {
    try {
        if (s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM CorsiOper")).toLongLong() > 0)
            return;
    } catch (const db::DbError&) {
        // Reported by the installation itself, which reads the table again.
    }
    s.PrimaInstallazione = true;
    s.InstallazioneInCorso = true;
    avvio.mostraAvanzamento(QStringLiteral("INSTALLAZIONE"), QStringLiteral("Attendere..."));
    s.ui.processEvents();
    // A cancelled enrolment downloads nothing: the check below reports the missing
    // files and the program ends, unless the files of an earlier attempt that
    // failed are still in the program folder, which are then loaded again.
    enrol::iscriviOperatori(s, &avvio);
    anagrafica::verificaFileInstallazione(s);
    PuntatoreOccupato occupato(s.ui);
    // The tables delivered with the downloaded package.
    installaAggiornaTabelle(s, avvio);
    int mostrati = 0;
    anagrafica::installa(s, [&](const QString& file, const QString& tabella, int record) {
        avvio.aggiorna(file, tabella, record);
        if (++mostrati % 50 == 1)
            s.ui.processEvents();
    });
}

} // namespace refdata
