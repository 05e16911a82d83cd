#include "ScriptedInteraction.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#ifndef KORVADIN_TEST_NO_WIDGETS
#include <QDialog>
#endif

namespace ui {

Answer ScriptedInteraction::message(QWidget*, const QString& text, const QString& title, Icon icon,
                                    Buttons buttons) {
    Message m{text, title, icon, buttons, firstAnswer(buttons)};
    if (!answers.isEmpty())
        m.answer = answers.takeFirst();
    messages << m;
    if (handler) {
        m.answer = handler(m);
        messages.last().answer = m.answer;
    }
    return m.answer;
}

QString ScriptedInteraction::chooseFile(QWidget*, const FileDialog& dialog) {
    fileDialogs << dialog;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

bool ScriptedInteraction::openUrl(const QUrl& url) {
    openedUrls << url;
    return true;
}

void ScriptedInteraction::showHelp(QWidget*, const QString& helpFile, int topic) {
    helpShown << qMakePair(helpFile, topic);
}

bool ScriptedInteraction::runAndWait(const QString& program, const QStringList& arguments,
                                     QString* error) {
    processes << (QStringList{program} + arguments).join(QLatin1Char(' '));
    if (!processStarts && error)
        *error = QStringLiteral("Impossibile avviare il programma");
    return processStarts;
}

#ifdef KORVADIN_TEST_NO_WIDGETS
int ScriptedInteraction::runDialog(QDialog&) {
    undrivenDialogs << QString();
    return 0;
}
#else
int ScriptedInteraction::runDialog(QDialog& dialog) {
    const QString name = dialog.objectName();
    dialogsRun << name;
    const auto driver = dialogDrivers.value(name);
    if (!driver || programEnded()) {
        undrivenDialogs << name;
        return QDialog::Rejected;
    }
    int result = -1;
    const auto connection =
        QObject::connect(&dialog, &QDialog::finished, [&result](int r) { result = r; });
    dialog.setModal(true);
    dialog.show();
    driver(dialog);
    QElapsedTimer waited;
    waited.start();
    while (result < 0 && dialog.isVisible() && waited.elapsed() < dialogTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    if (result < 0 && dialog.isVisible()) {
        unfinishedDialogs << name;
        dialog.reject();
    }
    QObject::disconnect(connection);
    return result < 0 ? dialog.result() : result;
}
#endif

void ScriptedInteraction::processEvents() {
    QCoreApplication::processEvents();
}

QStringList ScriptedInteraction::texts() const {
    QStringList list;
    for (const Message& m : messages)
        list << m.text;
    return list;
}

} // namespace ui
