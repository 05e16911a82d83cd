// Prepares a ready demo installation folder: korvadin-demo <folder>
#include "DemoInstallation.h"

#include "db/DbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "uso: korvadin-demo <cartella>\n";
        return 2;
    }
    try {
        tooling::creaInstallazioneDemo(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    } catch (const db::DbError& e) {
        err << "Errore " << e.number() << ": " << e.description() << "\n";
        return 1;
    }
    return 0;
}
