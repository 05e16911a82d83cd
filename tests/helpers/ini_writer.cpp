// Writes CONNESSIONE/NREG of the configuration file named by its argument over
// and over, each time a run of one letter of another length, and prints
// "PRONTO" after the first write. Used by the tests that kill a process in the
// middle of a configuration write.
#include "core/clsFileINI.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    clsFileINI ini(QFileInfo(path).absolutePath());
    ini.setNomeFile(path);
    for (int i = 0;; ++i) {
        const QString valore(100 + (i * 37) % 900, QChar(u'a' + i % 26));
        if (!ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("NREG"), valore))
            return 1;
        if (i == 0) {
            std::puts("PRONTO");
            std::fflush(stdout);
        }
    }
}
