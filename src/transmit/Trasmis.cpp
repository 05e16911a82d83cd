#include "transmit/Trasmis.h"

#include "core/Errore.h"
#include "core/FileSicuro.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "report/StampaModulo.h"
#include "transmit/ControlliServer.h"
#include "transmit/frmInet.h"
#include "transmit/frmMailAggInst.h"

#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace transmit {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

namespace {

constexpr int kAiuto = 9000;

QPushButton* pulsante(const QString& nome, const QString& testo) {
    auto* b = new QPushButton(testo);
    b->setObjectName(nome);
    return b;
}

QLabel* etichetta(const QString& nome, const QString& testo = {}) {
    auto* l = new QLabel(testo);
    l->setObjectName(nome);
    return l;
}

} // namespace

Trasmis::Trasmis(Session& session, QWidget* parent)
    : FormRichiesta(session, parent), m_crea(session.CorsiDB(), session.ui, this) {
    setObjectName(QStringLiteral("Trasmis"));
    setWindowTitle(QStringLiteral("Invio Comunicazione di Fine Corso"));

    lblGrOpePres = etichetta(QStringLiteral("lblGrOpePres"), session.OperatoreCorrente.GrupOpe);
    lblOpePres =
        etichetta(QStringLiteral("lblOpePres"), session.OperatoreCorrente.Operatore.trimmed());
    lblDenOpePres = etichetta(QStringLiteral("lblDenOpePres"), session.OperatoreCorrente.nome);
    lblID = etichetta(QStringLiteral("lblID"), QString::number(session.CorsoSelezionato));
    lblProgr = etichetta(QStringLiteral("lblProgr"), session.corso.ProgrAttivita);
    lblDenCorso = etichetta(QStringLiteral("lblDenCorso"), session.corso.DenCorso);
    lblDenCorso->setWordWrap(true);

    auto* domanda = new QGroupBox(QStringLiteral("Domanda selezionata"));
    auto* operatore = new QHBoxLayout;
    operatore->addWidget(lblGrOpePres);
    operatore->addWidget(lblOpePres);
    operatore->addWidget(lblDenOpePres, 1);
    auto* dati = new QFormLayout(domanda);
    dati->addRow(operatore);
    dati->addRow(QStringLiteral("Identificativo"), lblID);
    dati->addRow(QStringLiteral("Prog."), lblProgr);
    dati->addRow(QStringLiteral("denominazione"), lblDenCorso);
    lblStato = etichetta(QStringLiteral("lblStato"));
    QFont grassetto = lblStato->font();
    grassetto.setBold(true);
    lblStato->setFont(grassetto);
    dati->addRow(QStringLiteral("Stato"), lblStato);

    cmdSalva = pulsante(QStringLiteral("cmdSalva"),
                        QStringLiteral("Copia del file di trasmissione del Fine Corso"));
    cmdSend =
        pulsante(QStringLiteral("cmdSend"), QStringLiteral("Invio de fine corso tramite INTERNET"));
    cmdStampa = pulsante(QStringLiteral("cmdStampa"),
                         QStringLiteral("Stampa del modulo di domanda originale e in copia  da "
                                        "consegnare agli uffici preposti"));
    cmdEsci = pulsante(QStringLiteral("cmdEsci"), QString());
    cmdEsci->setText(QStringLiteral("X"));
    cmdAiuto = pulsante(QStringLiteral("cmdAiuto"), QStringLiteral("Aiuto"));
    cmdDebug = pulsante(QStringLiteral("cmdDebug"), QStringLiteral("Debug"));
    cmdDebug->setVisible(session.debug);

    auto* pulsanti = new QVBoxLayout;
    pulsanti->addWidget(cmdSalva);
    pulsanti->addWidget(cmdSend);
    pulsanti->addWidget(cmdStampa);
    auto* fondo = new QHBoxLayout;
    fondo->addWidget(cmdAiuto);
    fondo->addWidget(cmdDebug);
    fondo->addStretch();
    fondo->addWidget(cmdEsci);
    fondo->addWidget(etichetta(QStringLiteral("lblEsci"), QStringLiteral("Esci")));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(domanda);
    layout->addLayout(pulsanti);
    layout->addLayout(fondo);

    connect(cmdSalva, &QPushButton::clicked, this, &Trasmis::cmdSalva_Click);
    connect(cmdSend, &QPushButton::clicked, this, &Trasmis::cmdSend_Click);
    connect(cmdStampa, &QPushButton::clicked, this, [this] {
        if (!occupato())
            report::stampaModulo(m_session, this, m_session.CorsoSelezionato, {}, true);
    });
    connect(cmdEsci, &QPushButton::clicked, this, &Trasmis::esci);
    connect(cmdAiuto, &QPushButton::clicked, this, [this] { m_session.MostraAiuto(this, kAiuto); });
    connect(cmdDebug, &QPushButton::clicked, this, &Trasmis::cmdDebug_Click);
    mostraErroriTrasferimento([this](int codice, const QString& testo) {
        return testoErroreTrasmis(
            codice, testo, m_inet.servizio(), m_session.indirizzoServer,
            m_session.ini.leggi(QStringLiteral("CONNESSIONE"), net::servizio::PAGINACERTIFICATO));
    });
    mostraStato(false);
}

