#pragma once

// The e-mail dialog opened before a copy of the transmission file or a
// registration (objectName "frmMailAggInst", help topic 18000, 15000 while
// installing).
//
// Use:
//     transmit::frmMailAggInst dialogo(session, parent);
//     session.ui.runDialog(dialogo);
//     if (dialogo.confermata()) mittente = dialogo.indirizzo();
// or in one call:
//     const std::optional<QString> email = transmit::chiediEmail(session, parent);
//
// Controls: txtEMail (filled when it gets the focus from the stored E-Mail setting, default
// "Indirizzo e-mail...", fully selected), imgConferma (checks the address with
// the e-mail rules; when valid stores it under E-Mail, sets the confirmation
// flag and closes with Accepted), imgAnnulla (closes with the flag unset).

#include <QDialog>

#include <optional>

class QLineEdit;
class Session;

namespace transmit {

class frmMailAggInst : public QDialog {
    Q_OBJECT
public:
    explicit frmMailAggInst(Session& session, QWidget* parent = nullptr);

    // True only when a valid address was confirmed.
    bool confermata() const { return m_confermata; }
    // The confirmed address (the sender's address from now on).
    QString indirizzo() const { return m_indirizzo; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void conferma();

    Session& m_session;
    QLineEdit* m_txtEMail;
    bool m_confermata = false;
    bool m_riempita = false;
    QString m_indirizzo;
};

// Runs the dialog through the interaction service; the confirmed address, or
// nothing when the user cancelled.
std::optional<QString> chiediEmail(Session& session, QWidget* parent);

} // namespace transmit
