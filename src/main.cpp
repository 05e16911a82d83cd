#include "app/Main.h"
#include "app/MDI_Main.h"
#include "app/Startup.h"
#include "common/QtInteraction.h"
#include "common/Traduzioni.h"
#include "core/Session.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVADIN"));
    QApplication::setApplicationVersion(Session::versione());
    installaTraduzioniItaliane(app);

    ui::QtInteraction interaction;
    Session session(interaction, QApplication::applicationDirPath());
    const QStringList args = QApplication::arguments().mid(1);
    session.debug = args.size() == 1 && args.first() == QLatin1String("DEBUG");

    Startup startup(session);
    auto frame = startup.run();
    if (!frame || session.ended())
        return 0;
    return QApplication::exec();
}
