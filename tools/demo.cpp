// Prepares a ready demo installation folder: korvadin-demo <folder>
#include "DemoInstallation.h"

#include "db/DbError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "uso: korvadin-demo <cartella>\n";
        return 2;
    }
    try {
        tooling::creaInstallazioneDemo(QString::fromLocal8Bit(argv[1]));
    } catch (const db::DbError& e) {
        err << "Errore " << e.number() << ": " << e.description() << "\n";
        return 1;
    }
    return 0;
}
