// The registry update in a process of its own, for the crash tests:
//   anagrafica_probe <program folder>
// opens KORVADIN.mdb of the folder, prints "PRONTO" and merges the registry
// files of the folder (safety copy beside the database); prints "FATTO 1" or
// "FATTO 0" at the end. Messages are answered with their first button.
#include "ScriptedInteraction.h"
#include "core/Session.h"
#include "refdata/AnagraficaOperatori.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString cartella =
        QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    ui::ScriptedInteraction interazione;
    Session s(interazione, cartella, cartella + QStringLiteral("utente.ini"));
    s.PercorsoDB = cartella + QStringLiteral("KORVADIN.mdb");
    s.CorsiDB().open(s.PercorsoDB, Session::databasePassword(), db::OpenMode::Shared);
    QTextStream out(stdout);
    out << "PRONTO\n" << Qt::flush;
    const bool unito = anagrafica::unisci(s, nullptr);
    out << "FATTO " << (unito ? 1 : 0) << '\n' << Qt::flush;
    return 0;
}
