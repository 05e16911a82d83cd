#include "report/PulsanteFigura.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QToolButton>

namespace report {

namespace {

// Shows the caption while the mouse is over the button.
class Didascalia : public QObject {
public:
    Didascalia(QLabel* etichetta, QObject* parent) : QObject(parent), m_etichetta(etichetta) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
            m_etichetta->setVisible(event->type() == QEvent::Enter);
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* m_etichetta;
};

} // namespace

QToolButton* pulsanteFigura(QWidget* form, QBoxLayout* riga, const QString& nome,
                            const QString& testo, const QPixmap& figura,
                            const QString& suggerimento) {
    auto* pulsante = new QToolButton(form);
    pulsante->setObjectName(nome);
    pulsante->setText(testo);
    pulsante->setAccessibleName(testo.trimmed());
    pulsante->setToolTip(suggerimento);
    pulsante->setIcon(QIcon(figura));
    pulsante->setIconSize(QSize(32, 32));
    pulsante->setFixedSize(48, 48);
    pulsante->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Clicking takes the focus, so the box being left completes its text first.
    pulsante->setFocusPolicy(Qt::StrongFocus);
    auto* didascalia = new QLabel(testo, form);
    didascalia->setObjectName(QStringLiteral("lbl") + nome.mid(3));
    QSizePolicy politica = didascalia->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    didascalia->setSizePolicy(politica);
    didascalia->hide();
    pulsante->installEventFilter(new Didascalia(didascalia, pulsante));
    auto* colonna = new QVBoxLayout;
    colonna->addWidget(pulsante, 0, Qt::AlignHCenter);
    colonna->addWidget(didascalia, 0, Qt::AlignHCenter);
    riga->addLayout(colonna);
    return pulsante;
}

} // namespace report
