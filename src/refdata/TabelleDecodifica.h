#pragma once

// Decoding tables (axes, measures, actions, municipalities, provinces, ...)
// loaded from the text files dropped into the program folder with a flag file:
//   "installa.tab"  installation: each listed table is emptied, then loaded;
//   "aggiorna.tab"  update: each line is merged into its table by the key columns.
// A file's first line is a header: "INSTALLAZIONE" or "AGGIORNAMENTO" switches
// the mode for it and the files after it in the same run, anything else leaves
// it. Every further line is a record line (core/RigaRecord); field i goes to
// column i of the table, a field that is "NULL" in any letter case stores a null
// (" null " is the text "null"), any other its first 500 characters, trimmed. A
// column named LOGO is never written.
// Each loaded file is moved to the "CAR" subfolder.
//
// Each table loads in its own transaction: a failing line rolls that table back
// to what it held before the run (tables loaded before it keep their new
// content), the error is shown and the program ends.
//
// Use:
//     refdata::Caricamento c;                      // start-up: 12 MassimaliPar fields
//     c.chiamante = refdata::Chiamante::FinestraPrincipale;  // main window: Istituti too
//     c.inizio = [](bool installazione) { ... heading ... };
//     c.record = [](const QString& file, const QString& tabella, int n) { ... };
//     refdata::eseguiTabelleDecodifica(session, c);
//     if (session.ended()) return;                 // a failure ended the program

#include <QList>
#include <QString>

#include <functional>

class Session;
class QWidget;

namespace refdata {

enum class Chiamante { Avvio, FinestraPrincipale };
enum class Modo { Installazione, Aggiornamento };

inline const QString FlagInstalla = QStringLiteral("installa.tab");
inline const QString FlagAggiorna = QStringLiteral("aggiorna.tab");
// The same folder as the registry files and the downloaded courses.
inline const QString CartellaCaricati = QStringLiteral("CAR");
inline const QString TitoloCaricamento =
    QStringLiteral("Installazione/Aggiornamento tabelle di decodifica");

struct Chiave {
    QString colonna;
    bool numerica = false;
};

struct TabellaDecodifica {
    QString tabella; // file: tabella + ".txt"
    int campi = 0;   // fields used
    QList<Chiave> chiavi;
};

// The tables in load order for a caller (Istituti and the 14 MassimaliPar fields
// only from the main window).
QList<TabellaDecodifica> elencoTabelle(Chiamante chiamante);

struct Caricamento {
    Chiamante chiamante = Chiamante::Avvio;
    QWidget* parent = nullptr;
    // The run starts loading (heading "INSTALLAZIONE TABELLE" or
    // "AGGIORNAMENTO TABELLE" on the start-up window).
    std::function<void(bool installazione)> inizio;
    // After every saved record, and with 0 when a table starts.
    std::function<void(const QString& file, const QString& tabella, int record)> record;
    // With DEBUG at start-up a failing table is retried after "Resume" at most
    // this many times, then the program ends as without DEBUG.
    int tentativiDebug = 3;
};

// The install-or-update run: looks at the flag files and loads every table of
// the list. Failures end the program (session.ended()), except the ambiguous or
// undeletable flag files, which only warn.
void eseguiTabelleDecodifica(Session& session, const Caricamento& caricamento);

// Loads one table from its file in the given mode (the header may change it).
// False when it failed (message shown, program ended).
bool caricaTabella(Session& session, const QString& file, const TabellaDecodifica& tabella,
                   Modo& modo, const Caricamento& caricamento);

// The failure message of a table load.
QString messaggioErrore(int numero, const QString& descrizione, const QString& tabella, int record);

} // namespace refdata
