#include "maint/frmServerClient.h"

#include "core/Session.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

frmServerClient::frmServerClient(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_optServer(new QRadioButton(QStringLiteral("SERVER"))),
      m_optClient(new QRadioButton(QStringLiteral("CLIENT"))) {
    setObjectName(QStringLiteral("frmServerClient"));
    setWindowTitle(QStringLiteral("Versione dell'applicativo"));
    m_optServer->setObjectName(QStringLiteral("optServer"));
    m_optClient->setObjectName(QStringLiteral("optClient"));

    auto* titolo =
        new QLabel(QStringLiteral("Scegliere il tipo di installazione: SERVER o CLIENT"));
    QFont bold = titolo->font();
    bold.setBold(true);
    titolo->setFont(bold);
    auto* spiegazione = new QLabel(QStringLiteral(
        "L'installazione SERVER installa e aggiorna la base dati. Le installazioni CLIENT si "
        "collegano alla base dati del SERVER e possono elaborarne i dati, ma non aggiornarla.\n"
        "Un'installazione locale deve scegliere SERVER."));
    spiegazione->setWordWrap(true);

    // Both options start cleared: the user has to choose.
    auto* gruppo = new QButtonGroup(this);
    gruppo->setExclusive(false);
    gruppo->addButton(m_optServer);
    gruppo->addButton(m_optClient);
    m_optServer->setChecked(false);
    m_optClient->setChecked(false);
    gruppo->setExclusive(true);

    auto* opzioni = new QGroupBox;
    auto* opzioniLayout = new QHBoxLayout(opzioni);
    opzioniLayout->addWidget(m_optServer);
    opzioniLayout->addWidget(m_optClient);
    opzioniLayout->addStretch();

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* annulla = new QPushButton(QStringLiteral("Annulla"));
    annulla->setObjectName(QStringLiteral("cmdAnnulla"));
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(ok);
    pulsanti->addWidget(annulla);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titolo);
    layout->addWidget(spiegazione);
    layout->addWidget(opzioni);
    layout->addLayout(pulsanti);
    setMinimumWidth(460);

    connect(ok, &QPushButton::clicked, this, &frmServerClient::conferma);
    connect(annulla, &QPushButton::clicked, this, &frmServerClient::reject);
    auto* aiuto = new QShortcut(QKeySequence::HelpContents, this);
    connect(aiuto, &QShortcut::activated, this, [this] { m_session.MostraAiuto(this, 15000); });
}

void frmServerClient::conferma() {
    if (!m_optServer->isChecked() && !m_optClient->isChecked()) {
        m_session.ui.message(this,
                             QStringLiteral("Scegliere la versione dell'applicativo: SERVER o "
                                            "CLIENT"),
                             QStringLiteral("Controllo dati"), ui::Icon::Critical);
        return;
    }
    const QString versione =
        m_optServer->isChecked() ? QStringLiteral("SERVER") : QStringLiteral("CLIENT");
    // The choice is written first: when the file cannot take it nothing has
    // been renamed yet and the dialog stays open.
    if (!m_session.ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"),
                              versione)) {
        m_session.ui.message(this,
                             QStringLiteral("Non è stato possibile salvare la versione "
                                            "dell'applicativo nel file KORVADIN.INI.\n") +
                                 m_session.ini.UltimoErrore(),
                             QStringLiteral("Installazione"), ui::Icon::Critical);
        return;
    }
    m_versione = versione;
    if (m_versione == QLatin1String("CLIENT"))
        rinominaFileClient();
    accept();
}

// A client never installs or updates the database from the shipped files: they
// are set aside under another extension. A file that is missing or already
// renamed is skipped.
void frmServerClient::rinominaFileClient() {
    const QList<QPair<QString, QString>> nomi = {
        {QStringLiteral("KORVADIN.mdb"), QStringLiteral("KORVADIN.cli")},
        {QStringLiteral("oper.tx1"), QStringLiteral("oper.cli")},
        {QStringLiteral("compo.tx1"), QStringLiteral("compo.cli")},
        {QStringLiteral("sediocc.tx1"), QStringLiteral("sediocc.cli")},
        {QStringLiteral("sediutil.tx1"), QStringLiteral("sediutil.cli")},
    };
    for (const auto& [da, a] : nomi) {
        const QString origine = m_session.file(da);
        if (QFile::exists(origine) && !QFile::exists(m_session.file(a)))
            QFile::rename(origine, m_session.file(a));
    }
}

bool confermaUscitaInstallazione(Session& session, QWidget* parent) {
    return session.ui.message(parent,
                              QStringLiteral("Si è sicuri di voler interrompere l'installazione?"),
                              QStringLiteral("Installazione"), ui::Icon::None,
                              ui::Buttons::YesNo) == ui::Answer::Yes;
}

void frmServerClient::reject() {
    if (confermaUscitaInstallazione(m_session, this)) {
        QDialog::reject();
        m_session.endProgram();
    }
}
