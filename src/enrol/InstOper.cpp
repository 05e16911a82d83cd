#include "enrol/InstOper.h"

#include "core/Cp1252.h"
#include "core/FileSicuro.h"
#include "core/RichiestaServer.h"
#include "core/RigaRecord.h"
#include "core/Session.h"
#include "download/ContenitoreRisposta.h"
#include "enrol/frmInstOper.h"
#include "maint/ControlloEmail.h"
#include "transmit/ControlliServer.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace enrol {

using ui::Icon;

namespace {

const QString kFileRisposta = QStringLiteral("$tmpDenOp.tx1");
const QString kEmailPredefinito = QStringLiteral("Indirizzo e-mail...");

// Files of the program folder whose name ends with ".tx1" in any letter case.
QStringList fileTx1(const QString& cartella) {
    QStringList nomi;
    const QDir dir(cartella);
    for (const QString& nome : dir.entryList(QDir::Files))
        if (nome.endsWith(QLatin1String(".tx1"), Qt::CaseInsensitive))
            nomi << dir.filePath(nome);
    return nomi;
}

QString trovaFile(const QString& cartella, const QString& nome) {
    const QDir dir(cartella);
    for (const QString& n : dir.entryList(QDir::Files))
        if (n.compare(nome, Qt::CaseInsensitive) == 0)
            return dir.filePath(n);
    return dir.filePath(nome);
}

} // namespace

QString vocePerOperatore(const QString& gruppo, const QString& operatore) {
    return gruppo + QStringLiteral("      - ") + operatore.rightJustified(5, QLatin1Char(' '));
}

QString gruppoDaVoce(const QString& voce) {
    const qsizetype trattino = voce.indexOf(QLatin1Char('-'));
    return (trattino < 0 ? voce : voce.left(trattino)).trimmed();
}

QString operatoreDaVoce(const QString& voce) {
    const qsizetype trattino = voce.indexOf(QLatin1Char('-'));
    return trattino < 0 ? QString() : voce.mid(trattino + 2).trimmed();
}

QString corpoRichiesta(const QStringList& voci) {
    QString corpo;
    for (const QString& voce : voci)
        corpo +=
            QStringLiteral("&g=") + voce.left(1) + QStringLiteral("&c=") + operatoreDaVoce(voce);
    return corpo.mid(1);
}

QString rigaConferma(const QString& gruppo, const QString& operatore, const QString& codiceFiscale,
                     const QString& denominazione) {
    const QString nome =
        denominazione.size() > 42 ? denominazione.left(42) + QStringLiteral("...") : denominazione;
    return gruppo + operatore.leftJustified(6, QLatin1Char(' ')) + QStringLiteral("   ") +
           codiceFiscale + QStringLiteral("   ") + nome;
}

// ---- frmInstOper -------------------------------------------------------------

frmInstOper::frmInstOper(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_inet(new net::RichiestaServer(session, this)),
      m_lblIstruzione(new QLabel(this)), TxtGrup(new QLineEdit(this)), TxtOper(new QLineEdit(this)),
      LstElenco(new QListWidget(this)),
      cmdConferma(new QPushButton(QStringLiteral("CONFERMA"), this)),
      cmdAnnulla(new QPushButton(QStringLiteral("ANNULLA"), this)) {
    setObjectName(QStringLiteral("frmInstOper"));
    setWindowTitle(QStringLiteral("Selezione Operatori"));
    m_lblIstruzione->setObjectName(QStringLiteral("lblIstruzione"));
    m_lblIstruzione->setText(
        QStringLiteral("Selezionare gli operatori per i quali si vuole installare l'applicativo"));
    m_lblIstruzione->setWordWrap(true);
    TxtGrup->setObjectName(QStringLiteral("TxtGrup"));
    TxtGrup->setMaxLength(1);
    TxtOper->setObjectName(QStringLiteral("TxtOper"));
    TxtOper->setMaxLength(5);
    auto* cmdIns = new QPushButton(QStringLiteral("Inserisci"), this);
    cmdIns->setObjectName(QStringLiteral("CmdIns"));
    auto* cmdCanc = new QPushButton(QStringLiteral("Cancella"), this);
    cmdCanc->setObjectName(QStringLiteral("CmdCanc"));
    LstElenco->setObjectName(QStringLiteral("LstElenco"));
    LstElenco->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdConferma->setObjectName(QStringLiteral("cmdConferma"));
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));

    auto* campi = new QGridLayout;
    campi->addWidget(new QLabel(QStringLiteral("Gruppo:"), this), 0, 0);
    campi->addWidget(TxtGrup, 0, 1);
    campi->addWidget(new QLabel(QStringLiteral("Operatore:"), this), 1, 0);
    campi->addWidget(TxtOper, 1, 1);
    campi->addWidget(cmdIns, 0, 2);
    campi->addWidget(cmdCanc, 1, 2);
    auto* colonne = new QLabel(QStringLiteral("Gruppo      Cod. Operatore"), this);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(cmdConferma);
    pulsanti->addWidget(cmdAnnulla);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblIstruzione);
    layout->addLayout(campi);
    layout->addWidget(colonne);
    layout->addWidget(LstElenco);
    layout->addLayout(pulsanti);

    connect(cmdIns, &QPushButton::clicked, this, &frmInstOper::CmdIns_Click);
    connect(cmdCanc, &QPushButton::clicked, this, &frmInstOper::CmdCanc_Click);
    connect(cmdConferma, &QPushButton::clicked, this, &frmInstOper::cmdConferma_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, &frmInstOper::cmdAnnulla_Click);
    // The topic is read when F1 is pressed: the same dialog serves the
    // installation and the later update of the agencies.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { m_session.MostraAiuto(this, m_session.helpTopic(18000)); });
    connect(LstElenco, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        TxtGrup->setText(gruppoDaVoce(item->text()));
        TxtOper->setText(operatoreDaVoce(item->text()));
    });
    connect(m_inet, &net::RichiestaServer::erroreTrasferimento, this,
            &frmInstOper::erroreTrasferimento);
}

