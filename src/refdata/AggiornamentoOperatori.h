#pragma once

class Session;
class QWidget;

namespace refdata {

// Updates the agency registry from the text files in the program folder, on the
// connection opened for exclusive use; true on success.
bool aggiornaDatiOperatori(Session& session, QWidget* parent);

} // namespace refdata
