#include "core/RichiestaServer.h"

#include "core/Cp1252.h"
#include "core/Session.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>

namespace net {

namespace {

int g_limitePredefinitoMs = RichiestaServer::LimitePredefinitoMs;

QString testoPerCodice(int codice) {
    switch (codice) {
    case codice::TempoScaduto:
        return QStringLiteral("Tempo limite dell'operazione scaduto");
    case codice::IndirizzoNonValido:
        return QStringLiteral("Indirizzo del server non valido");
    case codice::SchemaNonGestito:
        return QStringLiteral("Protocollo dell'indirizzo non gestito");
    case codice::NomeNonRisolto:
        return QStringLiteral("Impossibile risolvere il nome del server");
    case codice::Annullata:
        return QStringLiteral("Operazione annullata");
    case codice::ConnessioneImpossibile:
        return QStringLiteral("Impossibile stabilire la connessione con il server");
    case codice::ConnessioneInterrotta:
        return QStringLiteral("Connessione con il server interrotta");
    case codice::CertificatoScaduto:
        return QStringLiteral("Il certificato del server è scaduto o non ancora valido");
    case codice::CertificatoAltroHost:
        return QStringLiteral("Il certificato del server è intestato a un altro nome");
    case codice::AutoritaNonAttendibile:
        return QStringLiteral("L'autorità di certificazione non è attendibile");
    case codice::RispostaNonValida:
        return QStringLiteral("Risposta del server non valida");
    case codice::CanaleSicuro:
        return QStringLiteral("Impossibile stabilire un canale sicuro con il server");
    case codice::CertificatoNonValido:
        return QStringLiteral("Il certificato del server non è valido");
    default:
        return QStringLiteral("Errore di trasmissione");
    }
}

bool statoRiuscito(int stato) {
    return stato >= 200 && stato <= 299;
}

} // namespace

QUrl upload::url(const Session& session) {
    const QString host = session.ini.leggi(QStringLiteral("CONNESSIONE"), servizio::HOSTUPLOAD);
    return QUrl(QStringLiteral("https://") + host + percorso);
}

Opzioni upload::opzioni() {
    Opzioni o;
    o.intestazioni = false;
    o.prefissoCredenziali = false;
    o.utente = utente;
    o.password = password;
    return o;
}

QString nomeServizio(const QString& url) {
    // From position 8 on (just after "http://"); a longer scheme ("https://") is
    // searched after its "://", as for the server base address, so that the
    // host is never taken for the service.
    const int schema = url.indexOf(QLatin1String("://"));
    const int i = url.indexOf(QLatin1Char('/'), schema >= 0 ? qMax(7, schema + 3) : 7);
    return i < 0 ? QString() : url.mid(i + 1);
}

QString urlConPrefisso(const QString& url, const QString& prefisso) {
    const int i = url.indexOf(QLatin1String("//"));
    if (i < 0)
        return url;
    return url.left(i + 2) + prefisso + url.mid(i + 2);
}

std::pair<QString, QString> credenzialiDaPrefisso(const QString& prefisso) {
    const int chiocciola = prefisso.lastIndexOf(QLatin1Char('@'));
    const QString info = chiocciola < 0 ? prefisso : prefisso.left(chiocciola);
    const int duepunti = info.indexOf(QLatin1Char(':'));
    if (duepunti < 0)
        return {info, QString()};
    return {info.left(duepunti), info.mid(duepunti + 1)};
}

bool rispostaValida(bool completata, const QString& risposta) {
    return completata && !risposta.toUpper().contains(QLatin1String("ERRORE")) &&
           !risposta.contains(QLatin1String("<H")) && !risposta.contains(QLatin1String("<h"));
}

QNetworkProxy scegliProxy(const QString& proxy, const QString& porta, const QUrl& url) {
    const QString host = proxy.trimmed();
    if (!host.isEmpty()) {
        bool ok = false;
        int numero = porta.trimmed().toInt(&ok);
        if (!ok || numero < 1 || numero > 65535)
            numero = 80;
        return QNetworkProxy(QNetworkProxy::HttpProxy, host, quint16(numero));
    }
    const auto sistema = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
    return sistema.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : sistema.first();
}

QList<QSslCertificate> autoritaAttendibili(const QString& cartellaProgramma) {
    QList<QSslCertificate> autorita = QSslConfiguration::systemCaCertificates();
    QFile file(cartellaProgramma + QStringLiteral("CA_ROOT.DER"));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray dati = file.readAll();
        auto letti = QSslCertificate::fromData(dati, QSsl::Der);
        if (letti.isEmpty())
            letti = QSslCertificate::fromData(dati, QSsl::Pem);
        autorita += letti;
    }
    return autorita;
}

