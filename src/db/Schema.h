#pragma once

#include <QString>

namespace db {

class Connection;

// The schema of the delivered database, with the rows of its lookup tables.
QString schemaSql();

// Writes a new, empty delivered database file protected by the given key.
void creaBaseDatiVuota(const QString& path, const QString& key);

} // namespace db
