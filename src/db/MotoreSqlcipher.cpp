// The SQLCipher engine: an encrypted SQLite file of this program.
#include "db/Motore.h"

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

class ComandoSqlite : public Comando {
public:
    ComandoSqlite(const Motore& motore, sqlite3* db, const QString& sql) : m_motore(motore) {
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr);
        if (rc != SQLITE_OK)
            throw m_motore.errore(rc);
    }
    ~ComandoSqlite() override { sqlite3_finalize(m_stmt); }

    void bind(int index, const QVariant& value) override {
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
            throw m_motore.errore(rc);
    }

    bool next() override {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        // The statement is reset so that the error text belongs to this failure.
        const DbError error = m_motore.errore(rc);
        sqlite3_reset(m_stmt);
        throw error;
    }

    void reset() override {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

    int columnCount() const override { return sqlite3_column_count(m_stmt); }
    QString columnName(int column) const override {
        return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
    }

    QVariant value(int column) const override {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(m_stmt, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_stmt, column));
        case SQLITE_TEXT:
            return QVariant(QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                sqlite3_column_bytes(m_stmt, column)));
        case SQLITE_BLOB:
            return QVariant(
                QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt, column)),
                           sqlite3_column_bytes(m_stmt, column)));
        default:
            return QVariant();
        }
    }

private:
    const Motore& m_motore;
    sqlite3_stmt* m_stmt = nullptr;
};

class MotoreSqlcipher : public Motore {
public:
    explicit MotoreSqlcipher(QString path) : m_path(std::move(path)) {}
    ~MotoreSqlcipher() override {
        if (m_db)
            sqlite3_close_v2(m_db);
    }

    // Opens the file; `crea` makes a new one.
    void apri(const QString& key, OpenMode mode, bool crea) {
        const QByteArray file = QFile::encodeName(QFileInfo(m_path).absoluteFilePath());
        const int flags = SQLITE_OPEN_READWRITE | (crea ? SQLITE_OPEN_CREATE : 0);
        int rc = sqlite3_open_v2(file.constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK)
            throw errore(rc);
        sqlite3_extended_result_codes(m_db, 1);
        applyKey(key);
        if (crea)
            return;
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
            throw errore(rc);
        registerFunctions();
    }

    std::unique_ptr<Comando> prepara(const QString& sql) override {
        return std::make_unique<ComandoSqlite>(*this, m_db, sql);
    }
    int changes() const override { return sqlite3_changes(m_db); }
    qint64 lastInsertRowId() const override { return sqlite3_last_insert_rowid(m_db); }

    void execScript(const QString& script) override {
        const QByteArray utf8 = script.toUtf8();
        char* message = nullptr;
        const int rc = sqlite3_exec(m_db, utf8.constData(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK) {
            const QString text = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
            sqlite3_free(message);
            throw DbError(rc, text);
        }
    }

    bool inTransazione() const override { return sqlite3_get_autocommit(m_db) == 0; }

    void inizia(bool scrittura) override {
        // The write lock is taken at the start, where the busy timeout still
        // applies: a transaction that first reads and then writes would
        // otherwise fail at once with "database is locked" when another
        // workstation writes.
        execScript(scrittura ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    }

    void termina(bool conferma) override {
        if (conferma)
            execScript(QStringLiteral("COMMIT"));
        else if (inTransazione())
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }

    void copiaCifrata(const QString& temporary, const QString& key) override {
        bool attached = false;
        try {
            eseguiLegato("ATTACH DATABASE ? AS copia KEY ?", {temporary, key});
            attached = true;
            execScript(QString::fromUtf8(cipherSettingsFor("copia")));
            // One read transaction over the whole export: the copy shows the
            // database as one committed state, whoever writes meanwhile.
            execScript(QStringLiteral("BEGIN; SELECT count(*) FROM main.sqlite_master;"
                                      "SELECT sqlcipher_export('copia');"
                                      "COMMIT; DETACH DATABASE copia;"));
            attached = false;
        } catch (...) {
            if (!sqlite3_get_autocommit(m_db))
                sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            if (attached)
                sqlite3_exec(m_db, "DETACH DATABASE copia", nullptr, nullptr, nullptr);
            throw;
        }
    }

    QString idRiga() const override { return QStringLiteral("rowid"); }

    QStringList tabelle() override {
        QStringList nomi;
        ComandoSqlite c(*this, m_db,
                        QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND "
                                       "name NOT LIKE 'sqlite_%' ORDER BY name"));
        while (c.next())
            nomi << c.value(0).toString();
        return nomi;
    }

    QList<Row> catalogo() override {
        ComandoSqlite c(*this, m_db,
                        QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master "
                                       "WHERE name NOT LIKE 'sqlite_%' ORDER BY type, name"));
        const QStringList nomi = {QStringLiteral("type"), QStringLiteral("name"),
                                  QStringLiteral("tbl_name"), QStringLiteral("sql")};
        QList<Row> righe;
        while (c.next())
            righe << Row(nomi, {c.value(0), c.value(1), c.value(2), c.value(3)});
        return righe;
    }

