#pragma once

#include "core/Interaction.h"
#include "db/Database.h"

#include <QDialog>

class Session;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

// Saves the database file into a zip archive and restores it from one
// ("Salvataggio/Recupero Dati"). While the dialog is open the program's
// connection is closed, so that the file can be replaced; it is opened again,
// in its previous mode, when the dialog closes. Not modal: the main window is
// blocked while it is shown.
class frmBackup : public QDialog {
    Q_OBJECT
public:
    explicit frmBackup(Session& session, QWidget* parent = nullptr);
    ~frmBackup() override;

    void done(int result) override;

    // The state of the file dialog the two "Sfoglia" buttons show.
    const ui::FileDialog& dialogoFile() const { return m_dialogo; }

private:
    void SSTab1_Click(int tab);
    void cmdSfogliaBak_Click();
    void cmdSfogliaZip_Click();
    void cmdConfermaBak_Click();
    void cmdConfermaZip_Click();
    bool eseguiBackup(const QString& database, const QString& archivio);
    // "" on success, otherwise why the restore was refused before anything was
    // replaced; a failure while replacing goes into errore.
    QString eseguiRecupero(const QString& database, const QString& archivio, QString* errore);
    void riapriConnessione();

    Session& m_session;
    // The connection as it was when the dialog opened.
    QString m_percorso;
    QString m_chiave;
    db::OpenMode m_modo = db::OpenMode::Shared;
    bool m_eraAperta = false;
    bool m_riaperta = false;

    ui::FileDialog m_dialogo;
    QString m_cartellaPredefinita;

    QTabWidget* SSTab1;
    QLineEdit* txtFileBak;
    QPushButton* cmdSfogliaBak;
    QPushButton* cmdConfermaBak;
    QPushButton* cmdEsci0;
    QLineEdit* txtFileZip;
    QPushButton* cmdSfogliaZip;
    QRadioButton* optSost;
    QRadioButton* optAll;
    QPushButton* cmdConfermaZip;
    QPushButton* cmdEsci1;
};
