// Runs the approved-course update on a program folder, as the program does
// after a download, so that a test can kill it on the way:
//   aggiorna_probe <program folder>
// prints "PRONTO" once connected, then "FATTO 1" (or "FATTO 0") at the end.
#include "ScriptedInteraction.h"
#include "core/Session.h"
#include "db/Database.h"
#include "download/mdAggiornaCorsiApprovati.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    ui::ScriptedInteraction interaction;
    Session s(interaction, QString::fromLocal8Bit(argv[1]));
    s.PercorsoDB = s.file(QStringLiteral("KORVADIN.mdb"));
    s.CorsiDB().open(s.PercorsoDB, Session::databasePassword(), db::OpenMode::Shared);
    QTextStream out(stdout);
    out << "PRONTO\n" << Qt::flush;
    const bool fatto = download::AggiornaCorsiScaricati(s, nullptr);
    out << "FATTO " << int(fatto) << "\n" << Qt::flush;
    return 0;
}
