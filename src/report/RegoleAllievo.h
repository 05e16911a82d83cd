#pragma once

#include "report/Esito.h"
#include "report/RegoleCorso.h"

#include <QString>
#include <QStringList>

#include <optional>

// The participant's outcome: the lists of the participant editor and the
// checks applied when its data are confirmed, stated on the box texts.
namespace report::allievo {

inline const QString VoceEsecutivo = QStringLiteral("Esecutivo");
inline const QString VoceParziale = QStringLiteral("Partecipazione parziale");
inline const QString VoceAssente = QStringLiteral("Assente");

inline const QString GiudizioNonSuperata = QStringLiteral("0 - Prova non superata o non sostenuta");
inline const QString GiudizioSuperata = QStringLiteral("8 - Prova superata");
inline const QString GiudizioNonPrevista = QStringLiteral("9 - Prova non prevista");

inline const QString MotivoAssente = QStringLiteral("Allievo assente");

// Items of cmbPartecipazione, cmbGiudizio and cmbMotivo after their empty item.
QStringList vociPartecipazione();
QStringList vociGiudizio();
QStringList vociMotivo();

// Participation code of an item (1, 3, 7); 0 for the empty item.
int codicePartecipazione(const QString& voce);
// Item of a stored participation code; empty for 0, for the code 2 no longer
// offered, and for unknown codes.
QString vocePartecipazione(int codice);
// The code 2 ("Partecipazione senza verifica") is no longer offered.
inline bool partecipazioneNonPiuPresente(int codice) {
    return codice == 2;
}
inline const QString AvvisoPartecipazione =
    QStringLiteral("Era stata indicata una voce ora non più presente ( Partecipazione senza "
                   "verifica)");

// No participant's data are taken before the course credit (txtCredFormCorso)
// is given: the credit of each participant is checked against it.
inline bool creditoCorsoIndicato(const QString& creditoCorso) {
    return numeroScritto(creditoCorso).value_or(0) != 0;
}
inline const QString AvvisoCreditoCorso =
    QStringLiteral("Prima di compilare i dai dei singoli allievi occorre specificare il 'Credito "
                   "Formativo (complessivo)' del corso.");

// Judgement code of an item (its first character); " " for the empty item.
QString codiceGiudizio(const QString& voce);
// Item of a stored judgement code; empty for " " and unknown codes.
QString voceGiudizio(const QString& codice);

// The editor's boxes, and the two boxes of the course it reads.
struct DatiAllievo {
    QString oreAssenza;     // txt_OreAssenza
    QString partecipazione; // text of cmbPartecipazione
    QString giudizio;       // text of cmbGiudizio
    QString motivo;         // text of cmbMotivo
    QString credito;        // txtCredFormValut
    QString totOre;         // txtTotOre
    QString creditoCorso;   // txtCredFormCorso
};

// The checks of a confirmation, in their order; the first failure is returned.
Esito verificaAllievo(const DatiAllievo& d);

// The values stored for a participant whose data passed the checks.
struct ValoriAllievo {
    int oreAssenza = 0;
    QString giudizio; // one character
    QString motivo;   // reason text or empty
    int codPartec = 0;
    QString descPartec;
    double credito = 0;
    int presenzaEffettiva = 0; // course hours - absence hours
};
ValoriAllievo valoriDaSalvare(const DatiAllievo& d);

// txtPresenzaEFF for the absence typed so far: course hours - absence hours,
// empty when the absence box is empty.
QString presenzaEffettiva(const QString& oreAssenza, const QString& totOre);

} // namespace report::allievo
