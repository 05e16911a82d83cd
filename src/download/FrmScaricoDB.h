#pragma once

// The approved-course download dialog (objectName "FrmScaricoDB", help topic
// 11000) and the alternative identity dialog frmMailAggPleia2.
//
// FrmScaricoDB: CmbOpe (the installed agencies), CmdConferma (identity step,
// course request to CORSIDESTINATARI, the reply container unpacked into the
// program folder, then the dialog closes with Accepted), cmdEsci (sets the
// run's cancel flag and closes), cmdAiuto; PanAttesa with lblStato and PrgBar
// while the request runs. InetCorsi is the course request; WebBrowser1 reads the
// identity page (CONNESSIONE/PLEIA).
//
// frmMailAggPleia2: TxtRisposta for the pasted answer page, imgConferma keeps
// the identity code read from it (or clears it) and closes.

#include "core/RichiestaServer.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class Session;

namespace download {

class frmMailAggPleia2 : public QDialog {
    Q_OBJECT
public:
    explicit frmMailAggPleia2(Session& session, QWidget* parent = nullptr);
    QString codice() const { return m_codice; }

private:
    void imgConferma_Click();
    Session& m_session;
    QPlainTextEdit* m_txtRisposta;
    QString m_codice;
};

class FrmScaricoDB : public QDialog {
    Q_OBJECT
public:
    explicit FrmScaricoDB(Session& session, QWidget* parent = nullptr);

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CmdConferma_Click();
    void cmdEsci_Click();
    void scarica();
    QString identita();
    void mostraAttesa(bool visibile);
    void erroreTrasferimento(int codice, const QString& testo);
    void avanzamento(qint64 ricevuti, qint64 totale);

    Session& m_session;
    net::RichiestaServer m_inetCorsi;
    net::RichiestaServer m_webBrowser1;
    QComboBox* m_cmbOpe;
    QPushButton* m_cmdConferma;
    QPushButton* m_cmdEsci;
    QPushButton* m_cmdAiuto;
    QFrame* m_panAttesa;
    QLabel* m_lblStato;
    QProgressBar* m_prgBar;
    bool m_attivato = false;
};

} // namespace download
