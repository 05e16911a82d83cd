#pragma once

#include <QString>

class QLineEdit;
class QWidget;
namespace ui {
class Interaction;
}

namespace maint {

// Result of the e-mail address check: the number of the failing rule (0 when
// the address passes) and its message.
struct EsitoEmail {
    int regola = 0;
    QString messaggio;
    bool valido() const { return regola == 0; }
};

// The rules shared by every dialog that asks for the user's e-mail address,
// tried in order; the first failing one gives the message.
EsitoEmail controllaEmail(const QString& indirizzo);

// Checks the text of the box; on failure shows the message (title "Indirizzo
// e-mail", information icon), gives the focus back to the box and returns false.
bool ValidateEmailBox(QLineEdit* box, ui::Interaction& ui, QWidget* parent = nullptr);

} // namespace maint
