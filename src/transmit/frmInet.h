#pragma once

#include "core/RichiestaServer.h"

#include <QDialog>

class QLineEdit;
class QProgressBar;
class QPushButton;
class Session;

namespace transmit {

class mdCreaFileTrasm;

// The upload form: makes the attachment of the chosen course, posts it to the
// regional server and, when the server confirms it, marks the course
// TRASMESSO and deletes the attachment.
class frmInet : public QDialog {
    Q_OBJECT
public:
    frmInet(Session& session, mdCreaFileTrasm& crea, qint64 numeroDomanda,
            QWidget* parent = nullptr);

    bool occupato() const { return m_occupato; }
    net::RichiestaServer& richiesta() { return m_inet; }

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Cmd_Send_Click();
    void CmdTAVREL_Click();
    bool ControlloVersione();
    void eliminaAllegato();

    Session& m_session;
    net::RichiestaServer m_inet;
    mdCreaFileTrasm& m_crea;
    qint64 m_numeroDomanda;
    bool m_occupato = false;

    QLineEdit* txFrom;
    QPushButton* Cmd_Send;
    QPushButton* Cmd_Esci;
    QPushButton* cmdAiuto;
    QPushButton* CmdProxy;
    QPushButton* CmdTAVREL;
    QProgressBar* lblPercent;
};

} // namespace transmit
