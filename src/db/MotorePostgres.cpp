// The PostgreSQL engine: the database on a server, reached through libpq.
#include "db/Motore.h"
#include "db/Schema.h"

#include <libpq-fe.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <vector>

namespace db {

namespace {

// Error numbers reported for the server's failures: the SQLite codes the
// program already tells apart.
constexpr int kErrore = 1;
constexpr int kBusy = 5;
constexpr int kCantOpen = 14;
constexpr int kConstraint = 19;
constexpr int kMismatch = 20;
constexpr int kAuth = 23;
constexpr int kNotADb = 26;

// Advisory lock keys of this program, for the installation in the current
// schema of the database: the session's (shared by every running workstation,
// exclusive for the exclusive steps) and the writers'.
const QString kChiave = QStringLiteral("hashtext('KORVADIN.' || current_schema())");
constexpr int kSessione = 1;
constexpr int kScrittura = 2;

// The hidden column that keeps the order in which rows were added.
const QString kRiga = QStringLiteral("korvadin_riga");

// Tables every database of this program holds.
const char* const kProgramTables[] = {"installazione", "corsioper", "corsiapprovati",
                                      "keldcorsidef", "keldanagfreq"};

// What the program adds to an empty database before its tables: the Italian
// collation, the letter-case-free one, CONTIENE and the schema version.
QString preambolo() {
    return QStringLiteral(
               "CREATE COLLATION IF NOT EXISTS italiano (provider = icu, locale = "
               "'it-u-ks-level2', deterministic = false);\n"
               "CREATE COLLATION IF NOT EXISTS nocase (provider = icu, locale = "
               "'und-u-ks-level2', deterministic = false);\n"
               "CREATE OR REPLACE FUNCTION contiene(testo text, parte text) RETURNS integer "
               "LANGUAGE sql IMMUTABLE AS $$ SELECT CASE WHEN testo IS NULL OR parte IS NULL "
               "THEN NULL WHEN strpos(lower(testo COLLATE \"und-x-icu\"), lower(parte COLLATE "
               "\"und-x-icu\")) > 0 THEN 1 ELSE 0 END $$;\n"
               "CREATE TABLE korvadin_schema (versione integer NOT NULL);\n"
               "INSERT INTO korvadin_schema VALUES (%1);\n")
        .arg(kVersioneSchema);
}

// Names as written in the schema, by their lower-case form: the server folds
// unquoted names, the program sees them as it wrote them.
const QHash<QString, QString>& nomiSchema() {
    static const QHash<QString, QString> nomi = [] {
        QHash<QString, QString> n;
        static const QRegularExpression parola(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
        auto it = parola.globalMatch(schemaSql());
        while (it.hasNext()) {
            const QString p = it.next().captured();
            n.insert(p.toLower(), p);
        }
        return n;
    }();
    return nomi;
}

QString nomeProgramma(const QString& nome, const QString& sql) {
    if (!sql.isEmpty()) {
        const QRegularExpression parola(
            QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(nome)),
            QRegularExpression::CaseInsensitiveOption);
        const auto m = parola.match(sql);
        if (m.hasMatch())
            return m.captured();
    }
    return nomiSchema().value(nome, nome);
}

int numeroErrore(const char* stato) {
    const QByteArray s(stato ? stato : "");
    if (s.startsWith("23"))
        return kConstraint;
    if (s == "55P03" || s == "40P01" || s == "40001")
        return kBusy;
    if (s.startsWith("08") || s.startsWith("57P"))
        return kCantOpen;
    if (s.startsWith("28"))
        return kAuth;
    if (s.startsWith("22"))
        return kMismatch;
    return kErrore;
}

class MotorePostgres;

class ComandoPg : public Comando {
public:
    ComandoPg(MotorePostgres& motore, const QString& sql);
    ~ComandoPg() override { PQclear(m_risultato); }

    void bind(int index, const QVariant& value) override;
    bool next() override;
    void reset() override {
        PQclear(m_risultato);
        m_risultato = nullptr;
        m_riga = -1;
        m_valori.assign(m_valori.size(), QByteArray());
        m_nulli.assign(m_nulli.size(), true);
        m_binari.assign(m_binari.size(), false);
    }
    int columnCount() const override;
    QString columnName(int column) const override;
    QVariant value(int column) const override;

private:
    void esegui();
    int colonna(int column) const { return m_colonne.value(column, column); }

