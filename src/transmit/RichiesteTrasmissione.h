#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class Session;
class QWidget;

namespace transmit {

// The outcome of one server request of the transmission forms.
struct Risposta {
    bool completata = false; // the response arrived in full
    int codiceErrore = 0;    // transfer error, 0 when none
    QString testo;           // the reply
    QString servizio;        // the service name, for the messages
    // Complete, without "ERRORE" in any letter case and without an HTML page.
    bool valida() const;
};

// Service VERSIONE: "applicativo=KORVADIN&anno=2018".
Risposta richiestaVersione(Session& session);
// Service STATOAVANZAMENTO of a course of the current agency.
Risposta richiestaStatoAvanzamento(Session& session, qint32 idAttivita);
// The attachment upload.
Risposta richiestaInvioAllegato(Session& session, const QByteArray& corpo);

// The e-mail dialog: the confirmed sender's address, nothing when the user
// gave none.
std::optional<QString> chiediEmail(Session& session, QWidget* parent);

} // namespace transmit
