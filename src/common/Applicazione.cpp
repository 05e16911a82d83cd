#include "common/Applicazione.h"

#include "core/Interaction.h"

bool Applicazione::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const ui::FineProgramma&) {
        // The loops have been told to leave; whoever started the loop that
        // delivered this event unwinds on its return.
        return true;
    }
}
