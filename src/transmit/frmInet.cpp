#include "transmit/frmInet.h"

#include "core/Cp1252.h"
#include "core/Errore.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "export/EsportazioneNorvaTavrel.h"
#include "maint/ControlloEmail.h"
#include "maint/Manutenzione.h"
#include "transmit/ControlliServer.h"
#include "transmit/mdCreaFileTrasm.h"

#include <QEvent>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace transmit {

using ui::Icon;

namespace {

constexpr int kAiuto = 9100;
const QString kEmail = QStringLiteral("E-Mail");

QPushButton* pulsante(const QString& nome, const QString& testo, const QString& suggerimento = {}) {
    auto* b = new QPushButton(testo);
    b->setObjectName(nome);
    b->setToolTip(suggerimento);
    return b;
}

} // namespace

frmInet::frmInet(Session& session, mdCreaFileTrasm& crea, qint64 numeroDomanda, QWidget* parent)
    : FormRichiesta(session, parent), m_crea(crea), m_numeroDomanda(numeroDomanda) {
    setObjectName(QStringLiteral("frmInet"));
    setWindowTitle(QStringLiteral("Invio delle domande"));

    txFrom = new QLineEdit;
    txFrom->setObjectName(QStringLiteral("txFrom"));
    txFrom->setToolTip(QStringLiteral("Inserire il proprio indirizzo di posta elettronica, così "
                                      "da ottenere una conferma della ricezione dei questionari "
                                      "compilati."));
    txFrom->installEventFilter(this);
    Cmd_Send = pulsante(QStringLiteral("Cmd_Send"), QStringLiteral("Invia"),
                        QStringLiteral("Cliccare il pulsante per l'invio della domanda"));
    Cmd_Esci = pulsante(QStringLiteral("Cmd_Esci"), QStringLiteral("Esci"));
    cmdAiuto = pulsante(QStringLiteral("cmdAiuto"), QStringLiteral("Aiuto"));
    CmdProxy = pulsante(QStringLiteral("CmdProxy"), QStringLiteral("Imposta Proxy"));
    CmdTAVREL = pulsante(QStringLiteral("CmdTAVREL"), QStringLiteral("Trasmissione TAVREL"),
                         QStringLiteral("Utilizzare questo tasto per ripetere la trasmissione "
                                        "TAVREL nel caso sia andata male."));
    lblPercent = new QProgressBar;
    lblPercent->setObjectName(QStringLiteral("lblPercent"));
    lblPercent->setVisible(false);

    auto* mittente = new QFormLayout;
    mittente->addRow(QStringLiteral("Mittente:"), txFrom);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(Cmd_Send);
    pulsanti->addWidget(Cmd_Esci);
    pulsanti->addWidget(cmdAiuto);
    pulsanti->addStretch();
    pulsanti->addWidget(CmdTAVREL);
    pulsanti->addWidget(CmdProxy);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(mittente);
    layout->addWidget(lblPercent);
    layout->addLayout(pulsanti);

    connect(Cmd_Send, &QPushButton::clicked, this, &frmInet::Cmd_Send_Click);
    connect(Cmd_Esci, &QPushButton::clicked, this, &frmInet::esci);
    connect(cmdAiuto, &QPushButton::clicked, this, [this] { m_session.MostraAiuto(this, kAiuto); });
    connect(CmdProxy, &QPushButton::clicked, this, [this] {
        if (!occupato())
            maint::mostraFrmProxy(m_session, this);
    });
    connect(CmdTAVREL, &QPushButton::clicked, this, &frmInet::CmdTAVREL_Click);
    mostraErroriTrasferimento([this](int codice, const QString& testo) {
        return testoErroreInvio(codice, testo, net::upload::url(m_session).host());
    });
}

