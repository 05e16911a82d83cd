#pragma once

#include <QByteArray>
#include <QString>

// Replacing a whole file so that a full disk, a failed write or a crash can
// never leave it half written or empty.
namespace fileSicuro {

// Writes bytes to a temporary file in the folder of path, forces them to the
// disk and then renames the temporary file over path in one step. On success
// path holds exactly bytes; on failure path is untouched (or still absent),
// nothing else is left behind and errore, when given, says why.
bool sostituisci(const QString& path, const QByteArray& bytes, QString* errore = nullptr);

} // namespace fileSicuro
