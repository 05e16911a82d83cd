#include "refdata/AnagraficaOperatori.h"

#include "core/Cp1252.h"
#include "core/Errore.h"
#include "core/FileSicuro.h"
#include "core/General.h"
#include "core/RigaRecord.h"
#include "core/Session.h"
#include "maint/CopiaSicurezza.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

using ui::Buttons;
using ui::Icon;

namespace anagrafica {

namespace {

const QString kTitoloInstallazione = QStringLiteral("Installazione Base Dati");
const QString kTitoloAggiornamento = QStringLiteral("Aggiornamento Base Dati");

// Error numbers of the load, as the program reports them.
constexpr int kTipoNonCorrispondente = 13;
constexpr int kRigaTroppoLunga = 6;
constexpr int kAccessoFile = 75;
constexpr int kFileNonTrovato = 53;

enum class Tipo { Testo, Numero, DataNascita, Ignorato };

// One field of a file, by position: the column it fills, how it is read and
// (for text) the width it is cut to.
struct Campo {
    const char* colonna;
    Tipo tipo;
    int larghezza = 0;
};

struct Tracciato {
    QString file;
    QString tabella;
    QString passo; // step name of the update
    QString fraseInstallazione;
    QString fraseAggiornamento;
    QList<Campo> campi;
    QStringList chiave;
    // Columns a new record also gets.
    QList<QPair<QString, QVariant>> nuovoInstallazione;
    QList<QPair<QString, QVariant>> nuovoAggiornamento;
};

const QString kVuoto = QStringLiteral("");

const Tracciato& tracciatoOper() {
    static const Tracciato t{
        kOper,
        QStringLiteral("CorsiOper"),
        QStringLiteral("AggCorsiOper"),
        QStringLiteral("durante il caricamento dei dati anagrafici dell' OPERATORE/I"),
        QStringLiteral("durante il caricamento dei dati anagrafici dell' OPERATORE/I"),
        {{"GrupOpe", Tipo::Testo, 1},
         {"Operatore", Tipo::Numero},
         {"Denominazione", Tipo::Testo, 100},
         {"TipoOper", Tipo::Testo, 2},
         {"CodFisc", Tipo::Testo, 16},
         {"PIva", Tipo::Testo, 11},
         {"LegNome", Tipo::Testo, 35},
         {"LegComNasc", Tipo::Testo, 30},
         {"LegProvNasc", Tipo::Testo, 2},
         {"", Tipo::DataNascita},
         {"ProvCCIAA", Tipo::Testo, 2},
         {"CodCCIAA", Tipo::Testo, 7},
         {"AnnoCCIAA", Tipo::Testo, 4},
         {"AttEcono", Tipo::Numero}},
        {QStringLiteral("GrupOpe"), QStringLiteral("Operatore")},
        {{QStringLiteral("Corrispondenza"), 0},
         {QStringLiteral("ContABI"), kVuoto},
         {QStringLiteral("ContDesBanca"), kVuoto},
         {QStringLiteral("ContCAB"), kVuoto},
         {QStringLiteral("ContAge"), kVuoto},
         {QStringLiteral("ContIndirAge"), kVuoto},
         {QStringLiteral("ContNumCC"), kVuoto},
         {QStringLiteral("ContIntCC"), kVuoto},
         {QStringLiteral("ContCIN"), kVuoto}},
        // The update never writes the bank-account columns; the legal seat
        // follows in its own step.
        {}};
    return t;
}

const Tracciato& tracciatoCompo() {
    static const Tracciato t{
        kCompo,
        QStringLiteral("CorsiCompo"),
        QStringLiteral("AggCorsiCompo"),
        QStringLiteral("durante il caricamento dei dati anagrafici dei COMPONENTI"),
        QStringLiteral("durante il caricamento dei dati anagrafici del COMPONENTE/I"),
        {{"GrupOpe", Tipo::Testo, 1},
         {"Operatore", Tipo::Numero},
         {"Componente", Tipo::Numero},
         {"TipoCompo", Tipo::Testo, 2},
         {"Denominazione", Tipo::Testo, 100},
         {"CodComune", Tipo::Testo, 6},
         {"Cap", Tipo::Testo, 5},
         {"Indirizzo", Tipo::Testo, 50},
         {"", Tipo::Ignorato},
         {"Tel", Tipo::Testo, 10},
         {"", Tipo::Ignorato},
         {"Fax", Tipo::Testo, 10},
         {"StatoEstero", Tipo::Testo, 30},
         {"CittaEstero", Tipo::Testo, 30}},
        {QStringLiteral("GrupOpe"), QStringLiteral("Operatore"), QStringLiteral("Componente")},
        {{QStringLiteral("Email"), kVuoto}, {QStringLiteral("Riferimento"), kVuoto}},
        {{QStringLiteral("Email"), kVuoto}, {QStringLiteral("Riferimento"), kVuoto}}};
    return t;
}

const Tracciato& tracciatoSediOcc() {
    static const Tracciato t{
        kSediOcc,
        QStringLiteral("CorsiSediOcc"),
        QStringLiteral("AggCorsiSediOcc"),
        QStringLiteral("durante il caricamento dei dati anagrafici delle SEDI OCCASIONALI"),
        QStringLiteral("durante il caricamento dei dati anagrafici delle SEDI OCCASIONALI"),
        {{"SedeOcc", Tipo::Numero},
         {"Denominazione", Tipo::Testo, 100},
         {"Indirizzo", Tipo::Testo, 50},
         {"CodComune", Tipo::Testo, 6},
         {"Cap", Tipo::Testo, 5},
         {"", Tipo::Ignorato},
         {"Tel", Tipo::Testo, 10},
         {"", Tipo::Ignorato},
         {"Fax", Tipo::Testo, 10}},
        {QStringLiteral("SedeOcc")},
        {},
        {{QStringLiteral("TipoCompo"), QStringLiteral("UO")}}};
    return t;
}

const Tracciato& tracciatoSediUtil() {
    static const Tracciato t{
        kSediUtil,
        QStringLiteral("CorsiSediOccUtil"),
        QStringLiteral("AggCorsiSediOccUtil"),
        QStringLiteral("durante il caricamento dei dati di utilizzo delle SEDI OCCASIONALI"),
        QStringLiteral("durante il caricamento dei dati di utilizzo delle SEDI OCCASIONALI"),
        {{"GrupOpe", Tipo::Testo, 1},
         {"Operatore", Tipo::Numero},
         {"Componente", Tipo::Numero},
         {"SedeOcc", Tipo::Numero}},
        {QStringLiteral("GrupOpe"), QStringLiteral("Operatore"), QStringLiteral("Componente"),
         QStringLiteral("SedeOcc")},
        {{QStringLiteral("Email"), kVuoto}, {QStringLiteral("Riferimento"), kVuoto}},
        {{QStringLiteral("Email"), kVuoto}, {QStringLiteral("Riferimento"), kVuoto}}};
    return t;
}

// Text values: cut to the width, then stripped of leading and trailing blanks.
QString taglia(const QString& valore, int larghezza) {
    QString t = valore.left(larghezza);
    qsizetype inizio = 0;
    qsizetype fine = t.size();
    while (inizio < fine && t.at(inizio) == QLatin1Char(' '))
        ++inizio;
    while (fine > inizio && t.at(fine - 1) == QLatin1Char(' '))
        --fine;
    return t.mid(inizio, fine - inizio);
}

qint64 numero(const QString& valore, int posizione, int record) {
    bool ok = false;
    const qint64 n = valore.trimmed().toLongLong(&ok);
    if (!ok)
        throw Errore{kTipoNonCorrispondente,
                     QStringLiteral("Tipo non corrispondente: il campo %1 del record %2 "
                                    "(\"%3\") non è un numero")
                         .arg(posizione)
                         .arg(record)
                         .arg(valore)};
    return n;
}

using Valori = QList<QPair<QString, QVariant>>;

// The columns a line supplies, in the order of the file.
Valori valoriRecord(const Tracciato& t, const QString& riga, int record) {
    if (riga.size() > RigaRecord::LunghezzaMassima)
        throw Errore{kRigaTroppoLunga,
                     QStringLiteral("Il record %1 supera la lunghezza massima di una riga "
                                    "(%2 caratteri)")
                         .arg(record)
                         .arg(RigaRecord::LunghezzaMassima)};
    const RigaRecord r = RigaRecord::leggi(riga);
    Valori valori;
    for (int i = 0; i < t.campi.size(); ++i) {
        const Campo& c = t.campi.at(i);
        const QString v = r.campo(i);
        switch (c.tipo) {
        case Tipo::Testo:
            valori.append({QLatin1String(c.colonna), taglia(v, c.larghezza)});
            break;
        case Tipo::Numero:
            valori.append({QLatin1String(c.colonna), numero(v, i + 1, record)});
            break;
        case Tipo::DataNascita: // DDMMYYYY
            valori.append({QStringLiteral("LegGGNasc"), taglia(v.mid(0, 2), 2)});
            valori.append({QStringLiteral("LegMMNasc"), taglia(v.mid(2, 2), 2)});
            valori.append({QStringLiteral("LegAAAANasc"), taglia(v.mid(4, 4), 4)});
            break;
        case Tipo::Ignorato:
            break;
        }
    }
    return valori;
}

// The records of a file: every non-blank line. A file that cannot be read is a
// failure of its load.
QStringList leggiRecord(Session& s, const QString& nome) {
    bool ok = false;
    const QStringList righe = cp1252::readLines(s.file(nome), &ok);
    if (!ok)
        throw Errore{kAccessoFile, QStringLiteral("Impossibile leggere il file %1").arg(nome)};
    QStringList record;
    for (const QString& r : righe)
        if (!r.trimmed().isEmpty())
            record << r;
    return record;
}

QString segnaposti(qsizetype n) {
    QStringList p;
    for (qsizetype i = 0; i < n; ++i)
        p << QStringLiteral("?");
    return p.join(QLatin1Char(','));
}

// Loads the records into the table: appended at installation; at an update
// looked up by key and rewritten when found, appended otherwise.
void carica(db::Connection& c, const Tracciato& t, const QStringList& righe, Modo modo,
            const Avanzamento& avanzamento) {
    if (righe.isEmpty())
        return;
    // The table is shown as it starts, as the decoding tables are: the start-up
    // window repaints at the start of a table and then only now and then.
    if (avanzamento)
        avanzamento(t.file, t.tabella, 0);
    const auto& nuovo = modo == Modo::Installazione ? t.nuovoInstallazione : t.nuovoAggiornamento;
    const Valori primo = valoriRecord(t, righe.first(), 1);
    QStringList colonne;
    for (const auto& v : primo)
        colonne << v.first;
    QStringList colonneNuovo = colonne;
    for (const auto& v : nuovo)
        colonneNuovo << v.first;
    QStringList filtro;
    for (const QString& k : t.chiave)
        filtro << k + QStringLiteral("=?");
    QStringList impostate;
    for (const QString& col : colonne)
        if (!t.chiave.contains(col))
            impostate << col + QStringLiteral("=?");

    db::Statement inserisci(c, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(t.tabella, colonneNuovo.join(QLatin1Char(',')),
                                        segnaposti(colonneNuovo.size())));
    std::optional<db::Statement> cerca;
    std::optional<db::Statement> riscrivi;
    if (modo == Modo::Aggiornamento) {
        cerca.emplace(c, QStringLiteral("SELECT count(*) FROM %1 WHERE %2")
                             .arg(t.tabella, filtro.join(QStringLiteral(" AND "))));
        if (!impostate.isEmpty())
            riscrivi.emplace(c, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                    .arg(t.tabella, impostate.join(QLatin1Char(',')),
                                         filtro.join(QStringLiteral(" AND "))));
    }

    for (int n = 0; n < righe.size(); ++n) {
        const Valori valori = n == 0 ? primo : valoriRecord(t, righe.at(n), n + 1);
        if (avanzamento)
            avanzamento(t.file, t.tabella, n + 1);
        QVariantList chiave;
        QVariantList altri;
        for (const auto& v : valori)
            (t.chiave.contains(v.first) ? chiave : altri) << v.second;
        try {
            bool trovato = false;
            if (cerca) {
                cerca->reset();
                cerca->bindAll(chiave);
                trovato = cerca->next() && cerca->value(0).toLongLong() > 0;
                cerca->reset();
            }
            if (trovato) {
                if (riscrivi) {
                    riscrivi->reset();
                    riscrivi->bindAll(altri + chiave);
                    riscrivi->run();
                }
            } else {
                QVariantList tutti;
                for (const auto& v : valori)
                    tutti << v.second;
                for (const auto& v : nuovo)
                    tutti << v.second;
                inserisci.reset();
                inserisci.bindAll(tutti);
                inserisci.run();
            }
        } catch (const db::DbError& e) {
            throw Errore{e.number(),
                         QStringLiteral("%1 (record %2)").arg(e.description()).arg(n + 1)};
        }
    }
}

// The agencies of "oper.tx1", by key.
QList<QPair<QString, qint64>> operatoriDelFile(const QStringList& righe) {
    QList<QPair<QString, qint64>> operatori;
    for (int n = 0; n < righe.size(); ++n) {
        const Valori v = valoriRecord(tracciatoOper(), righe.at(n), n + 1);
        operatori.append({v.at(0).second.toString(), v.at(1).second.toLongLong()});
    }
    return operatori;
}

void impostaCorrispondenza(db::Connection& c, const QString& grupOpe, qint64 operatore,
                           const QString& sede) {
    c.exec(QStringLiteral("UPDATE CorsiOper SET Corrispondenza=? WHERE GrupOpe=? AND Operatore=?"),
           {sede.toLongLong(), grupOpe, operatore});
}

QString testoErroreCarico(const Errore& e, const QString& frase) {
    return QStringLiteral("Errore %1 --> %2\n").arg(e.numero).arg(e.descrizione) + frase;
}

QString testoIncompleta(Session& s, const QString& verbo) {
    return QStringLiteral("ATTENZIONE: la base dati è incompleta. Mancano uno o più files di "
                          "testo necessari (è possibile che si trovino ancora nella cartella "
                          "temporanea dove è stato scaricato il pacchetto di installazione da "
                          "Internet. In tal caso, %1 da tale cartella tutti i files .TX1 nella "
                          "cartella ")
               .arg(verbo) +
           s.CartellaProgramma + QStringLiteral(").");
}

bool esiste(Session& s, const QString& nome) {
    return QFileInfo(s.file(nome)).isFile();
}

// The end of the program unwinds the rest of the installation (FineProgramma).
[[noreturn]] void termina(Session& s) {
    s.endProgram();
}

// Any failure of the installation that is not a load error.
[[noreturn]] void erroreImprevisto(Session& s, const Errore& e) {
    s.ui.message(nullptr,
                 e.testo() + QStringLiteral("\n\nSi è verificato un errore imprevisto.\n"
                                            "Riavviare l'applicativo. Se il problema dovesse "
                                            "persistere, contattare l'assistenza tecnica."),
                 QStringLiteral("Errore di installazione/aggiornameto"), Icon::Critical);
    s.CorsiDB().close();
    termina(s);
}

// The files of the registry that exist, moved into the subfolder renamed to
// ".car". The names of those that could not be moved are returned.
QStringList sposta(Session& s, const QString& cartella) {
    QStringList nonSpostati;
    for (const QString& nome : {kOper, kCompo, kSediOcc, kSediUtil}) {
        if (!esiste(s, nome))
            continue;
        const QString destinazione = s.CartellaProgramma + cartella + QLatin1Char('/') +
                                     QFileInfo(nome).completeBaseName() + QStringLiteral(".car");
        if (!General::muoviFile(s.file(nome), destinazione))
            nonSpostati << nome;
    }
    return nonSpostati;
}

// A step of the update that failed: its message, shown once the transaction
// has been rolled back.
struct Fallimento {
    QString testo;
    QString titolo;
};

void caricaPasso(db::Connection& c, const Tracciato& t, const QStringList& righe) {
    try {
        carica(c, t, righe, Modo::Aggiornamento, {});
    } catch (const Errore& e) {
        throw Fallimento{testoErroreCarico(e, t.fraseAggiornamento),
                         kTitoloAggiornamento + QStringLiteral(" - ") + t.passo};
    }
}

QStringList leggiPasso(Session& s, const Tracciato& t) {
    try {
        return leggiRecord(s, t.file);
    } catch (const Errore& e) {
        throw Fallimento{testoErroreCarico(e, t.fraseAggiornamento),
                         kTitoloAggiornamento + QStringLiteral(" - ") + t.passo};
    }
}

const QString kImpossibileAggiornare =
    QStringLiteral("Impossibile continuare l'operazione di aggiornamento.");

bool scriviLog(Session& s, const QStringList& note);

// The five steps of the merge, in one transaction, and the notes of the log.
void passiAggiornamento(Session& s) {
    QStringList note;
    db::Connection& c = s.CorsiDB();
    const auto vuoto = [](const QString& testo) { throw Fallimento{testo, kTitoloAggiornamento}; };
    std::optional<db::Transaction> transazione;
    try {
        transazione.emplace(c);
    } catch (const db::DbError& e) {
        throw Fallimento{Errore::da(e).testo(), kTitoloAggiornamento};
    }

    const QStringList oper = leggiPasso(s, tracciatoOper());
    if (oper.isEmpty())
        vuoto(QStringLiteral("ATTENZIONE: il file Oper.TX1 contenente le anagrafiche degli "
                             "Operatori da aggiornare risulta vuoto. ") +
              kImpossibileAggiornare);
    caricaPasso(c, tracciatoOper(), oper);

    const QStringList compo = leggiPasso(s, tracciatoCompo());
    if (compo.isEmpty())
        vuoto(QStringLiteral("ATTENZIONE: il file Compo.TX1 contenente le anagrafiche dei "
                             "Componenti da aggiornare risulta vuoto. ") +
              kImpossibileAggiornare);
    caricaPasso(c, tracciatoCompo(), compo);

    try {
        for (const auto& [grupOpe, operatore] : operatoriDelFile(oper)) {
            const QString sede = sedeLegale(c, grupOpe, operatore);
            if (sede == QLatin1String("0"))
                note << QStringLiteral("Manca la sede legale dell'Operatore %1 - %2: "
                                       "Corrispondenza impostata a 0.")
                            .arg(grupOpe)
                            .arg(operatore);
            impostaCorrispondenza(c, grupOpe, operatore, sede);
        }
    } catch (const Errore& e) {
        throw Fallimento{testoErroreCarico(e, tracciatoOper().fraseAggiornamento),
                         kTitoloAggiornamento + QStringLiteral(" - AggCorsiOperCorrisp")};
    } catch (const db::DbError& e) {
        throw Fallimento{testoErroreCarico(Errore::da(e), tracciatoOper().fraseAggiornamento),
                         kTitoloAggiornamento + QStringLiteral(" - AggCorsiOperCorrisp")};
    }

    if (esiste(s, kSediOcc)) {
        const QStringList sediOcc = leggiPasso(s, tracciatoSediOcc());
        const QStringList sediUtil = leggiPasso(s, tracciatoSediUtil());
        if (sediOcc.isEmpty() && !sediUtil.isEmpty())
            vuoto(QStringLiteral("ATTENZIONE: il file con i dati anagrafici delle sedi "
                                 "occasionali è vuoto, mentre non lo è quello con i dati "
                                 "di utilizzo delle sedi stesse. Vi è quindi una incongruenza "
                                 "nei dati. ") +
                  kImpossibileAggiornare);
        if (!sediOcc.isEmpty() && sediUtil.isEmpty())
            vuoto(QStringLiteral("ATTENZIONE: il file con i dati di utilizzo delle sedi "
                                 "occasionali da parte degli operatori è vuoto, mentre non lo è "
                                 "il file con i dati anagrafici delle sedi stesse. Vi è quindi "
                                 "una incongruenza nei dati. ") +
                  kImpossibileAggiornare);
        caricaPasso(c, tracciatoSediOcc(), sediOcc);
        caricaPasso(c, tracciatoSediUtil(), sediUtil);
    }

    // The notes are written before the commit, so that a log that cannot be
    // written fails the update while it can still be rolled back.
    if (!scriviLog(s, note))
        throw Fallimento{QStringLiteral("Impossibile scrivere il file di log ") + s.file(kFileLog),
                         kTitoloAggiornamento};
    try {
        transazione->commit();
    } catch (const db::DbError& e) {
        throw Fallimento{Errore::da(e).testo(), kTitoloAggiornamento};
    }
}

// Appends the notes to the log (CR LF lines, as the text editor expects them).
bool scriviLog(Session& s, const QStringList& note) {
    if (note.isEmpty())
        return true;
    const QString log = s.file(kFileLog);
    bool letto = false;
    QStringList righe = cp1252::readLines(log, &letto);
    if (!letto)
        righe.clear();
    righe << note;
    return fileSicuro::sostituisci(
        log, cp1252::encode(righe.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

void domandaLog(Session& s, QWidget* parent) {
    const QString log = QDir::toNativeSeparators(s.file(kFileLog));
    if (!QFileInfo(log).isFile())
        return;
    bool letto = false;
    const QStringList righe = cp1252::readLines(log, &letto);
    if (letto && righe.isEmpty()) {
        QFile::remove(log);
        return;
    }
    if (s.ui.message(parent,
                     QStringLiteral("E' stato creato un file di log con nome: ") + log +
                         QStringLiteral(", contenente alcune note all'aggiornamento. E' "
                                        "possibile leggerlo usando il Blocco Note di "
                                        "Windows.\n\nVisualizzare subito il file di log?"),
                     kTitoloAggiornamento, Icon::Question, Buttons::YesNo) != ui::Answer::Yes)
        return;
    QString errore;
    if (!s.ui.runAndWait(editoreDiTesto(), {log}, &errore))
        s.ui.message(parent,
                     QStringLiteral("VisLog - %1 - %2\n").arg(kFileNonTrovato).arg(errore) +
                         QStringLiteral("Impossibile visualizzare il file di log.\n\n"
                                        "Sarà possibile visualizzarlo in un secondo tempo "
                                        "entrando in Gestione Risorse, cliccando con il tasto "
                                        "destro del mouse sul file ") +
                         log +
                         QStringLiteral(", selezionando Apri con... e NotePad dall'elenco che "
                                        "comparirà a video."),
                     ui::DefaultTitle, Icon::Critical);
}

} // namespace

QString sedeLegale(db::Connection& c, const QString& grupOpe, qint64 operatore) {
    const QVariant componente =
        c.scalar(QStringLiteral("SELECT Componente FROM CorsiCompo WHERE GrupOpe=? AND "
                                "Operatore=? AND TipoCompo=? ORDER BY Componente LIMIT 1"),
                 {grupOpe, operatore, QStringLiteral("SL")});
    return componente.isValid() && !componente.isNull() ? componente.toString()
                                                        : QStringLiteral("0");
}

void verificaFileInstallazione(Session& s) {
    const auto fine = [&s](const QString& verbo) {
        s.ui.message(nullptr, testoIncompleta(s, verbo), kTitoloInstallazione, Icon::Critical);
        s.CorsiDB().close();
        termina(s);
    };
    if (!esiste(s, kOper) || !esiste(s, kCompo))
        fine(QStringLiteral("spostare"));
    if (esiste(s, kSediOcc) != esiste(s, kSediUtil))
        fine(QStringLiteral("spostate"));
}

bool installa(Session& s, const Avanzamento& avanzamento) {
    db::Connection& c = s.CorsiDB();
    std::optional<db::Transaction> transazione;
    // A failed load: the transaction is rolled back (CorsiOper and the other
    // tables stay empty, so the next start installs again), then the message
    // and the end of the program.
    const auto fallito = [&](const QString& testo) {
        transazione.reset();
        s.ui.message(nullptr, testo, kTitoloInstallazione, Icon::Critical);
        termina(s);
    };
    const auto erroreCarico = [&](const Errore& e, const Tracciato& t) {
        fallito(testoErroreCarico(e, t.fraseInstallazione));
    };
    try {
        if (c.scalar(QStringLiteral("SELECT count(*) FROM CorsiOper")).toLongLong() > 0)
            return false;
        const QStringList oper = leggiRecord(s, kOper);
        const QStringList compo = leggiRecord(s, kCompo);
        const bool sedi = esiste(s, kSediOcc);
        const QStringList sediOcc = sedi ? leggiRecord(s, kSediOcc) : QStringList();
        const QStringList sediUtil = sedi ? leggiRecord(s, kSediUtil) : QStringList();

        transazione.emplace(c);
        if (oper.isEmpty())
            fallito(QStringLiteral("ATTENZIONE: non è presente alcun OPERATORE da caricare nella "
                                   "base dati.\nImpossibile utilizzare il programma."));
        try {
            carica(c, tracciatoOper(), oper, Modo::Installazione, avanzamento);
        } catch (const Errore& e) {
            erroreCarico(e, tracciatoOper());
        }
        if (compo.isEmpty())
            fallito(QStringLiteral("ATTENZIONE: non è presente alcun COMPONENTE da caricare nella "
                                   "base dati.\nImpossibile utilizzare il programma."));
        try {
            carica(c, tracciatoCompo(), compo, Modo::Installazione, avanzamento);
        } catch (const Errore& e) {
            erroreCarico(e, tracciatoCompo());
        }

        for (const db::Row& r :
             c.query(QStringLiteral("SELECT GrupOpe, Operatore FROM CorsiOper"))) {
            const QString grupOpe = r.value(0).toString();
            const qint64 operatore = r.value(1).toLongLong();
            const QString sede = sedeLegale(c, grupOpe, operatore);
            if (sede == QLatin1String("0")) {
                transazione.reset();
                s.ui.message(nullptr,
                             QStringLiteral("Manca la sede legale dell'Operatore %1 - %2. "
                                            "Impossibile utilizzare il programma.")
                                 .arg(grupOpe)
                                 .arg(operatore),
                             QStringLiteral("Installazione/Aggiornamento Base Dati"),
                             Icon::Critical);
                termina(s);
            }
            impostaCorrispondenza(c, grupOpe, operatore, sede);
        }

        if (sedi) {
            if (sediOcc.isEmpty() && !sediUtil.isEmpty())
                fallito(QStringLiteral("ATTENZIONE: il file con i dati anagrafici delle sedi "
                                       "occasionali è vuoto, ma non lo è quello con i dati di "
                                       "utilizzo delle sedi stesse. La base dati è incompleta.\n"
                                       "Impossibile continuare l'installazione."));
            if (!sediOcc.isEmpty() && sediUtil.isEmpty())
                fallito(QStringLiteral("ATTENZIONE: il file con i dati di utilizzo delle sedi "
                                       "occasionali è vuoto. La base dati è incompleta.\n"
                                       "Impossibile continuare l'installazione."));
            // Started with DEBUG, a failing venue load is retried after "Resume"
            // (a few times: a persistent error must not loop for ever).
            constexpr int kTentativiDebug = 3;
            const auto caricaSedi = [&](const Tracciato& t, const QStringList& righe,
                                        const QString& ripresa, bool descrizionePrima) {
                for (int tentativo = 0;; ++tentativo) {
                    c.exec(QStringLiteral("SAVEPOINT sedi"));
                    try {
                        carica(c, t, righe, Modo::Installazione, avanzamento);
                        c.exec(QStringLiteral("RELEASE sedi"));
                        return;
                    } catch (const Errore& e) {
                        c.exec(QStringLiteral("ROLLBACK TO sedi"));
                        c.exec(QStringLiteral("RELEASE sedi"));
                        const bool riprova = s.debug && tentativo < kTentativiDebug;
                        if (!riprova)
                            transazione.reset();
                        if (descrizionePrima)
                            s.ui.message(nullptr, e.descrizione);
                        if (!riprova)
                            erroreCarico(e, t);
                        s.ui.message(nullptr, ripresa);
                    }
                }
            };
            caricaSedi(tracciatoSediOcc(), sediOcc, QStringLiteral("Resume"), true);
            caricaSedi(tracciatoSediUtil(), sediUtil, QStringLiteral("RESUME"), false);
        }
        transazione->commit();
        transazione.reset();

        const QStringList nonSpostati = sposta(s, QStringLiteral("CAR"));
        if (!nonSpostati.isEmpty())
            erroreImprevisto(
                s, {kAccessoFile, QStringLiteral("Impossibile spostare nella cartella CAR: ") +
                                      nonSpostati.join(QStringLiteral(", "))});
        return true;
    } catch (const Errore& e) {
        transazione.reset();
        erroreImprevisto(s, e);
    } catch (const db::DbError& e) {
        transazione.reset();
        erroreImprevisto(s, Errore::da(e));
    }
}

bool unisci(Session& s, QWidget* parent) {
    const QString incompleta = QStringLiteral("ATTENZIONE: la base dati è incompleta. Mancano uno "
                                              "o più files di testo necessari.");
    if (!esiste(s, kOper) || !esiste(s, kCompo)) {
        s.ui.message(parent, incompleta, kTitoloAggiornamento, Icon::Critical);
        return false;
    }
    if (esiste(s, kSediOcc) != esiste(s, kSediUtil)) {
        s.ui.message(parent, incompleta, kTitoloInstallazione, Icon::Critical);
        return false;
    }
    if (!maint::Crea_DB_Backup(s, s.PercorsoDB, parent)) {
        s.ui.message(parent,
                     QStringLiteral("Copia di sicurezza della base dati non riuscita. Impossibile "
                                    "continuare l'operazione di aggiornamento."),
                     kTitoloAggiornamento, Icon::Critical);
        return false;
    }

    std::optional<Fallimento> fallimento;
    try {
        passiAggiornamento(s);
    } catch (const Fallimento& f) {
        fallimento = f;
    }
    if (!fallimento) {
        maint::eliminaCopiaSicurezza(s.PercorsoDB);
        domandaLog(s, parent);
        return true;
    }
    // The transaction has been rolled back: the restore confirms the database
    // against the safety copy and reports it.
    s.ui.message(parent, fallimento->testo, fallimento->titolo, Icon::Critical);
    maint::ripristinoDopoAggiornamento(s, s.PercorsoDB, maint::Aggiornamento::Annullato, parent);
    QFile::remove(s.file(kFileLog));
    return false;
}

bool aggiorna(Session& s, QWidget* parent) {
    if (!esiste(s, kOper))
        return false;
    const bool unito = unisci(s, parent);
    const QString cartella = unito ? QStringLiteral("CAR") : QStringLiteral("BAD");
    const QStringList nonSpostati = sposta(s, cartella);
    if (!nonSpostati.isEmpty())
        s.ui.message(
            parent,
            QStringLiteral("Impossibile spostare nella cartella %1 i file: ").arg(cartella) +
                nonSpostati.join(QStringLiteral(", ")),
            kTitoloAggiornamento, Icon::Warning);
    return unito;
}

void cancellaLog(Session& s) {
    QFile::remove(s.file(kFileLog));
}

void cancellaFileTx1(Session& s) {
    const QDir cartella(s.CartellaProgramma);
    for (const QString& nome :
         cartella.entryList({QStringLiteral("*.tx1")}, QDir::Files | QDir::CaseSensitive))
        QFile::remove(cartella.filePath(nome));
}

QString editoreDiTesto() {
    static const QStringList editori{QStringLiteral("gnome-text-editor"),
                                     QStringLiteral("gedit"),
                                     QStringLiteral("kwrite"),
                                     QStringLiteral("kate"),
                                     QStringLiteral("mousepad"),
                                     QStringLiteral("xed"),
                                     QStringLiteral("pluma"),
                                     QStringLiteral("leafpad"),
                                     QStringLiteral("featherpad")};
    for (const QString& e : editori)
        if (!QStandardPaths::findExecutable(e).isEmpty())
            return e;
    return editori.first();
}

} // namespace anagrafica
