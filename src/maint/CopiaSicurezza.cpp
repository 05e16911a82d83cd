#include "maint/CopiaSicurezza.h"

#include "core/FileSicuro.h"
#include "core/Session.h"
#include "db/BloccoInstallazione.h"
#include "db/Database.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace maint {

namespace {

const QString kTitolo = QStringLiteral("Installazione/Aggiornamento Base Dati");
const QString kTitoloAggiornamento = QStringLiteral("Aggiornamento Base Dati");

bool stessoFile(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

void mostra(Session& s, QWidget* parent, const QString& procedura, const db::DbError& e) {
    s.ui.message(parent,
                 procedura + QStringLiteral(" - %1 - %2").arg(e.number()).arg(e.description()),
                 kTitolo, ui::Icon::Critical);
}

// A connection of its own on a file that is not the database in use (a copy, an
// extracted archive): its lock file is removed again when it was made for it.
class ConnessioneProvvisoria {
public:
    ConnessioneProvvisoria(const QString& file, const QString& chiave)
        : m_lock(db::BloccoInstallazione::fileBlocco(file)),
          m_lockNuovo(!QFileInfo::exists(m_lock)) {
        try {
            c.open(file, chiave, db::OpenMode::Exclusive);
        } catch (...) {
            pulisci();
            throw;
        }
    }
    ~ConnessioneProvvisoria() { pulisci(); }
    ConnessioneProvvisoria(const ConnessioneProvvisoria&) = delete;
    ConnessioneProvvisoria& operator=(const ConnessioneProvvisoria&) = delete;
    db::Connection c;

private:
    void pulisci() {
        c.close();
        if (m_lockNuovo)
            QFile::remove(m_lock);
    }
    QString m_lock;
    bool m_lockNuovo;
};

// Throws when the file is not a sound database of this program.
void provaBaseDati(const QString& file, const QString& chiave) {
    ConnessioneProvvisoria p(file, chiave);
    const QString esito = p.c.verificaIntegrita();
    if (esito != QLatin1String("ok"))
        throw db::DbError(SQLITE_CORRUPT,
                          QStringLiteral("La copia della base dati è danneggiata: %1").arg(esito));
}

QString virgolette(const QString& nome) {
    QString n = nome;
    return QLatin1Char('"') + n.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString confrontaTabella(db::Connection& a, db::Connection& b, const QString& tabella) {
    const QString sql = QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(virgolette(tabella));
    db::Statement ra(a, sql.arg(a.idRiga()));
    db::Statement rb(b, sql.arg(b.idRiga()));
    for (qint64 riga = 1;; ++riga) {
        const bool ha = ra.next();
        const bool hb = rb.next();
        if (ha != hb)
            return QStringLiteral("%1: numero di righe diverso").arg(tabella);
        if (!ha)
            return QString();
        for (int col = 0; col < ra.columnCount(); ++col)
            if (ra.value(col) != rb.value(col))
                return QStringLiteral("%1: riga %2, colonna %3 diversa")
                    .arg(tabella)
                    .arg(riga)
                    .arg(ra.columnName(col));
    }
}

} // namespace

QString fileCopiaSicurezza(const QString& percorsoDB) {
    return percorsoDB + QStringLiteral("_BAK");
}

bool Crea_DB_Backup(Session& s, const QString& percorsoDB, QWidget* parent) {
    try {
        db::Connection& c = s.CorsiDB();
        if (c.isOpen() && stessoFile(c.path(), percorsoDB)) {
            c.snapshotTo(fileCopiaSicurezza(percorsoDB));
        } else {
            db::Connection propria;
            propria.open(percorsoDB, Session::databasePassword(), db::OpenMode::Shared);
            propria.snapshotTo(fileCopiaSicurezza(percorsoDB));
        }
        return true;
    } catch (const db::DbError& e) {
        mostra(s, parent, QStringLiteral("Crea_DB_Backup"), e);
        return false;
    }
}

bool Ripristina_DB_Backup(Session& s, const QString& percorsoDB, QWidget* parent) {
    db::Connection& c = s.CorsiDB();
    const bool riapri = c.isOpen() && stessoFile(c.path(), percorsoDB);
    const db::OpenMode modo = c.mode();
    bool riuscito = false;
    try {
        const QString copia = fileCopiaSicurezza(percorsoDB);
        if (!QFileInfo(copia).isFile())
            throw db::DbError(SQLITE_CANTOPEN,
                              QStringLiteral("Copia di sicurezza non trovata: %1").arg(copia));
        provaBaseDati(copia, Session::databasePassword());
        if (riapri)
            c.close();
        db::BloccoInstallazione blocco;
        if (!blocco.prendi(percorsoDB, db::BloccoInstallazione::Tipo::Esclusivo))
            throw db::DbError(blocco.inUso() ? SQLITE_BUSY : SQLITE_CANTOPEN, blocco.motivo());
        sostituisciBaseDati(percorsoDB, copia);
        QFile::remove(copia);
        riuscito = true;
    } catch (const db::DbError& e) {
        mostra(s, parent, QStringLiteral("Ripristina_DB_Backup"), e);
    }
    if (riapri) {
        try {
            c.open(percorsoDB, Session::databasePassword(), modo);
        } catch (const db::DbError& e) {
            mostra(s, parent, QStringLiteral("Ripristina_DB_Backup"), e);
            riuscito = false;
        }
    }
    return riuscito;
}

bool ripristinoDopoAggiornamento(Session& s, const QString& percorsoDB, Aggiornamento come,
                                 QWidget* parent) {
    bool riuscito = false;
    if (come == Aggiornamento::Interrotto) {
        riuscito = Ripristina_DB_Backup(s, percorsoDB, parent);
    } else {
        try {
            ConnessioneProvvisoria copia(fileCopiaSicurezza(percorsoDB),
                                         Session::databasePassword());
            db::Connection& c = s.CorsiDB();
            if (c.isOpen() && stessoFile(c.path(), percorsoDB)) {
                riuscito = differenzaContenuto(c, copia.c).isEmpty();
            } else {
                db::Connection propria;
                propria.open(percorsoDB, Session::databasePassword(), db::OpenMode::Shared);
                riuscito = differenzaContenuto(propria, copia.c).isEmpty();
            }
        } catch (const db::DbError&) {
            riuscito = false;
        }
        if (riuscito)
            eliminaCopiaSicurezza(percorsoDB);
    }
    if (riuscito)
        s.ui.message(parent, QStringLiteral("Ripristino della base dati riuscito"),
                     kTitoloAggiornamento, ui::Icon::Information);
    else
        s.ui.message(parent, QStringLiteral("Ripristino della base dati non riuscito."),
                     kTitoloAggiornamento, ui::Icon::Critical);
    return riuscito;
}

void sostituisciBaseDati(const QString& percorsoDB, const QString& sostituto) {
    QFile sorgente(sostituto);
    if (!sorgente.open(QIODevice::ReadOnly))
        throw db::DbError(SQLITE_CANTOPEN,
                          sorgente.errorString() + QStringLiteral(": ") + sostituto);
    const QByteArray contenuto = sorgente.readAll();
    sorgente.close();
    // A journal left beside the old file would be played back into the new one.
    const QString giornale = percorsoDB + QStringLiteral("-journal");
    if (QFileInfo::exists(giornale) && !QFile::remove(giornale))
        throw db::DbError(SQLITE_IOERR,
                          QStringLiteral("Impossibile eliminare il file %1").arg(giornale));
    QString motivo;
    if (!fileSicuro::sostituisci(percorsoDB, contenuto, &motivo))
        throw db::DbError(SQLITE_IOERR, motivo + QStringLiteral(": ") + percorsoDB);
}

bool eliminaCopiaSicurezza(const QString& percorsoDB) {
    const QString copia = fileCopiaSicurezza(percorsoDB);
    return !QFileInfo::exists(copia) || QFile::remove(copia);
}

QString verificaBaseDati(const QString& file, const QString& chiave) {
    try {
        provaBaseDati(file, chiave);
        return QString();
    } catch (const db::DbError& e) {
        return e.description();
    }
}

QString differenzaContenuto(db::Connection& a, db::Connection& b) {
    // One read transaction on each side: both are compared as one committed state.
    const bool apriA = !a.inTransazione();
    const bool apriB = !b.inTransazione();
    if (apriA)
        a.exec(QStringLiteral("BEGIN"));
    if (apriB)
        b.exec(QStringLiteral("BEGIN"));
    QString differenza;
    try {
        const QList<db::Row> ca = a.catalogo();
        const QList<db::Row> cb = b.catalogo();
        if (ca.size() != cb.size())
            differenza = QStringLiteral("Tabelle diverse");
        // The text of a definition is compared between databases of one engine.
        const int colonne = a.motore() == b.motore() ? 4 : 2;
        for (int i = 0; differenza.isEmpty() && i < ca.size(); ++i) {
            for (int col = 0; col < colonne; ++col)
                if (ca.at(i).value(col) != cb.at(i).value(col))
                    differenza =
                        QStringLiteral("Struttura diversa: %1").arg(ca.at(i).value(1).toString());
            if (differenza.isEmpty() && ca.at(i).value(0).toString() == QLatin1String("table"))
                differenza = confrontaTabella(a, b, ca.at(i).value(1).toString());
        }
    } catch (...) {
        if (apriA)
            a.exec(QStringLiteral("ROLLBACK"));
        if (apriB)
            b.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    if (apriA)
        a.exec(QStringLiteral("ROLLBACK"));
    if (apriB)
        b.exec(QStringLiteral("ROLLBACK"));
    return differenza;
}

} // namespace maint
