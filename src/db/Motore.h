#pragma once

#include "db/Database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// The storage engines behind db::Connection. Nothing outside src/db includes
// this file: the rest of the program speaks to db::Connection alone, and what
// differs between the engines (SQL dialect, locks, catalogue, copies) is said
// here once per engine.
namespace db {

// Version of the schema this program knows; a database recorded with a newer
// one is refused.
constexpr int kVersioneSchema = 1;

// One prepared statement of an engine. Parameters are written "?" by the callers.
class Comando {
public:
    virtual ~Comando() = default;
    virtual void bind(int index, const QVariant& value) = 0; // 1-based
    virtual bool next() = 0;
    virtual void reset() = 0;
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual QVariant value(int column) const = 0;
};

// One open connection of an engine.
class Motore {
public:
    virtual ~Motore() = default;
    virtual std::unique_ptr<Comando> prepara(const QString& sql) = 0;
    // Rows changed by the last statement.
    virtual int changes() const = 0;
    virtual qint64 lastInsertRowId() const = 0;
    virtual void execScript(const QString& script) = 0;
    virtual bool inTransazione() const = 0;
    // Begins a transaction: a writing one holds the write lock from its start.
    virtual void inizia(bool scrittura) = 0;
    virtual void termina(bool conferma) = 0;
    // Writes an encrypted SQLCipher file of this program with the whole content.
    virtual void copiaCifrata(const QString& destinazione, const QString& chiave) = 0;
    virtual QString idRiga() const = 0;
    virtual QStringList tabelle() = 0;
    virtual QList<Row> catalogo() = 0;
    virtual QString verificaIntegrita() = 0;
    virtual int versioneSchema() = 0;
    virtual TipoMotore tipo() const = 0;
    virtual QString descrizione() const = 0;
    virtual sqlite3* handle() const { return nullptr; }
    virtual DbError errore(int rc) const = 0;
};

// Throws when the path is no file that can hold a database of this program.
void controllaFileSqlcipher(const QString& path);
std::unique_ptr<Motore> apriSqlcipher(const QString& path, const QString& key, OpenMode mode);
std::unique_ptr<Motore> creaSqlcipher(const QString& path, const QString& key);
std::unique_ptr<Motore> apriPostgres(const QString& indirizzo, OpenMode mode);

// The SQL text with its "?" numbered as "$1", "$2", ... (string literals, quoted
// names and comments left alone); the count of parameters in *numero.
QByteArray numeraParametri(const QString& sql, int* numero = nullptr);

// The schema script written for PostgreSQL: the same tables, columns, keys and
// checks, with the engine's own types.
QString schemaPostgres(const QString& script);

} // namespace db
