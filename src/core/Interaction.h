#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QDialog;
class QPagedPaintDevice;
class QWidget;

// Everything the program asks of the user or of the desktop goes through this
// service: message boxes, file dialogs, help, opening an address or a file,
// starting a process, and the end of the program. The Qt implementation
// (common/QtInteraction.h) talks to the real desktop; the tests have a scripted
// one that records and answers.
//
// How the program ends. endProgram() closes what must be closed (the handler
// given to onEnd: the session closes the connection), tells every running
// event loop to leave, and throws FineProgramma. Nobody tests a flag after a
// call that can end the program: the exception unwinds the caller's stack up to
// one of two places that catch it:
// - main(), for the steps that run before the event loop (start-up);
// - Applicazione::notify (common/Applicazione.h), for everything an event
//   handler does. The loop that delivered the event has already been told to
//   leave, so it returns; the code that started that loop (a modal form run by
//   runDialog, a message box, processEvents) finds the program ended when the
//   loop returns and throws FineProgramma again, so its own caller unwinds too.
// The exception therefore never crosses an event loop, only the few frames of
// Qt's event delivery between notify and the handler. Once ended, every call of
// this service that would show something or wait throws FineProgramma at once,
// and Session::CorsiDB() throws it too: code after the end cannot reach the
// closed connection. FineProgramma is no std::exception, so handlers that catch
// failures (db::DbError, std::exception) let it through.
namespace ui {

// The program has ended; see above.
struct FineProgramma {};

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// Title shown when a message has none of its own.
inline const QString DefaultTitle = QStringLiteral("KORVADIN");

struct Message {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer answer = Answer::Ok;
};

struct FileDialog {
    bool save = false;
    QString caption;
    QString folder;   // initial folder
    QString fileName; // preset name
    QString filter;   // Qt filter text, e.g. "Database (*.mdb)"
    bool overwritePrompt = true;
};

// A document to print. Its pages are drawn by a routine on the device it is
// given (a printer, the print preview, a PDF writer), so that every output
// shows the same pages.
struct Stampa {
    QString titolo;  // title of the preview window and name of the print job
    QString filePdf; // file proposed when the user keeps it as PDF
    std::function<void(QPagedPaintDevice&)> disegna;
};
// How a print request ended: closed without printing, printed (on paper or
// into a PDF file), or the printer failed.
enum class EsitoStampa { Annullata, Stampata, Fallita };

// The answer given when a box is closed without choosing (Esc or the close box).
Answer escapeAnswer(Buttons buttons);
// The answer of a box's first button (OK, Yes, Retry, Abort).
Answer firstAnswer(Buttons buttons);

class Interaction {
public:
    virtual ~Interaction() = default;

    virtual Answer message(QWidget* parent, const QString& text, const QString& title = QString(),
                           Icon icon = Icon::None, Buttons buttons = Buttons::Ok) = 0;
    // Empty when the dialog was cancelled.
    virtual QString chooseFile(QWidget* parent, const FileDialog& dialog) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
    // Shows a topic of the help file (an HTML file with one anchor per topic).
    virtual void showHelp(QWidget* parent, const QString& helpFile, int topic) = 0;
    // Starts a program and waits for its end while the interface keeps painting.
    // Returns false when the program could not be started (error set).
    virtual bool runAndWait(const QString& program, const QStringList& arguments,
                            QString* error) = 0;
    // Runs a form modally and returns its result (QDialog::Accepted or
    // QDialog::Rejected). Every modal form of the program is run through here.
    virtual int runDialog(QDialog& dialog) = 0;
    // Shows the print preview of the document, from which the user prints it
    // or keeps it as PDF.
    virtual EsitoStampa print(QWidget* parent, const Stampa& stampa) = 0;
    virtual void beep() = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void processEvents() = 0;

    // The program ends: whatever must be closed is closed by the handler given to
    // onEnd, the event loops are told to leave, and FineProgramma is thrown.
    [[noreturn]] void endProgram();
    bool programEnded() const { return m_ended; }
    void onEnd(std::function<void()> handler) { m_onEnd = std::move(handler); }

protected:
    virtual void leaveEventLoops() = 0;
    // Throws FineProgramma once the program has ended.
    void fermaSeTerminato() const;
    // A new run of the program on the same service (tests only).
    void ripristinaAvvio() { m_ended = false; }

private:
    bool m_ended = false;
    std::function<void()> m_onEnd;
};

} // namespace ui
