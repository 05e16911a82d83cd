#pragma once

#include "report/EsitiFoglio.h"

#include <QDialog>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Session;

namespace report {

// The preview of a filled-in participant file (form FrmAnteprimaEsiti): every
// row with its values, what will happen to it and, for a refused row, the
// message of the rule that refuses it. "Applica" stores the valid rows at once
// and leaves the others listed; "Annulla" stores nothing.
class FrmAnteprimaEsiti : public QDialog {
    Q_OBJECT
public:
    enum class Risultato { NonApplicato, Applicato, CorsoCambiato };

    FrmAnteprimaEsiti(Session& session, qint32 idAttivita, foglio::Anteprima anteprima,
                      QString statoLetto, QWidget* parent = nullptr);
    Risultato risultato() const { return m_risultato; }

private:
    void mostra();
    void applica();

    Session& m_session;
    qint32 m_idAttivita;
    foglio::Anteprima m_anteprima;
    QString m_statoLetto;
    Risultato m_risultato = Risultato::NonApplicato;
    int m_scritte = 0;

    QLabel* m_riepilogo;
    QLabel* m_nota;
    QTableView* m_griglia;
    QStandardItemModel* m_modello;
    QLabel* m_dettaglio;
    QPushButton* m_applica;
    QPushButton* m_annulla;
};

// "Esporta elenco" and "Importa esiti" of the participant tab. Import follows
// the enabled state of the participant list it is given (the course can take
// outcomes); export is always available.
class PulsantiFoglio : public QWidget {
    Q_OBJECT
public:
    struct Scheda {
        std::function<QString()> totOre;       // text of txtTotOre
        std::function<QString()> creditoCorso; // text of txtCredFormCorso
        std::function<QString()> statoLetto;   // state of the course as the form read it
    };
    PulsantiFoglio(Session& session, qint32 idAttivita, Scheda scheda, QWidget* elenco,
                   QWidget* parent = nullptr);

signals:
    // Participants were stored: the list and the counts must follow.
    void esitiApplicati();
    // Nothing was stored: the course changed on another workstation.
    void corsoCambiato();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void esporta();
    void importa();
    std::optional<QList<archivio::Allievo>> allievi(const QString& titolo);

    Session& m_session;
    qint32 m_idAttivita;
    Scheda m_scheda;
    QWidget* m_elenco;
    QPushButton* m_esporta;
    QPushButton* m_importa;
};

} // namespace report