frmInstOper::~frmInstOper() = default;

void frmInstOper::setElenco(const QStringList& voci) {
    LstElenco->clear();
    LstElenco->addItems(voci);
}

void frmInstOper::setIstruzione(const QString& testo) {
    m_lblIstruzione->setText(testo);
}

QStringList frmInstOper::elenco() const {
    QStringList voci;
    for (int i = 0; i < LstElenco->count(); ++i)
        voci << LstElenco->item(i)->text();
    return voci;
}

bool frmInstOper::TrovaDoppi(const QString& voce) const {
    return elenco().contains(voce);
}

void frmInstOper::CmdIns_Click() {
    if (TxtGrup->text().isEmpty())
        return;
    if (LstElenco->count() >= MassimoOperatori) {
        m_session.ui.message(this,
                             QStringLiteral("E' stato raggiunto il limite massimo di aziende "
                                            "scaricabili da Internet"),
                             QStringLiteral("Attenzione"), Icon::Information);
        return;
    }
    const QString voce = vocePerOperatore(TxtGrup->text(), TxtOper->text());
    if (!TrovaDoppi(voce))
        LstElenco->addItem(voce);
    TxtGrup->clear();
    TxtOper->clear();
}

void frmInstOper::CmdCanc_Click() {
    const int riga = LstElenco->currentRow();
    if (riga >= 0)
        delete LstElenco->takeItem(riga);
}

void frmInstOper::abilita(bool si) {
    cmdConferma->setEnabled(si);
    cmdAnnulla->setEnabled(si);
    m_occupato = !si;
}

void frmInstOper::erroreTrasferimento(int codice, const QString& testo) {
    m_session.ui.message(this, transmit::testoErroreInvio(codice, testo, m_session.indirizzoServer),
                         QStringLiteral("Errore di trasmissione"), Icon::Critical);
}

void frmInstOper::cmdConferma_Click() {
    Session& s = m_session;
    if (m_occupato)
        return;
    if (LstElenco->count() == 0) {
        s.ui.message(this, QStringLiteral("E' necessario imputare almeno un Operatore."),
                     ui::DefaultTitle, Icon::Critical);
        return;
    }
    const QString corpo = corpoRichiesta(elenco());
    s.ui.setBusy(true);
    abilita(false);
    m_inet->svuotaRisposta();
    m_inet->inviaServizio(net::servizio::AGGIORNADB, corpo);
    if (s.ended())
        return;
    const QString risposta = m_inet->risposta();
    const bool buona = m_inet->completata() && !risposta.contains(QLatin1String("ERRORE")) &&
                       risposta.toUpper().count(QLatin1String(".TX1")) == 4;
    if (buona) {
        const QString temporaneo = s.file(kFileRisposta);
        bool scritto = fileSicuro::sostituisci(temporaneo, m_inet->rispostaGrezza());
        if (scritto)
            scritto = download::spacchettaFileContenitore(
                          temporaneo, s.CartellaProgramma,
                          {QStringLiteral("oper.tx1"), QStringLiteral("compo.tx1"),
                           QStringLiteral("sediocc.tx1"), QStringLiteral("sediutil.tx1")})
                          .ok();
        QFile::remove(temporaneo);
        s.ui.setBusy(false);
        abilita(true);
        if (!scritto) {
            s.ui.message(this,
                         QStringLiteral("Impossibile scrivere i file ricevuti nella cartella del "
                                        "programma."),
                         ui::DefaultTitle, Icon::Critical);
            return;
        }
        frmConferma conferma(s, this);
        if (s.ui.runDialog(conferma) == QDialog::Accepted && !s.ended())
            accept();
        return;
    }
    if (m_inet->codiceErrore() == 0)
        transmit::erroreRisposta(s, this, *m_inet);
    s.ui.setBusy(false);
    m_inet->svuotaRisposta();
    abilita(true);
}

