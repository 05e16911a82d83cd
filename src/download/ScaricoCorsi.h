#pragma once

class Session;
class QWidget;

namespace download {

// Shows the approved-course download dialog FrmScaricoDB modally.
void mostraFrmScaricoDB(Session& session, QWidget* parent);

// Loads the downloaded files "CorsiDestinatari30.tx1" and
// "CorsiGiornateOre30.tx1" into the database; true on success.
bool acquisisciCorsiScaricati(Session& session, QWidget* parent);

} // namespace download
