#include "download/FrmScaricoDB.h"

#include "core/FileSicuro.h"
#include "core/Session.h"
#include "db/DbError.h"
#include "download/ContenitoreRisposta.h"
#include "download/ScaricoDati.h"
#include "download/mdAggiornaCorsiApprovati.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

using ui::Buttons;
using ui::Icon;

namespace download {

namespace {
const QString kTitolo = QStringLiteral("Corsi Approvati e Finanziati - Scarico/Aggiornamento");
const QString kRispostaGrezza = QStringLiteral("$tmpDenOp.tx1");
constexpr int kBlocco = 1024; // characters read per step of the progress bar
} // namespace

// ------------------------------------------------------------ frmMailAggPleia2

frmMailAggPleia2::frmMailAggPleia2(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_txtRisposta(new QPlainTextEdit) {
    setObjectName(QStringLiteral("frmMailAggPleia2"));
    setWindowTitle(QStringLiteral("Modalità di autenticazione alternativa."));
    auto* spiegazione = new QLabel(
        QStringLiteral("Connettersi all'indirizzo seguente, copiare il testo della pagina e "
                       "incollarlo qui sotto:\n") +
        m_session.ini.leggi(QStringLiteral("CONNESSIONE"), net::servizio::PLEIA));
    spiegazione->setWordWrap(true);
    spiegazione->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_txtRisposta->setObjectName(QStringLiteral("TxtRisposta"));
    auto* conferma = new QPushButton(QStringLiteral("Conferma"));
    conferma->setObjectName(QStringLiteral("imgConferma"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(spiegazione);
    layout->addWidget(m_txtRisposta);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(conferma);
    layout->addLayout(pulsanti);
    setMinimumWidth(420);
    connect(conferma, &QPushButton::clicked, this, &frmMailAggPleia2::imgConferma_Click);
}

void frmMailAggPleia2::imgConferma_Click() {
    m_codice = codiceIdentita(m_txtRisposta->toPlainText());
    m_session.codicePleia = m_codice;
    accept();
}

// ---------------------------------------------------------------- FrmScaricoDB

FrmScaricoDB::FrmScaricoDB(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_inetCorsi(session), m_webBrowser1(session),
      m_cmbOpe(new QComboBox), m_cmdConferma(new QPushButton), m_cmdEsci(new QPushButton),
      m_cmdAiuto(new QPushButton), m_panAttesa(new QFrame), m_lblStato(new QLabel),
      m_prgBar(new QProgressBar) {
    setObjectName(QStringLiteral("FrmScaricoDB"));
    setWindowTitle(kTitolo);
    m_inetCorsi.setObjectName(QStringLiteral("InetCorsi"));
    m_webBrowser1.setObjectName(QStringLiteral("WebBrowser1"));

    auto* etichetta = new QLabel(QStringLiteral("Operatore:"));
    m_cmbOpe->setObjectName(QStringLiteral("CmbOpe"));
    m_cmbOpe->setMinimumWidth(380);
    m_cmbOpe->addItems(elencoOperatori(session.CorsiDB()));
    m_cmbOpe->setCurrentIndex(-1);

    m_cmdConferma->setObjectName(QStringLiteral("CmdConferma"));
    m_cmdConferma->setText(QStringLiteral("Scarica"));
    m_cmdConferma->setDefault(true);
    m_cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    m_cmdEsci->setText(QStringLiteral("Esci"));
    m_cmdAiuto->setObjectName(QStringLiteral("cmdAiuto"));
    m_cmdAiuto->setText(QStringLiteral("Aiuto"));

    m_panAttesa->setObjectName(QStringLiteral("PanAttesa"));
    m_panAttesa->setFrameShape(QFrame::StyledPanel);
    m_lblStato->setObjectName(QStringLiteral("lblStato"));
    m_prgBar->setObjectName(QStringLiteral("PrgBar"));
    m_prgBar->setRange(0, 100);
    m_prgBar->setValue(0);
    auto* attesa = new QVBoxLayout(m_panAttesa);
    attesa->addWidget(new QLabel(QStringLiteral("Scarico dei corsi in corso, attendere...")));
    attesa->addWidget(m_lblStato);
    attesa->addWidget(m_prgBar);
    m_panAttesa->hide();

    auto* riga = new QHBoxLayout;
    riga->addWidget(etichetta);
    riga->addWidget(m_cmbOpe, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(m_cmdAiuto);
    pulsanti->addStretch();
    pulsanti->addWidget(m_cmdConferma);
    pulsanti->addWidget(m_cmdEsci);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(riga);
    layout->addWidget(m_panAttesa);
    layout->addLayout(pulsanti);

    connect(m_cmdConferma, &QPushButton::clicked, this, &FrmScaricoDB::CmdConferma_Click);
    connect(m_cmdEsci, &QPushButton::clicked, this, &FrmScaricoDB::cmdEsci_Click);
    connect(m_cmdAiuto, &QPushButton::clicked, this,
            [this] { m_session.MostraAiuto(this, 11000); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { m_session.MostraAiuto(this, 11000); });
    connect(&m_inetCorsi, &net::RichiestaServer::erroreTrasferimento, this,
            &FrmScaricoDB::erroreTrasferimento);
    connect(&m_inetCorsi, &net::RichiestaServer::avanzamento, this, &FrmScaricoDB::avanzamento);
}

void FrmScaricoDB::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_attivato && m_cmbOpe->count() > 0)
        m_cmbOpe->setCurrentIndex(0);
    m_attivato = true;
}

void FrmScaricoDB::reject() {
    // Not while a request runs: the dialog waits for its end.
    if (m_inetCorsi.inCorso() || m_webBrowser1.inCorso())
        return;
    QDialog::reject();
}

void FrmScaricoDB::cmdEsci_Click() {
    if (m_inetCorsi.inCorso() || m_webBrowser1.inCorso())
        return;
    m_session.scaricoAnnullato = true;
    reject();
}

void FrmScaricoDB::mostraAttesa(bool visibile) {
    m_panAttesa->setVisible(visibile);
    m_cmdConferma->setEnabled(!visibile);
    m_cmdEsci->setEnabled(!visibile);
    m_cmbOpe->setEnabled(!visibile);
}

void FrmScaricoDB::erroreTrasferimento(int codice, const QString& testo) {
    m_session.ui.message(this,
                         testoErroreTrasmissione(codice, testo, QUrl(m_inetCorsi.url()).host()),
                         QStringLiteral("Errore di trasmissione"), Icon::Critical);
}

void FrmScaricoDB::avanzamento(qint64, qint64) {
    m_lblStato->setText(testoStato(5));
}

QString FrmScaricoDB::identita() {
    Session& s = m_session;
    if (!s.codicePleia.isEmpty())
        return s.codicePleia;
    try {
        const QString url = s.ini.leggi(QStringLiteral("CONNESSIONE"), net::servizio::PLEIA);
        net::Opzioni opzioni;
        opzioni.prefissoCredenziali = false;
        opzioni.intestazioni = false;
        m_webBrowser1.svuotaRisposta();
        m_webBrowser1.invia(url, QByteArray(), opzioni);
        if (s.ended())
            return {};
        // What a browser shows: the page the server answered with, or its own
        // page when the address could not be reached.
        const int codice = m_webBrowser1.codiceErrore();
        const bool paginaDelServer = codice == 0 || (codice >= 100 && codice <= 599);
        const QString testo = paginaDelServer
                                  ? m_webBrowser1.risposta()
                                  : QStringLiteral("Impossibile visualizzare la pagina");
        QString trovato = codiceIdentita(testo);
        if (trovato.isEmpty() && paginaNonVisualizzata(testo)) {
            s.ui.message(this, testoAiutoConnessione(), QStringLiteral("TORVEMIL"),
                         Icon::Information);
            s.ui.message(this, testoModalitaAlternativa(),
                         QStringLiteral("Modalità di autenticazione alternativa."), Icon::None,
                         Buttons::AbortRetryIgnore);
            s.ui.setBusy(false);
            frmMailAggPleia2 alternativa(s, this);
            s.ui.runDialog(alternativa);
            s.ui.setBusy(true);
            trovato = alternativa.codice();
        }
        s.codicePleia = trovato;
        return trovato;
    } catch (const db::DbError& e) {
        s.ui.message(
            this,
            QStringLiteral("Errore in Form.ListaDetermine::Pleia2 :%1 - ").arg(e.number()) +
                e.description(),
            QStringLiteral("ERRORE"), Icon::Critical);
    }
    s.codicePleia.clear();
    return {};
}

void FrmScaricoDB::CmdConferma_Click() {
    if (m_inetCorsi.inCorso() || m_webBrowser1.inCorso())
        return;
    if (m_cmbOpe->currentIndex() < 0) {
        m_session.ui.message(this, QStringLiteral("Selezionare un Operatore dal menù a tendina"),
                             QStringLiteral("Scarico Dati"), Icon::Critical);
        m_cmbOpe->setFocus();
        return;
    }
    m_session.ui.setBusy(true);
    mostraAttesa(true);
    scarica();
    if (!m_session.ended())
        mostraAttesa(false);
    m_session.ui.setBusy(false);
}

void FrmScaricoDB::scarica() {
    Session& s = m_session;
    const OperatoreScelto operatore = operatoreDaVoce(m_cmbOpe->currentText());
    m_inetCorsi.svuotaRisposta();
    m_prgBar->setValue(0);

    const QString codice = identita();
    if (s.ended())
        return;
    if (codice.isEmpty()) {
        mostraAttesa(false);
        s.ui.message(this, QStringLiteral("Autenticazione non riuscita"), kTitolo, Icon::Critical);
        return;
    }

    m_lblStato->setText(testoStato(1));
    net::Opzioni opzioni;
    opzioni.prefissoCredenziali = false;
    m_inetCorsi.inviaServizio(net::servizio::CORSIDESTINATARI,
                              corpoRichiestaCorsi(operatore.gruppo, operatore.codice, codice),
                              opzioni);
    if (s.ended())
        return;
    const QString risposta = m_inetCorsi.risposta();
    if (m_inetCorsi.completata()) {
        // The reply read in blocks, one step of the bar each.
        const int blocchi = int((risposta.size() + kBlocco - 1) / kBlocco);
        m_prgBar->setValue(qMin(m_prgBar->maximum(), blocchi));
        m_prgBar->setValue(m_prgBar->maximum());
        m_lblStato->setText(testoStato(9));
    }

    if (m_inetCorsi.completata() && !risposta.toUpper().contains(QLatin1String("ERRORE"))) {
        s.ui.setBusy(false);
        const QString grezza = s.file(kRispostaGrezza);
        QString errore;
        if (!fileSicuro::sostituisci(grezza, m_inetCorsi.rispostaGrezza(), &errore)) {
            s.ui.message(this, QStringLiteral("Errore 75\n") + errore, QStringLiteral("SCARICO DB"),
                         Icon::Critical);
            s.ui.setBusy(true);
            return;
        }
        m_lblStato->setText(QStringLiteral("Elaborazione dati scaricati in corso ..."));
        s.ui.processEvents();
        const EsitoContenitore esito =
            spacchettaFileContenitore(grezza, s.CartellaProgramma, {kFileCorsi, kFileGiornateOre});
        QFile::remove(grezza);
        if (esito.malformato)
            s.ui.message(
                this,
                QStringLiteral("La risposta del server non è nel formato atteso: i file ") +
                    esito.rifiutati.join(QStringLiteral(", ")) +
                    QStringLiteral(" non sono stati scritti."),
                QStringLiteral("SCARICO DB"), Icon::Critical);
        if (!esito.erroreScrittura.isEmpty())
            s.ui.message(this, QStringLiteral("Errore 75\n") + esito.erroreScrittura,
                         QStringLiteral("SCARICO DB"), Icon::Critical);
        m_lblStato->setText(QStringLiteral("Elaborazione dati scaricati completata."));
        mostraAttesa(false);
        s.ui.setBusy(true);
        accept();
        return;
    }

    mostraAttesa(false);
    const int errore = m_inetCorsi.codiceErrore();
    if (errore != 0 && errore != net::codice::AutoritaNonAttendibile) {
        s.ui.message(this,
                     QStringLiteral("Errore di connessione al server. Si consiglia di riprovare in "
                                    "un secondo momento."),
                     QStringLiteral("Errore di connessione"), Icon::Critical);
        m_inetCorsi.annulla();
        return;
    }
    if (const QString testo = testoErroreServer(risposta); !testo.isEmpty()) {
        // An identity code the server no longer accepts is not offered again.
        s.codicePleia.clear();
        s.ui.message(this, testo, QStringLiteral("SCARICO DB"), Icon::Critical);
    }
}

} // namespace download
