#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class Session;

namespace maint {

// The options: installation type and database path (KORVADIN.INI), the user's
// e-mail address, the support mail server and the hover preferences of the main
// window (per-user settings).
class frmOpzioni : public QDialog {
    Q_OBJECT
public:
    explicit frmOpzioni(Session& session, QWidget* parent = nullptr);

    bool changed() const { return m_changed; }
    bool installChanged() const { return m_installChanged; }

public slots:
    void reject() override;

private:
    void carica();
    // False when a check stopped the save (the dialog stays open).
    bool salva();
    void cmdAnnulla_Click();
    void cmdSfoglia_Click();

    Session& m_session;
    bool m_changed = false;
    bool m_installChanged = false;
    QString m_serverConsigliato, m_serverInterno;

    QRadioButton* optLocale;
    QRadioButton* optMultiutenza;
    QLineEdit* txtDatabase;
    QToolButton* cmdSfoglia;
    QLabel* lblUltimoAgg;
    QLineEdit* txtEMail;
    QRadioButton* optServVRD;
    QRadioButton* optServVRDINT;
    QRadioButton* optMioServ;
    QLineEdit* txtMioServ;
    QCheckBox* ckSottolinea;
    QCheckBox* ckAumenta;
    QCheckBox* ckCambia;
    QPushButton* cmdSalva;
    QPushButton* cmdAnnulla;
};

// The proxy settings of the requests: the per-user Proxy and Porta.
class FrmProxy : public QDialog {
    Q_OBJECT
public:
    explicit FrmProxy(Session& session, QWidget* parent = nullptr);

private:
    void scelta();
    void ImgOk_Click();
    void CmdControlla_Click();

    Session& m_session;
    QRadioButton* optProxy0;
    QRadioButton* optProxy1;
    QLineEdit* txtproxy;
    QLineEdit* TxtPorta;
    QPushButton* CmdControlla;
    QToolButton* ImgOk;
    QToolButton* ImgAnn;
};

} // namespace maint
