// A reference-data load in a process of its own, for the crash tests:
//   caricamento_probe <program folder> anagrafica|decodifiche
// opens KORVADIN.mdb of the folder, prints "PRONTO", then either merges the
// registry files of the folder (safety copy beside the database) or runs the
// decoding-table run of the main window on the files and flag of the folder;
// prints "FATTO 1" or "FATTO 0" at the end. Messages are answered with their
// first button.
#include "ScriptedInteraction.h"
#include "core/Interaction.h"
#include "core/Session.h"
#include "refdata/AnagraficaOperatori.h"
#include "refdata/TabelleDecodifica.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString cartella =
        QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    const bool anagrafica = qstrcmp(argv[2], "anagrafica") == 0;
    ui::ScriptedInteraction interazione;
    Session s(interazione, cartella, cartella + QStringLiteral("utente.ini"));
    s.PercorsoDB = cartella + QStringLiteral("KORVADIN.mdb");
    s.CorsiDB().open(s.PercorsoDB, Session::databasePassword(), db::OpenMode::Shared);
    QTextStream out(stdout);
    out << "PRONTO\n" << Qt::flush;
    bool fatto = false;
    try {
        if (anagrafica) {
            fatto = anagrafica::unisci(s, nullptr);
        } else {
            refdata::Caricamento c;
            c.chiamante = refdata::Chiamante::FinestraPrincipale;
            refdata::eseguiTabelleDecodifica(s, c);
            fatto = true;
        }
    } catch (const ui::FineProgramma&) {
        // A failed load ended the program.
    }
    out << "FATTO " << (fatto ? 1 : 0) << '\n' << Qt::flush;
    return 0;
}
