#include "ScriptedInteraction.h"

#include <QCoreApplication>

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
