#pragma once

#include "transmit/FormRichiesta.h"
#include "transmit/mdCreaFileTrasm.h"

class QLabel;
class QPushButton;

namespace transmit {

// The transmission form of one course: copies the attachment into the
// "Trasmissioni" folder, or checks the program version and the progress state
// of the course with the regional server and opens the upload form.
class Trasmis : public FormRichiesta {
    Q_OBJECT
public:
    explicit Trasmis(Session& session, QWidget* parent = nullptr);

private:
    void cmdSalva_Click();
    void cmdSend_Click();
    void cmdDebug_Click();

    bool ControlloVersione();
    bool ControlloStatoAvanzamento();
    // Shows the course's state as the database holds it; after a confirmed
    // upload the send button is no longer offered.
    void mostraStato(bool trasmesso);

    mdCreaFileTrasm m_crea;
    qint64 m_numeroDomanda = 0; // the course record carries no application number

    QLabel* lblGrOpePres;
    QLabel* lblOpePres;
    QLabel* lblDenOpePres;
    QLabel* lblID;
    QLabel* lblProgr;
    QLabel* lblDenCorso;
    QLabel* lblStato;
    QPushButton* cmdSalva;
    QPushButton* cmdSend;
    QPushButton* cmdStampa;
    QPushButton* cmdEsci;
    QPushButton* cmdAiuto;
    QPushButton* cmdDebug;
};

} // namespace transmit