void frmInstOper::cmdAnnulla_Click() {
    if (m_occupato)
        return;
    m_session.AnnullaOperazione = QStringLiteral("annulla");
    QDialog::reject();
}

void frmInstOper::reject() {
    cmdAnnulla_Click();
}

// ---- frmConferma -------------------------------------------------------------

frmConferma::frmConferma(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), Lista(new QListWidget(this)),
      txtEMail(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmConferma"));
    setWindowTitle(QStringLiteral("Verifica dati immessi"));
    Lista->setObjectName(QStringLiteral("Lista"));
    const QFont fisso = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    Lista->setFont(fisso);
    txtEMail->setObjectName(QStringLiteral("txtEMail"));
    auto* intestazione =
        new QLabel(QStringLiteral(" Operatore    Codice Fiscale      Denominazione"), this);
    intestazione->setFont(fisso);
    auto* conferma = new QPushButton(QStringLiteral("CONFERMA"), this);
    conferma->setObjectName(QStringLiteral("cmdConferma"));
    auto* annulla = new QPushButton(QStringLiteral("ANNULLA"), this);
    annulla->setObjectName(QStringLiteral("cmdAnnulla"));
    auto* email = new QHBoxLayout;
    email->addWidget(new QLabel(QStringLiteral("Indirizzo di E-mail:"), this));
    email->addWidget(txtEMail);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(conferma);
    pulsanti->addWidget(annulla);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intestazione);
    layout->addWidget(Lista);
    layout->addLayout(email);
    layout->addLayout(pulsanti);
    resize(640, 360);

    txtEMail->setText(session.userSettings.get(QStringLiteral("E-Mail"), kEmailPredefinito));
    bool letto = false;
    const QStringList righe =
        cp1252::readLines(trovaFile(session.CartellaProgramma, QStringLiteral("Oper.tx1")), &letto);
    for (const QString& riga : righe) {
        if (riga.trimmed().isEmpty())
            continue;
        const RigaRecord r = RigaRecord::leggi(riga.trimmed());
        Lista->addItem(rigaConferma(r.campo(0), r.campo(1), r.campo(4), r.campo(2)));
    }
    connect(conferma, &QPushButton::clicked, this, &frmConferma::cmdConferma_Click);
    connect(annulla, &QPushButton::clicked, this, &frmConferma::cmdAnnulla_Click);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { m_session.MostraAiuto(this, 15000); });
}

void frmConferma::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QTimer::singleShot(0, txtEMail, [box = txtEMail] {
        box->setFocus();
        box->selectAll();
    });
}

void frmConferma::cmdConferma_Click() {
    if (!maint::ValidateEmailBox(txtEMail, m_session.ui, this))
        return;
    m_session.userSettings.set(QStringLiteral("E-Mail"), txtEMail->text());
    accept();
}

void frmConferma::cmdAnnulla_Click() {
    for (const QString& file : fileTx1(m_session.CartellaProgramma))
        QFile::remove(file);
    Lista->clear();
    QDialog::reject();
}

void frmConferma::reject() {
    cmdAnnulla_Click();
}

// ---- entry points ------------------------------------------------------------

void mostraFrmInstOper(Session& session, QWidget* parent, const QStringList& elenco,
                       const QString& istruzione) {
    frmInstOper dialogo(session, parent);
    dialogo.setElenco(elenco);
    if (!istruzione.isEmpty())
        dialogo.setIstruzione(istruzione);
    session.ui.runDialog(dialogo);
}

bool iscriviOperatori(Session& session, QWidget* parent) {
    session.AnnullaOperazione.clear();
    frmInstOper dialogo(session, parent);
    const int esito = session.ui.runDialog(dialogo);
    return !session.ended() && esito == QDialog::Accepted &&
           session.AnnullaOperazione != QLatin1String("annulla");
}

} // namespace enrol
