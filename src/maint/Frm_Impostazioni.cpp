#include "maint/Frm_Impostazioni.h"

#include "core/Cp1252.h"
#include "core/General.h"
#include "core/Session.h"
#include "maint/frmServerClient.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kAiuto = 15000;
constexpr int kLunghezzaMostrata = 55;
} // namespace

namespace maint {

QString percorsoAbbreviato(const QString& percorso) {
    if (percorso.size() <= kLunghezzaMostrata)
        return percorso;
    return percorso.left(kLunghezzaMostrata) + QStringLiteral("...");
}

std::optional<ImpostazioniScelte> chiediImpostazioni(Session& session, QWidget* parent) {
    Frm_Impostazioni dialog(session, parent);
    if (session.ui.runDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.scelte();
}

} // namespace maint

Frm_Impostazioni::Frm_Impostazioni(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_optLocale(new QRadioButton(QStringLiteral("Locale"))),
      m_optInRete(new QRadioButton(QStringLiteral("In rete"))), m_txtDatabase(new QLineEdit) {
    setObjectName(QStringLiteral("Frm_Impostazioni"));
    setWindowTitle(QStringLiteral("Impostazioni modalità di funzionamento"));
    m_optLocale->setObjectName(QStringLiteral("opt_Locale"));
    m_optInRete->setObjectName(QStringLiteral("opt_InRete"));
    m_txtDatabase->setObjectName(QStringLiteral("txtDatabase"));
    m_txtDatabase->setReadOnly(true);
    m_optLocale->setChecked(true);

    auto* spiegaModalita = new QLabel(QStringLiteral(
        "Scegliere la modalità di funzionamento: Indicare se la procedura sarà utilitzzata in "
        "ambiente locale o in rete (multiutenza). Le impostazioni potranno anche essere "
        "cambiate in un secondo momento."));
    spiegaModalita->setWordWrap(true);
    auto* modalita = new QGroupBox;
    auto* modalitaLayout = new QHBoxLayout(modalita);
    modalitaLayout->addWidget(m_optLocale);
    modalitaLayout->addWidget(m_optInRete);
    modalitaLayout->addStretch();

    auto* spiegaPercorso = new QLabel(QStringLiteral(
        "Indicare ora il percorso completo del database selezionandolo dalla relativa finestra "
        "di dialogo premendo il pulsante \"Sfoglia...\"."));
    spiegaPercorso->setWordWrap(true);
    auto* sfoglia = new QPushButton(QStringLiteral("Sfoglia..."));
    sfoglia->setObjectName(QStringLiteral("cmdSfoglia"));
    auto* percorso = new QHBoxLayout;
    percorso->addWidget(m_txtDatabase, 1);
    percorso->addWidget(sfoglia);

    auto* salva = new QPushButton(QStringLiteral("Salva"));
    salva->setObjectName(QStringLiteral("Cmd_Ok"));
    salva->setDefault(true);
    auto* esci = new QPushButton(QStringLiteral("Esci dall'installazione"));
    esci->setObjectName(QStringLiteral("cmdEsci"));
    auto* aiuto = new QPushButton(QStringLiteral("Help"));
    aiuto->setObjectName(QStringLiteral("cmdHelp"));
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(aiuto);
    pulsanti->addStretch();
    pulsanti->addWidget(salva);
    pulsanti->addWidget(esci);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(spiegaModalita);
    layout->addWidget(modalita);
    layout->addSpacing(8);
    layout->addWidget(spiegaPercorso);
    layout->addLayout(percorso);
    layout->addSpacing(8);
    layout->addLayout(pulsanti);
    setMinimumWidth(560);

    // The help file serves the help button and the whole application.
    m_fileAiuto = m_session.CartellaProgramma +
                  m_session.ini.leggi(QStringLiteral("Help"), QStringLiteral("FILEHELP"));
    m_session.fileAiuto = m_fileAiuto;

    connect(sfoglia, &QPushButton::clicked, this, &Frm_Impostazioni::sfoglia);
    connect(salva, &QPushButton::clicked, this, &Frm_Impostazioni::salva);
    connect(esci, &QPushButton::clicked, this, &Frm_Impostazioni::reject);
    const auto mostraAiuto = [this] {
        General::MostraAiuto(m_session.ui, this, m_fileAiuto, kAiuto);
    };
    connect(aiuto, &QPushButton::clicked, this, mostraAiuto);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            mostraAiuto);
}

void Frm_Impostazioni::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_attivato) {
        m_attivato = true;
        QTimer::singleShot(0, this, &Frm_Impostazioni::attiva);
    }
}

// On activation: the SERVER/CLIENT choice comes first when none was made.
// Leaving the choice ends the program, which unwinds from here.
void Frm_Impostazioni::attiva() {
    if (!m_session.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")).isEmpty())
        return;
    frmServerClient scelta(m_session, this);
    m_session.ui.runDialog(scelta);
}

void Frm_Impostazioni::sfoglia() {
    ui::FileDialog dialog;
    dialog.caption = QStringLiteral("Selezionare la base dati");
    dialog.folder = m_session.CartellaProgramma;
    dialog.filter = QStringLiteral("Database Microsoft Access (*.mdb *.MDB);;Tutti i file (*)");
    const QString scelto = m_session.ui.chooseFile(this, dialog);
    if (scelto.isEmpty())
        return;
    m_scelte.percorso = scelto;
    m_scelte.titolo = QFileInfo(scelto).fileName();
    m_txtDatabase->setText(maint::percorsoAbbreviato(scelto));
    m_txtDatabase->setToolTip(scelto.size() > kLunghezzaMostrata ? scelto : QString());
}

void Frm_Impostazioni::salva() {
    m_scelte.tipo =
        m_optInRete->isChecked() ? QStringLiteral("Multiutenza") : QStringLiteral("StandAlone");
    const auto errore = [this](const QString& testo) {
        m_session.ui.message(this, testo, QStringLiteral("Controllo dati"), ui::Icon::Critical);
    };
    if (m_txtDatabase->text().isEmpty()) {
        errore(QStringLiteral("Selezionare una base dati."));
        return;
    }
    if (m_scelte.titolo.right(3).toUpper() != QLatin1String("MDB")) {
        errore(QStringLiteral("Il file selezionato non è un database Microsoft Access."));
        return;
    }
    if (!QFileInfo(m_scelte.percorso).isFile()) {
        errore(QStringLiteral("File inesistente."));
        return;
    }
    // KORVADIN.INI is Windows-1252 text: a path with other characters would be
    // stored as "?" and never found again.
    if (!cp1252::rappresentabile(m_scelte.percorso)) {
        errore(QStringLiteral("Il percorso della base dati contiene caratteri che non possono "
                              "essere salvati nelle impostazioni del programma.\n"
                              "Spostare la base dati in una cartella il cui nome contenga solo "
                              "lettere, cifre e segni dell'alfabeto latino, quindi selezionarla "
                              "di nuovo."));
        return;
    }
    accept();
}

void Frm_Impostazioni::reject() {
    if (confermaUscitaInstallazione(m_session, this)) {
        QDialog::reject();
        m_session.endProgram();
    }
}