    MotorePostgres& m_motore;
    QString m_sql;
    QByteArray m_testo;
    // BEGIN / COMMIT / ROLLBACK written by the caller: done by the engine.
    enum class Controllo { Nessuno, Inizio, InizioScrittura, Conferma, Annulla };
    Controllo m_controllo = Controllo::Nessuno;
    std::vector<QByteArray> m_valori;
    std::vector<bool> m_nulli;
    std::vector<bool> m_binari;
    PGresult* m_risultato = nullptr;
    int m_riga = -1;
    QList<int> m_colonne; // visible columns of the result
};

class MotorePostgres : public Motore {
public:
    explicit MotorePostgres(PGconn* conn) : m_conn(conn) {}
    ~MotorePostgres() override { PQfinish(m_conn); }

    PGconn* conn() const { return m_conn; }

    // Runs a command without values; throws on failure.
    PGresult* comando(const QString& sql, ExecStatusType atteso = PGRES_COMMAND_OK) {
        PGresult* r = PQexec(m_conn, sql.toUtf8().constData());
        if (PQresultStatus(r) != atteso && PQresultStatus(r) != PGRES_TUPLES_OK) {
            const DbError e = errore(r);
            PQclear(r);
            throw e;
        }
        return r;
    }
    void esegui(const QString& sql) { PQclear(comando(sql)); }

    QVariant valore(const QString& sql) {
        PGresult* r = comando(sql, PGRES_TUPLES_OK);
        const QVariant v = PQntuples(r) > 0 && !PQgetisnull(r, 0, 0)
                               ? QVariant(QString::fromUtf8(PQgetvalue(r, 0, 0)))
                               : QVariant();
        PQclear(r);
        return v;
    }

    DbError errore(const PGresult* r) const {
        const char* stato = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
        QString testo = QString::fromUtf8(r && PQresultErrorMessage(r)[0] ? PQresultErrorMessage(r)
                                                                          : PQerrorMessage(m_conn))
                            .trimmed();
        if (PQstatus(m_conn) == CONNECTION_BAD)
            return DbError(kCantOpen, QStringLiteral("Connessione al server della base dati "
                                                     "interrotta (%1): %2")
                                          .arg(descrizione(), testo));
        return DbError(numeroErrore(stato), testo);
    }

    void apri(OpenMode mode) {
        esegui(QStringLiteral("SET lock_timeout = '5s'; SET client_min_messages = warning"));
        const QString prendi = mode == OpenMode::Exclusive
                                   ? QStringLiteral("SELECT pg_try_advisory_lock(%1, %2)")
                                   : QStringLiteral("SELECT pg_try_advisory_lock_shared(%1, %2)");
        if (valore(prendi.arg(kChiave).arg(kSessione)).toString() != QLatin1String("t"))
            throw DbError(kBusy, QStringLiteral("La base dati è in uso da un'altra postazione.\n") +
                                     descrizione());
        proveProgramDatabase();
    }

    std::unique_ptr<Comando> prepara(const QString& sql) override {
        return std::make_unique<ComandoPg>(*this, sql);
    }
    int changes() const override { return m_cambiate; }
    void setChanges(int n) { m_cambiate = n; }

    qint64 lastInsertRowId() const override {
        PGresult* r = PQexec(m_conn, "SELECT lastval()");
        const qint64 id = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0
                              ? QByteArray(PQgetvalue(r, 0, 0)).toLongLong()
                              : 0;
        PQclear(r);
        return id;
    }

    void execScript(const QString& script) override { esegui(schemaPostgres(script)); }

    bool inTransazione() const override {
        return PQtransactionStatus(m_conn) == PQTRANS_INTRANS ||
               PQtransactionStatus(m_conn) == PQTRANS_INERROR;
    }

