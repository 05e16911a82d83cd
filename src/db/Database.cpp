#include "db/Database.h"

#include "core/FileSicuro.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace db {

namespace {

// Cipher parameters are set explicitly, so that a later engine version still
// opens the files written by this one.
const char* const kCipherSettings = "PRAGMA cipher_page_size = 1024;"
                                    "PRAGMA kdf_iter = 64000;"
                                    "PRAGMA cipher_use_hmac = ON;"
                                    "PRAGMA cipher_hmac_algorithm = HMAC_SHA1;"
                                    "PRAGMA cipher_kdf_algorithm = PBKDF2_HMAC_SHA1;";

// The cipher settings for an attached database: the same pragmas under its name.
QByteArray cipherSettingsFor(const char* schema) {
    QByteArray settings(kCipherSettings);
    settings.replace("PRAGMA ", QByteArray("PRAGMA ") + schema + '.');
    return settings;
}

// Page size of the encrypted file: every file of this program is a whole
// number of pages.
constexpr qint64 kPageSize = 1024;

// Tables every database of this program holds.
const char* const kProgramTables[] = {"Installazione", "CorsiOper", "CorsiApprovati",
                                      "KELDCorsiDef", "KELDAnagFreq"};

QString errorText(sqlite3* handle, int rc) {
    if (handle)
        return QString::fromUtf8(sqlite3_errmsg(handle));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

// Text reduced to its letters: accents dropped, letter case folded.
QString baseLetters(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString base;
    base.reserve(decomposed.size());
    for (const QChar ch : decomposed)
        if (ch.category() != QChar::Mark_NonSpacing)
            base += ch;
    return base.toCaseFolded();
}

int sign(int value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Collation ITALIANO: text compared without regard to letter case, accented
// letters included ("QUALITÀ" equals "qualità", "de Santis" sorts before
// "Verdi", "Èrcoli" before "Rossi"); words that differ only by an accent sort
// the plain letter first.
int collateItaliano(void*, int length1, const void* text1, int length2, const void* text2) {
    const QString a = QString::fromUtf8(static_cast<const char*>(text1), length1);
    const QString b = QString::fromUtf8(static_cast<const char*>(text2), length2);
    if (const int byLetters = baseLetters(a).compare(baseLetters(b)))
        return sign(byLetters);
    return sign(a.compare(b, Qt::CaseInsensitive));
}

QString argumentText(sqlite3_value* value) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                             sqlite3_value_bytes(value));
}

// CONTIENE(text, part): 1 when text holds part as plain characters (no
// wildcards), letter case ignored as in ITALIANO; Null when either is Null.
void contieneFunc(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QString text = argumentText(argv[0]);
    const QString part = argumentText(argv[1]);
    sqlite3_result_int(context, text.contains(part, Qt::CaseInsensitive) ? 1 : 0);
}

} // namespace

QByteArray cipherSettings() {
    return kCipherSettings;
}

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

