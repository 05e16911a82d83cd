#include "db/Database.h"

#include <sqlite3.h>

#include <QFileInfo>

namespace db {

namespace {

// Cipher parameters are set explicitly, so that a later engine version still
// opens the files written by this one.
const char* const kCipherSettings = "PRAGMA cipher_page_size = 1024;"
                                    "PRAGMA kdf_iter = 64000;"
                                    "PRAGMA cipher_use_hmac = ON;"
                                    "PRAGMA cipher_hmac_algorithm = HMAC_SHA1;"
                                    "PRAGMA cipher_kdf_algorithm = PBKDF2_HMAC_SHA1;";

QString errorText(sqlite3* handle, int rc) {
    if (handle)
        return QString::fromUtf8(sqlite3_errmsg(handle));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

} // namespace

// ---------------------------------------------------------------- Statement

Statement::Statement(Connection& connection, const QString& sql)
    : m_connection(connection), m_sql(sql) {
    if (!connection.isOpen())
        throw DbError(SQLITE_MISUSE, QStringLiteral("La connessione alla base dati è chiusa."));
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(connection.handle(), utf8.constData(), int(utf8.size()),
                                      &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

void Statement::fail(int rc) const {
    throw m_connection.lastError(rc);
}

Statement& Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(m_stmt, index, bytes.constData(), int(bytes.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bindAll(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values.at(i));
    return *this;
}

bool Statement::next() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement is reset so that the error text belongs to this failure.
    const DbError error = m_connection.lastError(rc);
    sqlite3_reset(m_stmt);
    throw error;
}

void Statement::run() {
    while (next()) {
    }
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

int Statement::columnIndex(const QString& name) const {
    for (int i = 0; i < columnCount(); ++i)
        if (columnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Statement::value(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                              sqlite3_column_bytes(m_stmt, column)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt, column)),
                                   sqlite3_column_bytes(m_stmt, column)));
    default:
        return QVariant();
    }
}

QVariant Statement::value(const QString& name) const {
    const int index = columnIndex(name);
    return index < 0 ? QVariant() : value(index);
}

// ---------------------------------------------------------------- Row

QVariant Row::value(const QString& name) const {
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return m_values.value(i);
    return QVariant();
}

// ---------------------------------------------------------------- Connection

Connection::~Connection() {
    close();
}

DbError Connection::lastError(int rc) const {
    const int code = m_db ? sqlite3_extended_errcode(m_db) : rc;
    return DbError(code ? code : rc, errorText(m_db, rc));
}

void Connection::applyKey(const QString& key) {
    const QByteArray bytes = key.toUtf8();
    int rc = sqlite3_key(m_db, bytes.constData(), int(bytes.size()));
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, kCipherSettings, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw lastError(rc);
}

void Connection::open(const QString& path, const QString& key, OpenMode mode) {
    close();
    if (!QFileInfo(path).isFile())
        throw DbError(SQLITE_CANTOPEN,
                      QStringLiteral("Impossibile aprire il file della base dati: %1").arg(path));
    const QByteArray file = QFileInfo(path).absoluteFilePath().toUtf8();
    int rc = sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    try {
        if (rc != SQLITE_OK)
            throw lastError(rc);
        sqlite3_extended_result_codes(m_db, 1);
        applyKey(key);
        if (mode == OpenMode::Shared) {
            sqlite3_busy_timeout(m_db, 5000);
            // The file may sit on a network share: keep the rollback journal.
            rc = sqlite3_exec(m_db, "PRAGMA journal_mode = DELETE;", nullptr, nullptr, nullptr);
        } else {
            // Take the lock now: a second process must fail when it opens the
            // file, not at its first write.
            rc = sqlite3_exec(m_db,
                              "PRAGMA locking_mode = EXCLUSIVE;"
                              "PRAGMA journal_mode = DELETE;"
                              "BEGIN EXCLUSIVE; COMMIT;",
                              nullptr, nullptr, nullptr);
        }
        if (rc != SQLITE_OK)
            throw lastError(rc);
        // Reading the catalogue proves the key: a wrong one fails here.
        rc = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw lastError(rc);
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
    m_path = path;
    m_key = key;
    m_mode = mode;
}

void Connection::close() {
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Connection::reopen(OpenMode mode) {
    const QString path = m_path;
    const QString key = m_key;
    close();
    open(path, key, mode);
}

int Connection::exec(const QString& sql, const QVariantList& values) {
    Statement statement(*this, sql);
    statement.bindAll(values);
    statement.run();
    return sqlite3_changes(m_db);
}

void Connection::execScript(const QString& script) {
    if (!m_db)
        throw DbError(SQLITE_MISUSE, QStringLiteral("La connessione alla base dati è chiusa."));
    const QByteArray utf8 = script.toUtf8();
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, utf8.constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        throw DbError(rc, text);
    }
}

QList<Row> Connection::query(const QString& sql, const QVariantList& values) {
    Statement statement(*this, sql);
    statement.bindAll(values);
    QStringList names;
    for (int i = 0; i < statement.columnCount(); ++i)
        names << statement.columnName(i);
    QList<Row> rows;
    while (statement.next()) {
        QVariantList row;
        row.reserve(names.size());
        for (int i = 0; i < names.size(); ++i)
            row << statement.value(i);
        rows << Row(names, row);
    }
    return rows;
}

QVariant Connection::scalar(const QString& sql, const QVariantList& values) {
    Statement statement(*this, sql);
    statement.bindAll(values);
    return statement.next() ? statement.value(0) : QVariant();
}

qint64 Connection::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(m_db);
}

void Connection::create(const QString& path, const QString& key) {
    if (QFileInfo::exists(path))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("Il file esiste già: %1").arg(path));
    Connection connection;
    const QByteArray file = QFileInfo(path).absoluteFilePath().toUtf8();
    int rc = sqlite3_open_v2(file.constData(), &connection.m_db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = connection.lastError(rc);
        connection.close();
        throw error;
    }
    connection.applyKey(key);
    connection.m_path = path;
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.exec(QStringLiteral("BEGIN"));
}

Transaction::~Transaction() {
    if (!m_done && m_connection.isOpen())
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    m_connection.exec(QStringLiteral("COMMIT"));
    m_done = true;
}

} // namespace db
