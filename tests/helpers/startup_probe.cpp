// Runs the program's start-up on a program folder with scripted answers and
// prints every message it shows, one per line as "title|text" (line breaks of
// the text as "\n"), then "FRAME" when the main frame was reached or "ENDED"
// when the program ended. Used by the tests that need a real second process.
#include "ScriptedInteraction.h"
#include "app/MDI_Main.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "common/Applicazione.h"
#include "core/Session.h"

#include <QTextStream>

int main(int argc, char* argv[]) {
    Applicazione app(argc, argv);
    if (argc < 2)
        return 2;
    ui::ScriptedInteraction interaction;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    Session session(interaction, folder, folder + QStringLiteral("/probe-user.ini"));
    Startup startup(session);
    std::unique_ptr<MDI_Main> frame;
    try {
        frame = startup.run();
    } catch (const ui::FineProgramma&) {
        frame.reset();
    }
    QTextStream out(stdout);
    for (const ui::Message& m : interaction.messages) {
        QString text = m.text;
        text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        out << m.title << '|' << text << '\n';
    }
    out << (frame ? "FRAME" : "ENDED") << '\n';
    return 0;
}
