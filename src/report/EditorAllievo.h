#pragma once

#include "report/ArchivioCorso.h"

#include <QGroupBox>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Session;

namespace report {

// The participant editor of the end-of-course form (frame FrameDettaglio):
// absence hours, participation, judgement with its reason, evaluated credit.
// It stores the participant it was opened for, whatever row the list shows
// as selected meanwhile.
class EditorAllievo : public QGroupBox {
    Q_OBJECT
public:
    // totOre and creditoCorso give the texts of txtTotOre and txtCredFormCorso
    // at the moment they are read.
    EditorAllievo(Session& session, qint32 idAttivita, std::function<QString()> totOre,
                  std::function<QString()> creditoCorso, QWidget* parent = nullptr);

    // Fills the editor from the participant row and shows it.
    void apri(const archivio::Allievo& allievo);
    // Hides the editor without storing anything.
    void annulla();
    // The participant being edited (empty when none).
    QString codFiscale() const { return m_codFiscale; }

signals:
    // A participant's data were stored; the list and the counts must follow.
    void allievoSalvato(const QString& codFiscale);
    // Nothing was stored: another workstation closed or transmitted the course.
    void corsoCambiato();

private:
    void conferma();
    void giudizioCambiato();
    allievo::DatiAllievo dati() const;

    Session& m_session;
    qint32 m_idAttivita;
    std::function<QString()> m_totOre;
    std::function<QString()> m_creditoCorso;
    QString m_codFiscale;

    QLineEdit* m_oreAssenza;
    QLineEdit* m_presenza;
    QComboBox* m_partecipazione;
    QComboBox* m_giudizio;
    QLabel* m_lblMotivo;
    QComboBox* m_motivo;
    QLineEdit* m_credito;
    QPushButton* m_conferma;
    QPushButton* m_annulla;
};

} // namespace report
