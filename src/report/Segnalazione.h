#pragma once

#include <QString>

class QWidget;

namespace report {

// The mark of a box that a check refused: a red glow around it, a pink ground and the check's
// message as tool tip, until the box's value changes (text, chosen item, or for a list its rows). A
// box marked again keeps one mark.
void segnala(QWidget* box, const QString& motivo);
void togliSegnalazione(QWidget* box);
bool segnalato(const QWidget* box);

} // namespace report