    void inizia(bool scrittura) override {
        if (!scrittura) {
            esegui(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ"));
            return;
        }
        // Writers take one lock at their start, as on a file: two workstations
        // never interleave the reads and writes of their transactions.
        esegui(QStringLiteral("BEGIN"));
        try {
            PQclear(comando(
                QStringLiteral("SELECT pg_advisory_xact_lock(%1, %2)").arg(kChiave).arg(kScrittura),
                PGRES_TUPLES_OK));
        } catch (...) {
            PQclear(PQexec(m_conn, "ROLLBACK"));
            throw;
        }
    }

    void termina(bool conferma) override {
        if (conferma)
            esegui(QStringLiteral("COMMIT"));
        else if (inTransazione())
            esegui(QStringLiteral("ROLLBACK"));
    }

    void copiaCifrata(const QString& temporaneo, const QString& chiave) override {
        QFile::remove(temporaneo);
        auto copia = creaSqlcipher(temporaneo, chiave);
        copia->inizia(true);
        copia->execScript(schemaSql());
        const QStringList tabelleCopia = copia->tabelle();
        for (const QString& t : tabelleCopia)
            copia->prepara(QStringLiteral("DELETE FROM %1").arg(t))->next();
        // One snapshot of the server for the whole copy.
        esegui(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
        try {
            const QStringList proprie = tabelle();
            for (const QString& t : tabelleCopia) {
                if (!proprie.contains(t, Qt::CaseInsensitive))
                    continue;
                auto colonne = copia->prepara(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(t));
                QStringList nomi;
                for (int i = 0; i < colonne->columnCount(); ++i)
                    nomi << colonne->columnName(i);
                const QString elenco = nomi.join(QStringLiteral(", "));
                ComandoPg lettura(
                    *this, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(elenco, t, kRiga));
                auto scrittura = copia->prepara(
                    QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(t, elenco,
                             QStringList(nomi.size(), QStringLiteral("?")).join(QLatin1Char(','))));
                while (lettura.next()) {
                    scrittura->reset();
                    for (int i = 0; i < nomi.size(); ++i)
                        scrittura->bind(i + 1, lettura.value(i));
                    scrittura->next();
                }
            }
        } catch (...) {
            PQclear(PQexec(m_conn, "ROLLBACK"));
            throw;
        }
        esegui(QStringLiteral("COMMIT"));
        copia->termina(true);
    }

    QString idRiga() const override { return kRiga; }

    QStringList tabelle() override {
        PGresult* r = comando(QStringLiteral("SELECT table_name FROM information_schema.tables "
                                             "WHERE table_schema = current_schema() AND "
                                             "table_type = 'BASE TABLE' AND table_name <> "
                                             "'korvadin_schema' ORDER BY 1"),
                              PGRES_TUPLES_OK);
        QStringList nomi;
        for (int i = 0; i < PQntuples(r); ++i)
            nomi << nomeProgramma(QString::fromUtf8(PQgetvalue(r, i, 0)), QString());
        PQclear(r);
        return nomi;
    }

    QList<Row> catalogo() override {
        PGresult* r = comando(
            QStringLiteral("SELECT CASE c.relkind WHEN 'r' THEN 'table' WHEN 'v' THEN 'view' "
                           "ELSE 'index' END, c.relname, coalesce(t.relname, c.relname) "
                           "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                           "LEFT JOIN pg_index i ON i.indexrelid = c.oid LEFT JOIN pg_class t "
                           "ON t.oid = i.indrelid WHERE n.nspname = current_schema() AND "
                           "c.relkind IN ('r','v','i') AND c.relname <> 'korvadin_schema' AND "
                           "NOT (c.relkind = 'i' AND i.indisprimary)"),
            PGRES_TUPLES_OK);
        const QStringList nomi = {QStringLiteral("type"), QStringLiteral("name"),
                                  QStringLiteral("tbl_name"), QStringLiteral("sql")};
        QList<Row> righe;
        for (int i = 0; i < PQntuples(r); ++i)
            righe << Row(nomi, {QString::fromUtf8(PQgetvalue(r, i, 0)),
                                nomeProgramma(QString::fromUtf8(PQgetvalue(r, i, 1)), QString()),
                                nomeProgramma(QString::fromUtf8(PQgetvalue(r, i, 2)), QString()),
                                QVariant()});
        PQclear(r);
        std::sort(righe.begin(), righe.end(), [](const Row& a, const Row& b) {
            return std::make_pair(a.value(0).toString(), a.value(1).toString()) <
                   std::make_pair(b.value(0).toString(), b.value(1).toString());
        });
        return righe;
    }

    QString verificaIntegrita() override {
        return PQstatus(m_conn) == CONNECTION_OK ? QStringLiteral("ok")
                                                 : QString::fromUtf8(PQerrorMessage(m_conn));
    }

    int versioneSchema() override {
        return valore(QStringLiteral("SELECT versione FROM korvadin_schema")).toInt();
    }

    TipoMotore tipo() const override { return TipoMotore::PostgreSQL; }

    QString descrizione() const override {
        const QString host = QString::fromUtf8(PQhost(m_conn));
        return QStringLiteral("server %1, porta %2, base dati %3")
            .arg(host, QString::fromUtf8(PQport(m_conn)), QString::fromUtf8(PQdb(m_conn)));
    }

    DbError errore(int) const override { return errore(nullptr); }

private:
    int contaTabelle() {
        return valore(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE "
                                     "table_schema = current_schema()"))
            .toInt();
    }

    void proveProgramDatabase() {
        if (contaTabelle() == 0) {
            // The first workstation on an empty database creates the tables;
            // a second one starting at the same time waits and finds them.
            inizia(true);
            try {
                if (contaTabelle() == 0) {
                    esegui(preambolo());
                    esegui(schemaPostgres(schemaSql()));
                }
            } catch (...) {
                termina(false);
                throw;
            }
            termina(true);
        }
        for (const char* table : kProgramTables) {
            const QString esiste =
                valore(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE "
                                      "table_schema = current_schema() AND table_name = '%1'")
                           .arg(QString::fromLatin1(table)))
                    .toString();
            if (esiste != QLatin1String("1"))
                throw DbError(
                    kNotADb,
                    QStringLiteral("La base dati non è una base dati di KORVADIN: "
                                   "manca la tabella %1.\n%2")
                        .arg(nomeProgramma(QString::fromLatin1(table), QString()), descrizione()));
        }
    }

