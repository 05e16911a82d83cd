#pragma once

#include "core/RichiestaServer.h"

#include <QDialog>

#include <functional>

class QCloseEvent;
class Session;

namespace transmit {

// A form that talks to the regional server through its own request: while one
// of its handlers runs (a request may be waiting) the form cannot be left, and
// a transfer error is shown under "Errore di trasmissione".
class FormRichiesta : public QDialog {
    Q_OBJECT
public:
    // True while a handler of the form is running (a request may be waiting).
    bool occupato() const { return m_occupato; }
    net::RichiestaServer& richiesta() { return m_inet; }

public slots:
    // The form cannot be left while a request runs.
    void reject() override;

protected:
    FormRichiesta(Session& session, QWidget* parent);

    void closeEvent(QCloseEvent* event) override;

    // Closes the form with accept() unless a handler is running.
    void esci();

    // Shows every transfer error of the request with the text made from its
    // code and its description.
    void mostraErroriTrasferimento(std::function<QString(int codice, const QString& testo)> testo);

    // Marks the form busy for the length of a handler: a click that arrives
    // while a request is waiting finds it busy and does nothing.
    class Occupato {
    public:
        explicit Occupato(FormRichiesta& form) : m_form(form) { m_form.m_occupato = true; }
        ~Occupato() { m_form.m_occupato = false; }
        Occupato(const Occupato&) = delete;
        Occupato& operator=(const Occupato&) = delete;

    private:
        FormRichiesta& m_form;
    };

    Session& m_session;
    net::RichiestaServer m_inet;

private:
    bool m_occupato = false;
};

} // namespace transmit
