#include "common/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Guida di KORVADIN"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setOpenExternalLinks(true);
    resize(640, 520);
}

void HelpWindow::show(const QString& helpFile, int topic) {
    QUrl url = QUrl::fromLocalFile(helpFile);
    if (m_browser->source() != url)
        m_browser->setSource(url);
    m_browser->scrollToAnchor(QString::number(topic));
    QDialog::show();
    raise();
    activateWindow();
}

void HelpWindow::showTopic(QWidget* parent, const QString& helpFile, int topic) {
    static QPointer<HelpWindow> window;
    if (!window) {
        window = new HelpWindow(parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show(helpFile, topic);
}
