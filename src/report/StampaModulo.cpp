#include "report/StampaModulo.h"

#include "core/Errore.h"
#include "core/Guardie.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "report/ModuloFineCorso.h"

#include <QDir>
#include <QPushButton>

namespace report {

namespace {
const QString kTitolo = QStringLiteral("Stampa del modulo");
}

void stampaModulo(Session& session, QWidget* parent, qint32 idAttivita,
                  const std::optional<DatiScheda>& scheda, bool archivia) {
    ui::Interaction& ui = session.ui;
    PuntatoreOccupato occupato(ui);
    std::optional<modulo::DatiModulo> dati;
    try {
        dati = modulo::leggiModulo(session.CorsiDB(), idAttivita, session.OperatoreCorrente);
    } catch (const db::DbError& e) {
        occupato.fine();
        mostraErrore(ui, parent, Errore::da(e), kTitolo);
        return;
    }
    if (!dati) {
        occupato.fine();
        ui.message(parent,
                   QStringLiteral("Il corso %1 non è presente in archivio.").arg(idAttivita),
                   kTitolo, ui::Icon::Critical);
        return;
    }
    if (scheda)
        modulo::applicaScheda(*dati, *scheda);

    QString filePdf = session.file(modulo::nomeFilePdf(*dati));
    if (archivia) {
        const QString cartella = session.file(QStringLiteral("Trasmissioni"));
        QString errore;
        filePdf = QDir(cartella).filePath(modulo::nomeFilePdf(*dati));
        if (!modulo::archiviaPdf(cartella, *dati, &errore)) {
            occupato.fine();
            ui.message(parent,
                       QStringLiteral("Impossibile salvare il modulo in formato PDF nella "
                                      "cartella ") +
                           QDir::toNativeSeparators(cartella) + QStringLiteral("\r\n") + errore +
                           QStringLiteral("\r\nIl modulo può comunque essere stampato."),
                       kTitolo, ui::Icon::Warning);
        }
    }
    occupato.fine();

    const ui::Stampa stampa{QStringLiteral("Modulo di fine corso - Attività %1").arg(idAttivita),
                            filePdf,
                            [d = *dati](QPagedPaintDevice& device) { modulo::disegna(device, d); }};
    if (ui.print(parent, stampa) == ui::EsitoStampa::Fallita)
        ui.message(parent, QStringLiteral("La stampa del modulo non è riuscita."), kTitolo,
                   ui::Icon::Critical);
}

QPushButton* pulsanteStampaModulo(Session& session, qint32 idAttivita,
                                  std::function<DatiScheda()> scheda, QWidget* parent) {
    auto* pulsante = new QPushButton(QStringLiteral("Stampa"), parent);
    pulsante->setObjectName(QStringLiteral("cmdStampa"));
    pulsante->setAutoDefault(false); // Enter in the form never prints
    pulsante->setToolTip(QStringLiteral("Stampa della comunicazione di fine corso così come è "
                                        "compilata ora"));
    QObject::connect(pulsante, &QPushButton::clicked, parent,
                     [&session, idAttivita, scheda = std::move(scheda), parent] {
                         stampaModulo(session, parent, idAttivita, scheda(), false);
                     });
    return pulsante;
}

} // namespace report
