#include "db/Schema.h"

#include "db/Database.h"

#include <QFile>

namespace db {

QString schemaSql() {
    QFile file(QStringLiteral(":/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(1, QStringLiteral("Schema della base dati non disponibile."));
    return QString::fromUtf8(file.readAll());
}

void creaBaseDatiVuota(const QString& path, const QString& key) {
    Connection::create(path, key, schemaSql());
}

} // namespace db