bool frmInet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txFrom && event->type() == QEvent::FocusIn) {
        txFrom->setText(m_session.userSettings.get(kEmail, QString()));
        txFrom->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmInet::ControlloVersione() {
    if (m_inet.inviaServizio(net::servizio::VERSIONE, corpoVersione()) == net::Esito::Occupata)
        return false;
    if (m_inet.valida())
        return esitoVersione(m_inet.risposta(), Session::versione(), m_session.ui, this);
    erroreRispostaInvio(m_session.ui, this, m_inet.codiceErrore());
    return false;
}

void frmInet::eliminaAllegato() {
    if (!m_crea.allegato().isEmpty())
        QFile::remove(m_session.file(m_crea.allegato()));
}

void frmInet::Cmd_Send_Click() {
    if (occupato())
        return;
    const Occupato guardia(*this);
    ui::Interaction& ui = m_session.ui;
    if (!maint::ValidateEmailBox(txFrom, ui, this))
        return;
    const QString email = txFrom->text();
    m_session.userSettings.set(kEmail, email);

    ui.setBusy(true);
    if (!ControlloVersione()) {
        ui.setBusy(false);
        return;
    }
    if (!m_crea.CreaFile(DatiAllegato::daSessione(m_session, email), m_numeroDomanda)) {
        ui.setBusy(false);
        ui.message(this, QStringLiteral("Creazione file di trasmissione fallita."),
                   QStringLiteral("Crea File di Trasmissione"), Icon::Critical);
        return;
    }

    const QString nome = m_crea.allegato();
    const QByteArray corpo = corpoAllegato(nome, cp1252::readLines(m_session.file(nome)));
    m_inet.svuotaRisposta();
    m_inet.invia(net::upload::url(m_session).toString(), corpo, net::upload::opzioni());
    if (m_inet.completata() && m_inet.risposta().contains(net::upload::successo)) {
        // The course is TRASMESSO only when it is still a course ready for it.
        int cambiate = 0;
        Errore errore;
        try {
            cambiate = m_session.CorsiDB().exec(
                QStringLiteral("UPDATE KELDCorsiDef SET Stato = ? WHERE IdAttivita = ? "
                               "AND Stato IN (?, ?)"),
                {QStringLiteral("TRASMESSO"), m_session.CorsoSelezionato, QStringLiteral("CHIUSO"),
                 QStringLiteral("TRASMESSO")});
            if (cambiate != 1)
                errore = {3021, QStringLiteral("Corso non trovato o non più in stato CHIUSO.")};
        } catch (const db::DbError& e) {
            errore = Errore::da(e);
        }
        ui.setBusy(false);
        if (cambiate != 1) {
            ui.message(this,
                       errore.testo() +
                           QStringLiteral("\r\n\r\nLa Regione ha ricevuto il file di "
                                          "trasmissione, ma lo stato del corso non è stato "
                                          "aggiornato a 'TRASMESSO'. Contattare il servizio di "
                                          "assistenza VRD riportando questo messaggio."),
                       QStringLiteral("Aggiornamento stato del corso"), Icon::Critical);
            return;
        }
        ui.message(this, QStringLiteral("Trasmissione alla Regione completata con successo"),
                   QStringLiteral("TRASMISSIONE TERMINATA"), Icon::Information);
        m_trasmesso = true;
        eliminaAllegato();
        accept();
        return;
    }
    ui.setBusy(false);
    const int codice = m_inet.codiceErrore();
    if (codice == net::codice::AutoritaNonAttendibile) {
        eliminaAllegato();
        accept();
    } else if (codice != 0) {
        erroreRispostaInvio(ui, this, codice);
    }
}

void frmInet::CmdTAVREL_Click() {
    if (occupato())
        return;
    const Occupato guardia(*this);
    ui::Interaction& ui = m_session.ui;
    ui.setBusy(true);
    if (!ControlloVersione()) {
        ui.setBusy(false);
        return;
    }
    const QString proxy = m_session.userSettings.get(QStringLiteral("Proxy"), QString());
    const QString porta = m_session.userSettings.get(QStringLiteral("Porta"), QString());
    lblPercent->setValue(0);
    lblPercent->setVisible(true);
    const int esito =
        esportazione::EsportaCorsoTavrel(m_session, m_session.CorsoSelezionato, proxy, porta,
                                         [this](int percento) { lblPercent->setValue(percento); });
    const QString titolo = QStringLiteral("TRASMISSIONE TAVREL FALLITA");
    if (esito == 0)
        ui.message(this, QStringLiteral("Trasmissione al sistema TAVREL completata con successo"),
                   QStringLiteral("TRASMISSIONE TERMINATA"), Icon::Information);
    else if (esito == 5406)
        ui.message(this,
                   QStringLiteral("E' probabile che la connessione ad internet avvenga tramite un "
                                  "server proxy. In questo caso occorre indicare l'indirizzo del "
                                  "server proxy e la porta di connessione.\r\nUtilizzare il tasto "
                                  "'Imposta Proxy' in basso a destra. Una volta effettuata "
                                  "l'impostazione, ritentare l'operazione di invio con il tasto "
                                  "'Trsmissione TAVREL'."),
                   titolo, Icon::Information);
    else
        ui.message(this,
                   QStringLiteral("La trasmissione al sistema TAVREL non è stata completata. "
                                  "Verificare l'errore e riprovare con il tasto apposito "
                                  "(Trasmissione TAVREL).\r\nSe l'errore non viene risolto, "
                                  "contattare il servizio di assistenza V.R.D. riportando il "
                                  "messaggio che compare a video."),
                   titolo, Icon::Critical);
    lblPercent->setVisible(false);
    ui.setBusy(false);
}

} // namespace transmit
