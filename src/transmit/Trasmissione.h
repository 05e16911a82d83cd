#pragma once

class Session;
class QWidget;

namespace transmit {

// Opens the transmission form modally for the course chosen in the course list.
void mostraTrasmis(Session& session, QWidget* parent);

} // namespace transmit
