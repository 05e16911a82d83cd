#include "report/EsitiFoglio.h"

#include "core/General.h"
#include "db/Database.h"
#include "report/FoglioCsv.h"
#include "report/RegoleCorso.h"
#include "report/StatoCorso.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace report::foglio {

namespace {

struct DefinizioneColonna {
    const char* intestazione;
    QStringList altriNomi; // also accepted as headings, written as chiave() gives them
    bool richiesta;
};

const std::array<DefinizioneColonna, NumeroColonne>& colonne() {
    static const std::array<DefinizioneColonna, NumeroColonne> c = {{
        {"Codice fiscale", {"codfiscale", "cf"}, true},
        {"Cognome", {}, false},
        {"Nome", {}, false},
        {"Matricola", {}, false},
        {"Ore assenza", {"oreassenze"}, true},
        {"Partecipazione", {"descpartec", "codpartec"}, true},
        {"Giudizio", {"giudiziovalutazione"}, true},
        {"Motivo",
         {"descizionegiudizio", "descizionegiudizionegativo", "motivogiudizionegativo"},
         true},
        {"Credito formativo valutato", {"credformvalut", "creditovalutato", "credito"}, true},
    }};
    return c;
}

const QList<int> kEsiti = {OreAssenza, Partecipazione, Giudizio, Motivo, Credito};

// A heading compared without letter case, accents, blanks and punctuation.
QString chiave(const QString& testo) {
    QString k;
    for (const QChar c : testo.normalized(QString::NormalizationForm_D))
        if (c.isLetterOrNumber())
            k += c.toLower();
    return k;
}

QString codiceFiscale(const QString& testo) {
    QString cf;
    for (const QChar c : testo)
        if (!c.isSpace())
            cf += c.toUpper();
    return cf;
}

// The item of a list that a cell names: the item itself (letter case aside) or,
// for the judgement, its code.
std::optional<QString> voceDi(const QString& cella, const QStringList& voci) {
    if (cella.isEmpty())
        return QString();
    for (const QString& voce : voci)
        if (chiave(voce) == chiave(cella))
            return voce;
    return std::nullopt;
}

std::optional<QString> partecipazioneDi(const QString& cella) {
    bool numero = false;
    const int codice = cella.toInt(&numero);
    if (numero && !allievo::vocePartecipazione(codice).isEmpty())
        return allievo::vocePartecipazione(codice);
    return voceDi(cella, allievo::vociPartecipazione());
}

std::optional<QString> giudizioDi(const QString& cella) {
    if (cella.size() == 1 && !allievo::voceGiudizio(cella).isEmpty())
        return allievo::voceGiudizio(cella);
    return voceDi(cella, allievo::vociGiudizio());
}

// What the file holds for a participant as it is stored, cell by cell.
std::array<QString, NumeroColonne> celleDi(const archivio::Allievo& a) {
    const auto numero = [](const QVariant& v) {
        return v.isValid() && !v.isNull() ? General::testoDaNumero(v.toDouble()) : QString();
    };
    return {a.codFiscale,
            a.cognome,
            a.nome,
            a.matricola,
            numero(a.oreAssenza),
            allievo::vocePartecipazione(a.codPartec.toInt()),
            allievo::voceGiudizio(a.giudizio.trimmed()),
            a.descizioneGiudizio,
            numero(a.credFormValut)};
}

bool stessoValore(const QString& a, const QString& b) {
    const auto na = numeroScritto(a), nb = numeroScritto(b);
    if (na && nb)
        return std::fabs(*na - *nb) < 1e-9;
    return a == b;
}

QString elencoLinee(const QList<int>& linee) {
    QStringList testo;
    for (int l : linee)
        testo << QString::number(l);
    return testo.join(QStringLiteral(", "));
}

// The checks of one row that belongs to a participant of the course.
void verifica(RigaFoglio& r, const archivio::Allievo& a, const QString& totOre,
              const QString& creditoCorso) {
    r.codFiscale = a.codFiscale;
    auto& v = r.valori;
    if (v[Cognome].isEmpty() && v[Nome].isEmpty()) {
        v[Cognome] = a.cognome;
        v[Nome] = a.nome;
    }
    if (std::all_of(kEsiti.begin(), kEsiti.end(), [&](int c) { return v[c].isEmpty(); })) {
        r.azione = Azione::Invariato;
        r.messaggio = QStringLiteral("Esito non indicato: l'allievo resta com'è.");
        return;
    }
    const std::pair<int, std::optional<QString>> voci[] = {
        {Partecipazione, partecipazioneDi(v[Partecipazione])},
        {Giudizio, giudizioDi(v[Giudizio])},
        {Motivo, voceDi(v[Motivo], allievo::vociMotivo())}};
    for (const auto& [colonna, voce] : voci) {
        if (!voce) {
            r.azione = Azione::Rifiutato;
            r.messaggio = QStringLiteral("Valore non previsto nella colonna \"%1\": %2")
                              .arg(intestazione(colonna), v[colonna]);
            return;
        }
        v[colonna] = *voce;
    }
    // As in the editor, a reason goes only with a negative judgement.
    if (v[Giudizio] != allievo::GiudizioNonSuperata)
        v[Motivo].clear();

    const std::array<QString, NumeroColonne> salvate = celleDi(a);
    for (int c : kEsiti)
        if (!stessoValore(v[c], salvate[c]))
            r.cambiate << c;
    const allievo::DatiAllievo d{
        v[OreAssenza], v[Partecipazione], v[Giudizio], v[Motivo], v[Credito], totOre, creditoCorso};
    r.esito = allievo::verificaAllievo(d);
    if (!r.esito.superato) {
        // A row left as exported changes nothing, whatever the rules say today.
        r.azione = r.cambiate.isEmpty() ? Azione::Invariato : Azione::Rifiutato;
        r.messaggio = r.esito.testo;
        return;
    }
    r.daSalvare = allievo::valoriDaSalvare(d);
    const bool presenzaCambia =
        a.orePresenzaEffettiva.isNull() ||
        a.orePresenzaEffettiva.toLongLong() != r.daSalvare.presenzaEffettiva;
    r.azione = r.cambiate.isEmpty() && !presenzaCambia ? Azione::Invariato : Azione::DaAggiornare;
    QStringList modifiche;
    for (int c : r.cambiate)
        modifiche << QStringLiteral("%1: %2 → %3")
                         .arg(intestazione(c),
                              salvate[c].isEmpty() ? QStringLiteral("(vuoto)") : salvate[c],
                              v[c].isEmpty() ? QStringLiteral("(vuoto)") : v[c]);
    if (modifiche.isEmpty() && presenzaCambia)
        modifiche << QStringLiteral("Presenza effettiva: %1").arg(r.daSalvare.presenzaEffettiva);
    r.modifiche = modifiche.join(QStringLiteral("; "));
}

} // namespace

