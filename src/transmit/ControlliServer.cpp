#include "transmit/ControlliServer.h"

#include "core/Cp1252.h"
#include "core/Interaction.h"
#include "core/RichiestaServer.h"
#include "core/RigaRecord.h"
#include "core/Session.h"

#include <QStringList>

namespace transmit {

using ui::Icon;

QString corpoVersione() {
    return QStringLiteral("applicativo=KORVADIN&anno=2018");
}

QString corpoStatoAvanzamento(const QString& gruppo, const QString& codice, qint32 idAttivita) {
    return QStringLiteral("gruppo=") + gruppo + QStringLiteral("&codice=") + codice +
           QStringLiteral("&idAttivita=") + QString::number(idAttivita);
}

QByteArray corpoAllegato(const QString& nome, const QStringList& righe) {
    QByteArray corpo = cp1252::encode(nome) + '\n';
    for (const QString& riga : righe)
        corpo += cp1252::encode(riga) + '\n';
    return corpo;
}

QString testoErroreTrasmis(int codice, const QString& testo, const QString& servizio,
                           const QString& indirizzoServer, const QString& paginaCertificato) {
    QString t = QStringLiteral("Si è verificato un errore in trasmissione, ") +
                QString::number(codice) + QStringLiteral(" : ") + testo +
                QStringLiteral(" (servizio: ") + servizio + QLatin1Char(')');
    if (codice == 12045)
        t += QStringLiteral("\r\n\r\nE' necessario installare il certificato di autorizzazione "
                            "per l'accesso al server ") +
             indirizzoServer +
             QStringLiteral(".\r\nIl certificato e le istruzioni per l'installazione sono "
                            "reperibili all'indirizzo:\r\n\r\n") +
             paginaCertificato +
             QStringLiteral("\r\n\r\nSe, dopo l'installazione, il problema persiste contattare "
                            "il servizio assistenza VRD riportando questo messaggio");
    return t;
}

QString testoErroreInvio(int codice, const QString& testo, const QString& hostUpload) {
    QString t = QStringLiteral("Si è verificato un errore in trasmissione, ") +
                QString::number(codice) + QStringLiteral(" : ") + testo;
    if (codice == 12045)
        t += QStringLiteral("\r\n\r\nE' necessario installare il certificato di autorizzazione "
                            "per l'accesso al server sicuro ") +
             hostUpload.toUpper() +
             QStringLiteral(".\r\nPer procedere alla reinstallazione, cercare nel sistema il file "
                            "CA_ROOT.DER ed eseguire un doppio click su di esso.\r\nSe il file è "
                            "assente dal sistema, contattare il servizio assistenza");
    return t;
}

int confrontaVersioni(const QString& a, const QString& b) {
    const QStringList pa = a.trimmed().split(QLatin1Char('.'));
    const QStringList pb = b.trimmed().split(QLatin1Char('.'));
    const qsizetype n = qMax(pa.size(), pb.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QString ta = pa.value(i).trimmed();
        const QString tb = pb.value(i).trimmed();
        bool okA = false;
        bool okB = false;
        const qlonglong na = ta.isEmpty() ? 0 : ta.toLongLong(&okA);
        const qlonglong nb = tb.isEmpty() ? 0 : tb.toLongLong(&okB);
        okA = okA || ta.isEmpty();
        okB = okB || tb.isEmpty();
        if (okA && okB) {
            if (na != nb)
                return na < nb ? -1 : 1;
        } else if (const int c = QString::compare(ta, tb); c != 0) {
            return c < 0 ? -1 : 1;
        }
    }
    return 0;
}

RispostaVersione RispostaVersione::leggi(const QString& risposta) {
    // Each token runs up to its closing "#"; a last token without one loses
    // its final character, as the reply is expected to end with "#".
    QStringList token;
    qsizetype pos = 0;
    while (token.size() < 4 && pos < risposta.size()) {
        const qsizetype fine = risposta.indexOf(QLatin1Char('#'), pos);
        if (fine < 0) {
            token << risposta.mid(pos, risposta.size() - pos - 1);
            break;
        }
        token << risposta.mid(pos, fine - pos);
        pos = fine + 1;
    }
    return {token.value(0), token.value(1), token.value(2), token.value(3)};
}

bool esitoVersione(const QString& risposta, const QString& versione, ui::Interaction& ui,
                   QWidget* parent) {
    const RispostaVersione r = RispostaVersione::leggi(risposta);
    const QString titolo = QStringLiteral("Controllo Versione");
    const QString presente = QStringLiteral("La presente versione dell'applicativo ( ") + versione;
    if (r.stato == QLatin1String("S")) {
        ui.message(parent,
                   presente + QStringLiteral(" ) non è più gestita dalla Provincia.\r\nImpossibile "
                                             "effettuare la trasmissione, per ulteriori "
                                             "informazioni contattare il servizio di assistenza "
                                             "VRD."),
                   titolo, Icon::Warning);
        return false;
    }
    if (r.stato == QLatin1String("A")) {
        ui.message(parent, r.messaggio, QStringLiteral("Trasmissione"), Icon::Critical);
        return false;
    }
    if (r.stato == QLatin1String("M"))
        ui.message(parent, r.messaggio, QStringLiteral("Trasmissione"), Icon::Information);
    if (confrontaVersioni(versione, r.minima) < 0) {
        ui.message(parent,
                   presente +
                       QStringLiteral(" ) non è autorizzata a trasmettere.\r\nScaricare da "
                                      "Internet la nuova versione: ") +
                       r.ultima,
                   titolo, Icon::Critical);
        return false;
    }
    if (confrontaVersioni(versione, r.ultima) < 0)
        ui.message(parent,
                   presente +
                       QStringLiteral(" ) non è la più recente.\r\nSi consiglia di "
                                      "scaricare da Internet la nuova versione: ") +
                       r.ultima + QStringLiteral("\r\nLa trasmissione avverrà comunque."),
                   titolo, Icon::Warning);
    return true;
}

bool esitoStatoAvanzamento(const QString& risposta) {
    QString riga = risposta;
    riga.remove(QLatin1Char('\n'));
    riga.remove(QLatin1Char('\r'));
    const RigaRecord r = RigaRecord::leggi(riga);
    return r.campo(1) == QLatin1String("30") && r.campo(2).isEmpty();
}

void erroreRisposta(Session& session, QWidget* parent, const net::RichiestaServer& richiesta) {
    ui::Interaction& ui = session.ui;
    const int codiceErrore = richiesta.codiceErrore();
    const QString& indirizzoServer = session.indirizzoServer;
    const QString servizio = richiesta.servizio();
    const QString risposta = richiesta.risposta();
    if (codiceErrore == 12045)
        return;
    if (codiceErrore != 0) {
        ui.message(parent,
                   QStringLiteral("Errore di connessione al server (server: ") + indirizzoServer +
                       QStringLiteral(", servizio: ") + servizio +
                       QStringLiteral("). Riprovare in un secondo momento, oppure contattare il "
                                      "servizio di assistenza VRD riportando questo messaggio."),
                   QStringLiteral("Errore di connessione"), Icon::Critical);
        return;
    }
    if (risposta.contains(QLatin1String("<h"), Qt::CaseInsensitive)) {
        ui.message(parent,
                   QStringLiteral("Si è verificato un errore sul server ") + indirizzoServer +
                       QStringLiteral(" (servizio: ") + servizio +
                       QStringLiteral("), cliccando su OK il sistema cercherà di visualizzare "
                                      "ulteriori informazioni sull'errore. Contattare il servizio "
                                      "assistenza VRD riportando questo messaggio e le "
                                      "informazioni visualizzate"),
                   QStringLiteral("ERRORE"), Icon::Critical);
        net::mostraPaginaErrore(session, richiesta.rispostaGrezza());
        return;
    }
    ui.message(parent,
               QStringLiteral("Operazione non riuscita (servizio: ") + servizio +
                   QStringLiteral("). Il server ha restituito il seguente messaggio di errore: "
                                  "\r\n\r\n") +
                   risposta +
                   QStringLiteral("\r\n\r\nControllare i dati immessi e ritentare l'operazione, "
                                  "oppure contattare il servizio di assistenza VRD riportando "
                                  "questo messaggio."),
               QStringLiteral("Errore restituito dal Server"), Icon::Critical);
}

void erroreRispostaInvio(ui::Interaction& ui, QWidget* parent, int codiceErrore) {
    if (codiceErrore == 12045)
        return;
    ui.message(parent,
               QStringLiteral("Errore di connessione al server. Si consiglia di riprovare in un "
                              "secondo momento."),
               QStringLiteral("Errore di connessione"), Icon::Critical);
}

} // namespace transmit
