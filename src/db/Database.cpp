#include "db/Database.h"

#include "core/FileSicuro.h"
#include "db/Motore.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

#include <filesystem>
#include <system_error>

namespace db {

namespace {

// Error numbers of the engine-neutral layer (the SQLite codes the program
// already reports).
constexpr int kMisuse = 21;
constexpr int kCantOpen = 14;
constexpr int kIoErr = 10;
constexpr int kPerm = 3;
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kNotADb = 26;

DbError chiusa() {
    return DbError(kMisuse, QStringLiteral("La connessione alla base dati è chiusa."));
}

} // namespace

// ---------------------------------------------------------------- Statement

Statement::Statement(Connection& connection, const QString& sql) : m_connection(connection) {
    m_comando = connection.motoreAperto().prepara(sql);
}

Statement::~Statement() = default;

Statement& Statement::bind(int index, const QVariant& value) {
    m_comando->bind(index, value);
    return *this;
}

Statement& Statement::bindAll(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values.at(i));
    return *this;
}

bool Statement::next() {
    return m_comando->next();
}

void Statement::run() {
    while (next()) {
    }
}

void Statement::reset() {
    m_comando->reset();
}

int Statement::columnCount() const {
    return m_comando->columnCount();
}

QString Statement::columnName(int column) const {
    return m_comando->columnName(column);
}

int Statement::columnIndex(const QString& name) const {
    for (int i = 0; i < columnCount(); ++i)
        if (columnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Statement::value(int column) const {
    return m_comando->value(column);
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

Connection::Connection() = default;

Connection::~Connection() {
    close();
}

Motore& Connection::motoreAperto() const {
    if (!m_motore)
        throw chiusa();
    return *m_motore;
}

sqlite3* Connection::handle() const {
    return m_motore ? m_motore->handle() : nullptr;
}

DbError Connection::lastError(int rc) const {
    return m_motore ? m_motore->errore(rc) : DbError(rc, QStringLiteral("Errore %1").arg(rc));
}

TipoMotore Connection::motoreDi(const QString& path) {
    return path.startsWith(QLatin1String("postgresql:"), Qt::CaseInsensitive) ||
                   path.startsWith(QLatin1String("postgres:"), Qt::CaseInsensitive)
               ? TipoMotore::PostgreSQL
               : TipoMotore::SQLCipher;
}

QString Connection::indirizzoServer(const QString& host, int porta, const QString& nome,
                                    const QString& utente, const QString& password) {
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("host"), host);
    query.addQueryItem(QStringLiteral("port"), QString::number(porta));
    query.addQueryItem(QStringLiteral("dbname"), nome);
    query.addQueryItem(QStringLiteral("user"), utente);
    if (!password.isEmpty())
        query.addQueryItem(QStringLiteral("password"), password);
    return QStringLiteral("postgresql:///?") + query.toString(QUrl::FullyEncoded);
}

TipoMotore Connection::motore() const {
    return motoreAperto().tipo();
}

QString Connection::idRiga() const {
    return motoreAperto().idRiga();
}

bool Connection::inTransazione() const {
    return motoreAperto().inTransazione();
}

QStringList Connection::tabelle() {
    return motoreAperto().tabelle();
}

QList<Row> Connection::catalogo() {
    return motoreAperto().catalogo();
}

QString Connection::verificaIntegrita() {
    return motoreAperto().verificaIntegrita();
}

int Connection::versioneSchema() {
    return motoreAperto().versioneSchema();
}

QString Connection::descrizione() const {
    return m_motore ? m_motore->descrizione() : m_path;
}

void Connection::open(const QString& path, const QString& key, OpenMode mode) {
    close();
    std::unique_ptr<Motore> motore;
    if (motoreDi(path) == TipoMotore::PostgreSQL) {
        motore = apriPostgres(path, mode);
    } else {
        controllaFileSqlcipher(path);
        if (!m_lock.prendi(path, mode == OpenMode::Exclusive
                                     ? BloccoInstallazione::Tipo::Esclusivo
                                     : BloccoInstallazione::Tipo::Condiviso))
            throw DbError(m_lock.inUso() ? kBusy : kCantOpen,
                          m_lock.motivo() + QStringLiteral("\n") + path);
        try {
            motore = apriSqlcipher(path, key, mode);
        } catch (...) {
            m_lock.rilascia();
            throw;
        }
    }
    const int versione = motore->versioneSchema();
    if (versione > kVersioneSchema) {
        motore.reset();
        m_lock.rilascia();
        throw DbError(kNotADb,
                      QStringLiteral("La base dati è stata aggiornata da una versione più "
                                     "recente di KORVADIN (schema %1, questo programma conosce "
                                     "lo schema %2): aggiornare il programma.\n%3")
                          .arg(versione)
                          .arg(kVersioneSchema)
                          .arg(motoreDi(path) == TipoMotore::PostgreSQL ? QString() : path));
    }
    m_motore = std::move(motore);
    m_path = path;
    m_key = key;
    m_mode = mode;
}

void Connection::close() {
    m_motore.reset();
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

bool Connection::isBusy(int number) {
    const int primary = number & 0xff;
    return primary == kBusy || primary == kLocked;
}

void Connection::snapshotTo(const QString& destination) {
    Motore& motore = motoreAperto();
    const QString target = QFileInfo(destination).absoluteFilePath();
    const QString temporary = target + QStringLiteral(".tmp");
    const auto permessi = fileSicuro::permessiDati(
        motore.tipo() == TipoMotore::SQLCipher ? QFileInfo(m_path).absoluteFilePath() : QString());
    // Leftovers of a copy that was cut off.
    QFile::remove(temporary + QStringLiteral("-journal"));
    QFile::remove(temporary);
    {
        // The copy goes into a new empty file (the connection may not create files).
        // It holds the agency's data: the owner's alone (the group's too when
        // the database file is shared with it).
        QFile empty(temporary);
        if (!empty.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
            !empty.setPermissions(permessi))
            throw DbError(kCantOpen, empty.errorString() + QStringLiteral(": ") + temporary);
    }
    try {
        motore.copiaCifrata(temporary, m_key);
        if (!QFile::setPermissions(temporary, permessi))
            throw DbError(kCantOpen, QStringLiteral("Permessi non impostati: ") + temporary);
    } catch (...) {
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
        throw DbError(ec == std::errc::permission_denied ? kPerm : kIoErr,
                      QString::fromLocal8Bit(ec.message().c_str()) + QStringLiteral(": ") + target);
    }
}

int Connection::exec(const QString& sql, const QVariantList& values) {
    Statement statement(*this, sql);
    statement.bindAll(values);
    statement.run();
    return m_motore->changes();
}

void Connection::execScript(const QString& script) {
    motoreAperto().execScript(script);
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
    return motoreAperto().lastInsertRowId();
}

void Connection::create(const QString& path, const QString& key, const QString& script) {
    Connection connection;
    connection.m_motore = creaSqlcipher(path, key);
    connection.m_path = path;
    connection.m_key = key;
    Transaction transaction(connection);
    connection.execScript(script);
    transaction.commit();
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.motoreAperto().inizia(true);
}

Transaction::~Transaction() {
    if (!m_done && m_connection.isOpen()) {
        try {
            m_connection.m_motore->termina(false);
        } catch (const DbError&) {
            // The rollback of a lost connection: nothing is left to undo.
        }
    }
}

void Transaction::commit() {
    m_connection.motoreAperto().termina(true);
    m_done = true;
}

} // namespace db
