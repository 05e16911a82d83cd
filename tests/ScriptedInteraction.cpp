#include "ScriptedInteraction.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#ifndef KORVADIN_TEST_NO_WIDGETS
#include <QDialog>
#endif

namespace ui {

Answer ScriptedInteraction::message(QWidget*, const QString& text, const QString& title, Icon icon,
                                    Buttons buttons) {
    fermaSeTerminato();
    Message m{text, title, icon, buttons, firstAnswer(buttons)};
    if (!answers.isEmpty())
        m.answer = answers.takeFirst();
    messages << m;
    if (handler) {
        m.answer = handler(m);
        messages.last().answer = m.answer;
    }
    fermaSeTerminato();
    return m.answer;
}

QString ScriptedInteraction::chooseFile(QWidget*, const FileDialog& dialog) {
    fermaSeTerminato();
    fileDialogs << dialog;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

bool ScriptedInteraction::openUrl(const QUrl& url) {
    fermaSeTerminato();
    openedUrls << url;
    return true;
}

EsitoStampa ScriptedInteraction::print(QWidget*, const Stampa& stampa) {
    fermaSeTerminato();
    stampe << stampa;
    return esitiStampa.isEmpty() ? EsitoStampa::Annullata : esitiStampa.takeFirst();
}

void ScriptedInteraction::showHelp(QWidget*, const QString& helpFile, int topic) {
    fermaSeTerminato();
    helpShown << qMakePair(helpFile, topic);
}

bool ScriptedInteraction::runAndWait(const QString& program, const QStringList& arguments,
                                     QString* error) {
    fermaSeTerminato();
    processes << (QStringList{program} + arguments).join(QLatin1Char(' '));
    if (!processStarts && error)
        *error = QStringLiteral("Impossibile avviare il programma");
    return processStarts;
}

#ifdef KORVADIN_TEST_NO_WIDGETS
int ScriptedInteraction::runDialog(QDialog&) {
    fermaSeTerminato();
    undrivenDialogs << QString();
    return 0;
}
#else
namespace {
// The form is left closed and unwatched however runDialog is left.
class FormInCorso {
public:
    FormInCorso(QDialog& dialog, int& result)
        : m_dialog(dialog), m_connection(QObject::connect(&dialog, &QDialog::finished,
                                                          [&result](int r) { result = r; })) {}
    ~FormInCorso() {
        QObject::disconnect(m_connection);
        if (m_dialog.isVisible())
            m_dialog.hide();
    }
    FormInCorso(const FormInCorso&) = delete;
    FormInCorso& operator=(const FormInCorso&) = delete;

private:
    QDialog& m_dialog;
    QMetaObject::Connection m_connection;
};
} // namespace

int ScriptedInteraction::runDialog(QDialog& dialog) {
    fermaSeTerminato();
    const QString name = dialog.objectName();
    dialogsRun << name;
    const auto driver = dialogDrivers.value(name);
    if (!driver) {
        undrivenDialogs << name;
        return QDialog::Rejected;
    }
    int result = -1;
    const FormInCorso inCorso(dialog, result);
    dialog.setModal(true);
    dialog.show();
    QCoreApplication::processEvents();
    fermaSeTerminato();
    if (result < 0 && dialog.isVisible())
        driver(dialog);
    fermaSeTerminato();
    QElapsedTimer waited;
    waited.start();
    while (result < 0 && dialog.isVisible() && waited.elapsed() < dialogTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
        fermaSeTerminato();
    }
    if (result < 0 && dialog.isVisible()) {
        unfinishedDialogs << name;
        dialog.reject();
        fermaSeTerminato();
    }
    return result < 0 ? dialog.result() : result;
}
#endif

void ScriptedInteraction::processEvents() {
    QCoreApplication::processEvents();
    fermaSeTerminato();
}

QStringList ScriptedInteraction::texts() const {
    QStringList list;
    for (const Message& m : messages)
        list << m.text;
    return list;
}

} // namespace ui