void Trasmis::mostraStato(bool trasmesso) {
    QString stato;
    try {
        stato = m_session.CorsiDB()
                    .scalar(QStringLiteral("SELECT Stato FROM KELDCorsiDef WHERE IdAttivita = ?"),
                            {m_session.CorsoSelezionato})
                    .toString();
    } catch (const db::DbError&) {
        stato.clear(); // the state is only shown; the actions keep their own checks
    }
    lblStato->setText(stato);
    if (trasmesso && stato == QLatin1String("TRASMESSO")) {
        cmdSend->setEnabled(false);
        cmdSend->setToolTip(QStringLiteral("Il corso risulta già trasmesso alla Regione"));
        cmdEsci->setFocus();
    }
}

bool Trasmis::ControlloVersione() {
    if (m_inet.inviaServizio(net::servizio::VERSIONE, corpoVersione()) == net::Esito::Occupata)
        return false;
    if (m_inet.valida())
        return esitoVersione(m_inet.risposta(), Session::versione(), m_session.ui, this);
    erroreRisposta(m_session, this, m_inet);
    return false;
}

bool Trasmis::ControlloStatoAvanzamento() {
    const Operatore& o = m_session.OperatoreCorrente;
    if (m_inet.inviaServizio(
            net::servizio::STATOAVANZAMENTO,
            corpoStatoAvanzamento(o.GrupOpe, o.Operatore, m_session.CorsoSelezionato)) ==
        net::Esito::Occupata)
        return false;
    if (m_inet.valida())
        return esitoStatoAvanzamento(m_inet.risposta());
    erroreRisposta(m_session, this, m_inet);
    return false;
}

