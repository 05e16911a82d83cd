#pragma once

#include "report/ArchivioCorso.h"

#include <QWidget>

#include <functional>

class QHBoxLayout;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Session;

namespace report {

class EditorAllievo;

// The tab "Elenco Iscritti" of the end-of-course form: the participant list
// grdDomande, the button cmdGestAllievo and the participant editor. Return,
// a double click and the button open the editor for the current row; Tab and
// Shift+Tab leave the list.
class ElencoAllievi : public QWidget {
    Q_OBJECT
public:
    // totOre and creditoCorso give the texts of txtTotOre and txtCredFormCorso
    // at the moment they are read.
    ElencoAllievi(Session& session, qint32 idAttivita, std::function<QString()> totOre,
                  std::function<QString()> creditoCorso, QWidget* parent = nullptr);

    // Reads the participants again and selects the one with that tax code (the
    // first row when none). False when they could not be read (already said).
    bool carica(const QString& seleziona = {});
    // The list and cmdGestAllievo follow the course's state.
    void abilita(bool abilitato);
    // Hides the editor without storing anything.
    void annullaEditor();
    // Opens the editor for the selected participant ("Gestisci allievo").
    void gestisciAllievo();
    // Makes the first participant that matches current; false when none does.
    bool selezionaPrimo(const std::function<bool(const archivio::Allievo&)>& criterio);

    // Further buttons, in the row of cmdGestAllievo.
    void aggiungiPulsanti(QWidget* pulsanti);

    QTableView* griglia() const { return m_griglia; }
    const QList<archivio::Allievo>& allievi() const { return m_allievi; }

signals:
    // The editor was asked for while the course credit is missing (already said).
    void creditoMancante();
    // A participant's data were stored; the counts must follow.
    void allievoSalvato();
    // Nothing was stored: another workstation closed or transmitted the course.
    void corsoCambiato();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Session& m_session;
    qint32 m_idAttivita;
    std::function<QString()> m_creditoCorso;
    QList<archivio::Allievo> m_allievi;

    QTableView* m_griglia;
    QStandardItemModel* m_modello;
    QHBoxLayout* m_rigaPulsanti;
    QPushButton* m_gestAllievo;
    EditorAllievo* m_editor;
};

} // namespace report
