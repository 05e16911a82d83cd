#include "download/mdAggiornaCorsiApprovati.h"

#include "core/Cp1252.h"
#include "core/General.h"
#include "core/RigaRecord.h"
#include "core/Session.h"
#include "db/Database.h"
#include "maint/CopiaSicurezza.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

using ui::Icon;

namespace download {

namespace {

const QString kTitoloAggiornamento = QStringLiteral("Aggiornamento Base Dati");
const QString kTitoloCorsi = QStringLiteral("Aggiornamento Base Dati - Acquisizione Corsi");
const QString kTitoloPartecipanti =
    QStringLiteral("Aggiornamento Base Dati - Acquisizione Partecipanti");
const QString kTitoloScarico =
    QStringLiteral("Corsi Approvati e Finanziati - Scarico/Aggiornamento");

// A line the loader cannot use, reported like a failure of the data access.
struct RigaNonValida {
    int numero;
    QString descrizione;
};

// Reads the file's lines, trimmed, empty ones left out. Missing or unreadable
// file: error 53; no lines: nullopt-like empty list with vuoto set.
QStringList righeDelFile(const QString& file) {
    bool letto = false;
    const QStringList righe = cp1252::readLines(file, &letto);
    if (!letto)
        throw RigaNonValida{53, QStringLiteral("Impossibile trovare il file: ") +
                                    QFileInfo(file).fileName()};
    QStringList piene;
    for (const QString& r : righe)
        if (const QString t = r.trimmed(); !t.isEmpty())
            piene.append(t);
    return piene;
}

bool fileVuoto(Session& session, QWidget* parent, const QStringList& righe) {
    if (!righe.isEmpty())
        return false;
    session.ui.message(parent,
                       QStringLiteral("ATTENZIONE: il file CorsiApprovati.tx1 risulta vuoto. "
                                      "Impossibile continuare l'operazione di aggiornamento."),
                       kTitoloAggiornamento, Icon::Critical);
    return true;
}

// The course identifier of a line: digits only, or the line cannot be keyed.
qint64 identificativo(const QString& testo) {
    bool ok = false;
    const qint64 id = testo.toLongLong(&ok);
    if (!ok || id <= 0 || testo.contains(QLatin1Char('+')))
        throw RigaNonValida{13, QStringLiteral("Tipo non corrispondente: IdAttivita '") + testo +
                                    QStringLiteral("'")};
    return id;
}

// A numeric column: empty text is no value.
QVariant numero(const QString& testo) {
    return testo.isEmpty() ? QVariant() : QVariant(testo);
}

// A decimal column: a decimal comma becomes a point.
QVariant decimale(const QString& testo) {
    QString t = testo;
    const qsizetype virgola = t.indexOf(QLatin1Char(','));
    if (virgola >= 0)
        t[virgola] = QLatin1Char('.');
    return numero(t);
}

void mostraErroreCaricamento(Session& session, QWidget* parent, int numero,
                             const QString& descrizione, const QString& cosa,
                             const QString& titolo) {
    session.ui.message(parent,
                       QStringLiteral("Errore %1 --> ").arg(numero) + descrizione +
                           QStringLiteral("\n\rdurante il caricamento dei ") + cosa,
                       titolo, Icon::Critical);
}

// Runs a loader's body and turns a failure into its message and false.
template <class Corpo>
bool carica(Session& session, QWidget* parent, const QString& cosa, const QString& titolo,
            Corpo corpo) {
    try {
        return corpo();
    } catch (const db::DbError& e) {
        mostraErroreCaricamento(session, parent, e.number(), e.description(), cosa, titolo);
    } catch (const RigaNonValida& e) {
        mostraErroreCaricamento(session, parent, e.numero, e.descrizione, cosa, titolo);
    }
    return false;
}

QString tabellaNota(const QString& tabella, const QString& attesa) {
    // The table name goes into the statement text: only the program's own.
    if (tabella.compare(attesa, Qt::CaseInsensitive) != 0)
        throw RigaNonValida{3078, QStringLiteral("Tabella non prevista: ") + tabella};
    return attesa;
}

} // namespace

bool CaricaCorsi(Session& session, QWidget* parent, const QString& file, const QString& tabella) {
    return carica(session, parent, QStringLiteral("CORSI"), kTitoloCorsi, [&] {
        const QString t = tabellaNota(tabella, QStringLiteral("KELDCorsiDef"));
        const QStringList righe = righeDelFile(file);
        if (fileVuoto(session, parent, righe))
            return false;
        db::Connection& c = session.CorsiDB();
        db::Statement esiste(c, QStringLiteral("SELECT 1 FROM ") + t +
                                    QStringLiteral(" WHERE IdAttivita=?"));
        db::Statement aggiungi(
            c, QStringLiteral("INSERT INTO ") + t +
                   QStringLiteral(
                       " (GrupOpe, Operatore, IdAttivita, Stato, ProgrAttivita, DenCorso,"
                       " DataInizioGG, DataInizioMM, DataInizioAAAA, TotIter, Componente, SedeOcca,"
                       " TotMaschi, TotFemmine, TotMaschiH, TotFemmineH, AmmessiM, AmmessiF,"
                       " AmmessiMH, AmmessiFH, NonAmmessiM, NonAmmessiF, NonAmmessiMH,"
                       " NonAmmessiFH, CodObiet, CodAsse, CodSubAsse)"
                       " VALUES (?, ?, ?, 'APERTO', ?, ?, ?, ?, ?, ?, ?, ?,"
                       " 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ?, ?, ?)"));
        QSet<qint64> nuovi, aggiornati;
        for (const QString& testo : righe) {
            const RigaRecord r = RigaRecord::leggi(testo);
            const qint64 id = identificativo(r.campo(2));
            esiste.reset();
            esiste.bind(1, id);
            if (esiste.next()) {
                if (!nuovi.contains(id))
                    aggiornati.insert(id);
                continue; // an existing course keeps its row as it is
            }
            nuovi.insert(id);
            const QString data = r.campo(5);
            aggiungi.reset();
            aggiungi.bindAll({r.campo(0), numero(r.campo(1)), id, numero(r.campo(3)), r.campo(4),
                              data.mid(0, 2), data.mid(3, 2), data.right(4), numero(r.campo(6)),
                              numero(r.campo(12)), numero(r.campo(13)), r.campo(14), r.campo(15),
                              r.campo(16)});
            aggiungi.run();
        }
        session.conteggioScarico.corsiNuovi = int(nuovi.size());
        session.conteggioScarico.corsiAggiornati = int(aggiornati.size());
        return true;
    });
}

bool CaricaPartecipanti(Session& session, QWidget* parent, const QString& file,
                        const QString& tabella) {
    return carica(session, parent, QStringLiteral("PARTECIPANTI"), kTitoloPartecipanti, [&] {
        const QString t = tabellaNota(tabella, QStringLiteral("KELDAnagFreq"));
        const QStringList righe = righeDelFile(file);
        if (fileVuoto(session, parent, righe))
            return false;
        db::Connection& c = session.CorsiDB();
        db::Statement esiste(c, QStringLiteral("SELECT 1 FROM ") + t +
                                    QStringLiteral(" WHERE IdAttivita=? AND CodFiscale=?"));
        db::Statement aggiungi(c, QStringLiteral("INSERT INTO ") + t +
                                      QStringLiteral(" (IdAttivita, CodFiscale, Cognome, Nome,"
                                                     " Sesso, Matricola, Giudizio)"
                                                     " VALUES (?, ?, ?, ?, ?, ?, ' ')"));
        db::Statement matricola(c, QStringLiteral("UPDATE ") + t +
                                       QStringLiteral(" SET Matricola=? WHERE IdAttivita=? AND"
                                                      " CodFiscale=?"));
        int nuovi = 0, aggiornati = 0;
        for (const QString& testo : righe) {
            const RigaRecord r = RigaRecord::leggi(testo);
            const qint64 id = identificativo(r.campo(2));
            const QString codFiscale = r.campo(7);
            if (codFiscale.isEmpty())
                throw RigaNonValida{3315, QStringLiteral("Il campo 'KELDAnagFreq.CodFiscale' non "
                                                         "può essere una stringa di lunghezza "
                                                         "zero.")};
            // The server's "no enrolment number yet", which blocks the transmission.
            const QString numeroMatricola =
                r.campo(11).isEmpty() ? QStringLiteral("null") : r.campo(11);
            esiste.reset();
            esiste.bindAll({id, codFiscale});
            if (esiste.next()) {
                matricola.reset();
                matricola.bindAll({numeroMatricola, id, codFiscale});
                matricola.run();
                ++aggiornati;
            } else {
                aggiungi.reset();
                aggiungi.bindAll(
                    {id, codFiscale, r.campo(8), r.campo(9), r.campo(10), numeroMatricola});
                aggiungi.run();
                ++nuovi;
            }
        }
        session.conteggioScarico.allieviNuovi = nuovi;
        session.conteggioScarico.allieviAggiornati = aggiornati;
        return true;
    });
}

bool CaricaGiornateOre(Session& session, QWidget* parent, const QString& file,
                       const QString& tabella) {
    return carica(session, parent, QStringLiteral("CORSI"), kTitoloCorsi, [&] {
        const QString t = tabellaNota(tabella, QStringLiteral("KELDCorsiDef"));
        const QStringList righe = righeDelFile(file);
        if (fileVuoto(session, parent, righe))
            return false;
        // "null" in a field means no value: the column keeps what it holds.
        db::Statement scrivi(session.CorsiDB(),
                             QStringLiteral("UPDATE ") + t +
                                 QStringLiteral(" SET NumGiornate=CASE WHEN ?1 THEN ?2 ELSE"
                                                " NumGiornate END, NumOreGiornata=CASE WHEN ?3"
                                                " THEN ?4 ELSE NumOreGiornata END, CostoCorso="
                                                "CASE WHEN ?5 THEN ?6 ELSE CostoCorso END"
                                                " WHERE IdAttivita=?7"));
        const auto valore = [](const QString& v) { return v != QLatin1String("null"); };
        for (const QString& testo : righe) {
            const RigaRecord r = RigaRecord::leggi(testo);
            const qint64 id = identificativo(r.campo(0));
            scrivi.reset();
            scrivi.bindAll({int(valore(r.campo(1))), numero(r.campo(1)), int(valore(r.campo(2))),
                            decimale(r.campo(2)), int(valore(r.campo(3))), decimale(r.campo(3)),
                            id});
            scrivi.run(); // a course not in the table changes no row
        }
        return true;
    });
}

QString testoConteggio(const Session& session) {
    const Session::ConteggioScarico& c = session.conteggioScarico;
    return QStringLiteral("Corsi: %1 nuovi, %2 aggiornati.\nPartecipanti: %3 nuovi, %4 aggiornati.")
        .arg(c.corsiNuovi)
        .arg(c.corsiAggiornati)
        .arg(c.allieviNuovi)
        .arg(c.allieviAggiornati);
}

CopiaSicurezza copiaSicurezzaPredefinita(Session& session, QWidget* parent) {
    return
        [&session, parent] { return maint::Crea_DB_Backup(session, session.PercorsoDB, parent); };
}

bool AggiornaCorsiScaricati(Session& session, QWidget* parent) {
    return AggiornaCorsiScaricati(session, parent, copiaSicurezzaPredefinita(session, parent));
}

bool AggiornaCorsiScaricati(Session& session, QWidget* parent, const CopiaSicurezza& copia) {
    if (!copia()) {
        session.ui.message(parent,
                           QStringLiteral("Copia di sicurezza della base dati non riuscita. "
                                          "Impossibile continuare l'operazione di aggiornamento."),
                           kTitoloAggiornamento, Icon::Critical);
        return false;
    }
    const QString corsi = session.file(kFileCorsi);
    session.conteggioScarico = {};
    bool caricati = false;
    bool confermata = false;
    try {
        db::Transaction transazione(session.CorsiDB());
        caricati = CaricaCorsi(session, parent, corsi) &&
                   CaricaPartecipanti(session, parent, corsi) &&
                   CaricaGiornateOre(session, parent, session.file(kFileGiornateOre));
        if (caricati) {
            transazione.commit();
            confermata = true;
        }
    } catch (const db::DbError& e) {
        // BEGIN IMMEDIATE or COMMIT refused (another workstation holds the file).
        mostraErroreCaricamento(session, parent, e.number(), e.description(),
                                QStringLiteral("CORSI"), kTitoloCorsi);
    }
    if (confermata) {
        General::muoviFile(corsi, session.file(QStringLiteral("CAR/CorsiDestinatari30.car")));
        maint::eliminaCopiaSicurezza(session.PercorsoDB);
        session.userSettings.set(QStringLiteral("LastUpdate"),
                                 QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        return true;
    }
    session.ui.message(parent,
                       QStringLiteral("L' aggiornamento della base dati non è andato a buon fine, "
                                      "verrà ripristinata la situazione iniziale. Contattare il "
                                      "servizio di assistenza V.R.D."),
                       kTitoloScarico, Icon::Critical);
    // The transaction was rolled back: the file is not swapped under the other
    // workstations, the database is checked against the copy instead.
    maint::ripristinoDopoAggiornamento(session, session.PercorsoDB, maint::Aggiornamento::Annullato,
                                       parent);
    const QString approvati = session.file(QStringLiteral("CorsiApprovati.tx1"));
    if (QFileInfo(approvati).isFile())
        General::muoviFile(approvati, session.file(QStringLiteral("BAD/CorsiApprovati.bad")));
    return false;
}

} // namespace download
