#pragma once

// One place for every exchange with the regional server.
//
// How a form calls it:
//
//     net::RichiestaServer richiesta(session);           // one per form
//     connect(&richiesta, &net::RichiestaServer::erroreTrasferimento, ...); // optional
//     const auto esito = richiesta.inviaServizio(QStringLiteral("VERSIONE"),
//                                                QStringLiteral("applicativo=KORVADIN&anno=2018"));
//     if (esito == net::Esito::Occupata) return;       // a request is already running
//     if (richiesta.valida()) { use richiesta.risposta(); }
//     else if (richiesta.codiceErrore() != 0) { transfer error: code and text }
//     else { the server answered "ERRORE..." or an HTML page: richiesta.risposta() }
//
//     // The attachment upload: Basic credentials, no header block.
//     richiesta.invia(net::upload::url(session).toString(), corpo, net::upload::opzioni());
//
// Conventions of every request:
// - The service URL is CONNESSIONE/<key> of KORVADIN.INI; the service name shown
//   in messages is the text after the first "/" at or after character 8 (after
//   the "://" for a longer scheme such as "https://").
// - The decoded CONNESSIONE/PWD is the credential prefix ("user:password@"). It
//   is never put into the URL the request goes to (a "#" or "/" in a password
//   breaks a URL's authority): it travels as HTTP Basic authentication.
//   urlConPrefisso() gives the prefixed text for whoever needs to show it.
// - HTTP POST, the body as built (no URL encoding), the fixed header block.
// - The reply buffer is emptied before sending; waiting keeps the interface
//   painting (a local event loop left by the reply or by the time limit, no
//   busy polling).
// - On completion the completion flag is set and the error code cleared; on a
//   transfer error the code and the text are stored, the completion flag is
//   cleared and erroreTrasferimento() is emitted before invia() returns.
// - A reply is valid when the response completed, it does not contain "ERRORE"
//   (in capitals) and contains neither "<H" nor "<h".
//
// Transfer error codes (codiceErrore(), Errore::numero):
//   12002  time limit reached (limiteMs(); 60 s unless set otherwise)
//   12004  any other failure of the transfer
//   12005  address not valid
//   12006  scheme not supported
//   12007  host name (or proxy name) not resolved
//   12017  request cancelled (annulla())
//   12029  cannot connect (connection refused, network unreachable, proxy refused)
//   12030  connection closed by the server before the response was complete
//   12037  server certificate expired or not yet valid
//   12038  server certificate issued for another host name
//   12045  server certificate issued by an authority that is not trusted
//   12152  the server's response is not HTTP
//   12157  secure channel could not be set up (no certificate error involved)
//   12169  any other certificate error
//   100-599 except 2xx: the HTTP status the server answered with (e.g. 401, 404,
//          500); the body, if any, is still in risposta() for diagnosis.
//
// Trust: the system's certificate store plus "CA_ROOT.DER" of the program folder
// (DER, or PEM under that name) when present, read again for every request.
//
// Proxy: the per-user settings Proxy/Porta when Proxy is set (Porta empty or not a
// port number means 80); otherwise the system's proxy for the address.

#include "core/Errore.h"

#include <QByteArray>
#include <QList>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;
class Session;

