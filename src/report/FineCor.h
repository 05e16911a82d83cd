#pragma once

#include "report/ArchivioCorso.h"
#include "report/RegoleCorso.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class Session;

namespace db {
class DbError;
}

namespace report {

class ElencoAllievi;

// The end-of-course form of one course: end date, classification, credit,
// participant counts, the participants' outcomes, saving, closing and
// reopening.
class FineCor : public QDialog {
    Q_OBJECT
public:
    FineCor(Session& session, qint32 idAttivita, QWidget* parent = nullptr);

    // False when the course record could not be read: the form has nothing to show.
    bool caricato() const { return m_caricato; }

public slots:
    // Esc and the window's close box leave the form like "Esci".
    void reject() override;

private:
    void costruisci();
    QWidget* costruisciDatiPrincipali();
    QWidget* costruisciQuadro();
    QWidget* costruisciElenco();
    QGroupBox* costruisciRiquadroConteggi(const QString& titolo, int primo);
    QLineEdit* casella(const QString& nome, int larghezza, QWidget* parent);

    void carica();
    bool ricarica();
    void mostraRecord(const archivio::RecordCorso& record);
    QString m_statoLetto; // Stato of the record as last read
    void applicaLayout();
    void applicaStato(const QString& stato);
    void ricalcolaConteggi();
    void selezionaVoce(QComboBox* combo, const std::optional<QString>& voce);

    DatiScheda leggiScheda() const;
    void applica(const Esito& esito);
    void erroreDb(const QString& titolo, const db::DbError& e);

    bool salva();
    void chiudiCorso();
    void riapriCorso();
    // The course's state changed on another workstation since it was read:
    // tells the user and shows the course as it is now.
    void corsoCambiatoAltrove(const QString& titolo);
    void esci();

    Session& m_session;
    qint32 m_idAttivita;
    bool m_caricato = false;
    Layout m_layout = Layout::Completo;
    DatiScheda m_mostrata; // the record as shown, for the exit question

    QGroupBox* m_frameOperatore = nullptr;
    QLabel* m_operatore = nullptr;
    QLabel* m_lblAttivita = nullptr;
    QLabel* m_lblCorso = nullptr;
    QLabel* m_lblQuali = nullptr;
    QFrame* m_shape = nullptr;
    QLabel* m_lblStato = nullptr;
    QTabWidget* m_tab = nullptr;

    QLineEdit* m_totOre = nullptr;
    QLabel* m_inizioGG = nullptr;
    QLabel* m_inizioMM = nullptr;
    QLabel* m_inizioAAAA = nullptr;
    QLineEdit* m_fineGG = nullptr;
    QLineEdit* m_fineMM = nullptr;
    QLineEdit* m_fineAAAA = nullptr;
    QLabel* m_lblCredito = nullptr;
    QLineEdit* m_credito = nullptr;
    QLabel* m_lblTipOrg = nullptr;
    QComboBox* m_tipOrg = nullptr;
    QLabel* m_lblAreaFor = nullptr;
    QComboBox* m_areaFor = nullptr;
    QLabel* m_lblSegmento = nullptr;
    QComboBox* m_segmento = nullptr;
    QPushButton* m_chiudi = nullptr;
    QPushButton* m_riapri = nullptr;

    std::array<QLineEdit*, 12> m_conteggi{}; // in the order of campiConteggio()

    ElencoAllievi* m_elenco = nullptr; // grdDomande, cmdGestAllievo, the participant editor

    QToolButton* m_salva = nullptr;
    QToolButton* m_esci = nullptr;
    QLabel* m_lblSalvato = nullptr; // "Dati salvati alle HH:MM"
};

} // namespace report