QString intestazione(int colonna) {
    return QString::fromUtf8(colonne()[size_t(colonna)].intestazione);
}

QByteArray esporta(const QList<archivio::Allievo>& allievi) {
    QList<QStringList> righe;
    QStringList testata;
    for (int c = 0; c < NumeroColonne; ++c)
        testata << intestazione(c);
    righe << testata;
    for (const archivio::Allievo& a : allievi) {
        const auto celle = celleDi(a);
        righe << QStringList(celle.begin(), celle.end());
    }
    return csv::scrivi(righe);
}

QString testoAzione(Azione azione) {
    switch (azione) {
    case Azione::DaAggiornare:
        return QStringLiteral("Da aggiornare");
    case Azione::Invariato:
        return QStringLiteral("Invariato");
    case Azione::Rifiutato:
        return QStringLiteral("Rifiutato");
    case Azione::NonNelCorso:
        return QStringLiteral("Non nel corso");
    }
    return {};
}

int Anteprima::conta(Azione azione) const {
    return int(std::count_if(righe.begin(), righe.end(),
                             [azione](const RigaFoglio& r) { return r.azione == azione; }));
}

QString Anteprima::nota() const {
    if (colonneIgnorate.isEmpty())
        return {};
    return QStringLiteral("Colonne ignorate: ") + colonneIgnorate.join(QStringLiteral(", "));
}

