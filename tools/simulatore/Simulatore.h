#pragma once

// Stand-in for the regional server, for the tests and the demo.
//
// It listens on 127.0.0.1, over HTTP and over HTTPS (with a certificate of the
// project's own test authority, made at build time: see crea-certificati.sh),
// and answers the services by the last part of the request path:
//
//   .../nreg.asp              NREG              " <number> " (the next installation number)
//   .../versione.asp          VERSIONE          "<min>#<latest>#<status>#<message>#"
//   .../statoavanzamento.asp  STATOAVANZAMENTO  "#<idAttivita>#,#<state>#,#<field 2>#"
//   .../corsidestinatari.asp  CORSIDESTINATARI  container with the two course files of the
//                                               data set dati/ (ERRORE for an unknown pleia_id)
//   .../aggiornadb.asp        AGGIORNADB        container with the four registry files of
//                                               the agencies asked, from the data set dati/
//                                               (ERRORE for an agency it does not hold)
//   /pleia/...                PLEIA             "RISPOSTA: OK;<identity code>;"
//   .../allegati_fp_upload    UPLOAD            "Trasmissione completata con successo"
//   .../certificato.htm       CERTIFICATO       the page about the certificate
//   /webservicenorva/percorsidirittodovere.asmx
//                             TAVREL            the course registry's SOAP service: GET
//                                               "?WSDL" gives its description (one of
//                                               dati/wsdl), a POST of
//                                               AggiornaPercorsiTavrel keeps the dataset
//                                               (datasetTavrel()) and answers "OK"; the
//                                               fault Errore answers a SOAP fault (500)
//   .../form_allegato_bin_upload.cgi
//                             ASSISTENZA        the support service's upload form (a page)
//
// Every request is recorded (service, body, Basic credentials); uploads and
// registrations also separately. The upload needs the Basic credentials
// velto / Xq7#kp2$zw (401 otherwise).
//
// In-process use (tests):
//
//     Simulatore sim;
//     QVERIFY(sim.avvia());                       // free ports on 127.0.0.1
//     sim.setGuasto(Simulatore::NREG, Simulatore::Guasto::Html);
//     ... requests to sim.url(Simulatore::NREG) or sim.urlHttps(...) ...
//     sim.ricevute(Simulatore::NREG).last().corpo
//
// The program korvadin-simulatore wraps it (see main.cpp for its options).

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QTcpServer;
class QSslServer;
class QTcpSocket;

class Simulatore : public QObject {
    Q_OBJECT
public:
    inline static const QString NREG = QStringLiteral("NREG");
    inline static const QString VERSIONE = QStringLiteral("VERSIONE");
    inline static const QString STATOAVANZAMENTO = QStringLiteral("STATOAVANZAMENTO");
    inline static const QString CORSIDESTINATARI = QStringLiteral("CORSIDESTINATARI");
    inline static const QString AGGIORNADB = QStringLiteral("AGGIORNADB");
    inline static const QString PLEIA = QStringLiteral("PLEIA");
    inline static const QString UPLOAD = QStringLiteral("UPLOAD");
    inline static const QString CERTIFICATO = QStringLiteral("CERTIFICATO");
    inline static const QString TAVREL = QStringLiteral("TAVREL");
    inline static const QString ASSISTENZA = QStringLiteral("ASSISTENZA");
    // Namespace of the registry service's operation, and its fault text.
    inline static const QString NamespaceTavrel = QStringLiteral("http://tavrel.local/norva/");
    inline static const QString FaultTavrel =
        QStringLiteral("Impossibile aggiornare il percorso: dati non validi");

    // What a service does instead of its normal answer.
    enum class Guasto {
        Nessuno,
        Errore,  // 200 with "ERRORE: ..." text
        Html,    // 200 with an HTML error page
        Stato,   // the given HTTP status (500 unless set) with a short text
        Ritardo, // the normal answer after the given delay (ms)
        Caduta,  // the connection is closed after the request, without an answer
    };

    struct Ricevuta {
        QString servizio;
        QByteArray metodo;
        QByteArray percorso;
        QByteArray corpo;
        QHash<QByteArray, QByteArray> intestazioni; // names in lower case
        QString utente;                             // from Basic authentication
        QString password;
        bool sicura = false; // came over HTTPS
    };
    struct Allegato {
        QString nome;     // the first line of the body
        QByteArray righe; // the rest of the body
        QString utente, password;
    };
    struct Registrazione {
        QString gruppo, codice, email;
        int numero = 0;
    };

    explicit Simulatore(QObject* parent = nullptr);
    ~Simulatore() override;

    // PEM files of the server certificate and key; without them (or when they
    // cannot be read) only HTTP is served. The build's certificates are the default.
    void setCertificato(const QString& certificato, const QString& chiave);
    // Ports 0 mean free ones. False when a port cannot be bound.
    bool avvia(quint16 portaHttp = 0, quint16 portaHttps = 0);
    void ferma();
    quint16 portaHttp() const;
    quint16 portaHttps() const; // 0 when HTTPS is not served
    QString erroreAvvio() const { return m_erroreAvvio; }