namespace net {

namespace codice {
constexpr int Nessuno = 0;
constexpr int TempoScaduto = 12002;
constexpr int ErroreInterno = 12004;
constexpr int IndirizzoNonValido = 12005;
constexpr int SchemaNonGestito = 12006;
constexpr int NomeNonRisolto = 12007;
constexpr int Annullata = 12017;
constexpr int ConnessioneImpossibile = 12029;
constexpr int ConnessioneInterrotta = 12030;
constexpr int CertificatoScaduto = 12037;
constexpr int CertificatoAltroHost = 12038;
constexpr int AutoritaNonAttendibile = 12045;
constexpr int RispostaNonValida = 12152;
constexpr int CanaleSicuro = 12157;
constexpr int CertificatoNonValido = 12169;
} // namespace codice

// Keys of CONNESSIONE (KORVADIN.INI) that name the services.
namespace servizio {
inline const QString VERSIONE = QStringLiteral("VERSIONE");
inline const QString STATOAVANZAMENTO = QStringLiteral("STATOAVANZAMENTO");
inline const QString NREG = QStringLiteral("NREG");
inline const QString AGGIORNADB = QStringLiteral("AGGIORNADB");
inline const QString CORSIDESTINATARI = QStringLiteral("CORSIDESTINATARI");
inline const QString PLEIA = QStringLiteral("PLEIA");
// Host (and optional ":port") of the attachment upload, and the address of the
// page that explains how to install the server's certificate.
inline const QString HOSTUPLOAD = QStringLiteral("HOSTUPLOAD");
inline const QString PAGINACERTIFICATO = QStringLiteral("PAGINACERTIFICATO");
} // namespace servizio

struct Opzioni;

// The attachment upload: https://<CONNESSIONE/HOSTUPLOAD><percorso>, Basic
// credentials, no header block.
namespace upload {
inline const QString utente = QStringLiteral("velto");
inline const QString password = QStringLiteral("Xq7#kp2$zw");
inline const QString percorso = QStringLiteral("/cgi-bin/fp/upload/allegati_fp_upload");
inline const QString successo = QStringLiteral("Trasmissione completata con successo");
QUrl url(const Session& session);
Opzioni opzioni(); // Basic velto / password, no header block, no prefix
} // namespace upload

// The fixed header block of the requests, as the server expects it.
inline const QByteArray bloccoIntestazioni =
    QByteArrayLiteral("Content-Type: application/x-www-form-urlencoded\r\n"
                      "Proxy-Connection: Keep-Alive\r\n"
                      "HTTP: Protocol Version = HTTP/1.1 \r\n");

enum class Esito {
    Completata, // the server answered (look at valida() for the content)
    Errore,     // transfer error: codiceErrore(), testoErrore()
    Occupata,   // refused: this object is already waiting for a request
};

struct Opzioni {
    bool prefissoCredenziali = true; // send the decoded CONNESSIONE/PWD
    bool intestazioni = true;        // send the fixed header block
    QString utente;                  // Basic authentication (overrides the prefix)
    QString password;
    int limiteMs = 0; // 0: the object's limit
    // GET instead of POST (the body is then not sent).
    bool leggi = false;
    // Content type when the fixed header block is not sent (form post when empty),
    // and further headers.
    QByteArray tipoContenuto;
    QList<QPair<QByteArray, QByteArray>> altreIntestazioni;
    // The proxy to use instead of the per-user settings' choice.
    std::optional<QNetworkProxy> proxy;
};

// Service name: the text after the first "/" at or after character position 8
// (after the "://" of a longer scheme).
QString nomeServizio(const QString& url);
// The URL with the credential prefix inserted right after the first "//".
QString urlConPrefisso(const QString& url, const QString& prefisso);
// "user:password@" split into its two parts (user, password); the "@" is the last.
std::pair<QString, QString> credenzialiDaPrefisso(const QString& prefisso);
// The validity rule of a reply.
bool rispostaValida(bool completata, const QString& risposta);
// The proxy for a request: the per-user Proxy/Porta when Proxy is set, else the
// system's choice for the address.
QNetworkProxy scegliProxy(const QString& proxy, const QString& porta, const QUrl& url);
// The authorities trusted for every request: the system's plus CA_ROOT.DER of
// the given folder when present.
QList<QSslCertificate> autoritaAttendibili(const QString& cartellaProgramma);

class RichiestaServer : public QObject {
    Q_OBJECT
public:
    explicit RichiestaServer(Session& session, QObject* parent = nullptr);
    ~RichiestaServer() override;

    // Posts the body (Windows-1252) to the URL of CONNESSIONE/<chiave> and waits.
    Esito inviaServizio(const QString& chiave, const QString& corpo, const Opzioni& opzioni = {});
    // Posts the body, as given, to a URL and waits.
    Esito invia(const QString& url, const QByteArray& corpo, const Opzioni& opzioni = {});
    // Cancels the running request (its result is 12017).
    void annulla();

    bool inCorso() const { return m_reply != nullptr; }
    QString risposta() const { return m_risposta; } // reply buffer (Windows-1252 decoded)
    QByteArray rispostaGrezza() const { return m_grezza; }
    void svuotaRisposta();
    bool completata() const { return m_completata; } // completion flag
    int codiceErrore() const { return m_codice; }    // 0 when none
    QString testoErrore() const { return m_testo; }  // the transfer's response text
    int statoHttp() const { return m_statoHttp; }    // 0 when no response came
    bool valida() const;
    // The stored failure, when the last request had a transfer error.
    std::optional<Errore> errore() const;
    // The last request's URL as configured, and its service name.
    QString url() const { return m_url; }
    QString servizio() const { return m_servizio; }

    int limiteMs() const { return m_limiteMs; }
    void setLimiteMs(int ms) { m_limiteMs = ms; }
    static constexpr int LimitePredefinitoMs = 60000;
    // Limit given to objects created from now on (tests shorten it).
    static void setLimitePredefinitoMs(int ms);

signals:
    void erroreTrasferimento(int codice, const QString& testo);
    // Bytes received so far and the announced total (-1 when unknown).
    void avanzamento(qint64 ricevuti, qint64 totale);

private:
    void chiudi(QNetworkReply* reply, bool tempoScaduto, bool annullata,
                const QList<QSslError>& ssl);

    Session& m_session;
    QNetworkAccessManager* m_manager;
    QNetworkReply* m_reply = nullptr;
    QString m_risposta;
    QByteArray m_grezza;
    bool m_completata = false;
    int m_codice = 0;
    QString m_testo;
    int m_statoHttp = 0;
    QString m_url;
    QString m_servizio;
    int m_limiteMs;
    bool m_annullata = false;
};

// The server's error page: "ErrServer.html" in the program folder is replaced
// by the page and opened with the system's viewer (through the interaction
// service). False when the file cannot be written.
bool mostraPaginaErrore(Session& session, const QByteArray& pagina);

// The code for a failed transfer (see the table above).
int codicePerErrore(QNetworkReply::NetworkError errore, const QList<QSslError>& erroriSsl);

} // namespace net