    PGconn* m_conn;
    int m_cambiate = 0;
};

ComandoPg::ComandoPg(MotorePostgres& motore, const QString& sql) : m_motore(motore), m_sql(sql) {
    static const QRegularExpression controllo(
        QStringLiteral("^\\s*(BEGIN|COMMIT|END|ROLLBACK)(\\s+(TRANSACTION|IMMEDIATE|EXCLUSIVE|"
                       "DEFERRED))?\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = controllo.match(sql);
    if (m.hasMatch()) {
        const QString verbo = m.captured(1).toUpper();
        const QString tipo = m.captured(3).toUpper();
        if (verbo == QLatin1String("BEGIN"))
            m_controllo = tipo == QLatin1String("IMMEDIATE") || tipo == QLatin1String("EXCLUSIVE")
                              ? Controllo::InizioScrittura
                              : Controllo::Inizio;
        else
            m_controllo =
                verbo == QLatin1String("ROLLBACK") ? Controllo::Annulla : Controllo::Conferma;
        return;
    }
    int numero = 0;
    m_testo = numeraParametri(sql, &numero);
    m_valori.resize(size_t(numero));
    m_nulli.assign(size_t(numero), true);
    m_binari.assign(size_t(numero), false);
}

void ComandoPg::bind(int index, const QVariant& value) {
    if (index < 1 || index > int(m_valori.size()))
        throw DbError(25, QStringLiteral("Parametro %1 fuori dall'intervallo").arg(index));
    const size_t i = size_t(index - 1);
    m_nulli[i] = !value.isValid() || value.isNull();
    m_binari[i] = false;
    if (m_nulli[i])
        return;
    switch (value.typeId()) {
    case QMetaType::Bool:
        m_valori[i] = value.toBool() ? "1" : "0";
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        m_valori[i] = QByteArray::number(value.toDouble(), 'g', 17);
        break;
    case QMetaType::QByteArray:
        m_valori[i] = value.toByteArray();
        m_binari[i] = true;
        break;
    default:
        m_valori[i] = value.toString().toUtf8();
    }
}

void ComandoPg::esegui() {
    PGconn* conn = m_motore.conn();
    const size_t quanti = m_valori.size();
    const int n = int(quanti);
    std::vector<const char*> valori(quanti);
    std::vector<int> lunghezze(quanti);
    std::vector<int> formati(quanti);
    std::vector<Oid> tipi(quanti);
    for (size_t i = 0; i < quanti; ++i) {
        valori[i] = m_nulli[i] ? nullptr : m_valori[i].constData();
        lunghezze[i] = int(m_valori[i].size());
        formati[i] = m_binari[i] ? 1 : 0;
        tipi[i] = m_binari[i] ? 17 : 0; // bytea, or left to the server
    }
    // Inside a transaction a failed statement undoes itself alone, as on a file.
    const bool punto = m_motore.inTransazione();
    if (punto)
        m_motore.esegui(QStringLiteral("SAVEPOINT korvadin_istruzione"));
    m_risultato = PQexecParams(conn, m_testo.constData(), n, tipi.data(), valori.data(),
                               lunghezze.data(), formati.data(), 0);
    const ExecStatusType stato = PQresultStatus(m_risultato);
    if (stato != PGRES_COMMAND_OK && stato != PGRES_TUPLES_OK) {
        const DbError e = m_motore.errore(m_risultato);
        PQclear(m_risultato);
        m_risultato = nullptr;
        if (punto && PQstatus(conn) == CONNECTION_OK)
            PQclear(PQexec(conn, "ROLLBACK TO SAVEPOINT korvadin_istruzione; "
                                 "RELEASE SAVEPOINT korvadin_istruzione"));
        throw e;
    }
    if (punto)
        m_motore.esegui(QStringLiteral("RELEASE SAVEPOINT korvadin_istruzione"));
    m_motore.setChanges(QByteArray(PQcmdTuples(m_risultato)).toInt());
    // The hidden column is shown only when the select list names it.
    const bool nominata = m_sql.left(m_sql.indexOf(QLatin1String("FROM"), 0, Qt::CaseInsensitive))
                              .contains(kRiga, Qt::CaseInsensitive);
    m_colonne.clear();
    for (int c = 0; c < PQnfields(m_risultato); ++c)
        if (nominata || QString::fromUtf8(PQfname(m_risultato, c)) != kRiga)
            m_colonne << c;
}

bool ComandoPg::next() {
    switch (m_controllo) {
    case Controllo::Inizio:
    case Controllo::InizioScrittura:
        m_motore.inizia(m_controllo == Controllo::InizioScrittura);
        return false;
    case Controllo::Conferma:
    case Controllo::Annulla:
        m_motore.termina(m_controllo == Controllo::Conferma);
        return false;
    case Controllo::Nessuno:
        break;
    }
    if (!m_risultato)
        esegui();
    ++m_riga;
    return m_riga < PQntuples(m_risultato);
}

int ComandoPg::columnCount() const {
    if (!m_risultato)
        const_cast<ComandoPg*>(this)->esegui();
    return int(m_colonne.size());
}

QString ComandoPg::columnName(int column) const {
    if (!m_risultato)
        const_cast<ComandoPg*>(this)->esegui();
    return nomeProgramma(QString::fromUtf8(PQfname(m_risultato, colonna(column))), m_sql);
}

QVariant ComandoPg::value(int column) const {
    if (!m_risultato || m_riga < 0 || m_riga >= PQntuples(m_risultato))
        return QVariant();
    const int c = colonna(column);
    if (PQgetisnull(m_risultato, m_riga, c))
        return QVariant();
    const char* testo = PQgetvalue(m_risultato, m_riga, c);
    switch (PQftype(m_risultato, c)) {
    case 16: // bool
        return QVariant(qlonglong(testo[0] == 't' ? 1 : 0));
    case 20:
    case 21:
    case 23:
    case 26:
        return QVariant(QByteArray(testo).toLongLong());
    case 700:
    case 701:
        return QVariant(QByteArray(testo).toDouble());
    case 1700: { // numeric: whole numbers stay whole
        const QByteArray n(testo);
        bool intero = false;
        const qlonglong v = n.toLongLong(&intero);
        return intero ? QVariant(v) : QVariant(n.toDouble());
    }
    case 17: { // bytea
        size_t lunghezza = 0;
        unsigned char* byte =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(testo), &lunghezza);
        const QByteArray b(reinterpret_cast<const char*>(byte), qsizetype(lunghezza));
        PQfreemem(byte);
        return QVariant(b);
    }
    default:
        return QVariant(QString::fromUtf8(testo, PQgetlength(m_risultato, m_riga, c)));
    }
}

} // namespace

QByteArray numeraParametri(const QString& sql, int* numero) {
    QString uscita;
    uscita.reserve(sql.size() + 16);
    int n = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype fine = sql.indexOf(c, i + 1);
            const qsizetype ultimo = fine < 0 ? sql.size() - 1 : fine;
            // The server keeps quoted names as written: the program's tables and
            // columns are created unquoted, so their quoted names are folded too.
            const QString parte = sql.mid(i, ultimo - i + 1);
            uscita += c == QLatin1Char('"') ? parte.toLower() : parte;
            i = ultimo;
        } else if (c == QLatin1Char('-') && sql.mid(i, 2) == QLatin1String("--")) {
            const qsizetype fine = sql.indexOf(QLatin1Char('\n'), i);
            const qsizetype ultimo = fine < 0 ? sql.size() - 1 : fine;
            uscita += sql.mid(i, ultimo - i + 1);
            i = ultimo;
        } else if (c == QLatin1Char('?')) {
            uscita += QLatin1Char('$') + QString::number(++n);
        } else {
            uscita += c;
        }
    }
    if (numero)
        *numero = n;
    return uscita.toUtf8();
}

