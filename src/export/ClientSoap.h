#pragma once

// A small SOAP 1.1 client (document/literal, one text argument) over the
// program's request layer.
//
//     esportazione::ClientSoap client(session);
//     client.setProxy(host, porta);                    // optional
//     if (auto e = client.inizializza(url + "?WSDL")) { e->numero, e->descrizione }
//     if (auto e = client.chiama("Operazione", testo)) { ... }
//
// inizializza() reads the service description (export/DescrizioneSoap.h): the
// service address and, for every operation, its SOAP action and the names and
// namespaces of its wrapper element and single argument. An operation that
// cannot be called that way is refused by chiama() before anything is sent.
//
// Result codes (Errore::numero):
//   5406  the service cannot be reached: connection refused or impossible, host
//         or proxy name not resolved, time limit reached, proxy authentication
//         required (HTTP 407): the connection probably needs a proxy
//   5407  the service description is not readable, lacks the operation or
//         describes it in a way that cannot be called (rpc style, several
//         arguments): descrizione says which
//   5408  the service answered with a SOAP fault (descrizione: its faultstring)
//   5409  the answer is not a SOAP envelope
//   other the request layer's code (12xxx, or the HTTP status) and text

#include "core/Errore.h"
#include "core/RichiestaServer.h"
#include "export/DescrizioneSoap.h"

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
