#include "app/MDI_Main.h"

#include "app/Main.h"
#include "app/Session.h"

#include <QLabel>

MDI_Main::MDI_Main(Session& session, QWidget* parent) : QMainWindow(parent), m_session(session) {
    setObjectName(QStringLiteral("MDI_Main"));
    setWindowTitle(QStringLiteral("KORVADIN  - fine corso"));
    auto* sfondo = new QLabel(this);
    sfondo->setObjectName(QStringLiteral("sfondo"));
    sfondo->setAutoFillBackground(true);
    QPalette pal = sfondo->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 160));
    sfondo->setPalette(pal);
    setCentralWidget(sfondo);
    resize(1024, 720);
}

MDI_Main::~MDI_Main() {
    delete m_main;
}

void MDI_Main::caricaMain() {
    m_session.ui.setBusy(true);
    m_main = new Main(m_session, this);
    m_session.ui.setBusy(false);
    m_main->show();
}
