#pragma once

#include "core/RichiestaServer.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class Session;

namespace transmit {

// Obtains the installation number from the regional server (service NREG) and
// adds the installation row with the program version.
class FrmnReg : public QDialog {
    Q_OBJECT
public:
    explicit FrmnReg(Session& session, QWidget* parent = nullptr);

    // True only after the installation row was saved.
    bool registrata() const { return m_registrata; }
    net::RichiestaServer& richiesta() { return m_inet; }

protected:
    void reject() override;

private:
    void CmdnReg_Click();
    void registra();
    void erroreTrasferimento(int codice, const QString& testo);
    void avanza(int passo);
    void erroreImprevisto();

    Session& m_session;
    net::RichiestaServer m_inet;
    QPushButton* m_cmdnReg;
    QPushButton* m_command2;
    QLabel* m_lblAttesa;
    QProgressBar* m_pgrBar;
    bool m_registrata = false;
};

} // namespace transmit
