#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class Session;
class QLineEdit;
class QRadioButton;

namespace maint {

// What the installation dialog hands back: working mode ("StandAlone" or
// "Multiutenza"), full path of the database file and its file name.
struct ImpostazioniScelte {
    QString tipo;
    QString percorso;
    QString titolo;
};

// Shows the installation dialog modally (and the SERVER/CLIENT choice before it
// when none was made); nothing when the user left the installation.
std::optional<ImpostazioniScelte> chiediImpostazioni(Session& session, QWidget* parent);

// The path as the dialog shows it: whole up to 55 characters, otherwise its
// first 55 characters followed by "...".
QString percorsoAbbreviato(const QString& percorso);

} // namespace maint

// Chooses between local and networked use and locates the database file.
class Frm_Impostazioni : public QDialog {
    Q_OBJECT
public:
    explicit Frm_Impostazioni(Session& session, QWidget* parent = nullptr);

    maint::ImpostazioniScelte scelte() const { return m_scelte; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void attiva();
    void sfoglia();
    void salva();

    Session& m_session;
    QRadioButton* m_optLocale;
    QRadioButton* m_optInRete;
    QLineEdit* m_txtDatabase;
    QString m_fileAiuto;
    maint::ImpostazioniScelte m_scelte;
    bool m_attivato = false;
};
