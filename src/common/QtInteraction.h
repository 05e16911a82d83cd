#pragma once

#include "core/Interaction.h"

namespace ui {

// The real desktop: Qt message boxes, file dialogs, the help window, the
// system's handlers for addresses and files.
class QtInteraction : public Interaction {
public:
    Answer message(QWidget* parent, const QString& text, const QString& title, Icon icon,
                   Buttons buttons) override;
    QString chooseFile(QWidget* parent, const FileDialog& dialog) override;
    bool openUrl(const QUrl& url) override;
    void showHelp(QWidget* parent, const QString& helpFile, int topic) override;
    bool runAndWait(const QString& program, const QStringList& arguments, QString* error) override;
    int runDialog(QDialog& dialog) override;
    // Qt's print preview (common/AnteprimaStampa.cpp).
    EsitoStampa print(QWidget* parent, const Stampa& stampa) override;
    void beep() override;
    void setBusy(bool busy) override;
    void processEvents() override;

protected:
    void leaveEventLoops() override;

private:
    int m_busyDepth = 0;
};

} // namespace ui
