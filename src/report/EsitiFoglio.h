#pragma once

#include "report/ArchivioCorso.h"
#include "report/Esito.h"
#include "report/RegoleAllievo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace db {
class Connection;
}

// The participants' outcomes through a spreadsheet: the list of a course
// written as a CSV file, the file filled in and read back, every row checked by
// the participant editor's own rules, and the valid rows stored at once.
namespace report::foglio {

// The columns of the file, in the order they are written.
enum Colonna {
    CodFiscale,
    Cognome,
    Nome,
    Matricola,
    OreAssenza,
    Partecipazione,
    Giudizio,
    Motivo,
    Credito,
    NumeroColonne
};
// Heading of a column in the file ("Codice fiscale", "Ore assenza", ...).
QString intestazione(int colonna);

// Largest file read back.
constexpr qint64 DimensioneMassima = 5 * 1024 * 1024;

// The file of a course: a heading row, then one row per participant with what
// is stored (hours, participation and judgement items, reason, credit with a
// decimal comma).
QByteArray esporta(const QList<archivio::Allievo>& allievi);

// What happens to a row of the file.
enum class Azione { DaAggiornare, Invariato, Rifiutato, NonNelCorso };
QString testoAzione(Azione azione);

struct RigaFoglio {
    int linea = 0;                             // line of the file where the row begins
    std::array<QString, NumeroColonne> valori; // as read, blanks around removed
    Azione azione = Azione::Invariato;
    QString messaggio;  // why the row is refused or left alone
    Esito esito;        // the participant rule that refused it, when one did
    QString codFiscale; // the participant's tax code as stored
    allievo::ValoriAllievo daSalvare;
    QList<int> cambiate; // columns whose stored value changes
    QString modifiche;   // "Ore assenza: 0 → 4; ..."
};

struct Anteprima {
    QString errore; // set when the file cannot be used at all: nothing is applied
    QList<RigaFoglio> righe;
    QStringList colonneIgnorate;
    QString codifica;
    int conta(Azione azione) const;
    // The note on columns the file holds and that are not read ("" when none).
    QString nota() const;
};

// Reads a filled-in file against the participants of a course whose duration
// and credit are the texts of txtTotOre and txtCredFormCorso.
Anteprima leggi(const QByteArray& contenuto, const QList<archivio::Allievo>& allievi,
                const QString& totOre, const QString& creditoCorso);
// The same from a file, refused when it is over DimensioneMassima.
Anteprima leggiFile(const QString& percorso, const QList<archivio::Allievo>& allievi,
                    const QString& totOre, const QString& creditoCorso);

// Stores the rows to update in one transaction and returns how many; nothing
// at all (nullopt) unless the course is "APERTO" and still in the state the
// form read. Database failures come out as db::DbError, with nothing written.
std::optional<int> applica(db::Connection& db, qint32 idAttivita, const Anteprima& anteprima,
                           const QString& statoLetto);

} // namespace report::foglio
