#include "maint/ControlloEmail.h"

#include "core/Interaction.h"

#include <QLineEdit>

namespace maint {

bool ValidateEmailBox(QLineEdit* box, ui::Interaction& ui, QWidget* parent) {
    const EsitoEmail esito = controllaEmail(box->text());
    if (esito.valido())
        return true;
    ui.message(parent ? parent : box->window(), esito.messaggio, QStringLiteral("Indirizzo e-mail"),
               ui::Icon::Information);
    box->setFocus();
    return false;
}

} // namespace maint
