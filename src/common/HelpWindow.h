#pragma once

#include <QDialog>

class QTextBrowser;

// The help viewer: the help file is an HTML page with one anchor per topic
// number ("<a name="20000">").
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void show(const QString& helpFile, int topic);

    // One help window for the whole program, raised at the requested topic.
    static void showTopic(QWidget* parent, const QString& helpFile, int topic);

private:
    QTextBrowser* m_browser;
};
