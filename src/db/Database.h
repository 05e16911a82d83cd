#pragma once

#include "db/BloccoInstallazione.h"
#include "db/DbError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>
#include <memory>

struct sqlite3;

namespace db {

class Comando;
class Motore;

enum class OpenMode {
    Exclusive, // one process holds the file: the lock is taken while opening
    Shared     // several processes share the file (busy timeout, rollback journal)
};

// The storage engine of a connection: an encrypted SQLCipher file, or a
// database on a PostgreSQL server (always shared between workstations).
enum class TipoMotore { SQLCipher, PostgreSQL };

class Connection;

// The cipher pragmas every connection runs after its key: what another tool
// (the sqlcipher shell) needs to open this program's files.
QByteArray cipherSettings();

// One prepared statement. Values are always bound, never pasted into the SQL.
class Statement {
public:
    Statement(Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, const QVariant& value); // 1-based
    Statement& bindAll(const QVariantList& values);
    // Steps once; true while a row is available.
    bool next();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    int columnIndex(const QString& name) const; // case-insensitive, -1 when absent
    QVariant value(int column) const;           // Null comes back as an invalid QVariant
    QVariant value(const QString& name) const;

private:
    Connection& m_connection;
    std::unique_ptr<Comando> m_comando;
};

// One row of a query result, columns addressed by position or by name
// (names compared without regard to letter case).
class Row {
public:
    Row() = default;
    Row(QStringList names, QVariantList values)
        : m_names(std::move(names)), m_values(std::move(values)) {}
    QVariant value(int column) const { return m_values.value(column); }
    QVariant value(const QString& name) const;
    int size() const { return int(m_values.size()); }
    const QStringList& names() const { return m_names; }

private:
    QStringList m_names;
    QVariantList m_values;
};

// The connection to the database file. It can be closed and opened again in
// place, so that whoever holds a reference keeps working after a re-open.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database file of this program with its key, under the
    // installation lock of the mode (shared or exclusive). A file that is not
    // this program's database (empty, another kind of file, a database without
    // the program's tables, a wrong key) is refused and left exactly as it was.
    // Throws DbError.
    // A path that is a server address (see indirizzoServer) opens the database
    // on that server: its session holds the shared or exclusive advisory lock
    // of the mode, an empty database receives the program's tables, a database
    // with other tables is refused. The key is then the one of the copies.
    void open(const QString& path, const QString& key, OpenMode mode);
    void close();
    bool isOpen() const { return m_motore != nullptr; }
    QString path() const { return m_path; }
    OpenMode mode() const { return m_mode; }
    QString key() const { return m_key; }
    // Closes and opens again with the same file and key, in the given mode. When
    // that fails the connection is opened again in its previous mode and the
    // failure is thrown; isOpen() is false only when that failed too.
    void reopen(OpenMode mode);

    // Writes a consistent, encrypted copy of the database (same key and cipher
    // settings) to destination: the copy is taken under one read transaction
    // into destination + ".tmp", which replaces destination only when complete.
    // Destination is untouched on failure. Throws DbError.
    void snapshotTo(const QString& destination);

    // Runs one statement with bound values; returns the number of changed rows.
    int exec(const QString& sql, const QVariantList& values = {});
    // Runs a script of statements without values (schema creation).
    void execScript(const QString& script);
    QList<Row> query(const QString& sql, const QVariantList& values = {});
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& values = {});
    qint64 lastInsertRowId() const;

    // The SQLCipher handle; nullptr on a server connection.
    sqlite3* handle() const;
    DbError lastError(int rc) const;

    TipoMotore motore() const;
    // The engine's identity of a row of a table, in the order rows were added:
    // for "ORDER BY" and for "WHERE <idRiga> = ?".
    QString idRiga() const;
    // True while a transaction is open on the connection.
    bool inTransazione() const;
    // The program's tables, by name; the catalogue as (type, name, tbl_name,
    // sql) rows ordered by type and name.
    QStringList tabelle();
    QList<Row> catalogo();
    // "ok" when the engine finds the database sound, otherwise what is wrong.
    QString verificaIntegrita();
    // Version of the schema recorded in the database.
    int versioneSchema();
    // What the connection is on, for messages: the file, or the server and
    // database (never the password).
    QString descrizione() const;

    // The address of a database on a server, as path for open(): host (a
    // folder for a local socket), port, database, user and password.
    static QString indirizzoServer(const QString& host, int porta, const QString& nome,
                                   const QString& utente, const QString& password);
    static TipoMotore motoreDi(const QString& path);

    // Creates a new database file with the given key and runs the schema script
    // on it (used only by the project's tooling: the program itself never
    // creates its database).
    static void create(const QString& path, const QString& key, const QString& script);

    // Busy error codes: another connection holds the lock.
    static bool isBusy(int number);

private:
    friend class Statement;
    friend class Transaction;
    Motore& motoreAperto() const;
    BloccoInstallazione m_lock;
    std::unique_ptr<Motore> m_motore;
    QString m_path;
    QString m_key;
    OpenMode m_mode = OpenMode::Shared;
};

// Commits when commit() is called, rolls back otherwise.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

} // namespace db
