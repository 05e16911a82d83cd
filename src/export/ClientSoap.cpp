#include "export/ClientSoap.h"

#include "core/Session.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace esportazione {

namespace {

const QString kBusta = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");

} // namespace

QByteArray busta(const QString& operazione, const OperazioneSoap& op, const QString& argomento) {
    QByteArray testo;
    QXmlStreamWriter w(&testo);
    w.writeStartDocument();
    w.writeNamespace(kBusta, QStringLiteral("soap"));
    w.writeStartElement(kBusta, QStringLiteral("Envelope"));
    w.writeStartElement(kBusta, QStringLiteral("Body"));
    w.writeStartElement(operazione);
    w.writeDefaultNamespace(op.spazioNomi);
    // A bare CR would reach the service as a line feed (XML end-of-line
    // handling): it travels as a character reference.
    w.writeStartElement(op.parametro);
    if (op.spazioParametro != op.spazioNomi)
        w.writeDefaultNamespace(op.spazioParametro); // xmlns="" when unqualified
    const QStringList pezzi = argomento.split(QLatin1Char('\r'));
    for (qsizetype i = 0; i < pezzi.size(); ++i) {
        if (i > 0)
            w.writeEntityReference(QStringLiteral("#13"));
        w.writeCharacters(pezzi[i]);
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return testo;
}

std::optional<QString> leggiFault(const QByteArray& risposta) {
    QXmlStreamReader x(risposta);
    bool inFault = false;
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (x.namespaceUri() == kBusta && x.name() == QLatin1String("Fault"))
            inFault = true;
        else if (inFault && x.name() == QLatin1String("faultstring"))
            return x.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    if (inFault)
        return QString();
    return std::nullopt;
}

ClientSoap::ClientSoap(Session& session) : m_session(session), m_richiesta(session) {}

void ClientSoap::setProxy(const QString& host, const QString& porta) {
    if (host.trimmed().isEmpty())
        m_proxy.reset();
    else
        m_proxy = net::scegliProxy(host, porta, QUrl());
}

net::Opzioni ClientSoap::opzioni() const {
    net::Opzioni o;
    o.prefissoCredenziali = false;
    o.intestazioni = false;
    o.proxy = m_proxy;
    return o;
}

Errore ClientSoap::erroreTrasporto() const {
    const int c = m_richiesta.codiceErrore();
    if (c == net::codice::ConnessioneImpossibile || c == net::codice::NomeNonRisolto ||
        c == net::codice::TempoScaduto || c == 407)
        return {soap::ProxyNecessario, m_richiesta.testoErrore()};
    return {c, m_richiesta.testoErrore()};
}

std::optional<Errore> ClientSoap::inizializza(const QString& urlDescrizione) {
    m_descrizione = {};
    net::Opzioni o = opzioni();
    o.leggi = true;
    m_richiesta.invia(urlDescrizione, QByteArray(), o);
    if (!m_richiesta.completata())
        return erroreTrasporto();
    m_descrizione = leggiDescrizione(m_richiesta.rispostaGrezza());
    if (m_descrizione.indirizzo.isEmpty() || m_descrizione.operazioni.isEmpty())
        return Errore{soap::DescrizioneNonValida,
                      QStringLiteral("Descrizione del servizio non valida: ") + urlDescrizione};
    return std::nullopt;
}

std::optional<Errore> ClientSoap::chiama(const QString& operazione, const QString& argomento,
                                         QString* risultato) {
    const auto it = m_descrizione.operazioni.constFind(operazione);
    if (it == m_descrizione.operazioni.cend())
        return Errore{soap::DescrizioneNonValida,
                      QStringLiteral("Operazione non presente nel servizio: ") + operazione};
    if (!it->rifiuto.isEmpty())
        return Errore{soap::DescrizioneNonValida, it->rifiuto};
    net::Opzioni o = opzioni();
    o.tipoContenuto = QByteArrayLiteral("text/xml; charset=utf-8");
    o.altreIntestazioni.append({QByteArrayLiteral("SOAPAction"), '"' + it->azione.toUtf8() + '"'});
    m_richiesta.invia(m_descrizione.indirizzo, busta(operazione, *it, argomento), o);
    const QByteArray risposta = m_richiesta.rispostaGrezza();
    if (const auto fault = leggiFault(risposta))
        return Errore{soap::Fault, *fault};
    if (!m_richiesta.completata())
        return erroreTrasporto();
    QXmlStreamReader x(risposta);
    bool busta = false;
    const QString nomeRisultato = operazione + QStringLiteral("Result");
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (x.namespaceUri() == kBusta && x.name() == QLatin1String("Envelope"))
            busta = true;
        else if (busta && risultato && x.name() == nomeRisultato)
            *risultato = x.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    if (!busta || x.hasError())
        return Errore{soap::RispostaNonValida,
                      QStringLiteral("Risposta del servizio non valida: ") +
                          m_descrizione.indirizzo};
    return std::nullopt;
}

} // namespace esportazione
