#include "transmit/frmMailAggInst.h"

#include "core/Session.h"
#include "maint/ControlloEmail.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace transmit {

namespace {
const QString kPredefinito = QStringLiteral("Indirizzo e-mail...");
}

frmMailAggInst::frmMailAggInst(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_txtEMail(new QLineEdit) {
    setObjectName(QStringLiteral("frmMailAggInst"));
    setWindowTitle(QStringLiteral("Indirizzo di posta elettronica"));
    m_txtEMail->setObjectName(QStringLiteral("txtEMail"));
    m_txtEMail->installEventFilter(this);

    auto* testo = new QLabel(QStringLiteral("Indirizzo di E-mail:"));
    auto* conferma = new QToolButton;
    conferma->setObjectName(QStringLiteral("imgConferma"));
    conferma->setText(QStringLiteral("Conferma"));
    conferma->setToolTip(QStringLiteral("Conferma"));
    conferma->setIcon(QIcon(QStringLiteral(":/images/invia.svg")));
    conferma->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    conferma->setIconSize(QSize(32, 32));
    conferma->setAutoRaise(true);
    auto* annulla = new QToolButton;
    annulla->setObjectName(QStringLiteral("imgAnnulla"));
    annulla->setText(QStringLiteral("Annulla"));
    annulla->setToolTip(QStringLiteral("Annulla"));
    annulla->setIcon(QIcon(QStringLiteral(":/images/esci.svg")));
    annulla->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    annulla->setIconSize(QSize(32, 32));
    annulla->setAutoRaise(true);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(conferma);
    pulsanti->addWidget(annulla);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(testo);
    layout->addWidget(m_txtEMail);
    layout->addLayout(pulsanti);
    setMinimumWidth(380);

    connect(conferma, &QToolButton::clicked, this, &frmMailAggInst::conferma);
    connect(annulla, &QToolButton::clicked, this, &frmMailAggInst::reject);
    connect(m_txtEMail, &QLineEdit::returnPressed, this, &frmMailAggInst::conferma);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { m_session.MostraAiuto(this, m_session.helpTopic(18000)); });
}

bool frmMailAggInst::eventFilter(QObject* watched, QEvent* event) {
    // Filled when the box first gets the focus and whenever the user moves into it;
    // not when the focus only comes back after a message box, so that what the
    // user typed stays for correction.
    if (watched == m_txtEMail && event->type() == QEvent::FocusIn) {
        const auto motivo = static_cast<QFocusEvent*>(event)->reason();
        if (m_riempita && motivo != Qt::TabFocusReason && motivo != Qt::BacktabFocusReason &&
            motivo != Qt::MouseFocusReason && motivo != Qt::ShortcutFocusReason)
            return QDialog::eventFilter(watched, event);
        m_riempita = true;
        m_txtEMail->setText(m_session.userSettings.get(QStringLiteral("E-Mail"), kPredefinito));
        // Selected after the focus change has finished placing the cursor.
        QTimer::singleShot(0, m_txtEMail, [box = m_txtEMail] { box->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmMailAggInst::conferma() {
    if (!maint::ValidateEmailBox(m_txtEMail, m_session.ui, this))
        return;
    m_indirizzo = m_txtEMail->text();
    m_session.userSettings.set(QStringLiteral("E-Mail"), m_indirizzo);
    m_confermata = true;
    accept();
}

std::optional<QString> chiediEmail(Session& session, QWidget* parent) {
    frmMailAggInst dialogo(session, parent);
    session.ui.runDialog(dialogo);
    if (!dialogo.confermata())
        return std::nullopt;
    return dialogo.indirizzo();
}

} // namespace transmit
