#pragma once

class Session;
class QWidget;

namespace download {

// Shows the approved-course download dialog FrmScaricoDB modally.
void mostraFrmScaricoDB(Session& session, QWidget* parent);

// Loads the downloaded files "CorsiDestinatari30.tx1" and
// "CorsiGiornateOre30.tx1" into the database; true on success.
bool acquisisciCorsiScaricati(Session& session, QWidget* parent);

// What the download entry of the main window came to.
enum class RisultatoScarico {
    NienteScaricato, // no "CorsiDestinatari30.tx1" in the program folder afterwards
    Acquisito,       // the downloaded courses and participants are in the database
    NonAcquisito,    // the files are there but could not be loaded
};

// The download entry: the download dialog, then, when it left the file
// "CorsiDestinatari30.tx1" in the program folder, the import of the
// downloaded files under the busy pointer.
RisultatoScarico scaricaEAcquisisci(Session& session, QWidget* parent);

} // namespace download
