#include "transmit/FrmnReg.h"

#include "core/Session.h"
#include "db/DbError.h"
#include "transmit/Registrazione.h"
#include "transmit/frmMailAggInst.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

using ui::Answer;
using ui::Buttons;
using ui::Icon;

namespace transmit {

namespace {
const QString kErrore = QStringLiteral("ERRORE");
}

FrmnReg::FrmnReg(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_inet(session), m_cmdnReg(new QPushButton),
      m_command2(new QPushButton), m_lblAttesa(new QLabel), m_pgrBar(new QProgressBar) {
    setObjectName(QStringLiteral("FrmnReg"));
    setWindowTitle(QStringLiteral("Installazione Applicativo"));
    m_inet.setObjectName(QStringLiteral("Inet"));

    auto* riga1 = new QLabel(QStringLiteral("La procedura si connetterà ora ad Internet"));
    QFont grassetto = riga1->font();
    grassetto.setBold(true);
    riga1->setFont(grassetto);
    auto* riga2 = new QLabel(
        QStringLiteral("Procedere solo dopo aver aperto la connessione con il vostro Provider"));
    auto* riga3 = new QLabel(QStringLiteral("( ATTENZIONE premendo Annulla non sarà possibile "
                                            "selezionare la fase e l'operatore selezionato.)"));
    riga3->setWordWrap(true);
    m_lblAttesa->setObjectName(QStringLiteral("lblAttesa"));
    m_lblAttesa->setText(QStringLiteral("Recupero del numero di installazione dal server sicuro "
                                        "in corso, attendere..."));
    m_lblAttesa->setWordWrap(true);
    m_lblAttesa->hide();
    m_pgrBar->setObjectName(QStringLiteral("PgrBar"));
    m_pgrBar->setRange(0, 100);
    m_pgrBar->setValue(0);
    m_pgrBar->hide();

    m_cmdnReg->setObjectName(QStringLiteral("CmdnReg"));
    m_cmdnReg->setText(QStringLiteral("OK"));
    m_cmdnReg->setDefault(true);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setText(QStringLiteral("Annulla"));
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(m_cmdnReg);
    pulsanti->addWidget(m_command2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(riga1);
    layout->addWidget(riga2);
    layout->addWidget(riga3);
    layout->addWidget(m_lblAttesa);
    layout->addWidget(m_pgrBar);
    layout->addLayout(pulsanti);
    setMinimumWidth(460);

    connect(m_cmdnReg, &QPushButton::clicked, this, &FrmnReg::CmdnReg_Click);
    connect(m_command2, &QPushButton::clicked, this, &FrmnReg::reject);
    connect(&m_inet, &net::RichiestaServer::erroreTrasferimento, this,
            &FrmnReg::erroreTrasferimento);
    connect(&m_inet, &net::RichiestaServer::avanzamento, this, [this] { avanza(8); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { m_session.MostraAiuto(this, 15000); });
}

void FrmnReg::reject() {
    // Not while the request runs: the dialog waits for its end.
    if (m_inet.inCorso())
        return;
    m_registrata = false;
    QDialog::reject();
}

void FrmnReg::avanza(int passo) {
    if (passo == 9 || m_pgrBar->value() <= 73)
        m_pgrBar->setValue(qMin(m_pgrBar->maximum(), m_pgrBar->value() + passo));
}

void FrmnReg::erroreTrasferimento(int codice, const QString& testo) {
    m_session.ui.message(
        this, QStringLiteral("Si è verificato un errore: %1 : %2").arg(codice).arg(testo),
        QStringLiteral("Errore"), Icon::Critical);
}

void FrmnReg::CmdnReg_Click() {
    if (m_inet.inCorso())
        return;
    try {
        registra();
    } catch (const db::DbError&) {
        erroreImprevisto();
    }
}

void FrmnReg::registra() {
    Session& s = m_session;
    // A connection failure followed by "OK" starts over from the e-mail address.
    for (;;) {
        std::optional<QString> email;
        for (;;) {
            email = chiediEmail(s, this);
            if (s.ended())
                return;
            if (email)
                break;
            if (s.ui.message(this,
                             QStringLiteral("E' necessario specificare un indirizzo e-mail per "
                                            "procedere.\nSpecificarlo ora?"),
                             QStringLiteral("E-Mail"), Icon::Information,
                             Buttons::YesNo) == Answer::Yes)
                continue;
            s.ui.message(this,
                         QStringLiteral("E' impossibile continuare.\nTrasmissione interrotta."),
                         kErrore, Icon::Critical);
            reject();
            return;
        }

        const QString indirizzo = s.userSettings.get(QStringLiteral("E-Mail"));
        const auto agenzia = agenziaInstallata(s.CorsiDB());
        if (!agenzia) {
            erroreImprevisto();
            return;
        }
        s.ui.setBusy(true);
        m_cmdnReg->setEnabled(false);
        m_command2->setEnabled(false);
        m_lblAttesa->show();
        m_pgrBar->setValue(0);
        m_pgrBar->show();
        m_inet.svuotaRisposta();
        m_inet.inviaServizio(net::servizio::NREG,
                             corpoRegistrazione(agenzia->gruppo, agenzia->codice, indirizzo));
        s.ui.setBusy(false);
        if (s.ended())
            return;

        const QString server = s.indirizzoServer;
        const QString servizio = m_inet.servizio();
        if (!m_inet.completata()) {
            if (s.ui.message(this,
                             QStringLiteral("Si è verificato un errore in fase di connessione con "
                                            "il server %1 (servizio: %2), è probabile che si "
                                            "tratti di un errore temporaneo, Riprovare?")
                                 .arg(server, servizio),
                             kErrore, Icon::Critical, Buttons::OkCancel) == Answer::Ok) {
                m_lblAttesa->hide();
                continue;
            }
            const QString pagina =
                s.ini.leggi(QStringLiteral("CONNESSIONE"), net::servizio::PAGINACERTIFICATO);
            s.ui.message(
                this,
                QStringLiteral("L'errore che si è verificato potrebbe essere causato dalla "
                               "mancanza di autorizzazione per accedere al server %1. Per avere "
                               "l'autorizzazione è necessario: \n"
                               "  - avere installato Microsoft Internet Explorer 4.01 o "
                               "superiore \n"
                               "  - avere installato il certificato di autorizzazione per "
                               "l'accesso al server %1.\n"
                               "Se è necessario reinstallare il certificato di autorizzazione, "
                               "riscaricarlo da Internet dall'indirizzo: \n\n%2\n\n"
                               "Per ulteriori chiarimenti, contattare il servizio di assistenza "
                               "V.R.D.Impossibile continuare con l'esecuzione dell'applicativo, "
                               "il programma verrà terminato.")
                    .arg(server, pagina),
                kErrore, Icon::Critical);
            m_command2->setEnabled(true);
            reject();
            s.endProgram();
            return;
        }

        avanza(9);
        if (rispostaNumerica(m_inet.risposta())) {
            m_lblAttesa->hide();
            const auto numero = numeroInstallazione(m_inet.risposta());
            if (!numero) {
                // The installation table cannot hold it: nothing is stored.
                erroreImprevisto();
                return;
            }
            salvaInstallazione(s.CorsiDB(), *agenzia, *numero, Session::versione());
            m_registrata = true;
            accept();
            return;
        }

        s.ui.message(this,
                     QStringLiteral("Si è verificato un errore sul server %1 (servizio: %2), "
                                    "cliccando su OK il sistema cercherà di visualizzare "
                                    "ulteriori informazioni sull'errore. Contattare il servizio "
                                    "assistenza VRD riportando questo messaggio e le "
                                    "informazioni visualizzate")
                         .arg(server, servizio),
                     kErrore, Icon::Critical);
        net::mostraPaginaErrore(s, m_inet.rispostaGrezza());
        m_command2->setEnabled(true);
        reject();
        return;
    }
}

void FrmnReg::erroreImprevisto() {
    Session& s = m_session;
    const QString servizio =
        net::nomeServizio(s.ini.leggi(QStringLiteral("CONNESSIONE"), net::servizio::NREG));
    s.ui.message(this,
                 QStringLiteral("Numero registrazione Nuova Domanda non valido, o impossibile da "
                                "recuperare. Si è verificato un errore sul server %1 in fase di "
                                "acquisizione del numero di registrazione per la nuova proposta "
                                "(servizio:%2). Contattare il servizio di assistenza VRD "
                                "riportando questo messaggio")
                     .arg(s.indirizzoServer, servizio),
                 ui::DefaultTitle);
    m_cmdnReg->setEnabled(true);
    m_command2->setEnabled(true);
    reject();
}

} // namespace transmit
