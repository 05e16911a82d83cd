// Starts ("avvia") or stops ("ferma") the private PostgreSQL server of a test
// run in a folder: the set-up and clean-up of the suites run on that engine.
#include "TestSupport.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    if (argomenti.size() != 3)
        return 2;
    if (argomenti.at(1) == QLatin1String("avvia"))
        return prova::avviaServer(argomenti.at(2)) ? 0 : 1;
    return prova::fermaServer(argomenti.at(2)) ? 0 : 1;
}
