#pragma once

// frmInstOper ("Selezione Operatori", objectName "frmInstOper") and frmConferma
// ("Verifica dati immessi", objectName "frmConferma"); see enrol/InstOper.h.
//
// frmInstOper: TxtGrup, TxtOper, CmdIns (adds the entry: at most 150, no
// duplicates), CmdCanc (removes the selected entry), LstElenco (clicking an
// entry puts its codes back into the boxes), cmdConferma (AGGIORNADB request,
// reply unpacked into the program folder, then frmConferma), cmdAnnulla
// (AnnullaOperazione = "annulla"). Closes with Accepted once frmConferma confirmed.
//
// frmConferma: Lista (fixed pitch, one line per record of "oper.tx1"), txtEMail,
// cmdConferma (e-mail check, stored under E-Mail), cmdAnnulla (deletes every
// ".tx1" file of the program folder).

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class Session;

namespace net {
class RichiestaServer;
}

namespace enrol {

inline constexpr int MassimoOperatori = 150;

class frmInstOper : public QDialog {
    Q_OBJECT
public:
    frmInstOper(Session& session, QWidget* parent = nullptr);
    ~frmInstOper() override;

    void setElenco(const QStringList& voci);
    void setIstruzione(const QString& testo);
    QStringList elenco() const;
    bool TrovaDoppi(const QString& voce) const;

    void CmdIns_Click();
    void CmdCanc_Click();
    void cmdConferma_Click();
    void cmdAnnulla_Click();

protected:
    void reject() override;

private:
    void erroreTrasferimento(int codice, const QString& testo);
    void abilita(bool si);

    Session& m_session;
    net::RichiestaServer* m_inet;
    QLabel* m_lblIstruzione;
    QLineEdit* TxtGrup;
    QLineEdit* TxtOper;
    QListWidget* LstElenco;
    QPushButton* cmdConferma;
    QPushButton* cmdAnnulla;
    bool m_occupato = false;
};

class frmConferma : public QDialog {
    Q_OBJECT
public:
    frmConferma(Session& session, QWidget* parent = nullptr);

    void cmdConferma_Click();
    void cmdAnnulla_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    Session& m_session;
    QListWidget* Lista;
    QLineEdit* txtEMail;
};

// One line of frmConferma's list for a record of "oper.tx1".
QString rigaConferma(const QString& gruppo, const QString& operatore, const QString& codiceFiscale,
                     const QString& denominazione);

} // namespace enrol
