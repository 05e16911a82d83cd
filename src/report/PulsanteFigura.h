#pragma once

#include <QString>

class QBoxLayout;
class QPixmap;
class QToolButton;
class QWidget;

namespace report {

// A picture button of the end-of-course form, with its caption label under it
// ("lbl" + the name after "cmd"), shown only while the mouse is over the button.
// The button and its caption are added as one column to the row.
QToolButton* pulsanteFigura(QWidget* form, QBoxLayout* riga, const QString& nome,
                            const QString& testo, const QPixmap& figura,
                            const QString& suggerimento);

} // namespace report
