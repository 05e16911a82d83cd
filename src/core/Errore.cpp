#include "core/Errore.h"

#include "db/DbError.h"

Errore Errore::da(const db::DbError& e) {
    return {e.number(), e.description()};
}

QString Errore::testo() const {
    return QStringLiteral("Errore %1\n%2").arg(numero).arg(descrizione);
}

QString Errore::testoSuUnaRiga() const {
    return QStringLiteral("Errore %1 -> %2").arg(numero).arg(descrizione);
}

void mostraErrore(ui::Interaction& ui, QWidget* parent, const Errore& errore, const QString& titolo,
                  ui::Icon icona) {
    ui.message(parent, errore.testo(), titolo, icona);
}