QString schemaPostgres(const QString& script) {
    QString s = script;
    s.remove(QRegularExpression(QStringLiteral("--[^\\n]*")));
    // Kind checks of the file engine: the server's column types enforce them.
    s.replace(QRegularExpression(QStringLiteral(
                  "CHECK \\((\\w+) IS NULL OR \\(typeof\\(\\1\\) IN \\('text','integer','real'\\) "
                  "AND length\\(\\1\\)<=(\\d+)\\)\\)")),
              QStringLiteral("CHECK (\\1 IS NULL OR length(\\1)<=\\2)"));
    s.replace(QRegularExpression(QStringLiteral(
                  " CHECK \\((\\w+) IS NULL OR typeof\\(\\1\\)='integer' OR \\(typeof\\(\\1\\)="
                  "'text' AND \\1<>'' AND \\1 NOT GLOB '\\*\\[\\^0-9\\]\\*'\\)\\)")),
              QString());
    s.replace(QRegularExpression(QStringLiteral(
                  " CHECK \\((\\w+) IS NULL OR typeof\\(\\1\\) IN \\('integer','real'\\) OR "
                  "\\(typeof\\(\\1\\)='text' AND \\1<>'' AND \\1 NOT GLOB '\\*\\[\\^0-9\\.\\]\\*' "
                  "AND \\1 NOT GLOB '\\*\\.\\*\\.\\*'\\)\\)")),
              QString());
    // Column types of each table, and the hidden column of the order of rows.
    static const QRegularExpression tabella(QStringLiteral("CREATE TABLE\\s+(\\w+)\\s*\\("),
                                            QRegularExpression::CaseInsensitiveOption);
    QString uscita;
    qsizetype da = 0;
    auto it = tabella.globalMatch(s);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.capturedStart() < da)
            continue;
        uscita += s.mid(da, m.capturedStart() - da);
        int livello = 1;
        qsizetype j = m.capturedEnd();
        for (; j < s.size() && livello > 0; ++j) {
            if (s.at(j) == QLatin1Char('('))
                ++livello;
            else if (s.at(j) == QLatin1Char(')'))
                --livello;
        }
        QString corpo = s.mid(m.capturedStart(), j - 1 - m.capturedStart());
        corpo.replace(QRegularExpression(QStringLiteral("\\bINTEGER\\b"),
                                         QRegularExpression::CaseInsensitiveOption),
                      QStringLiteral("BIGINT"));
        corpo.replace(QRegularExpression(QStringLiteral("\\bREAL\\b"),
                                         QRegularExpression::CaseInsensitiveOption),
                      QStringLiteral("DOUBLE PRECISION"));
        corpo.replace(QRegularExpression(QStringLiteral("\\bBLOB\\b"),
                                         QRegularExpression::CaseInsensitiveOption),
                      QStringLiteral("BYTEA"));
        uscita += corpo + QStringLiteral(",\n    ") + kRiga +
                  QStringLiteral(" BIGINT GENERATED BY DEFAULT AS IDENTITY)");
        da = j;
    }
    uscita += s.mid(da);
    return uscita;
}

std::unique_ptr<Motore> apriPostgres(const QString& indirizzo, OpenMode mode) {
    const QByteArray uri = indirizzo.toUtf8();
    const char* chiavi[] = {"dbname", "connect_timeout", "application_name", "client_encoding",
                            nullptr};
    const char* valori[] = {uri.constData(), "10", "KORVADIN", "UTF8", nullptr};
    PGconn* conn = PQconnectdbParams(chiavi, valori, 1);
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString host = QString::fromUtf8(PQhost(conn));
        const QString testo = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
        PQfinish(conn);
        throw DbError(testo.contains(QLatin1String("password")) ? kAuth : kCantOpen,
                      QStringLiteral("Impossibile collegarsi al server della base dati %1: %2")
                          .arg(host, testo));
    }
    auto motore = std::make_unique<MotorePostgres>(conn);
    motore->apri(mode);
    return motore;
}

} // namespace db
