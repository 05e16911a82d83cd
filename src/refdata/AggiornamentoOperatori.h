#pragma once

#include <QString>

#include <functional>

class Session;
class QWidget;

namespace refdata {

// Updates the agency registry from the text files in the program folder, on the
// connection opened for exclusive use; true on success. The decoding tables
// dropped with their flag file are loaded first; avanzamento, when given, hears
// of every loaded record (table name and record counter, 0 when a table starts).
bool aggiornaDatiOperatori(
    Session& session, QWidget* parent,
    const std::function<void(const QString& tabella, int record)>& avanzamento = {});

} // namespace refdata
