#pragma once

#include "core/Interaction.h"

#include <QHash>
#include <QPair>

namespace ui {

// For the tests: every message is recorded with its title, icon and buttons and
// answered from a queue (or by a handler); file dialogs, help, addresses and
// processes are recorded too.
class ScriptedInteraction : public Interaction {
public:
    Answer message(QWidget* parent, const QString& text, const QString& title, Icon icon,
                   Buttons buttons) override;
    QString chooseFile(QWidget* parent, const FileDialog& dialog) override;
    bool openUrl(const QUrl& url) override;
    void showHelp(QWidget* parent, const QString& helpFile, int topic) override;
    bool runAndWait(const QString& program, const QStringList& arguments, QString* error) override;
    // A form is run by the driver registered under its objectName: the form is
    // shown, the events it posted on showing are delivered (its activation), the
    // driver works it (fills boxes, clicks buttons, answers nested forms through
    // their own drivers) and the form's result is returned once it has closed.
    // A form without a driver is rejected at once and listed in
    // undrivenDialogs; a form still open dialogTimeoutMs after its driver
    // returned is rejected and listed in unfinishedDialogs. When the program
    // ended while the form was up, FineProgramma leaves runDialog as it leaves
    // the real one. Tests of the core, built without widgets, can only see that
    // a form was asked for.
    int runDialog(QDialog& dialog) override;
    // Recorded with its drawing routine, which the test can run on a device of
    // its own; answered from esitiStampa (Annullata when empty).
    EsitoStampa print(QWidget* parent, const Stampa& stampa) override;
    void beep() override { ++beeps; }
    void setBusy(bool busy) override { busy ? ++busyCalls : --busyCalls; }
    void processEvents() override;

    // Answers for the next messages, in order; when the queue is empty the
    // first button's answer is given (OK, Yes, Retry, Abort).
    QList<Answer> answers;
    // When set, called for each message (after recording it) and its result is
    // the answer; lets a test look at the screen while a message is up.
    std::function<Answer(const Message&)> handler;
    QList<Message> messages;
    QStringList fileAnswers; // next chosen files; "" means cancelled
    QList<FileDialog> fileDialogs;
    QList<QUrl> openedUrls;
    QList<Stampa> stampe;
    QList<EsitoStampa> esitiStampa;
    QList<QPair<QString, int>> helpShown;
    QStringList processes;
    bool processStarts = true;
    int beeps = 0;
    int busyCalls = 0;
    int leaves = 0;
    QHash<QString, std::function<void(QDialog&)>> dialogDrivers;
    QStringList dialogsRun; // objectNames, in the order the forms were run
    QStringList undrivenDialogs;
    QStringList unfinishedDialogs;
    int dialogTimeoutMs = 5000;

    QStringList texts() const;
    // A new run of the program with the same answers (the end of the previous
    // run forgotten).
    void nuovaEsecuzione() { ripristinaAvvio(); }
    Message last() const { return messages.isEmpty() ? Message() : messages.last(); }

protected:
    void leaveEventLoops() override { ++leaves; }
};

} // namespace ui
