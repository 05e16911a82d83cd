#pragma once

// What the measurements share: an interaction service that shows nothing, and
// the processor time of this process or of its ended children.

#include "core/Interaction.h"

#include <QCoreApplication>
#include <QTextStream>

#include <sys/resource.h>

namespace misura {

// Nothing is shown: a message goes to the error output and gets its first
// button; events are processed so that waits on the network go on.
class Silenziosa : public ui::Interaction {
public:
    ui::Answer message(QWidget*, const QString& text, const QString&, ui::Icon,
                       ui::Buttons buttons) override {
        QTextStream(stderr) << text << "\n";
        return ui::firstAnswer(buttons);
    }
    QString chooseFile(QWidget*, const ui::FileDialog&) override { return {}; }
    bool openUrl(const QUrl&) override { return false; }
    void showHelp(QWidget*, const QString&, int) override {}
    bool runAndWait(const QString&, const QStringList&, QString*) override { return false; }
    int runDialog(QDialog&) override { return 0; }
    ui::EsitoStampa print(QWidget*, const ui::Stampa&) override {
        return ui::EsitoStampa::Annullata;
    }
    void beep() override {}
    void setBusy(bool) override {}
    void processEvents() override { QCoreApplication::processEvents(); }

protected:
    void leaveEventLoops() override {}
};

// Processor time (user and system) in ms: RUSAGE_SELF, or RUSAGE_CHILDREN for
// the children that have ended.
inline double processoreMs(int chi = RUSAGE_SELF) {
    rusage u{};
    getrusage(chi, &u);
    return (double(u.ru_utime.tv_sec) + double(u.ru_stime.tv_sec)) * 1000.0 +
           (double(u.ru_utime.tv_usec) + double(u.ru_stime.tv_usec)) / 1000.0;
}

} // namespace misura