Anteprima leggi(const QByteArray& contenuto, const QList<archivio::Allievo>& allievi,
                const QString& totOre, const QString& creditoCorso) {
    Anteprima a;
    const csv::Lettura lettura = csv::leggi(contenuto);
    a.codifica = lettura.codifica;
    if (!lettura.errore.isEmpty()) {
        a.errore = lettura.errore;
        return a;
    }
    // The heading is the first row that is not empty.
    qsizetype prima = 0;
    const auto vuota = [](const QStringList& riga) {
        return std::all_of(riga.begin(), riga.end(), [](const QString& v) { return v.isEmpty(); });
    };
    while (prima < lettura.righe.size() && vuota(lettura.righe[prima]))
        ++prima;
    if (prima == lettura.righe.size()) {
        a.errore = QStringLiteral("Il file è vuoto.");
        return a;
    }
    std::array<int, NumeroColonne> posizione;
    posizione.fill(-1);
    const QStringList& testata = lettura.righe[prima];
    for (int i = 0; i < testata.size(); ++i) {
        const QString k = chiave(csv::senzaProtezione(testata[i]));
        int trovata = -1;
        for (int c = 0; c < NumeroColonne && trovata < 0; ++c)
            if (k == chiave(intestazione(c)) || colonne()[size_t(c)].altriNomi.contains(k))
                trovata = c;
        if (trovata >= 0 && posizione[size_t(trovata)] < 0)
            posizione[size_t(trovata)] = i;
        else if (!testata[i].isEmpty())
            a.colonneIgnorate << testata[i];
    }
    QStringList mancanti;
    for (int c = 0; c < NumeroColonne; ++c)
        if (colonne()[size_t(c)].richiesta && posizione[size_t(c)] < 0)
            mancanti << QLatin1Char('"') + intestazione(c) + QLatin1Char('"');
    if (!mancanti.isEmpty()) {
        a.errore = (mancanti.size() == 1 ? QStringLiteral("Nel file manca la colonna ")
                                         : QStringLiteral("Nel file mancano le colonne ")) +
                   mancanti.join(QStringLiteral(", ")) + QLatin1Char('.');
        return a;
    }

    QHash<QString, qsizetype> perCodice;
    for (qsizetype i = 0; i < allievi.size(); ++i)
        perCodice.insert(codiceFiscale(allievi[i].codFiscale), i);
    QHash<QString, QList<int>> lineePerCodice;
    for (qsizetype i = prima + 1; i < lettura.righe.size(); ++i) {
        const QStringList& celle = lettura.righe[i];
        if (vuota(celle))
            continue;
        RigaFoglio r;
        r.linea = lettura.linee.value(i);
        for (int c = 0; c < NumeroColonne; ++c)
            if (posizione[size_t(c)] >= 0)
                r.valori[size_t(c)] =
                    csv::senzaProtezione(celle.value(posizione[size_t(c)]).trimmed());
        r.valori[CodFiscale] = codiceFiscale(r.valori[CodFiscale]);
        lineePerCodice[r.valori[CodFiscale]] << r.linea;
        a.righe << r;
    }
    for (RigaFoglio& r : a.righe) {
        const QList<int>& linee = lineePerCodice.value(r.valori[CodFiscale]);
        const auto trovato = perCodice.constFind(r.valori[CodFiscale]);
        if (r.valori[CodFiscale].isEmpty()) {
            r.azione = Azione::NonNelCorso;
            r.messaggio = QStringLiteral("Manca il codice fiscale.");
        } else if (linee.size() > 1) {
            r.azione = Azione::Rifiutato;
            r.messaggio = QStringLiteral("Il codice fiscale compare più volte nel file (righe %1).")
                              .arg(elencoLinee(linee));
        } else if (trovato == perCodice.constEnd()) {
            r.azione = Azione::NonNelCorso;
            r.messaggio = QStringLiteral("Il codice fiscale non è tra gli allievi del corso.");
        } else {
            verifica(r, allievi[*trovato], totOre, creditoCorso);
        }
    }
    return a;
}

Anteprima leggiFile(const QString& percorso, const QList<archivio::Allievo>& allievi,
                    const QString& totOre, const QString& creditoCorso) {
    const QFileInfo info(percorso);
    Anteprima a;
    if (info.size() > DimensioneMassima) {
        a.errore = QStringLiteral("Il file supera i 5 MB: non è un elenco di allievi.");
        return a;
    }
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        a.errore = QStringLiteral("Impossibile leggere il file %1.")
                       .arg(QDir::toNativeSeparators(info.absoluteFilePath()));
        return a;
    }
    const QByteArray contenuto = file.read(DimensioneMassima + 1);
    if (contenuto.size() > DimensioneMassima) {
        a.errore = QStringLiteral("Il file supera i 5 MB: non è un elenco di allievi.");
        return a;
    }
    return leggi(contenuto, allievi, totOre, creditoCorso);
}

std::optional<int> applica(db::Connection& db, qint32 idAttivita, const Anteprima& anteprima,
                           const QString& statoLetto) {
    if (!anteprima.errore.isEmpty() || statoLetto != StatoAperto)
        return std::nullopt;
    db::Transaction transazione(db);
    const QVariant stato =
        db.scalar(QStringLiteral("SELECT coalesce(Stato, '') FROM KELDCorsiDef WHERE IdAttivita=?"),
                  {idAttivita});
    if (!stato.isValid())
        throw db::DbError(
            0, QStringLiteral("Il corso %1 non è presente in archivio.").arg(idAttivita));
    if (stato.toString() != statoLetto)
        return std::nullopt;
    int scritte = 0;
    for (const RigaFoglio& r : anteprima.righe) {
        if (r.azione != Azione::DaAggiornare)
            continue;
        if (!archivio::salvaAllievo(db, idAttivita, r.codFiscale, r.daSalvare))
            return std::nullopt;
        ++scritte;
    }
    transazione.commit();
    return scritte;
}

} // namespace report::foglio
