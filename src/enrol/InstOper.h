#pragma once

#include <QStringList>

class Session;
class QWidget;

namespace enrol {

// Shows the operator dialog frmInstOper modally with its list LstElenco filled
// with the given entries and its instruction label set; cancelling it sets
// session.AnnullaOperazione to "annulla".
void mostraFrmInstOper(Session& session, QWidget* parent, const QStringList& elenco,
                       const QString& istruzione);

} // namespace enrol
