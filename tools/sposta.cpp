// Moves an installation's database file onto its PostgreSQL server:
//   korvadin-sposta <program folder>
// The folder's KORVADIN.INI names the file (BaseDati/Database) and the server
// (BaseDati/Motore=PostgreSQL and the keys beside it). The server's database
// must hold no installation yet; every row is written in one transaction and
// compared at the end. The file is left untouched.
#include "core/Configurazione.h"
#include "core/Session.h"
#include "core/clsFileINI.h"
#include "db/Database.h"
#include "db/Trasferimento.h"
#include "maint/CopiaSicurezza.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    if (argc != 2) {
        err << "uso: korvadin-sposta <cartella del programma>\n";
        return 2;
    }
    const QString cartella = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + '/';
    clsFileINI ini(cartella);
    ini.setNomeFile(cartella + QStringLiteral("KORVADIN.INI"));
    const auto server = configurazione::indirizzoBaseDatiServer(ini);
    if (!server) {
        err << "KORVADIN.INI non indica un server (BaseDati/Motore=PostgreSQL).\n";
        return 2;
    }
    try {
        db::Connection file, destinazione;
        file.open(ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database")),
                  Session::databasePassword(), db::OpenMode::Shared);
        destinazione.open(*server, Session::databasePassword(), db::OpenMode::Exclusive);
        if (destinazione.scalar(QStringLiteral("SELECT count(*) FROM Installazione")).toInt() > 0) {
            err << "La base dati sul server contiene già un'installazione: "
                << destinazione.descrizione() << "\n";
            return 1;
        }
        db::copiaContenuto(file, destinazione);
        const QString differenza = maint::differenzaContenuto(file, destinazione);
        if (!differenza.isEmpty()) {
            err << "Confronto non riuscito: " << differenza << "\n";
            return 1;
        }
        out << "Base dati trasferita su " << destinazione.descrizione() << ", righe confrontate.\n";
    } catch (const db::DbError& e) {
        err << "Errore " << e.number() << ": " << e.description() << "\n";
        return 1;
    }
    return 0;
}
