#pragma once

#include "core/Interaction.h"

#include <QString>

namespace db {
class DbError;
}

// A failed operation as the program reports it: the error number and its
// description, shown as "Errore " + number + line break + description under a
// title that names the operation.
struct Errore {
    int numero = 0;
    QString descrizione;

    static Errore da(const db::DbError& e);
    // "Errore <numero>\n<descrizione>".
    QString testo() const;
    // "Errore <numero> -> <descrizione>", the one-line form of the exit copy.
    QString testoSuUnaRiga() const;
};

// Shows the failure under the title of the operation; the icon is the error one
// unless another is given.
void mostraErrore(ui::Interaction& ui, QWidget* parent, const Errore& errore, const QString& titolo,
                  ui::Icon icona = ui::Icon::Critical);
