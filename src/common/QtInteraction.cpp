#include "common/QtInteraction.h"

#include "common/HelpWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QThread>

namespace ui {

namespace {

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

Answer fromQt(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        return Answer::Ok;
    }
}

} // namespace

Answer QtInteraction::message(QWidget* parent, const QString& text, const QString& title, Icon icon,
                              Buttons buttons) {
    fermaSeTerminato();
    QMessageBox box(toQt(icon), title.isEmpty() ? DefaultTitle : title, text, toQt(buttons),
                    parent);
    // A busy pointer must not hide the pointer over a message.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    QApplication::restoreOverrideCursor();
    fermaSeTerminato();
    if (box.clickedButton() == nullptr)
        return escapeAnswer(buttons);
    return fromQt(result);
}

QString QtInteraction::chooseFile(QWidget* parent, const FileDialog& d) {
    fermaSeTerminato();
    const QString start = d.fileName.isEmpty() ? d.folder : QDir(d.folder).filePath(d.fileName);
    QString scelto;
    if (d.save) {
        QFileDialog::Options options;
        if (!d.overwritePrompt)
            options |= QFileDialog::DontConfirmOverwrite;
        scelto = QFileDialog::getSaveFileName(parent, d.caption, start, d.filter, nullptr, options);
    } else {
        scelto = QFileDialog::getOpenFileName(parent, d.caption, start, d.filter);
    }
    fermaSeTerminato();
    return scelto;
}

bool QtInteraction::openUrl(const QUrl& url) {
    fermaSeTerminato();
    return QDesktopServices::openUrl(url);
}

void QtInteraction::showHelp(QWidget* parent, const QString& helpFile, int topic) {
    fermaSeTerminato();
    HelpWindow::showTopic(parent, helpFile, topic);
}

bool QtInteraction::runAndWait(const QString& program, const QStringList& arguments,
                               QString* error) {
    fermaSeTerminato();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        if (error)
            *error = process.errorString();
        return false;
    }
    while (process.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        process.waitForFinished(50);
        fermaSeTerminato();
    }
    return true;
}

int QtInteraction::runDialog(QDialog& dialog) {
    fermaSeTerminato();
    const int result = dialog.exec();
    fermaSeTerminato();
    return result;
}

void QtInteraction::beep() {
    QApplication::beep();
}

void QtInteraction::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busyDepth;
    } else if (m_busyDepth > 0) {
        QApplication::restoreOverrideCursor();
        --m_busyDepth;
    }
}

void QtInteraction::processEvents() {
    QCoreApplication::processEvents();
    fermaSeTerminato();
}

void QtInteraction::leaveEventLoops() {
    while (m_busyDepth > 0)
        setBusy(false);
    QCoreApplication::exit(0);
}

} // namespace ui
