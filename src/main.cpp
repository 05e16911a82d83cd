#include "app/Main.h"
#include "app/MDI_Main.h"
#include "app/Startup.h"
#include "common/Applicazione.h"
#include "common/GeometriaFinestre.h"
#include "common/QtInteraction.h"
#include "common/Traduzioni.h"
#include "core/Session.h"

int main(int argc, char* argv[]) {
    Applicazione app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVADIN"));
    QApplication::setApplicationVersion(Session::versione());
    installaTraduzioniItaliane(app);

    ui::QtInteraction interaction;
    Session session(interaction, QApplication::applicationDirPath());
    const QStringList args = QApplication::arguments().mid(1);
    session.debug = args.size() == 1 && args.first() == QLatin1String("DEBUG");
    GeometriaFinestre geometria(session.userSettings);
    app.installEventFilter(&geometria);

    // The end of the program during start-up unwinds to here; later ones stop
    // at the event loop, which then returns.
    try {
        Startup startup(session);
        const auto frame = startup.run();
        if (session.ended())
            return 0;
        return QApplication::exec();
    } catch (const ui::FineProgramma&) {
        return 0;
    }
}
