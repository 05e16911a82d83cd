#pragma once

#include <QMainWindow>
#include <QPointer>

class Session;
class Main;

// The application frame: holds the main window of the program.
class MDI_Main : public QMainWindow {
    Q_OBJECT
public:
    explicit MDI_Main(Session& session, QWidget* parent = nullptr);
    ~MDI_Main() override;

    // Loads the main window under the busy pointer and shows it.
    void caricaMain();
    Main* main() const { return m_main; }

private:
    Session& m_session;
    QPointer<Main> m_main;
};
