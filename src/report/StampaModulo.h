#pragma once

#include "report/RegoleCorso.h"

#include <functional>
#include <optional>

class QPushButton;
class QWidget;
class Session;

namespace report {

// Prints the end-of-course module of the course through the print preview of
// the interaction service. scheda, when given, is the report as the form shows
// it now. archivia keeps the PDF under "Trasmissioni" in the program folder
// first; a folder that cannot be written is reported and the preview still
// follows. Nothing is written in the database.
void stampaModulo(Session& session, QWidget* parent, qint32 idAttivita,
                  const std::optional<DatiScheda>& scheda, bool archivia);

// The button of the end-of-course form that prints the report as it stands.
QPushButton* pulsanteStampaModulo(Session& session, qint32 idAttivita,
                                  std::function<DatiScheda()> scheda, QWidget* parent);

} // namespace report