int codicePerErrore(QNetworkReply::NetworkError errore, const QList<QSslError>& erroriSsl) {
    switch (errore) {
    case QNetworkReply::NoError:
        return codice::Nessuno;
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ProxyNotFoundError:
        return codice::NomeNonRisolto;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return codice::ConnessioneImpossibile;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
        return codice::TempoScaduto;
    case QNetworkReply::OperationCanceledError:
        return codice::Annullata;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ProxyConnectionClosedError:
        return codice::ConnessioneInterrotta;
    case QNetworkReply::ProtocolUnknownError:
        return codice::SchemaNonGestito;
    case QNetworkReply::ProtocolFailure:
        return codice::RispostaNonValida;
    case QNetworkReply::SslHandshakeFailedError: {
        bool altroHost = false, scaduto = false, altro = false;
        for (const QSslError& e : erroriSsl) {
            switch (e.error()) {
            case QSslError::UnableToGetIssuerCertificate:
            case QSslError::UnableToGetLocalIssuerCertificate:
            case QSslError::UnableToVerifyFirstCertificate:
            case QSslError::SelfSignedCertificate:
            case QSslError::SelfSignedCertificateInChain:
            case QSslError::CertificateUntrusted:
            case QSslError::InvalidCaCertificate:
                return codice::AutoritaNonAttendibile;
            case QSslError::HostNameMismatch:
                altroHost = true;
                break;
            case QSslError::CertificateExpired:
            case QSslError::CertificateNotYetValid:
                scaduto = true;
                break;
            default:
                altro = true;
                break;
            }
        }
        if (altroHost)
            return codice::CertificatoAltroHost;
        if (scaduto)
            return codice::CertificatoScaduto;
        return altro ? codice::CertificatoNonValido : codice::CanaleSicuro;
    }
    default:
        return codice::ErroreInterno;
    }
}

bool mostraPaginaErrore(Session& session, const QByteArray& pagina) {
    const QString percorso = session.file(QStringLiteral("ErrServer.html"));
    QFile::remove(percorso);
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly) || file.write(pagina) != pagina.size())
        return false;
    file.close();
    session.ui.openUrl(QUrl::fromLocalFile(percorso));
    return true;
}

RichiestaServer::RichiestaServer(Session& session, QObject* parent)
    : QObject(parent), m_session(session), m_manager(new QNetworkAccessManager(this)),
      m_limiteMs(g_limitePredefinitoMs) {}

RichiestaServer::~RichiestaServer() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void RichiestaServer::setLimitePredefinitoMs(int ms) {
    g_limitePredefinitoMs = ms > 0 ? ms : LimitePredefinitoMs;
}

void RichiestaServer::svuotaRisposta() {
    m_risposta.clear();
    m_grezza.clear();
}

bool RichiestaServer::valida() const {
    return rispostaValida(m_completata, m_risposta);
}

std::optional<Errore> RichiestaServer::errore() const {
    if (m_codice == 0)
        return std::nullopt;
    return Errore{m_codice, m_testo};
}

void RichiestaServer::annulla() {
    if (m_reply) {
        m_annullata = true;
        m_reply->abort();
    }
}

Esito RichiestaServer::inviaServizio(const QString& chiave, const QString& corpo,
                                     const Opzioni& opzioni) {
    if (m_reply)
        return Esito::Occupata;
    return invia(m_session.ini.leggi(QStringLiteral("CONNESSIONE"), chiave), cp1252::encode(corpo),
                 opzioni);
}

