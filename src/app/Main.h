#pragma once

#include <QWidget>

class Session;
class QLabel;

// The main window of the program, shown over the application frame; closing it
// ends the program.
class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(Session& session, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Session& m_session;
    QLabel* m_lblGrOpe;
    QLabel* m_lblCodOpe;
    QLabel* m_lblDenOpe;
};
