#pragma once

#include <QMainWindow>
#include <QPointer>

class Session;
class Main;
class QMdiArea;
class QMdiSubWindow;

// The application frame: holds the main window of the program.
class MDI_Main : public QMainWindow {
    Q_OBJECT
public:
    explicit MDI_Main(Session& session, QWidget* parent = nullptr);
    ~MDI_Main() override;

    // Loads the main window under the busy pointer and shows it inside the frame.
    void caricaMain();
    Main* main() const { return m_main; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void centraMain();

    Session& m_session;
    QMdiArea* m_area;
    QPointer<Main> m_main;
    QPointer<QMdiSubWindow> m_finestra;
};
