#pragma once

// Enrolment of the agencies that use the installation: the dialog frmInstOper
// ("Selezione Operatori") collects up to 150 agencies (group + operator code),
// asks the regional server (AGGIORNADB) for their registry files, unpacks the
// reply into the program folder ("oper.tx1", "compo.tx1", "sediocc.tx1",
// "sediutil.tx1") and shows them in frmConferma ("Verifica dati immessi"),
// where the user confirms with an e-mail address.
//
// Use at the first installation:
//     if (!enrol::iscriviOperatori(session, parent)) { ... cancelled: no files ... }
//     // the four .tx1 files are in session.CartellaProgramma
// From the main window, with the list filled with the agencies already known:
//     enrol::mostraFrmInstOper(session, parent, voci, istruzione);
//     if (session.AnnullaOperazione != "annulla") { ... the files may be there ... }

#include <QStringList>

class Session;
class QWidget;

namespace enrol {

// The list entry of an agency: group + "      - " + operator code right-aligned
// to a width of 5.
QString vocePerOperatore(const QString& gruppo, const QString& operatore);
// The request body for the entries, in list order: "g=A&c=123&g=B&c=7".
QString corpoRichiesta(const QStringList& voci);
// Group and operator code read back from an entry.
QString gruppoDaVoce(const QString& voce);
QString operatoreDaVoce(const QString& voce);

// Shows the operator dialog frmInstOper modally with its list LstElenco filled
// with the given entries and its instruction label set; cancelling it sets
// session.AnnullaOperazione to "annulla".
void mostraFrmInstOper(Session& session, QWidget* parent, const QStringList& elenco,
                       const QString& istruzione);

// First installation: frmInstOper with an empty list. True when the user
// confirmed in frmConferma and the four registry files are in the program
// folder; false when cancelled in either dialog (no .tx1 files left behind by
// frmConferma's cancel) or when the program ended.
bool iscriviOperatori(Session& session, QWidget* parent);

} // namespace enrol
