#pragma once

#include "transmit/FormRichiesta.h"

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace transmit {

class mdCreaFileTrasm;

// The upload form: makes the attachment of the chosen course, posts it to the
// regional server and, when the server confirms it, marks the course
// TRASMESSO and deletes the attachment.
class frmInet : public FormRichiesta {
    Q_OBJECT
public:
    frmInet(Session& session, mdCreaFileTrasm& crea, qint64 numeroDomanda,
            QWidget* parent = nullptr);

    // The server confirmed the upload and the course was marked TRASMESSO.
    bool trasmesso() const { return m_trasmesso; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Cmd_Send_Click();
    void CmdTAVREL_Click();
    bool ControlloVersione();
    void eliminaAllegato();

    mdCreaFileTrasm& m_crea;
    qint64 m_numeroDomanda;
    bool m_trasmesso = false;

    QLineEdit* txFrom;
    QPushButton* Cmd_Send;
    QPushButton* Cmd_Esci;
    QPushButton* cmdAiuto;
    QPushButton* CmdProxy;
    QPushButton* CmdTAVREL;
    QProgressBar* lblPercent;
};

} // namespace transmit
