#include "db/Trasferimento.h"

#include "db/Database.h"

namespace db {

void copiaContenuto(Connection& da, Connection& a) {
    const QStringList proprie = a.tabelle();
    const bool leggiInTransazione = !da.inTransazione();
    Transaction scrittura(a);
    // One committed state of the source for the whole copy.
    if (leggiInTransazione)
        da.exec(QStringLiteral("BEGIN"));
    try {
        for (const QString& tabella : da.tabelle()) {
            if (!proprie.contains(tabella, Qt::CaseInsensitive))
                continue;
            a.exec(QStringLiteral("DELETE FROM %1").arg(tabella));
            Statement lettura(
                da, QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(tabella, da.idRiga()));
            QStringList nomi;
            for (int i = 0; i < lettura.columnCount(); ++i)
                nomi << lettura.columnName(i);
            Statement inserimento(
                a, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(tabella, nomi.join(QLatin1Char(',')),
                            QStringList(nomi.size(), QStringLiteral("?")).join(QLatin1Char(','))));
            while (lettura.next()) {
                inserimento.reset();
                for (int i = 0; i < nomi.size(); ++i)
                    inserimento.bind(i + 1, lettura.value(i));
                inserimento.run();
            }
        }
    } catch (...) {
        if (leggiInTransazione && da.isOpen() && da.inTransazione())
            da.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    if (leggiInTransazione)
        da.exec(QStringLiteral("ROLLBACK"));
    scrittura.commit();
}

} // namespace db