    QString verificaIntegrita() override {
        ComandoSqlite c(*this, m_db, QStringLiteral("PRAGMA quick_check"));
        return c.next() ? c.value(0).toString() : QString();
    }

    int versioneSchema() override {
        ComandoSqlite c(*this, m_db, QStringLiteral("PRAGMA user_version"));
        const int versione = c.next() ? c.value(0).toInt() : 0;
        // Files written before the version was recorded hold the first schema.
        return versione == 0 ? 1 : versione;
    }

    void scriviVersione() {
        execScript(QStringLiteral("PRAGMA user_version = %1").arg(kVersioneSchema));
    }

    TipoMotore tipo() const override { return TipoMotore::SQLCipher; }
    QString descrizione() const override { return m_path; }
    sqlite3* handle() const override { return m_db; }

    DbError errore(int rc) const override {
        const int code = m_db ? sqlite3_extended_errcode(m_db) : rc;
        return DbError(code ? code : rc, errorText(m_db, rc));
    }

private:
    void eseguiLegato(const char* sql, const QVariantList& valori) {
        ComandoSqlite c(*this, m_db, QString::fromUtf8(sql));
        for (int i = 0; i < valori.size(); ++i)
            c.bind(i + 1, valori.at(i));
        while (c.next()) {
        }
    }

    void applyKey(const QString& key) {
        const QByteArray bytes = key.toUtf8();
        int rc = sqlite3_key(m_db, bytes.constData(), int(bytes.size()));
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(m_db, kCipherSettings, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw errore(rc);
    }

    void proveProgramDatabase() {
        // Reading the catalogue proves the key: a wrong one, or a file that is
        // not a database, fails here, before anything is written.
        ComandoSqlite c(*this, m_db,
                        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' "
                                       "AND name=?"));
        for (const char* table : kProgramTables) {
            c.reset();
            c.bind(1, QString::fromLatin1(table));
            if (!c.next() || c.value(0).toInt() != 1)
                throw DbError(SQLITE_NOTADB,
                              QStringLiteral("Il file non è una base dati di KORVADIN: manca la "
                                             "tabella %1.")
                                  .arg(QString::fromLatin1(table)));
        }
    }

    void registerFunctions() {
        int rc = sqlite3_create_collation(m_db, "ITALIANO", SQLITE_UTF8, nullptr, collateItaliano);
        if (rc == SQLITE_OK)
            rc = sqlite3_create_function(m_db, "CONTIENE", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                         nullptr, contieneFunc, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw errore(rc);
    }

    QString m_path;
    sqlite3* m_db = nullptr;
};

} // namespace

QByteArray cipherSettings() {
    return kCipherSettings;
}

void controllaFileSqlcipher(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        throw DbError(SQLITE_CANTOPEN,
                      QStringLiteral("Impossibile aprire il file della base dati: %1").arg(path));
    // An empty file, or one that cannot hold whole pages, is no database of
    // this program; the engine would take it for a new database.
    if (info.size() == 0 || info.size() % kPageSize != 0)
        throw DbError(SQLITE_NOTADB,
                      QStringLiteral("Il file non è una base dati di KORVADIN: %1").arg(path));
}

std::unique_ptr<Motore> apriSqlcipher(const QString& path, const QString& key, OpenMode mode) {
    controllaFileSqlcipher(path);
    auto motore = std::make_unique<MotoreSqlcipher>(path);
    motore->apri(key, mode, false);
    return motore;
}

std::unique_ptr<Motore> creaSqlcipher(const QString& path, const QString& key) {
    if (QFileInfo::exists(path))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("Il file esiste già: %1").arg(path));
    auto motore = std::make_unique<MotoreSqlcipher>(path);
    motore->apri(key, OpenMode::Exclusive, true);
    motore->scriviVersione();
    return motore;
}

} // namespace db
