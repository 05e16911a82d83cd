#pragma once

// A small SOAP 1.1 client (document/literal, one text argument) over the
// program's request layer.
//
//     esportazione::ClientSoap client(session);
//     client.setProxy(host, porta);                    // optional
//     if (auto e = client.inizializza(url + "?WSDL")) { e->numero, e->descrizione }
//     if (auto e = client.chiama("Operazione", testo)) { ... }
//
// inizializza() reads the service description: the service address (soap:address
// of the SOAP 1.1 port), and for every operation of the SOAP 1.1 binding its
// SOAP action and the name and namespace of its single parameter (the first
// element of the wrapper element named after the operation; the schema's target
// namespace, or the description's one).
//
// Result codes (Errore::numero):
//   5406  the service cannot be reached: connection refused or impossible, host
//         or proxy name not resolved, time limit reached, proxy authentication
//         required (HTTP 407): the connection probably needs a proxy
//   5407  the service description is not readable or lacks the operation
//   5408  the service answered with a SOAP fault (descrizione: its faultstring)
//   5409  the answer is not a SOAP envelope
//   other the request layer's code (12xxx, or the HTTP status) and text

#include "core/Errore.h"
#include "core/RichiestaServer.h"

#include <QHash>
#include <QNetworkProxy>
#include <QString>

#include <optional>

class Session;

namespace esportazione {

namespace soap {
constexpr int ProxyNecessario = 5406;
constexpr int DescrizioneNonValida = 5407;
constexpr int Fault = 5408;
constexpr int RispostaNonValida = 5409;
} // namespace soap

struct OperazioneSoap {
    QString azione;     // SOAPAction
    QString parametro;  // name of the single argument
    QString spazioNomi; // namespace of the wrapper and argument elements
};

// What a service description says about its SOAP 1.1 service.
struct DescrizioneSoap {
    QString indirizzo;
    QHash<QString, OperazioneSoap> operazioni;
};
// Empty indirizzo and no operations when the text is not a service description.
DescrizioneSoap leggiDescrizione(const QByteArray& wsdl);

// The request envelope of an operation with one text argument (UTF-8).
QByteArray busta(const QString& operazione, const OperazioneSoap& op, const QString& argomento);
// The faultstring of a SOAP fault, nothing when the answer is no fault.
std::optional<QString> leggiFault(const QByteArray& risposta);

class ClientSoap {
public:
    explicit ClientSoap(Session& session);

    // "ProxyServer", "ProxyPort", "UseProxy": an empty host leaves the per-user
    // settings' choice (or the system's).
    void setProxy(const QString& host, const QString& porta);
    std::optional<Errore> inizializza(const QString& urlDescrizione);
    // Calls the operation with the text as its argument; the result element's
    // text goes to risultato.
    std::optional<Errore> chiama(const QString& operazione, const QString& argomento,
                                 QString* risultato = nullptr);

    const DescrizioneSoap& descrizione() const { return m_descrizione; }

private:
    net::Opzioni opzioni() const;
    Errore erroreTrasporto() const;

    Session& m_session;
    net::RichiestaServer m_richiesta;
    std::optional<QNetworkProxy> m_proxy;
    DescrizioneSoap m_descrizione;
};

} // namespace esportazione
