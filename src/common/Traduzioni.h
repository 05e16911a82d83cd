#pragma once

class QCoreApplication;

// Loads Qt's own Italian translations, so that standard buttons and dialogs read
// "Sì", "No", "Annulla", "OK", "Riprova" whatever the system language. True when
// they were found.
bool installaTraduzioniItaliane(QCoreApplication& app);
