#pragma once

#include "download/CorsiApprovati.h"

#include <QDialog>

class Session;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace download {

class ModelloCorsi;

// The list of the agency's downloaded courses, from which the user picks the
// course for end-of-course data entry or for transmission
// (session.TipoOperazione). A confirmed course is handed back in
// session.CorsoSelezionato and session.corso.
class TabCorsiApprovati : public QDialog {
    Q_OBJECT
public:
    explicit TabCorsiApprovati(Session& session, QWidget* parent = nullptr);

    // Rows shown (those that pass the state filter).
    int righe() const;
    // Identifier of the grid's current row, 0 when there is none.
    qint32 idCorrente() const;
    // Makes the row with this identifier current; false when it is not listed.
    bool vaiA(qint32 idAttivita);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdCerca2_Click();
    void cmdMostraTutti_Click();
    void cmdSele2_Click();
    void attivazione();
    void carica(Filtro filtro);
    void aggiornaConferma();
    void costruisciFiltroStato();
    void filtraStato(FiltroStato filtro);
    void aggiornaConteggi();

    Session& m_session;
    Filtro m_filtro;
    bool m_attivato = false;

    QTableView* GrdCorsi;
    ModelloCorsi* m_modello;
    // The state filter: fraStato with optTutti, optAperti, optChiusi, optTrasmessi.
    QGroupBox* fraStato = nullptr;
    QButtonGroup* m_gruppoStato = nullptr;
    QLineEdit* txtRicDenom;
    QPushButton* cmdCerca2;
    QPushButton* cmdMostraTutti;
    QPushButton* cmdSele2;
    QPushButton* cmdEsci2;
};

// Shows the chooser modally. Afterwards session.CorsoSelezionato is the chosen
// course, or 0 when the user closed it without choosing.
void mostraTabCorsiApprovati(Session& session, QWidget* parent);

} // namespace download
