#include "maint/frmOpzioni.h"

#include "core/Session.h"
#include "maint/Assistenza.h"
#include "maint/ControlloEmail.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace maint {

using ui::Icon;

namespace {

const QString kEmail = QStringLiteral("E-Mail");
const QString kServerMail = QStringLiteral("ServerMail");
const QString kSalvataggio = QStringLiteral("Salvataggio dati");

template <typename W> W* nominato(W* w, const QString& nome) {
    w->setObjectName(nome);
    return w;
}

// On when the stored number is not 0, as the main window reads it.
bool attiva(const QString& valore) {
    bool ok = false;
    const double numero = valore.trimmed().toDouble(&ok);
    return ok && numero != 0;
}

QString valore01(bool b) {
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

frmOpzioni::frmOpzioni(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session),
      m_serverConsigliato(assistenza::serverPostaConsigliato(session.ini)),
      m_serverInterno(assistenza::serverPostaInterno(session.ini)) {
    setObjectName(QStringLiteral("frmOpzioni"));
    setWindowTitle(QStringLiteral("Opzioni"));

    optLocale = nominato(new QRadioButton(QStringLiteral("Locale")), QStringLiteral("optLocale"));
    optMultiutenza =
        nominato(new QRadioButton(QStringLiteral("Multiutenza")), QStringLiteral("optMultiutenza"));
    txtDatabase = nominato(new QLineEdit, QStringLiteral("txtDatabase"));
    cmdSfoglia = nominato(new QToolButton, QStringLiteral("cmdSfoglia"));
    cmdSfoglia->setText(QStringLiteral("..."));
    cmdSfoglia->setToolTip(QStringLiteral("Scegli il database"));
    lblUltimoAgg = nominato(new QLabel(QStringLiteral("Data ultimo aggiornamento:")),
                            QStringLiteral("lblUltimoAgg"));
    auto* installazione = new QGroupBox(QStringLiteral("Installazione"));
    auto* tipo = new QHBoxLayout;
    tipo->addWidget(optLocale);
    tipo->addWidget(optMultiutenza);
    tipo->addStretch();
    auto* percorso = new QHBoxLayout;
    percorso->addWidget(new QLabel(QStringLiteral("Percorso database")));
    percorso->addWidget(txtDatabase, 1);
    percorso->addWidget(cmdSfoglia);
    auto* li = new QVBoxLayout(installazione);
    li->addLayout(tipo);
    li->addLayout(percorso);
    li->addWidget(lblUltimoAgg);

    txtEMail = nominato(new QLineEdit, QStringLiteral("txtEMail"));
    optServVRD = nominato(new QRadioButton(m_serverConsigliato + QStringLiteral(" (consigliato)")),
                          QStringLiteral("optServVRD"));
    optServVRDINT = nominato(new QRadioButton(m_serverInterno), QStringLiteral("optServVRDINT"));
    optMioServ = nominato(new QRadioButton(QStringLiteral("Il proprio server")),
                          QStringLiteral("optMioServ"));
    txtMioServ = nominato(new QLineEdit, QStringLiteral("txtMioServ"));
    auto* gruppoServer = new QButtonGroup(this);
    for (QRadioButton* b : {optServVRD, optServVRDINT, optMioServ})
        gruppoServer->addButton(b);
    auto* rete = new QGroupBox(QStringLiteral("Rete"));
    auto* lr = new QVBoxLayout(rete);
    auto* email = new QFormLayout;
    email->addRow(QStringLiteral("E-mail"), txtEMail);
    lr->addLayout(email);
    lr->addWidget(new QLabel(
        QStringLiteral("Server di posta elettronica per le comunicazioni con l'assistenza")));
    lr->addWidget(optServVRD);
    lr->addWidget(optServVRDINT);
    auto* mio = new QHBoxLayout;
    mio->addWidget(optMioServ);
    mio->addWidget(txtMioServ, 1);
    lr->addLayout(mio);

    ckSottolinea =
        nominato(new QCheckBox(QStringLiteral("Sottolinea")), QStringLiteral("ckSottolinea"));
    ckAumenta =
        nominato(new QCheckBox(QStringLiteral("Aumenta dimensione")), QStringLiteral("ckAumenta"));
    ckCambia = nominato(new QCheckBox(QStringLiteral("Cambia colore")), QStringLiteral("ckCambia"));
    auto* vista = new QGroupBox(QStringLiteral("Visualizzazione testo al passaggio del mouse"));
    auto* lv = new QHBoxLayout(vista);
    lv->addWidget(ckSottolinea);
    lv->addWidget(ckAumenta);
    lv->addWidget(ckCambia);

    cmdSalva = nominato(new QPushButton(QStringLiteral("Salva")), QStringLiteral("cmdSalva"));
    cmdAnnulla = nominato(new QPushButton(QStringLiteral("Annulla")), QStringLiteral("cmdAnnulla"));
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(cmdSalva);
    pulsanti->addWidget(cmdAnnulla);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(installazione);
    layout->addWidget(rete);
    layout->addWidget(vista);
    layout->addLayout(pulsanti);

    auto cambio = [this] { m_changed = true; };
    auto cambioInstallazione = [this] { m_changed = m_installChanged = true; };
    for (QCheckBox* c : {ckSottolinea, ckAumenta, ckCambia})
        connect(c, &QCheckBox::toggled, this, cambio);
    connect(txtEMail, &QLineEdit::textChanged, this, cambio);
    connect(txtMioServ, &QLineEdit::textChanged, this, cambio);
    for (QRadioButton* b : {optServVRD, optServVRDINT, optMioServ})
        connect(b, &QRadioButton::toggled, this, cambio);
    connect(optMioServ, &QRadioButton::toggled, txtMioServ, &QWidget::setVisible);
    for (QRadioButton* b : {optLocale, optMultiutenza})
        connect(b, &QRadioButton::toggled, this, cambioInstallazione);
    connect(txtDatabase, &QLineEdit::textChanged, this, cambioInstallazione);
    connect(cmdSfoglia, &QToolButton::clicked, this, &frmOpzioni::cmdSfoglia_Click);
    connect(cmdSalva, &QPushButton::clicked, this, &frmOpzioni::salva);
    connect(cmdAnnulla, &QPushButton::clicked, this, &frmOpzioni::cmdAnnulla_Click);
    auto* aiuto = new QShortcut(QKeySequence::HelpContents, this);
    connect(aiuto, &QShortcut::activated, this, [this] { m_session.MostraAiuto(this, 18700); });

    carica();
}

void frmOpzioni::carica() {
    clsFileINI& ini = m_session.ini;
    const bool multi = ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo")) ==
                       QLatin1String("Multiutenza");
    (multi ? optMultiutenza : optLocale)->setChecked(true);
    txtDatabase->setText(ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database")));

    UserSettings& u = m_session.userSettings;
    txtEMail->setText(u.get(kEmail, QStringLiteral("Indirizzo e-mail...")));
    const QString server = u.get(kServerMail);
    txtMioServ->setVisible(false);
    if (server == m_serverConsigliato) {
        optServVRD->setChecked(true);
    } else if (server == m_serverInterno) {
        optServVRDINT->setChecked(true);
    } else if (!server.isEmpty()) {
        optMioServ->setChecked(true);
        txtMioServ->setText(server);
    }
    lblUltimoAgg->setText(lblUltimoAgg->text() + QStringLiteral("  ") +
                          u.get(QStringLiteral("LastUpdate"), QStringLiteral("__/__/____")));
    ckSottolinea->setChecked(attiva(u.get(QStringLiteral("OptSottolinea"), QStringLiteral("0"))));
    ckAumenta->setChecked(attiva(u.get(QStringLiteral("OptAumenta"), QStringLiteral("0"))));
    ckCambia->setChecked(attiva(u.get(QStringLiteral("OptCambia"), QStringLiteral("1"))));
    m_changed = m_installChanged = false;
}

bool frmOpzioni::salva() {
    ui::Interaction& ui = m_session.ui;
    if (m_installChanged) {
        // Both keys in one replacement of the file; a failed write stops the save.
        clsFileINI& ini = m_session.ini;
        const QString tipo = optMultiutenza->isChecked() ? QStringLiteral("Multiutenza")
                                                         : QStringLiteral("StandAlone");
        if (!ini.scriviTutte(
                {{QStringLiteral("Installazione"), QStringLiteral("Tipo"), tipo},
                 {QStringLiteral("BaseDati"), QStringLiteral("Database"), txtDatabase->text()}})) {
            mostraErrore(ui, this, Errore{75, ini.UltimoErrore()}, kSalvataggio);
            return false;
        }
    }
    if (!ValidateEmailBox(txtEMail, ui, this))
        return false;
    UserSettings& u = m_session.userSettings;
    u.set(kEmail, txtEMail->text());
    if (optServVRD->isChecked()) {
        u.set(kServerMail, m_serverConsigliato);
    } else if (optServVRDINT->isChecked()) {
        u.set(kServerMail, m_serverInterno);
    } else if (optMioServ->isChecked()) {
        if (txtMioServ->text().isEmpty()) {
            ui.message(this, QStringLiteral("Indicare l'indirizzo del proprio server di posta."),
                       kSalvataggio, Icon::Critical);
            txtMioServ->setFocus();
            return false;
        }
        u.set(kServerMail, txtMioServ->text());
    }
    if (m_installChanged) {
        ui.message(this,
                   QStringLiteral("Sono state modificate delle impostazioni di installazione.\n"
                                  "E' necessario riavviare l'applicativo."),
                   kSalvataggio, Icon::Information);
        m_changed = m_installChanged = false;
        done(QDialog::Accepted);
        m_session.endProgram(); // closes CorsiDB
    }
    u.set(QStringLiteral("OptSottolinea"), valore01(ckSottolinea->isChecked()));
    u.set(QStringLiteral("OptAumenta"), valore01(ckAumenta->isChecked()));
    u.set(QStringLiteral("OptCambia"), valore01(ckCambia->isChecked()));
    m_session.preferenze.sottolinea = ckSottolinea->isChecked();
    m_session.preferenze.grassetto = ckAumenta->isChecked();
    m_session.preferenze.cambiaColore = ckCambia->isChecked();
    m_changed = m_installChanged = false;
    done(QDialog::Accepted);
    return true;
}

void frmOpzioni::cmdAnnulla_Click() {
    if (m_changed && m_session.ui.message(this, QStringLiteral("Salvare le modifiche effettuate?"),
                                          QStringLiteral("Salvataggio"), Icon::Question,
                                          ui::Buttons::YesNo) == ui::Answer::Yes) {
        salva();
        return;
    }
    done(QDialog::Rejected);
}

void frmOpzioni::reject() {
    cmdAnnulla_Click();
}

void frmOpzioni::cmdSfoglia_Click() {
    ui::FileDialog d;
    d.caption = QStringLiteral("Scegli il database");
    d.folder = m_session.CartellaProgramma;
    d.filter = QStringLiteral("Database Microsoft Access (*.mdb)");
    const QString scelto = m_session.ui.chooseFile(this, d);
    if (!scelto.isEmpty())
        txtDatabase->setText(QDir::toNativeSeparators(scelto));
}

// ---------------------------------------------------------------------------

FrmProxy::FrmProxy(Session& session, QWidget* parent) : QDialog(parent), m_session(session) {
    setObjectName(QStringLiteral("FrmProxy"));
    setWindowTitle(QStringLiteral("Impostazione Proxy"));
    optProxy0 = nominato(new QRadioButton(QStringLiteral("Utilizza un server Proxy")),
                         QStringLiteral("optProxy0"));
    optProxy1 = nominato(
        new QRadioButton(QStringLiteral("Impostazioni correnti di Windows (scelta consigliata)")),
        QStringLiteral("optProxy1"));
    txtproxy = nominato(new QLineEdit, QStringLiteral("txtproxy"));
    TxtPorta = nominato(new QLineEdit, QStringLiteral("TxtPorta"));
    CmdControlla = nominato(new QPushButton(QStringLiteral("Analizza Connessione")),
                            QStringLiteral("CmdControlla"));
    // Image buttons: raised (highlighted) while the mouse is over them.
    ImgOk = nominato(new QToolButton, QStringLiteral("ImgOk"));
    ImgOk->setIcon(QIcon(QStringLiteral(":/images/invia.svg")));
    ImgOk->setToolTip(QStringLiteral("Salva le impostazioni"));
    ImgAnn = nominato(new QToolButton, QStringLiteral("ImgAnn"));
    ImgAnn->setIcon(QIcon(QStringLiteral(":/images/esci.svg")));
    ImgAnn->setToolTip(QStringLiteral("Esci"));
    for (QToolButton* b : {ImgOk, ImgAnn}) {
        b->setAutoRaise(true);
        b->setIconSize(QSize(32, 32));
    }

    auto* campi = new QFormLayout;
    campi->addRow(QStringLiteral("Indirizzo:"), txtproxy);
    campi->addRow(QStringLiteral("Porta:"), TxtPorta);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(CmdControlla);
    pulsanti->addStretch();
    pulsanti->addWidget(ImgOk);
    pulsanti->addWidget(ImgAnn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optProxy0);
    layout->addLayout(campi);
    layout->addWidget(optProxy1);
    layout->addLayout(pulsanti);

    txtproxy->setText(m_session.userSettings.get(QStringLiteral("Proxy")));
    TxtPorta->setText(m_session.userSettings.get(QStringLiteral("Porta")));
    (txtproxy->text().isEmpty() ? optProxy1 : optProxy0)->setChecked(true);
    scelta();

    connect(optProxy0, &QRadioButton::toggled, this, [this] {
        scelta();
        if (optProxy0->isChecked())
            txtproxy->setFocus();
    });
    connect(ImgOk, &QToolButton::clicked, this, &FrmProxy::ImgOk_Click);
    connect(ImgAnn, &QToolButton::clicked, this, &QDialog::reject);
    connect(CmdControlla, &QPushButton::clicked, this, &FrmProxy::CmdControlla_Click);
    auto* aiuto = new QShortcut(QKeySequence::HelpContents, this);
    connect(aiuto, &QShortcut::activated, this,
            [this] { m_session.MostraAiuto(this, m_session.helpTopic(12000)); });
}

void FrmProxy::scelta() {
    txtproxy->setEnabled(optProxy0->isChecked());
    TxtPorta->setEnabled(optProxy0->isChecked());
}

void FrmProxy::ImgOk_Click() {
    UserSettings& u = m_session.userSettings;
    if (optProxy0->isChecked()) {
        const QString errore =
            TxtPorta->text().isEmpty() ? QStringLiteral("Specificare una porta per il server Proxy")
            : txtproxy->text().isEmpty() ? QStringLiteral("Specificare un server Proxy")
                                         : QString();
        if (!errore.isEmpty()) {
            m_session.ui.message(this, errore, QStringLiteral("PROXY"), Icon::Critical);
            return;
        }
        u.set(QStringLiteral("Proxy"), txtproxy->text());
        u.set(QStringLiteral("Porta"), TxtPorta->text());
    } else {
        u.set(QStringLiteral("Proxy"), QString());
        u.set(QStringLiteral("Porta"), QString());
    }
    accept();
}

void FrmProxy::CmdControlla_Click() {
    const assistenza::StatoConnessione stato = assistenza::statoConnessione();
    const QString titolo = QStringLiteral("Verifica Connessione");
    if (stato.modem)
        m_session.ui.message(this,
                             QStringLiteral("La connessione ad Internet avviene tramite Modem."),
                             titolo, Icon::Information);
    if (stato.proxy)
        m_session.ui.message(
            this, QStringLiteral("La connessione ad Internet avviene tramite un Server Proxy. "),
            titolo, Icon::Information);
}

} // namespace maint
