#pragma once

class Session;
class QWidget;

namespace report {

// Opens the end-of-course form modally for the course chosen in the course list
// (session.CorsoSelezionato, session.corso).
void mostraFineCor(Session& session, QWidget* parent);

} // namespace report