    // The path a service answers at, and its full addresses.
    static QString percorso(const QString& servizio);
    QString url(const QString& servizio) const;
    QString urlHttps(const QString& servizio) const;

    // The CONNESSIONE keys of KORVADIN.INI that point at this simulator (NREG,
    // VERSIONE, STATOAVANZAMENTO, AGGIORNADB, CORSIDESTINATARI, PLEIA over HTTP;
    // HOSTUPLOAD on the HTTPS port; PAGINACERTIFICATO), with their values.
    QList<QPair<QString, QString>> connessione() const;
    // Scheme and host of the HTTP side, the server base address of the program.
    QString indirizzoBase() const;

    void setGuasto(const QString& servizio, Guasto guasto, int parametro = 0);
    // Answer this text (status 200) instead of the normal reply.
    void setRisposta(const QString& servizio, const QByteArray& risposta);
    void azzeraGuasti();

    // Data behind the normal answers.
    void setVersione(const QString& minima, const QString& ultima, const QString& stato,
                     const QString& messaggio);
    void setStatoAvanzamento(const QString& idAttivita, const QString& stato,
                             const QString& campo2 = QString());
    void setNumeroInstallazione(int prossimo) { m_prossimoNumero = prossimo; }
    void setCorsiDestinatari(const QByteArray& contenitore) { m_corsi = contenitore; }
    void setAggiornaDB(const QByteArray& contenitore) { m_anagrafe = contenitore; }
    void setCodicePleia(const QString& codice) { m_codicePleia = codice; }
    // The service description TAVREL gives, a file of dati/wsdl ("percorsi.wsdl"
    // unless set), with @BASE@ replaced by indirizzoBase().
    void setDescrizioneTavrel(const QString& file) { m_descrizioneTavrel = file; }

    // The data set behind the normal CORSIDESTINATARI answer (the demo agency
    // A/123): the lines of "CorsiDestinatari30.tx1" or "CorsiGiornateOre30.tx1".
    static QStringList datiCorsi(const QString& nome);
    // The registry behind the normal AGGIORNADB answer: the lines of "oper.tx1",
    // "compo.tx1", "sediocc.tx1" or "sediutil.tx1" of the whole region (several
    // agencies, A/123 and B/7 among them, each with one legal seat "SL" except
    // D/9; venues used by some branches, and one used by none).
    static QStringList datiAnagrafe(const QString& nome);
    // A reply container (Windows-1252) of the files with their lines: each file
    // after its name line, files separated by an empty line, "EOF" at the end.
    static QByteArray contenitore(const QList<QPair<QString, QStringList>>& file);

    // What was received.
    QList<Ricevuta> ricevute() const { return m_ricevute; }
    QList<Ricevuta> ricevute(const QString& servizio) const;
    QList<Allegato> allegati() const { return m_allegati; }
    QList<Registrazione> registrazioni() const { return m_registrazioni; }
    // The datasets received by AggiornaPercorsiTavrel, as the argument's text.
    QStringList datasetTavrel() const { return m_datasetTavrel; }
    void azzeraRicevute();

    // A folder where every received request, upload and registration is also
    // written, and where "guasti.txt" (lines SERVICE=fault[:parameter], read at
    // every request) can change the faults while the process runs.
    void setCartella(const QString& cartella);
    static bool leggiGuasto(const QString& testo, Guasto* guasto, int* parametro);

signals:
    void richiestaRicevuta(const QString& servizio);

private:
    struct Comportamento {
        Guasto guasto = Guasto::Nessuno;
        int parametro = 0;
        QByteArray risposta;
        bool rispostaFissa = false;
    };
    void accogli(QTcpSocket* socket, bool sicura);
    void leggi(QTcpSocket* socket);
    void rispondi(QTcpSocket* socket, const Ricevuta& r);
    void scrivi(QTcpSocket* socket, int stato, const QByteArray& corpo,
                const QByteArray& altre = QByteArray());
    QByteArray rispostaNormale(const Ricevuta& r, int* stato, QByteArray* altre);
    QByteArray rispostaTavrel(const Ricevuta& r, QByteArray* altre);
    QByteArray rispostaAnagrafe(const QByteArray& corpo);
    static QStringList dati(const QString& nome);
    Comportamento comportamento(const QString& servizio) const;
    void registraSuCartella(const Ricevuta& r);

    QTcpServer* m_http = nullptr;
    QSslServer* m_https = nullptr;
    QString m_certificato, m_chiave;
    QString m_erroreAvvio;
    QHash<QTcpSocket*, QByteArray> m_buffer;
    QHash<QString, Comportamento> m_comportamenti;
    QString m_cartella;

    QString m_versioneMinima, m_versioneUltima, m_statoVersione, m_messaggioVersione;
    QHash<QString, QPair<QString, QString>> m_statiAvanzamento;
    int m_prossimoNumero = 123;
    QByteArray m_corsi, m_anagrafe;
    QString m_codicePleia = QStringLiteral("PL-7781");
    QString m_descrizioneTavrel = QStringLiteral("percorsi.wsdl");

    QList<Ricevuta> m_ricevute;
    QList<Allegato> m_allegati;
    QList<Registrazione> m_registrazioni;
    QStringList m_datasetTavrel;
};
