#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class Session;

namespace maint {

// The support request: packs the database into the support archive and opens
// the support service's upload form, with the request fields filled in, in the
// user's web browser.
class Browser : public QDialog {
    Q_OBJECT
public:
    explicit Browser(Session& session, QWidget* parent = nullptr);

    // The archive and the address of the last "Accedi".
    QString archivio() const { return m_archivio; }
    QUrl indirizzo() const;

private:
    void Command2_Click();
    void errore(int numero, const QString& descrizione);

    Session& m_session;
    QString m_sistema, m_browser;
    QString m_archivio;
    QString m_indirizzo;
    QLabel* Label1;
    QLabel* lblArchivio;
    QPushButton* Command2;
    QPushButton* Command1;
};

} // namespace maint
