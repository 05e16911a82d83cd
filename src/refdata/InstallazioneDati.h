#pragma once

class Session;
class Avvio;

namespace refdata {

// Start-up: installs or updates the decoding tables from the text files dropped
// into the program folder with their flag file (refdata/TabelleDecodifica.h),
// showing the progress in the start-up window. A failure ends the program.
void installaAggiornaTabelle(Session& session, Avvio& avvio);

// Start-up on an empty operator table: loads the agency registry files.
void primaInstallazioneOperatori(Session& session, Avvio& avvio);

} // namespace refdata
