#include "transmit/FormRichiesta.h"

#include "core/Session.h"

#include <QCloseEvent>

namespace transmit {

FormRichiesta::FormRichiesta(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_inet(session) {}

void FormRichiesta::reject() {
    if (!m_occupato)
        QDialog::reject();
}

void FormRichiesta::closeEvent(QCloseEvent* event) {
    if (m_occupato)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void FormRichiesta::esci() {
    if (!m_occupato)
        accept();
}

void FormRichiesta::mostraErroriTrasferimento(
    std::function<QString(int codice, const QString& testo)> testo) {
    connect(&m_inet, &net::RichiestaServer::erroreTrasferimento, this,
            [this, testo = std::move(testo)](int codice, const QString& descrizione) {
                m_session.ui.message(this, testo(codice, descrizione),
                                     QStringLiteral("Errore di trasmissione"), ui::Icon::Critical);
            });
}

} // namespace transmit