void Trasmis::cmdSalva_Click() {
    if (occupato())
        return;
    const Occupato guardia(*this);
    ui::Interaction& ui = m_session.ui;
    if (ui.message(this,
                   QStringLiteral("Si desidera controllare se questa versione dell'applicativo è "
                                  "abilitata alla trasmissione? Qualunque sia l'esito del "
                                  "controllo, sarà comunque possibile effettuare la copia su "
                                  "dischetto. Per effettuare il controllo è necessario che sia "
                                  "attiva la connessione ad Internet."),
                   QStringLiteral("Controllo Versione"), Icon::None,
                   Buttons::YesNo) == Answer::Yes) {
        if (ControlloVersione()) {
            ui.message(this,
                       QStringLiteral("La presente versione dell'applicativo è abilitata "
                                      "alla trasmissione."),
                       QString(), Icon::Information);
        } else if (ui.message(this,
                              QStringLiteral("La presente versione dell'applicativo non è "
                                             "abilitata alla trasmissione. Scaricare ed "
                                             "installare il più presto possibile la versione più "
                                             "recente. Continuare l'operazione di copia?"),
                              QString(), Icon::Critical, Buttons::YesNo) == Answer::No) {
            return;
        }
        if (m_session.ended())
            return;
    }

    const std::optional<QString> email = chiediEmail(m_session, this);
    if (!email) {
        ui.message(this,
                   QStringLiteral("E' necessario specificare un indirizzo di posta\r\nelettronica "
                                  "per poter procedere al salvataggio dei dati."),
                   QStringLiteral("Salvataggio dati"), Icon::Warning);
        return;
    }

    ui.setBusy(true);
    if (!m_crea.CreaFile(DatiAllegato::daSessione(m_session, *email), m_numeroDomanda)) {
        ui.setBusy(false);
        ui.message(this, QStringLiteral("Creazione file di trasmissione fallita."),
                   QStringLiteral("Crea File di Trasmissione"), Icon::Critical);
        return;
    }
    const QString nome = m_crea.allegato();
    const QString cartella = m_session.CartellaProgramma + QStringLiteral("Trasmissioni");
    const QString copia = QDir(cartella).filePath(nome);
    const bool copiato = QDir().mkpath(cartella) &&
                         (!QFile::exists(copia) || QFile::remove(copia)) &&
                         QFile::copy(m_session.file(nome), copia) &&
                         QFile::setPermissions(copia, fileSicuro::permessiDati());
    ui.setBusy(false);
    if (!copiato) {
        mostraErrore(ui, this, Errore{75, QStringLiteral("Errore di accesso al percorso/file")},
                     QStringLiteral("Errore"), Icon::Warning);
        QDialog::reject();
        return;
    }
    ui.message(this,
               QStringLiteral("Copia dei dati effettuata.\r\nCopiato file \r\n") + nome +
                   QStringLiteral("\r\nnella cartella \r\n") + cartella,
               QStringLiteral("Copia su floppy disk"), Icon::Information);
    cmdStampa->setEnabled(true);
}

void Trasmis::cmdSend_Click() {
    if (occupato())
        return;
    const Occupato guardia(*this);
    ui::Interaction& ui = m_session.ui;
    if (ui.message(this,
                   QStringLiteral("Attivazione collegamento con Internet\r\nProcedere solo dopo "
                                  "aver aperto la connessione \r\ncon il vostro Provider"),
                   QStringLiteral("Trasmissione dati"), Icon::Information,
                   Buttons::OkCancel) != Answer::Ok)
        return;
    ui.setBusy(true);
    const bool versione = ControlloVersione();
    ui.setBusy(false);
    if (!versione || m_session.ended())
        return;
    ui.setBusy(true);
    const bool stato = ControlloStatoAvanzamento();
    ui.setBusy(false);
    if (m_session.ended())
        return;
    if (!stato) {
        ui.message(this,
                   QStringLiteral("Per il corso selezionato NON è possibile effettuare la "
                                  "trasmissione del Fine Corso\r\n(Il corso si trova già ad un "
                                  "stato avanzamento successivo a quello di inizio corso)"),
                   QStringLiteral("Controllo sugli Archivi Centrali."), Icon::Information);
        return;
    }
    frmInet invio(m_session, m_crea, m_numeroDomanda, this);
    ui.runDialog(invio);
    if (!m_session.ended())
        mostraStato(invio.trasmesso());
}

void Trasmis::cmdDebug_Click() {
    try {
        m_session.CorsiDB().exec(
            QStringLiteral("UPDATE Domande SET DomandaStampata = ? WHERE NumDoma = ?"),
            {cmdSend->isEnabled() ? 0 : 1, m_numeroDomanda});
    } catch (const db::DbError& e) {
        m_session.ui.message(this, e.description());
    }
}

} // namespace transmit