void Connection::proveProgramDatabase() {
    // Reading the catalogue proves the key: a wrong one, or a file that is not
    // a database, fails here, before anything is written.
    sqlite3_stmt* stmt = nullptr;
    int rc =
        sqlite3_prepare_v2(m_db, "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=?",
                           -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        throw lastError(rc);
    for (const char* table : kProgramTables) {
        sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
        rc = sqlite3_step(stmt);
        const bool present = rc == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 1;
        if (rc != SQLITE_ROW) {
            const DbError error = lastError(rc);
            sqlite3_finalize(stmt);
            throw error;
        }
        sqlite3_reset(stmt);
        if (!present) {
            sqlite3_finalize(stmt);
            throw DbError(SQLITE_NOTADB,
                          QStringLiteral("Il file non è una base dati di KORVADIN: manca la "
                                         "tabella %1.")
                              .arg(QString::fromLatin1(table)));
        }
    }
    sqlite3_finalize(stmt);
}

void Connection::open(const QString& path, const QString& key, OpenMode mode) {
    close();
    const QFileInfo info(path);
    if (!info.isFile())
        throw DbError(SQLITE_CANTOPEN,
                      QStringLiteral("Impossibile aprire il file della base dati: %1").arg(path));
    // An empty file, or one that cannot hold whole pages, is no database of
    // this program; the engine would take it for a new database.
    if (info.size() == 0 || info.size() % kPageSize != 0)
        throw DbError(SQLITE_NOTADB,
                      QStringLiteral("Il file non è una base dati di KORVADIN: %1").arg(path));
    if (!m_lock.prendi(path, mode == OpenMode::Exclusive ? BloccoInstallazione::Tipo::Esclusivo
                                                         : BloccoInstallazione::Tipo::Condiviso))
        throw DbError(m_lock.inUso() ? SQLITE_BUSY : SQLITE_CANTOPEN,
                      m_lock.motivo() + QStringLiteral("\n") + path);
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    // Never SQLITE_OPEN_CREATE: the program does not create its database.
    int rc = sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    try {
        if (rc != SQLITE_OK)
            throw lastError(rc);
        sqlite3_extended_result_codes(m_db, 1);
        applyKey(key);
        if (mode == OpenMode::Shared)
            sqlite3_busy_timeout(m_db, 5000);
        proveProgramDatabase();
        if (mode == OpenMode::Shared) {
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
        registerFunctions();
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_lock.rilascia();
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
    m_lock.rilascia();
}

void Connection::reopen(OpenMode mode) {
    const QString path = m_path;
    const QString key = m_key;
    const OpenMode previous = m_mode;
    close();
    try {
        open(path, key, mode);
    } catch (const DbError&) {
        try {
            open(path, key, previous);
        } catch (const DbError&) {
            // Left closed: the caller reports that the program cannot go on.
        }
        throw;
    }
}

void Connection::registerFunctions() {
    int rc = sqlite3_create_collation(m_db, "ITALIANO", SQLITE_UTF8, nullptr, collateItaliano);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(m_db, "CONTIENE", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                     nullptr, contieneFunc, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw lastError(rc);
}

bool Connection::isBusy(int number) {
    const int primary = number & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

void Connection::snapshotTo(const QString& destination) {
    if (!m_db)
        throw DbError(SQLITE_MISUSE, QStringLiteral("La connessione alla base dati è chiusa."));
    const QString target = QFileInfo(destination).absoluteFilePath();
    const QString temporary = target + QStringLiteral(".tmp");
    // Leftovers of a copy that was cut off.
    QFile::remove(temporary + QStringLiteral("-journal"));
    QFile::remove(temporary);
    {
        // The copy goes into a new empty file (the connection may not create files).
        // It holds the agency's data: the owner's alone (the group's too when
        // the database is shared with it).
        QFile empty(temporary);
        if (!empty.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
            !empty.setPermissions(
                fileSicuro::permessiDati(QString::fromUtf8(sqlite3_db_filename(m_db, "main")))))
            throw DbError(SQLITE_CANTOPEN, empty.errorString() + QStringLiteral(": ") + temporary);
    }
    bool attached = false;
    try {
        exec(QStringLiteral("ATTACH DATABASE ? AS copia KEY ?"), {temporary, m_key});
        attached = true;
        int rc =
            sqlite3_exec(m_db, cipherSettingsFor("copia").constData(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw lastError(rc);
        // One read transaction over the whole export: the copy shows the
        // database as one committed state, whoever writes meanwhile.
        execScript(QStringLiteral("BEGIN; SELECT count(*) FROM main.sqlite_master;"));
        scalar(QStringLiteral("SELECT sqlcipher_export('copia')"));
        exec(QStringLiteral("COMMIT"));
        exec(QStringLiteral("DETACH DATABASE copia"));
        attached = false;
    } catch (...) {
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        if (attached)
            sqlite3_exec(m_db, "DETACH DATABASE copia", nullptr, nullptr, nullptr);
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
        throw;
    }
    // Renaming replaces the old copy in one step: a reader (or a crash) sees
    // either the old copy or the new one.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(temporary).toStdString()),
                            std::filesystem::path(QFile::encodeName(target).toStdString()), ec);
    if (ec) {
        QFile::remove(temporary);
        throw DbError(ec == std::errc::permission_denied ? SQLITE_PERM : SQLITE_IOERR,
                      QString::fromLocal8Bit(ec.message().c_str()) + QStringLiteral(": ") + target);
    }
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

void Connection::create(const QString& path, const QString& key, const QString& script) {
    if (QFileInfo::exists(path))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("Il file esiste già: %1").arg(path));
    Connection connection;
    const QByteArray file = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    int rc = sqlite3_open_v2(file.constData(), &connection.m_db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = connection.lastError(rc);
        connection.close();
        throw error;
    }
    connection.applyKey(key);
    connection.m_path = path;
    connection.m_key = key;
    Transaction transaction(connection);
    connection.execScript(script);
    transaction.commit();
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    // The write lock is taken at the start, where the busy timeout still
    // applies: a transaction that first reads and then writes would otherwise
    // fail at once with "database is locked" when another workstation writes.
    m_connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
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
