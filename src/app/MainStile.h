#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

// Look shared by the main window's construction and its hover handling.
namespace mainstile {

// Glyphs of the calendar toggle: arrow down while the calendar is hidden.
inline const QString kFrecciaGiu = QStringLiteral("\u2193");
inline const QString kFrecciaSu = QStringLiteral("\u2191");
inline const QColor kBlu(0, 0, 255);
inline const QColor kRosso(255, 0, 0);
inline constexpr int kCorpoDidascalia = 9;

inline QFont fontDidascalia() {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(kCorpoDidascalia);
    return font;
}

inline void coloraTesto(QWidget* w, const QColor& colore) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colore);
    w->setPalette(pal);
}

} // namespace mainstile
