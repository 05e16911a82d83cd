#pragma once

#include <QDialog>

class Session;
class QRadioButton;

// Asks whether the user really leaves the installation; true for "Sì".
bool confermaUscitaInstallazione(Session& session, QWidget* parent);

// Chooses whether this workstation is the SERVER, which installs and updates the
// database, or a CLIENT, which only works on it.
class frmServerClient : public QDialog {
    Q_OBJECT
public:
    explicit frmServerClient(Session& session, QWidget* parent = nullptr);

    // "SERVER", "CLIENT", or "" until chosen.
    QString versione() const { return m_versione; }

protected:
    void reject() override;

private:
    void conferma();
    void rinominaFileClient();

    Session& m_session;
    QRadioButton* m_optServer;
    QRadioButton* m_optClient;
    QString m_versione;
};
