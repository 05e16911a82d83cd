#include "app/Main.h"

#include "app/Session.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>

Main::Main(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_lblGrOpe(new QLabel(this)),
      m_lblCodOpe(new QLabel(this)), m_lblDenOpe(new QLabel(this)) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("KORVADIN - fine corso - Ver. ") + Session::versione());
    m_lblGrOpe->setObjectName(QStringLiteral("lblGrOpe"));
    m_lblCodOpe->setObjectName(QStringLiteral("lblCodOpe"));
    m_lblDenOpe->setObjectName(QStringLiteral("lblDenOpe"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Op."), this));
    layout->addWidget(m_lblGrOpe);
    layout->addWidget(m_lblCodOpe);
    layout->addWidget(m_lblDenOpe);
    layout->addStretch();
    m_lblGrOpe->setText(session.OperatoreCorrente.GrupOpe);
    m_lblCodOpe->setText(QString::number(session.OperatoreCorrente.Operatore.toLongLong()));
    m_lblDenOpe->setText(QStringLiteral("-  ") + session.OperatoreCorrente.nome);
    resize(640, 120);
}

void Main::closeEvent(QCloseEvent* event) {
    event->accept();
    m_session.endProgram();
}
