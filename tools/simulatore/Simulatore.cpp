#include "Simulatore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QXmlStreamReader>

namespace {

constexpr qsizetype MassimaRichiesta = 16 * 1024 * 1024;

QString decodifica(const QByteArray& b) {
    QStringDecoder d("windows-1252");
    return d.isValid() ? d.decode(b) : QString::fromLatin1(b);
}

QByteArray codifica(const QString& s) {
    QStringEncoder e("windows-1252");
    return e.isValid() ? QByteArray(e.encode(s)) : s.toLatin1();
}

// "a=1&b=2" without any decoding: the program sends its values as they are.
QHash<QString, QString> campi(const QByteArray& corpo) {
    QHash<QString, QString> valori;
    for (const QByteArray& parte : corpo.split('&')) {
        const int uguale = parte.indexOf('=');
        if (uguale > 0)
            valori.insert(decodifica(parte.left(uguale)), decodifica(parte.mid(uguale + 1)));
    }
    return valori;
}

QByteArray riga(const QStringList& valori) {
    return codifica(QLatin1Char('#') + valori.join(QStringLiteral("#,#")) + QLatin1Char('#')) +
           "\r\n";
}

QByteArray testoStato(int stato) {
    switch (stato) {
    case 200:
        return "OK";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

const QByteArray paginaErrore =
    "<HTML><HEAD><TITLE>Errore del server</TITLE></HEAD><BODY>"
    "<H1>Server Error in '/korvadin' Application.</H1>"
    "<P>Runtime Error: l'operazione richiesta non ha potuto essere completata.</P>"
    "</BODY></HTML>\r\n";

} // namespace

Simulatore::Simulatore(QObject* parent) : QObject(parent) {
#ifdef KORVADIN_CERTIFICATI
    const QString cartella = QStringLiteral(KORVADIN_CERTIFICATI);
    m_certificato = cartella + QStringLiteral("/server.pem");
    m_chiave = cartella + QStringLiteral("/server.key");
#endif
    setVersione(QStringLiteral("2.0.1"), QStringLiteral("2.0.1"), QStringLiteral("N"), QString());
}

Simulatore::~Simulatore() {
    ferma();
}

void Simulatore::setCertificato(const QString& certificato, const QString& chiave) {
    m_certificato = certificato;
    m_chiave = chiave;
}

bool Simulatore::avvia(quint16 portaHttp, quint16 portaHttps) {
    ferma();
    m_erroreAvvio.clear();
    m_http = new QTcpServer(this);
    connect(m_http, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* s = m_http->nextPendingConnection())
            accogli(s, false);
    });
    if (!m_http->listen(QHostAddress::LocalHost, portaHttp)) {
        m_erroreAvvio = QStringLiteral("HTTP %1: %2").arg(portaHttp).arg(m_http->errorString());
        ferma();
        return false;
    }

    QFile cert(m_certificato), chiave(m_chiave);
    if (!QSslSocket::supportsSsl() || !cert.open(QIODevice::ReadOnly) ||
        !chiave.open(QIODevice::ReadOnly))
        return true; // HTTP only
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    const auto catena = QSslCertificate::fromData(cert.readAll(), QSsl::Pem);
    const QByteArray datiChiave = chiave.readAll();
    QSslKey key(datiChiave, QSsl::Ec, QSsl::Pem);
    if (key.isNull())
        key = QSslKey(datiChiave, QSsl::Rsa, QSsl::Pem);
    if (catena.isEmpty() || key.isNull())
        return true;
    ssl.setLocalCertificateChain(catena);
    ssl.setPrivateKey(key);
    ssl.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_https = new QSslServer(this);
    m_https->setSslConfiguration(ssl);
    connect(m_https, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* s = m_https->nextPendingConnection())
            accogli(s, true);
    });
    if (!m_https->listen(QHostAddress::LocalHost, portaHttps)) {
        m_erroreAvvio = QStringLiteral("HTTPS %1: %2").arg(portaHttps).arg(m_https->errorString());
        ferma();
        return false;
    }
    return true;
}

void Simulatore::ferma() {
    for (auto it = m_buffer.begin(); it != m_buffer.end(); ++it) {
        it.key()->disconnect(this);
        it.key()->abort();
        it.key()->deleteLater();
    }
    m_buffer.clear();
    delete m_http;
    m_http = nullptr;
    delete m_https;
    m_https = nullptr;
}

