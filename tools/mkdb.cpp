// Writes the empty delivered database file: korvadin-mkdb <file>
#include "core/Session.h"
#include "db/Schema.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "uso: korvadin-mkdb <file della base dati>\n";
        return 2;
    }
    try {
        db::creaBaseDatiVuota(QString::fromLocal8Bit(argv[1]), Session::databasePassword());
    } catch (const db::DbError& e) {
        err << "Errore " << e.number() << ": " << e.description() << "\n";
        return 1;
    }
    return 0;
}
