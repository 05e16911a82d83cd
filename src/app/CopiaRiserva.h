#pragma once

#include "core/Errore.h"

#include <QString>

// The rotating copy of the database file that a SERVER installation keeps on
// exit: three slots "backup.001" .. "backup.003" in the program folder, the
// marker file "00N.lst" naming the slot written last.
namespace copiariserva {

// What one exit does, given the first marker found ("" when none).
struct Passo {
    QString markerDaCancellare; // "" when nothing is deleted
    QString destinazione;       // "backup.00N"
    QString nuovoMarker;        // "00N.lst"
};
Passo passo(const QString& markerTrovato);

// The first file of the folder matching "00?.lst" (letter case ignored, names in
// order), "" when there is none.
QString primoMarker(const QString& cartella);

// The result of one exit copy.
struct RisultatoCopia {
    bool riuscita = true;
    int numero = 0; // error number: 70 permission denied, 53 file not found, ...
    QString descrizione;
    QString destinazione; // full path of the slot written (or attempted)

    Errore errore() const { return {numero, descrizione}; }
};

// Deletes the old marker, copies the database over the next slot and writes the
// new marker. The copy is a consistent snapshot taken through a connection with
// the key (so it stays encrypted); it replaces the slot only when complete. A
// copy that fails leaves the previous content of the slot untouched and no
// marker, so the next exit starts again from backup.001. A database held by
// another program gives kPermessoNegato.
RisultatoCopia copiaRiservaUscita(const QString& cartella, const QString& percorsoDB, const QString& chiave);

// Error number of a refused access: the caller ignores it silently.
constexpr int kPermessoNegato = 70;

} // namespace copiariserva