Esito RichiestaServer::invia(const QString& url, const QByteArray& corpo, const Opzioni& opzioni) {
    if (m_reply)
        return Esito::Occupata;
    m_url = url;
    m_servizio = nomeServizio(url);
    svuotaRisposta();
    m_completata = false;
    m_codice = 0;
    m_testo.clear();
    m_statoHttp = 0;
    m_annullata = false;

    const QUrl indirizzo(url.trimmed());
    const QString schema = indirizzo.scheme().toLower();
    int rifiuto = 0;
    if (!indirizzo.isValid() || indirizzo.host().isEmpty())
        rifiuto = codice::IndirizzoNonValido;
    else if (schema != QLatin1String("http") && schema != QLatin1String("https"))
        rifiuto = codice::SchemaNonGestito;
    if (rifiuto) {
        m_codice = rifiuto;
        m_testo = testoPerCodice(rifiuto);
        emit erroreTrasferimento(m_codice, m_testo);
        return Esito::Errore;
    }

    QNetworkRequest richiesta(indirizzo);
    richiesta.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                           QNetworkRequest::ManualRedirectPolicy);
    if (opzioni.intestazioni) {
        for (const QByteArray& riga : bloccoIntestazioni.split('\n')) {
            const int duepunti = riga.indexOf(':');
            if (duepunti > 0)
                richiesta.setRawHeader(riga.left(duepunti).trimmed(),
                                       riga.mid(duepunti + 1).trimmed());
        }
    } else {
        // What the transfer would send anyway for a form post.
        richiesta.setHeader(QNetworkRequest::ContentTypeHeader,
                            opzioni.tipoContenuto.isEmpty()
                                ? QByteArrayLiteral("application/x-www-form-urlencoded")
                                : opzioni.tipoContenuto);
    }
    for (const auto& [nome, valore] : opzioni.altreIntestazioni)
        richiesta.setRawHeader(nome, valore);
    QString utente = opzioni.utente, password = opzioni.password;
    if (utente.isEmpty() && opzioni.prefissoCredenziali && !m_session.passwordServizio.isEmpty())
        std::tie(utente, password) = credenzialiDaPrefisso(m_session.passwordServizio);
    if (!utente.isEmpty())
        richiesta.setRawHeader(
            "Authorization", "Basic " + (utente + QLatin1Char(':') + password).toUtf8().toBase64());
    if (schema == QLatin1String("https")) {
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.setCaCertificates(autoritaAttendibili(m_session.CartellaProgramma));
        richiesta.setSslConfiguration(ssl);
    }
    m_manager->setProxy(opzioni.proxy
                            ? *opzioni.proxy
                            : scegliProxy(m_session.userSettings.get(QStringLiteral("Proxy")),
                                          m_session.userSettings.get(QStringLiteral("Porta")),
                                          indirizzo));

    QNetworkReply* reply =
        opzioni.leggi ? m_manager->get(richiesta) : m_manager->post(richiesta, corpo);
    m_reply = reply;
    QList<QSslError> erroriSsl;
    connect(reply, &QNetworkReply::sslErrors, this,
            [&erroriSsl](const QList<QSslError>& e) { erroriSsl += e; });
    connect(reply, &QNetworkReply::downloadProgress, this, &RichiestaServer::avanzamento);

    QEventLoop attesa;
    QTimer limite;
    limite.setSingleShot(true);
    bool scaduto = false;
    connect(reply, &QNetworkReply::finished, &attesa, &QEventLoop::quit);
    connect(&limite, &QTimer::timeout, &attesa, [&] {
        scaduto = true;
        attesa.quit();
    });
    limite.start(opzioni.limiteMs > 0 ? opzioni.limiteMs : m_limiteMs);
    if (!reply->isFinished())
        attesa.exec();
    limite.stop();

    // Left for the time limit, or because the program is ending.
    bool interrotta = false;
    if (!reply->isFinished()) {
        interrotta = !scaduto;
        reply->disconnect(&attesa);
        reply->abort();
    }
    chiudi(reply, scaduto && !m_annullata, m_annullata || interrotta, erroriSsl);
    return m_completata ? Esito::Completata : Esito::Errore;
}

void RichiestaServer::chiudi(QNetworkReply* reply, bool tempoScaduto, bool annullata,
                             const QList<QSslError>& ssl) {
    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();
    m_statoHttp = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_grezza = reply->isOpen() ? reply->readAll() : QByteArray();
    m_risposta = cp1252::decode(m_grezza);

    if (tempoScaduto) {
        m_codice = codice::TempoScaduto;
    } else if (annullata) {
        m_codice = codice::Annullata;
    } else if (m_statoHttp != 0 && !statoRiuscito(m_statoHttp)) {
        m_codice = m_statoHttp;
        m_testo = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    } else if (reply->error() == QNetworkReply::NoError) {
        m_completata = true;
        m_codice = 0;
    } else {
        m_codice = codicePerErrore(reply->error(), ssl);
        if (m_codice == codice::ErroreInterno)
            m_testo = testoPerCodice(m_codice) + QStringLiteral(" (") + reply->errorString() +
                      QLatin1Char(')');
    }
    if (m_codice != 0) {
        if (m_testo.isEmpty())
            m_testo = testoPerCodice(m_codice);
        emit erroreTrasferimento(m_codice, m_testo);
    }
}

} // namespace net
