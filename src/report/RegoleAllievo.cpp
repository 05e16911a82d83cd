#include "report/RegoleAllievo.h"

#include "core/General.h"
#include "report/RegoleCorso.h"

#include <cmath>

namespace report::allievo {

namespace {

const QString kIncoerenti = QStringLiteral("Dati incoerenti o incompleti");
const QString kFrequenza = QStringLiteral("Mancato raggiungimento della frequenza minima (3/4).");
const QString kGiudizioCredito = QStringLiteral("Incoerenza Giudizio e Credito.");
const QString kPremessaFrequenza =
    QStringLiteral("Le ore di presenza, ottenute come differenza tra la durata del corso e le ore "
                   "di assenza, non raggiungono i tre quarti della durata del corso.");

Esito incoerente(const QString& regola, const QString& testo, const QString& focus = {}) {
    return Esito::errore(regola, testo, kIncoerenti, ui::Icon::Information, focus);
}

Esito frequenza(const QString& regola, const QString& frase) {
    return Esito::errore(regola, kPremessaFrequenza + QLatin1Char('\n') + frase, kFrequenza,
                         ui::Icon::Information);
}

bool vuoto(const QString& testo) {
    return testo.trimmed().isEmpty();
}

} // namespace

QStringList vociPartecipazione() {
    return {VoceEsecutivo, VoceParziale, VoceAssente};
}

QStringList vociGiudizio() {
    return {GiudizioNonSuperata, GiudizioSuperata, GiudizioNonPrevista};
}

QStringList vociMotivo() {
    return {QStringLiteral("Allievo non idoneo"), QStringLiteral("Allievo ritirato"), MotivoAssente,
            QStringLiteral("Altro")};
}

int codicePartecipazione(const QString& voce) {
    if (voce == VoceEsecutivo)
        return 1;
    if (voce == VoceParziale)
        return 3;
    if (voce == VoceAssente)
        return 7;
    return 0;
}

QString vocePartecipazione(int codice) {
    switch (codice) {
    case 1:
        return VoceEsecutivo;
    case 3:
        return VoceParziale;
    case 7:
        return VoceAssente;
    default:
        return {};
    }
}

QString codiceGiudizio(const QString& voce) {
    return vuoto(voce) ? QStringLiteral(" ") : voce.trimmed().left(1);
}

QString voceGiudizio(const QString& codice) {
    for (const QString& voce : vociGiudizio())
        if (!codice.isEmpty() && voce.startsWith(codice + QStringLiteral(" - ")))
            return voce;
    return {};
}

Esito verificaAllievo(const DatiAllievo& d) {
    const auto ore = numeroScritto(d.oreAssenza);
    if (!ore)
        return incoerente(QStringLiteral("A1"), QStringLiteral("Indicare le ore di assenza."),
                          QStringLiteral("txt_OreAssenza"));
    const double totOre = numeroScritto(d.totOre).value_or(0);
    if (*ore > totOre)
        return incoerente(
            QStringLiteral("A2"),
            QStringLiteral("Le ore di assenza non possono superare la durata del corso."));
    // Hours are whole and counted in pairs: a fraction is no even number either.
    if (std::fmod(*ore, 2.0) != 0)
        return incoerente(QStringLiteral("A3"),
                          QStringLiteral("Le ore di assenza non possono essere dispari."));
    if (codicePartecipazione(d.partecipazione) == 0)
        return incoerente(QStringLiteral("A4"), QStringLiteral("Indicare la partecipazione."),
                          QStringLiteral("cmbPartecipazione"));
    if (vuoto(d.giudizio))
        return incoerente(QStringLiteral("A5"), QStringLiteral("Indicare il giudizio."),
                          QStringLiteral("cmbGiudizio"));
    if (d.giudizio == GiudizioNonSuperata && vuoto(d.motivo))
        return incoerente(QStringLiteral("A6"),
                          QStringLiteral("Indicare la causale del giudizio negativo."),
                          QStringLiteral("cmbMotivo"));
    const QString box = QStringLiteral("txtCredFormValut");
    if (vuoto(d.credito))
        return incoerente(QStringLiteral("A7"),
                          QStringLiteral("Indicare il credito formativo valutato."), box);
    const auto credito = numeroScritto(d.credito);
    if (!credito || *credito > 5 || *credito < 0)
        return incoerente(QStringLiteral("A8"),
                          QStringLiteral("Il credito formativo valutato deve essere compreso tra "
                                         "i valori 0 e 5."),
                          box);
    // The credit goes in quarters: the value itself must be one, not merely
    // round to one in hundredths ("0,249" is 24,9 hundredths and is refused,
    // "0,250" is a quarter).
    if (std::fabs(*credito * 4 - std::round(*credito * 4)) > 1e-9)
        return incoerente(QStringLiteral("A9"),
                          QStringLiteral("Il valore dei decimali del credito formativo valutato "
                                         "non è corretto (i valori ammessi sono ,00 ,25, 50, 75) "),
                          box);
    if (numeroScritto(d.creditoCorso).value_or(0) < *credito)
        return incoerente(QStringLiteral("A10"),
                          QStringLiteral("Il credito formativo valutato non puo' superare il Il "
                                         "credito formativo del corso."),
                          box);
    if (*ore == 0 && d.motivo == MotivoAssente)
        return Esito::errore(QStringLiteral("A11"),
                             QStringLiteral("Se per il motivo la voce scelta è 'Allievo assente', "
                                            "allora occorre valorizzare le ore di assenza."),
                             ui::DefaultTitle, ui::Icon::None);
    const bool sufficiente = *ore <= totOre / 4.0;
    if (!sufficiente) {
        if (d.partecipazione != VoceParziale && d.partecipazione != VoceAssente)
            return frequenza(QStringLiteral("A12a"),
                             QStringLiteral("In questo caso la partecipazione deve essere "
                                            "'Partecipazione parziale' o 'Assente'."));
        if (*credito != 0)
            return frequenza(
                QStringLiteral("A12b"),
                QStringLiteral("In questo caso il 'Credito Formativo Valutato' deve essere zero."));
        if (vuoto(d.motivo))
            return frequenza(QStringLiteral("A12c"),
                             QStringLiteral("In questo caso la prova non è superata e deve essere "
                                            "indicato il motivo."));
        return Esito::ok();
    }
    if (d.giudizio == GiudizioSuperata && *credito == 0)
        return Esito::errore(QStringLiteral("A12d"),
                             QStringLiteral("Per il giudizio 'Prova superata' \n"
                                            "il 'Credito Formativo Valutato' deve essere maggiore "
                                            "di zero."),
                             kGiudizioCredito, ui::Icon::Information);
    if (d.giudizio == GiudizioNonSuperata && *credito > 0)
        return Esito::errore(QStringLiteral("A12e"),
                             QStringLiteral("Per poter inserire un credito il giudizio deve essere "
                                            "'Prova superata' o 'Prova non prevista'\n"
                                            "Diversamente il 'Credito Formativo Valutato' deve "
                                            "essere zero."),
                             kGiudizioCredito, ui::Icon::Information);
    return Esito::ok();
}

ValoriAllievo valoriDaSalvare(const DatiAllievo& d) {
    ValoriAllievo v;
    const double ore = numeroScritto(d.oreAssenza).value_or(0);
    const double totOre = numeroScritto(d.totOre).value_or(0);
    v.oreAssenza = int(std::lround(ore));
    v.giudizio = codiceGiudizio(d.giudizio);
    v.motivo = d.motivo.trimmed();
    v.codPartec = codicePartecipazione(d.partecipazione);
    v.descPartec = d.partecipazione;
    v.credito = numeroScritto(d.credito).value_or(0);
    v.presenzaEffettiva = int(std::lround(totOre - ore));
    return v;
}

QString presenzaEffettiva(const QString& oreAssenza, const QString& totOre) {
    if (oreAssenza.isEmpty())
        return {};
    const double presenza =
        numeroScritto(totOre).value_or(0) - numeroScritto(oreAssenza).value_or(0);
    return General::testoDaNumero(presenza);
}

} // namespace report::allievo
