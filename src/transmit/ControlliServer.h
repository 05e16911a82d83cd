#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QWidget;
class Session;
namespace net {
class RichiestaServer;
}
namespace ui {
class Interaction;
}

// The two checks made with the regional server before a report is sent: the
// program version (service VERSIONE) and the progress state of the course
// (service STATOAVANZAMENTO), and how a reply that is not valid is reported.
namespace transmit {

// Body of the VERSIONE request.
QString corpoVersione();
// Body of the STATOAVANZAMENTO request of a course of the agency.
QString corpoStatoAvanzamento(const QString& gruppo, const QString& codice, qint32 idAttivita);
// Body of the upload: the attachment's name, then every line of it, each ended
// by a single line feed.
QByteArray corpoAllegato(const QString& nome, const QStringList& righe);

// The transfer error message of the transmission form: code, text and service,
// for 12045 the explanation about the certificate of the server.
QString testoErroreTrasmis(int codice, const QString& testo, const QString& servizio,
                           const QString& indirizzoServer, const QString& paginaCertificato);
// The same in the upload form, naming the upload host and CA_ROOT.DER.
QString testoErroreInvio(int codice, const QString& testo, const QString& hostUpload);

// Compares two versions "major.minor.revision" number by number (2.0.1 is
// below 10.0.0); a missing number counts as 0. Negative, 0 or positive.
int confrontaVersioni(const QString& a, const QString& b);

// The tokens of a VERSIONE reply "minimum#latest#status#message#".
struct RispostaVersione {
    QString minima;
    QString ultima;
    QString stato;
    QString messaggio;
    static RispostaVersione leggi(const QString& risposta);
};

// Applies a valid VERSIONE reply for the running version: shows the messages
// of the status and of the comparison and tells whether the program may
// transmit.
bool esitoVersione(const QString& risposta, const QString& versione, ui::Interaction& ui,
                   QWidget* parent);

// A valid STATOAVANZAMENTO reply allows the transmission when its field 1 is
// "30" and its field 2 is empty (line ends removed, read as a record line).
bool esitoStatoAvanzamento(const QString& risposta);

// A reply of the transmission form's checks that is not valid: the connection
// message for a transfer error (none for 12045, already explained), the server
// error page for an HTML reply (written to "ErrServer.html" in the program
// folder and opened), the server's message otherwise.
void erroreRisposta(Session& session, QWidget* parent, const net::RichiestaServer& richiesta);

// The same in the upload form: one connection message, none after 12045.
void erroreRispostaInvio(ui::Interaction& ui, QWidget* parent, int codiceErrore);

} // namespace transmit
