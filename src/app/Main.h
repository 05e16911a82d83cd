#pragma once

#include <QList>
#include <QWidget>

class Session;
class QCalendarWidget;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;
class QVBoxLayout;

// The dashboard of the program: who is working, the eight menu entries, the
// clock, the institutional links. Closing it ends the program, after the
// rotating copy of the database on a SERVER installation.
class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(Session& session, QWidget* parent = nullptr);
    ~Main() override;

    // The window became active: refreshes the information panel from the
    // shared state; the first time it also ends the loading.
    void attiva();

    // Highlights the menu caption with this name and puts the others back to
    // their resting look, as the hover preferences say; "XX" highlights none.
    void EvidenziaVoce(const QString& nomeLabel);

    // True when the course has no participant without enrolment number.
    bool ControlloMatricole(qint32 idAttivita);

    // Asks and opens a web address with the desktop's default handler.
    void ApriCollegamento(const QString& nome, const QString& indirizzo);

    QString testoStato() const; // status bar, panel 2
    QString orario() const;     // status bar, panel 3

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Voce {
        QPushButton* pulsante;
        QLabel* didascalia;
        QString stato; // status-bar text on hover
        void (Main::*azione)();
    };

    void costruisciIntestazione(QVBoxLayout* layout);
    void costruisciMenu(QVBoxLayout* layout);
    void costruisciInformazioni(QVBoxLayout* layout);
    void costruisciPannelli();
    void caricaPreferenze();
    void aggiornaOrario();
    void posizionaSovrapposti();
    void mostraStato(const QString& testo);
    void riposoDidascalia(QLabel* label);
    // Runs a menu entry; when the form it opened has closed, the captions are
    // back at rest (the mouse left them while the form was up).
    void esegui(void (Main::*azione)());
    void errore(const QString& titolo, int numero, const QString& descrizione);

    void cmdScaricoCorsi_Click();
    void cmdCorsi_Click();
    void cmdInvia1_Click();
    void cmdAggInst_Click();
    void cmdMailHelp_Click();
    void cmdOpzioni_Click();
    void cmdBackup_Click();
    void cmdEsci_Click();
    void lblCalendario_Click();
    void CopiaRiservaUscita();

    Session& m_session;
    bool m_primaAttivazione = true;
    bool m_inAttivazione = false;
    bool m_chiuso = false;

    QList<Voce> m_voci;
    QList<QLabel*> m_loghi;
    QList<QWidget*> m_neutri; // hover: highlight nothing, status text untouched
    QPushButton* cmdAggInst = nullptr;
    QLabel* lblAggiorna = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* lblGrOpe = nullptr;
    QLabel* lblCodOpe = nullptr;
    QLabel* lblDenOpe = nullptr;
    QLabel* lblCalendario = nullptr;
    QCalendarWidget* calendario = nullptr;
    QFrame* panel_Attesa = nullptr;
    QFrame* pnlAttesa = nullptr;
    QLabel* lblAttesa = nullptr;
    QProgressBar* PB1 = nullptr;
    QStatusBar* StBar = nullptr;
    QLabel* m_pannelloStato = nullptr;
    QLabel* m_pannelloOra = nullptr;
    QTimer* m_orologio = nullptr;
};