quint16 Simulatore::portaHttp() const {
    return m_http ? m_http->serverPort() : 0;
}

quint16 Simulatore::portaHttps() const {
    return m_https ? m_https->serverPort() : 0;
}

QStringList Simulatore::datiCorsi(const QString& nome) {
    return dati(nome);
}

QStringList Simulatore::datiAnagrafe(const QString& nome) {
    return dati(nome);
}

QStringList Simulatore::dati(const QString& nome) {
    QFile f(QStringLiteral(":/simulatore/dati/") + nome);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList righe;
    for (const QString& l : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
        if (!l.trimmed().isEmpty())
            righe.append(l.trimmed());
    return righe;
}

QByteArray Simulatore::contenitore(const QList<QPair<QString, QStringList>>& file) {
    QByteArray c;
    for (qsizetype i = 0; i < file.size(); ++i) {
        if (i > 0)
            c += "\r\n";
        c += codifica(file.at(i).first) + "\r\n";
        for (const QString& l : file.at(i).second)
            c += codifica(l) + "\r\n";
    }
    return c + "EOF\r\n";
}

QString Simulatore::percorso(const QString& servizio) {
    if (servizio == PLEIA)
        return QStringLiteral("/pleia/login.asp");
    if (servizio == UPLOAD)
        return QStringLiteral("/cgi-bin/fp/upload/allegati_fp_upload");
    if (servizio == CERTIFICATO)
        return QStringLiteral("/korvadin/certificato.htm");
    if (servizio == TAVREL)
        return QStringLiteral("/webservicenorva/percorsidirittodovere.asmx");
    if (servizio == ASSISTENZA)
        return QStringLiteral("/cgi-bin/fp/upload/form_allegato_bin_upload.cgi");
    return QStringLiteral("/korvadin/") + servizio.toLower() + QStringLiteral(".asp");
}

QString Simulatore::url(const QString& servizio) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(portaHttp()) + percorso(servizio);
}

QString Simulatore::urlHttps(const QString& servizio) const {
    return QStringLiteral("https://127.0.0.1:%1").arg(portaHttps()) + percorso(servizio);
}

QList<QPair<QString, QString>> Simulatore::connessione() const {
    QList<QPair<QString, QString>> chiavi;
    for (const QString& servizio :
         {NREG, VERSIONE, STATOAVANZAMENTO, AGGIORNADB, CORSIDESTINATARI, PLEIA})
        chiavi.append({servizio, url(servizio)});
    chiavi.append({QStringLiteral("HOSTUPLOAD"), QStringLiteral("127.0.0.1:%1").arg(portaHttps())});
    chiavi.append({QStringLiteral("PAGINACERTIFICATO"), url(CERTIFICATO)});
    chiavi.append({TAVREL, indirizzoBase()});
    chiavi.append({ASSISTENZA, indirizzoBase()});
    return chiavi;
}

QString Simulatore::indirizzoBase() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(portaHttp());
}

void Simulatore::setGuasto(const QString& servizio, Guasto guasto, int parametro) {
    Comportamento& c = m_comportamenti[servizio];
    c.guasto = guasto;
    c.parametro = parametro;
}

void Simulatore::setRisposta(const QString& servizio, const QByteArray& risposta) {
    Comportamento& c = m_comportamenti[servizio];
    c.risposta = risposta;
    c.rispostaFissa = true;
}

void Simulatore::azzeraGuasti() {
    m_comportamenti.clear();
}

void Simulatore::setVersione(const QString& minima, const QString& ultima, const QString& stato,
                             const QString& messaggio) {
    m_versioneMinima = minima;
    m_versioneUltima = ultima;
    m_statoVersione = stato;
    m_messaggioVersione = messaggio;
}

void Simulatore::setStatoAvanzamento(const QString& idAttivita, const QString& stato,
                                     const QString& campo2) {
    m_statiAvanzamento.insert(idAttivita, {stato, campo2});
}

QList<Simulatore::Ricevuta> Simulatore::ricevute(const QString& servizio) const {
    QList<Ricevuta> scelte;
    for (const Ricevuta& r : m_ricevute)
        if (r.servizio == servizio)
            scelte.append(r);
    return scelte;
}

void Simulatore::azzeraRicevute() {
    m_ricevute.clear();
    m_allegati.clear();
    m_registrazioni.clear();
    m_datasetTavrel.clear();
}

void Simulatore::setCartella(const QString& cartella) {
    m_cartella = cartella;
    if (!cartella.isEmpty())
        QDir().mkpath(cartella);
}

