#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Replacing a whole file so that a full disk, a failed write or a crash can
// never leave it half written or empty.
namespace fileSicuro {

// The permissions of a file that holds an agency's data: read and write for the
// owner only; the group keeps read and write when riferimento (the file being
// replaced or copied) grants it both, as a database shared by a group of users
// does. Nobody else.
QFileDevice::Permissions permessiDati(const QString& riferimento = QString());

// Writes bytes to a temporary file in the folder of path, forces them to the
// disk and then renames the temporary file over path in one step. On success
// path holds exactly bytes, with permessiDati(path); on failure path is
// untouched (or still absent), nothing else is left behind and errore, when
// given, says why.
bool sostituisci(const QString& path, const QByteArray& bytes, QString* errore = nullptr);

} // namespace fileSicuro
