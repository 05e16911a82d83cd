#pragma once

#include "core/RichiestaServer.h"
#include "transmit/mdCreaFileTrasm.h"

#include <QDialog>

class QLabel;
class QPushButton;
class Session;

namespace transmit {

// The transmission form of one course: copies the attachment into the
// "Trasmissioni" folder, or checks the program version and the progress state
// of the course with the regional server and opens the upload form.
class Trasmis : public QDialog {
    Q_OBJECT
public:
    explicit Trasmis(Session& session, QWidget* parent = nullptr);

    // True while a handler of the form is running (a request may be waiting).
    bool occupato() const { return m_occupato; }
    net::RichiestaServer& richiesta() { return m_inet; }

public slots:
    // The form cannot be left while a request runs.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdSalva_Click();
    void cmdSend_Click();
    void cmdDebug_Click();

    bool ControlloVersione();
    bool ControlloStatoAvanzamento();

    Session& m_session;
    net::RichiestaServer m_inet;
    mdCreaFileTrasm m_crea;
    bool m_occupato = false;
    qint64 m_numeroDomanda = 0; // the course record carries no application number

    QLabel* lblGrOpePres;
    QLabel* lblOpePres;
    QLabel* lblDenOpePres;
    QLabel* lblID;
    QLabel* lblProgr;
    QLabel* lblDenCorso;
    QPushButton* cmdSalva;
    QPushButton* cmdSend;
    QPushButton* cmdStampa;
    QPushButton* cmdEsci;
    QPushButton* cmdAiuto;
    QPushButton* cmdDebug;
};

} // namespace transmit
