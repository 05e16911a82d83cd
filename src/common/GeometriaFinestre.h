#pragma once

#include <QObject>
#include <QRect>

class UserSettings;
class QWidget;

// Places the program's windows on the screen: each form and the frame open
// where the user left them the last time (per user, in the per-user settings,
// key "Geometria_" + the form's name); the frame opens centred the first time.
// Whatever was remembered, a window always ends up whole inside the screen's
// available area (the taskbar left out), shrunk when it is larger.
// Installed on the application; message boxes and file dialogs are left to Qt.
class GeometriaFinestre : public QObject {
    Q_OBJECT
public:
    explicit GeometriaFinestre(UserSettings& impostazioni, QObject* parent = nullptr);

    // The rectangle (frame included) a window of this frame rectangle is moved
    // and shrunk to so that it lies whole inside the available area.
    static QRect dentro(const QRect& finestra, const QRect& disponibile);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool gestita(const QWidget* w);
    void mostrata(QWidget* w);
    void nascosta(QWidget* w);

    UserSettings& m_impostazioni;
};
