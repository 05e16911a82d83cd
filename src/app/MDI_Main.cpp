#include "app/MDI_Main.h"

#include "app/Main.h"
#include "core/Guardie.h"
#include "core/Session.h"

#include <QCloseEvent>
#include <QLinearGradient>
#include <QMdiArea>
#include <QMdiSubWindow>

MDI_Main::MDI_Main(Session& session, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_area(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MDI_Main"));
    setWindowTitle(QStringLiteral("KORVADIN  - fine corso"));
    m_area->setObjectName(QStringLiteral("sfondo"));
    QLinearGradient sfumatura(0, 0, 0, 900);
    sfumatura.setColorAt(0, QColor(112, 128, 168));
    sfumatura.setColorAt(1, QColor(64, 76, 112));
    m_area->setBackground(sfumatura);
    setCentralWidget(m_area);
    resize(1024, 640);
}

MDI_Main::~MDI_Main() {
    delete m_finestra;
}

void MDI_Main::caricaMain() {
    PuntatoreOccupato occupato(m_session.ui);
    m_main = new Main(m_session);
    m_finestra = m_area->addSubWindow(m_main, Qt::SubWindow | Qt::CustomizeWindowHint |
                                                  Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_finestra->setWindowIcon(QIcon(QStringLiteral(":/images/corsi.svg")));
    occupato.fine();
    // The frame is large enough for the whole main window.
    const QSize necessaria = m_finestra->sizeHint() + QSize(48, 48);
    const QSize attuale = m_area->viewport()->size();
    if (necessaria.width() > attuale.width() || necessaria.height() > attuale.height())
        resize(size() + necessaria.expandedTo(attuale) - attuale);
    m_main->show();
    centraMain();
    m_area->setActiveSubWindow(m_finestra);
    activateWindow();
    // Shown means activated, also where no window manager reports it.
    m_main->attiva();
}

void MDI_Main::centraMain() {
    if (!m_finestra)
        return;
    m_finestra->adjustSize();
    const QSize area = m_area->viewport()->size();
    m_finestra->move(qMax(0, (area.width() - m_finestra->width()) / 2),
                     qMax(0, (area.height() - m_finestra->height()) / 2));
}

void MDI_Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    centraMain();
}

// Closing the frame closes the main window, which ends the program after its
// exit steps.
void MDI_Main::closeEvent(QCloseEvent* event) {
    if (m_main)
        m_main->close();
    event->accept();
}