bool Simulatore::leggiGuasto(const QString& testo, Guasto* guasto, int* parametro) {
    const QString nome = testo.section(QLatin1Char(':'), 0, 0).trimmed().toLower();
    const QString valore = testo.section(QLatin1Char(':'), 1).trimmed();
    *parametro = valore.toInt();
    if (nome == QLatin1String("nessuno"))
        *guasto = Guasto::Nessuno;
    else if (nome == QLatin1String("errore"))
        *guasto = Guasto::Errore;
    else if (nome == QLatin1String("html"))
        *guasto = Guasto::Html;
    else if (nome == QLatin1String("stato"))
        *guasto = Guasto::Stato;
    else if (nome == QLatin1String("ritardo"))
        *guasto = Guasto::Ritardo;
    else if (nome == QLatin1String("caduta"))
        *guasto = Guasto::Caduta;
    else
        return false;
    return true;
}

Simulatore::Comportamento Simulatore::comportamento(const QString& servizio) const {
    Comportamento c = m_comportamenti.value(servizio);
    if (m_cartella.isEmpty())
        return c;
    QFile file(QDir(m_cartella).filePath(QStringLiteral("guasti.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return c;
    for (const QByteArray& linea : file.readAll().split('\n')) {
        const QString t = QString::fromUtf8(linea).trimmed();
        const int uguale = t.indexOf(QLatin1Char('='));
        if (uguale <= 0 || t.left(uguale).trimmed().toUpper() != servizio)
            continue;
        const QString resto = t.mid(uguale + 1);
        if (resto.startsWith(QLatin1String("risposta:"))) {
            c.risposta = codifica(resto.mid(9));
            c.rispostaFissa = true;
        } else {
            leggiGuasto(resto, &c.guasto, &c.parametro);
        }
    }
    return c;
}

void Simulatore::accogli(QTcpSocket* socket, bool sicura) {
    socket->setParent(this);
    socket->setProperty("sicura", sicura);
    m_buffer.insert(socket, QByteArray());
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { leggi(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        m_buffer.remove(socket);
        socket->deleteLater();
    });
    if (socket->bytesAvailable() > 0)
        leggi(socket);
}

void Simulatore::leggi(QTcpSocket* socket) {
    auto it = m_buffer.find(socket);
    if (it == m_buffer.end())
        return;
    if (socket->property("risposta").toBool())
        return; // the request is being answered
    QByteArray& dati = it.value();
    dati += socket->readAll();
    const int fine = dati.indexOf("\r\n\r\n");
    if (fine < 0) {
        if (dati.size() > MassimaRichiesta)
            socket->abort();
        return;
    }
    Ricevuta r;
    r.sicura = socket->property("sicura").toBool();
    const QList<QByteArray> righe = dati.left(fine).split('\n');
    const QList<QByteArray> primaRiga = righe.value(0).trimmed().split(' ');
    r.metodo = primaRiga.value(0);
    r.percorso = primaRiga.value(1);
    for (int i = 1; i < righe.size(); ++i) {
        const int duepunti = righe[i].indexOf(':');
        if (duepunti > 0)
            r.intestazioni.insert(righe[i].left(duepunti).trimmed().toLower(),
                                  righe[i].mid(duepunti + 1).trimmed());
    }
    const qsizetype lunghezza = r.intestazioni.value("content-length").toLongLong();
    if (dati.size() < fine + 4 + lunghezza) {
        if (lunghezza > MassimaRichiesta)
            socket->abort();
        return;
    }
    r.corpo = dati.mid(fine + 4, lunghezza);
    dati.clear();
    socket->setProperty("risposta", true); // nothing more is read on this connection

    const QByteArray autorizzazione = r.intestazioni.value("authorization");
    if (autorizzazione.startsWith("Basic ")) {
        const QString credenziali =
            QString::fromUtf8(QByteArray::fromBase64(autorizzazione.mid(6)));
        r.utente = credenziali.section(QLatin1Char(':'), 0, 0);
        r.password = credenziali.section(QLatin1Char(':'), 1);
    }
    QByteArray cammino = r.percorso;
    const int domanda = cammino.indexOf('?');
    if (domanda >= 0) {
        if (r.corpo.isEmpty())
            r.corpo = cammino.mid(domanda + 1);
        cammino = cammino.left(domanda);
    }
    const QString percorsoTesto = QString::fromLatin1(cammino).toLower();
    QString nome = percorsoTesto.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    if (percorsoTesto.startsWith(QLatin1String("/pleia/")))
        r.servizio = PLEIA;
    else if (nome == QLatin1String("allegati_fp_upload"))
        r.servizio = UPLOAD;
    else if (nome == QLatin1String("percorsidirittodovere"))
        r.servizio = TAVREL;
    else if (nome == QLatin1String("form_allegato_bin_upload"))
        r.servizio = ASSISTENZA;
    else
        r.servizio = nome.toUpper();
    m_ricevute.append(r);
    registraSuCartella(r);
    emit richiestaRicevuta(r.servizio);

    const Comportamento c = comportamento(r.servizio);
    switch (c.guasto) {
    case Guasto::Caduta:
        socket->abort();
        return;
    case Guasto::Ritardo:
        QTimer::singleShot(c.parametro, socket, [this, socket, r] { rispondi(socket, r); });
        return;
    default:
        rispondi(socket, r);
    }
}

void Simulatore::rispondi(QTcpSocket* socket, const Ricevuta& r) {
    const Comportamento c = comportamento(r.servizio);
    if (r.servizio == TAVREL && c.guasto == Guasto::Errore) {
        if (r.metodo != "POST") { // the description is still served
            QByteArray altre;
            const QByteArray corpo = rispostaTavrel(r, &altre);
            scrivi(socket, 200, corpo, altre);
            return;
        }
        scrivi(socket, 500,
               "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
               "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><soap:Fault>"
               "<faultcode>soap:Server</faultcode><faultstring>" +
                   FaultTavrel.toUtf8() +
                   "</faultstring><detail /></soap:Fault></soap:Body></soap:Envelope>",
               "Content-Type: text/xml; charset=utf-8\r\n");
        return;
    }
    switch (c.guasto) {
    case Guasto::Errore:
        scrivi(socket, 200,
               "ERRORE: operazione non consentita per i dati ricevuti (servizio " +
                   r.servizio.toLatin1() + ")");
        return;
    case Guasto::Html:
        scrivi(socket, 200, paginaErrore, "Content-Type: text/html\r\n");
        return;
    case Guasto::Stato: {
        const int stato = c.parametro >= 100 ? c.parametro : 500;
        scrivi(socket, stato, "Servizio non disponibile");
        return;
    }
    default:
        break;
    }
    if (c.rispostaFissa) {
        scrivi(socket, 200, c.risposta);
        return;
    }
    int stato = 200;
    QByteArray altre;
    const QByteArray corpo = rispostaNormale(r, &stato, &altre);
    scrivi(socket, stato, corpo, altre);
}

QByteArray Simulatore::rispostaNormale(const Ricevuta& r, int* stato, QByteArray* altre) {
    const auto valori = campi(r.corpo);
    if (r.servizio == VERSIONE) {
        return codifica(m_versioneMinima + QLatin1Char('#') + m_versioneUltima + QLatin1Char('#') +
                        m_statoVersione + QLatin1Char('#') + m_messaggioVersione +
                        QLatin1Char('#'));
    }
    if (r.servizio == STATOAVANZAMENTO) {
        const QString id = valori.value(QStringLiteral("idAttivita"));
        const auto s = m_statiAvanzamento.value(id, {QStringLiteral("30"), QString()});
        return riga({id, s.first, s.second});
    }
    if (r.servizio == NREG) {
        Registrazione reg{valori.value(QStringLiteral("gruppo")),
                          valori.value(QStringLiteral("codice")),
                          valori.value(QStringLiteral("email")), m_prossimoNumero++};
        m_registrazioni.append(reg);
        if (!m_cartella.isEmpty()) {
            QFile f(QDir(m_cartella).filePath(QStringLiteral("registrazioni.txt")));
            if (f.open(QIODevice::Append))
                f.write(codifica(QStringLiteral("%1;%2;%3;%4\n")
                                     .arg(reg.gruppo, reg.codice, reg.email)
                                     .arg(reg.numero)));
        }
        return QByteArray(" ") + QByteArray::number(reg.numero) + " ";
    }
    if (r.servizio == UPLOAD) {
        if (r.utente != QLatin1String("velto") || r.password != QLatin1String("Xq7#kp2$zw")) {
            *stato = 401;
            *altre = "WWW-Authenticate: Basic realm=\"allegati\"\r\n";
            return "Autorizzazione richiesta";
        }
        const int a_capo = r.corpo.indexOf('\n');
        Allegato a{decodifica(a_capo < 0 ? r.corpo : r.corpo.left(a_capo)).trimmed(),
                   a_capo < 0 ? QByteArray() : r.corpo.mid(a_capo + 1), r.utente, r.password};
        m_allegati.append(a);
        if (!m_cartella.isEmpty() && !a.nome.isEmpty()) {
            QDir(m_cartella).mkpath(QStringLiteral("allegati"));
            QFile f(QDir(m_cartella)
                        .filePath(QStringLiteral("allegati/") + QFileInfo(a.nome).fileName()));
            if (f.open(QIODevice::WriteOnly))
                f.write(a.righe);
        }
        return "<P>Trasmissione completata con successo</P>";
    }
    if (r.servizio == PLEIA)
        return codifica(QStringLiteral("RISPOSTA: OK;%1;").arg(m_codicePleia));
    if (r.servizio == CORSIDESTINATARI) {
        if (valori.value(QStringLiteral("pleia_id")) != m_codicePleia)
            return "ERRORE: identificativo Pleia non valido o scaduto";
        if (!m_corsi.isNull())
            return m_corsi;
        // The agency's lines of the data set; the days and hours of its courses.
        const QString g = valori.value(QStringLiteral("gruppo"));
        const QString o = valori.value(QStringLiteral("codice"));
        QStringList partecipanti, giornate;
        QStringList corsi;
        for (const QString& l : datiCorsi(QStringLiteral("CorsiDestinatari30.tx1"))) {
            const QStringList v = l.mid(1, l.size() - 2).split(QStringLiteral("#,#"));
            if (v.value(0) == g && v.value(1) == o) {
                partecipanti.append(l);
                corsi.append(v.value(2));
            }
        }
        if (partecipanti.isEmpty())
            return codifica(
                QStringLiteral("ERRORE: nessun corso approvato per l'operatore %1/%2").arg(g, o));
        for (const QString& l : datiCorsi(QStringLiteral("CorsiGiornateOre30.tx1")))
            if (corsi.contains(l.mid(1).section(QLatin1Char('#'), 0, 0)))
                giornate.append(l);
        return contenitore({{QStringLiteral("CorsiDestinatari30.tx1"), partecipanti},
                            {QStringLiteral("CorsiGiornateOre30.tx1"), giornate}});
    }
    if (r.servizio == AGGIORNADB) {
        if (!m_anagrafe.isNull())
            return m_anagrafe;
        return rispostaAnagrafe(r.corpo);
    }
    if (r.servizio == TAVREL)
        return rispostaTavrel(r, altre);
    if (r.servizio == ASSISTENZA) {
        *altre = "Content-Type: text/html\r\n";
        return "<HTML><BODY><P>Richiesta di assistenza: allegare il file indicato e inviare."
               "</P></BODY></HTML>";
    }
    if (r.servizio == CERTIFICATO) {
        *altre = "Content-Type: text/html\r\n";
        return "<HTML><BODY><P>Certificato del server di prova: file CA_ROOT.DER nella cartella "
               "del programma.</P></BODY></HTML>";
    }
    *stato = 404;
    *altre = "Content-Type: text/html\r\n";
    return "<HTML><BODY><H1>404 Not Found</H1></BODY></HTML>";
}

// The registry of the agencies asked ("g=A&c=123&g=B&c=7"), in the order asked:
// their lines of "oper.tx1", "compo.tx1" and "sediutil.tx1", and the lines of
// "sediocc.tx1" for the venues those uses name. An agency the region does not
// know makes the whole request fail, as the real service does.
QByteArray Simulatore::rispostaAnagrafe(const QByteArray& corpo) {
    QList<QPair<QString, QString>> chiesti;
    QString gruppo;
    for (const QByteArray& parte : corpo.split('&')) {
        const QString valore = decodifica(parte.mid(parte.indexOf('=') + 1));
        if (parte.startsWith("g="))
            gruppo = valore;
        else if (parte.startsWith("c=") && !chiesti.contains({gruppo, valore}))
            chiesti.append({gruppo, valore});
    }
    if (chiesti.isEmpty())
        return "ERRORE: nessun operatore richiesto";
    const auto campi = [](const QString& riga) {
        return riga.mid(1, riga.size() - 2).split(QStringLiteral("#,#"));
    };
    const auto diOperatore = [&](const QString& file, const QPair<QString, QString>& o) {
        QStringList righe;
        for (const QString& l : dati(file))
            if (campi(l).value(0) == o.first && campi(l).value(1) == o.second)
                righe.append(l);
        return righe;
    };
    QStringList oper, compo, util, sedi;
    for (const auto& o : chiesti) {
        const QStringList righe = diOperatore(QStringLiteral("oper.tx1"), o);
        if (righe.isEmpty())
            return codifica(
                QStringLiteral("ERRORE: operatore %1/%2 non presente nell'anagrafe regionale")
                    .arg(o.first, o.second));
        oper += righe;
        compo += diOperatore(QStringLiteral("compo.tx1"), o);
        util += diOperatore(QStringLiteral("sediutil.tx1"), o);
    }
    QStringList usate;
    for (const QString& l : util)
        usate.append(campi(l).value(3));
    for (const QString& l : dati(QStringLiteral("sediocc.tx1")))
        if (usate.contains(campi(l).value(0)))
            sedi.append(l);
    return contenitore({{QStringLiteral("oper.tx1"), oper},
                        {QStringLiteral("compo.tx1"), compo},
                        {QStringLiteral("sediocc.tx1"), sedi},
                        {QStringLiteral("sediutil.tx1"), util}});
}

QByteArray Simulatore::rispostaTavrel(const Ricevuta& r, QByteArray* altre) {
    *altre = "Content-Type: text/xml; charset=utf-8\r\n";
    const QByteArray ns = NamespaceTavrel.toUtf8();
    if (r.metodo == "GET") {
        QFile f(QStringLiteral(":/simulatore/dati/wsdl/") + m_descrizioneTavrel);
        f.open(QIODevice::ReadOnly);
        return f.readAll().replace("@BASE@", indirizzoBase().toUtf8());
    }
    // The argument is the first element inside the operation's element, whatever
    // names the description gives them (the tests check those on the request).
    QXmlStreamReader x(r.corpo);
    QString dataset;
    bool trovato = false;
    int livelloCorpo = -1;
    for (int livello = 0; !x.atEnd() && !trovato;) {
        const auto t = x.readNext();
        if (t == QXmlStreamReader::EndElement)
            --livello;
        if (t != QXmlStreamReader::StartElement)
            continue;
        ++livello;
        if (x.name() == QLatin1String("Body") && livelloCorpo < 0) {
            livelloCorpo = livello;
        } else if (livelloCorpo > 0 && livello == livelloCorpo + 2) {
            dataset = x.readElementText();
            trovato = !x.hasError();
        }
    }
    if (!trovato) {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
               "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><soap:Fault>"
               "<faultcode>soap:Client</faultcode><faultstring>Richiesta non valida</faultstring>"
               "</soap:Fault></soap:Body></soap:Envelope>";
    }
    m_datasetTavrel.append(dataset);
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
           "<AggiornaPercorsiTavrelResponse xmlns=\"" +
           ns +
           "\"><AggiornaPercorsiTavrelResult>OK</AggiornaPercorsiTavrelResult>"
           "</AggiornaPercorsiTavrelResponse></soap:Body></soap:Envelope>";
}

void Simulatore::scrivi(QTcpSocket* socket, int stato, const QByteArray& corpo,
                        const QByteArray& altre) {
    QByteArray testa = "HTTP/1.1 " + QByteArray::number(stato) + ' ' + testoStato(stato) + "\r\n";
    if (!altre.contains("Content-Type"))
        testa += "Content-Type: text/plain; charset=windows-1252\r\n";
    testa += altre;
    testa +=
        "Content-Length: " + QByteArray::number(corpo.size()) + "\r\nConnection: close\r\n\r\n";
    socket->write(testa + corpo);
    socket->disconnectFromHost();
}

void Simulatore::registraSuCartella(const Ricevuta& r) {
    if (m_cartella.isEmpty())
        return;
    QFile f(QDir(m_cartella).filePath(QStringLiteral("richieste.log")));
    if (!f.open(QIODevice::Append))
        return;
    QByteArray voce = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1() + ' ' +
                      r.metodo + ' ' + r.percorso + ' ' + r.servizio.toLatin1() +
                      (r.sicura ? " https" : " http");
    if (!r.utente.isEmpty())
        voce += " utente=" + r.utente.toUtf8();
    voce += " corpo=" + QByteArray::number(r.corpo.size()) + "\n" + r.corpo + "\n--\n";
    f.write(voce);
}
