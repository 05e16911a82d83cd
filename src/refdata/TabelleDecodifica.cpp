#include "refdata/TabelleDecodifica.h"

#include "core/Cp1252.h"
#include "core/General.h"
#include "core/RigaRecord.h"
#include "core/Session.h"
#include "db/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace refdata {

namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

constexpr int LunghezzaValore = 500;

Chiave testo(const char* colonna) {
    return {QString::fromLatin1(colonna), false};
}
Chiave numero(const char* colonna) {
    return {QString::fromLatin1(colonna), true};
}

// A failure while reading a data file, reported like the database's own.
struct ErroreLettura {
    int numero;
    QString descrizione;
};

QString virgolette(const QString& nome) {
    return QLatin1Char('"') + QString(nome).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QVariant valoreCampo(const QString& campo) {
    if (RigaRecord::nullo(campo))
        return QVariant();
    return campo.left(LunghezzaValore).trimmed();
}

// The columns written for a table: the first `campi` in table order, LOGO left out
// (its position still counts).
struct Colonne {
    QStringList nomi;     // written columns
    QList<int> posizioni; // field number of each written column
};

Colonne colonneScritte(db::Connection& c, const TabellaDecodifica& t) {
    Colonne colonne;
    db::Statement info(c, QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(virgolette(t.tabella)));
    for (int i = 0; i < info.columnCount() && i < t.campi; ++i) {
        const QString nome = info.columnName(i);
        if (nome.compare(QLatin1String("LOGO"), Qt::CaseInsensitive) == 0)
            continue;
        colonne.nomi << nome;
        colonne.posizioni << i;
    }
    return colonne;
}

// One attempt at loading a table, in one transaction. Throws db::DbError or
// ErroreLettura; *record is the number of the record being loaded.
void caricaInTransazione(db::Connection& c, const QStringList& righe, const TabellaDecodifica& t,
                         Modo& modo, const QString& file, const Caricamento& caricamento,
                         int* record) {
    *record = 1;
    const Colonne colonne = colonneScritte(c, t);
    QStringList nomi, segnaposto, assegnazioni, filtro;
    for (const QString& nome : colonne.nomi) {
        nomi << virgolette(nome);
        segnaposto << QStringLiteral("?");
        assegnazioni << virgolette(nome) + QStringLiteral("=?");
    }
    for (const Chiave& k : t.chiavi)
        filtro << virgolette(k.colonna) + QStringLiteral("=?");

    db::Transaction transazione(c);
    const QString intestazione = righe.value(0);
    if (intestazione == QLatin1String("INSTALLAZIONE"))
        modo = Modo::Installazione;
    else if (intestazione == QLatin1String("AGGIORNAMENTO"))
        modo = Modo::Aggiornamento;
    if (modo == Modo::Installazione)
        c.exec(QStringLiteral("DELETE FROM ") + virgolette(t.tabella));

    const QString tabella = virgolette(t.tabella);
    db::Statement inserisci(
        c, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
               .arg(tabella, nomi.join(QLatin1Char(',')), segnaposto.join(QLatin1Char(','))));
    std::unique_ptr<db::Statement> cerca, riscrivi;
    if (modo == Modo::Aggiornamento) {
        cerca = std::make_unique<db::Statement>(
            c, QStringLiteral("SELECT %3 FROM %1%2 LIMIT 1")
                   .arg(tabella,
                        filtro.isEmpty()
                            ? QString()
                            : QStringLiteral(" WHERE ") + filtro.join(QLatin1String(" AND ")),
                        c.idRiga()));
        riscrivi = std::make_unique<db::Statement>(
            c, QStringLiteral("UPDATE %1 SET %2 WHERE %3=?")
                   .arg(tabella, assegnazioni.join(QLatin1Char(',')), c.idRiga()));
    }

    int salvati = 0;
    if (caricamento.record)
        caricamento.record(file, t.tabella, salvati);
    for (qsizetype n = 1; n < righe.size(); ++n) {
        const QString riga = righe[n].trimmed();
        // A blank line (typically at the end of an edited file) holds no record.
        if (riga.isEmpty())
            continue;
        *record = salvati + 1;
        const RigaRecord r = RigaRecord::leggi(riga);
        QVariantList valori;
        for (int posizione : colonne.posizioni)
            valori << valoreCampo(r.campo(posizione));

        qint64 esistente = -1;
        if (cerca) {
            cerca->reset();
            for (int k = 0; k < t.chiavi.size(); ++k) {
                // A key is compared with what the record would store in its column.
                const int pos = colonne.posizioni.indexOf(k);
                cerca->bind(k + 1, pos >= 0 ? valori[pos] : valoreCampo(r.campo(k)));
            }
            if (cerca->next())
                esistente = cerca->value(0).toLongLong();
        }
        if (esistente >= 0) {
            riscrivi->reset();
            riscrivi->bindAll(valori);
            riscrivi->bind(int(valori.size()) + 1, esistente);
            riscrivi->run();
        } else {
            inserisci.reset();
            inserisci.bindAll(valori);
            inserisci.run();
        }
        ++salvati;
        if (caricamento.record)
            caricamento.record(file, t.tabella, salvati);
    }
    cerca.reset();
    riscrivi.reset();
    transazione.commit();
}

} // namespace

QList<TabellaDecodifica> elencoTabelle(Chiamante chiamante) {
    QList<TabellaDecodifica> elenco = {
        {QStringLiteral("Asse"), 2, {testo("CodAsse")}},
        {QStringLiteral("Misura"), 3, {testo("CodAsse"), testo("CodMisura")}},
        {QStringLiteral("Azione"), 4, {testo("CodAsse"), testo("CodMisura"), testo("CodAzione")}},
        {QStringLiteral("Percorsi"), 3, {numero("CodPerc")}},
        {QStringLiteral("AzioneDenomCorso"),
         5,
         {testo("CodAsse"), testo("CodMisura"), testo("CodAzione"), numero("CodDenom")}},
        {QStringLiteral("AzionePercorsi"),
         4,
         {testo("CodAsse"), testo("CodMisura"), testo("CodAzione"), numero("CodPerc")}},
        {QStringLiteral("AttEcono"), 2, {numero("AttEcono")}},
        {QStringLiteral("Destin"), 2, {numero("CodDest")}},
        {QStringLiteral("AzioneDestin"),
         4,
         {testo("CodAsse"), testo("CodMisura"), testo("CodAzione"), numero("CodDest")}},
        {QStringLiteral("Bacino"), 4, {numero("CodBacino")}},
        {QStringLiteral("Certif"), 2, {numero("CodCert")}},
        {QStringLiteral("Comuni"), 7, {testo("CodComune")}},
        {QStringLiteral("Comuni_Quartieri"), 3, {testo("ComIstat"), numero("Cod_Quartiere")}},
        {QStringLiteral("Istituti"), 2, {numero("CodIsti")}},
        {QStringLiteral("Regioni"), 2, {testo("Regione")}},
        {QStringLiteral("Province"), 4, {testo("Prov")}},
        {QStringLiteral("Prov_Asse"), 2, {testo("Prov"), testo("CodAsse")}},
        {QStringLiteral("Prov_Misura"), 3, {testo("Prov"), testo("CodAsse"), testo("CodMisura")}},
        {QStringLiteral("Prov_Azione"),
         4,
         {testo("Prov"), testo("CodAsse"), testo("CodMisura"), testo("CodAzione")}},
        {QStringLiteral("ProvinceLoghiIndir"), 7, {testo("Prov")}},
        {QStringLiteral("StatiEsteri"), 3, {testo("CodStato")}},
        {QStringLiteral("TipoCompo"), 2, {testo("TipoCompo")}},
        {QStringLiteral("TipoOper"), 3, {testo("GrupOpe"), testo("TipoOper")}},
        {QStringLiteral("MassimaliPar"), chiamante == Chiamante::Avvio ? 12 : 14, {}},
        {QStringLiteral("CentroCostoSpesa"), 3, {numero("CodCentro"), numero("CodSpesa")}},
    };
    if (chiamante == Chiamante::Avvio)
        elenco.removeIf(
            [](const TabellaDecodifica& t) { return t.tabella == QLatin1String("Istituti"); });
    return elenco;
}

QString messaggioErrore(int numero, const QString& descrizione, const QString& tabella,
                        int record) {
    return QStringLiteral("Errore ") + QString::number(numero) + QStringLiteral(" --> ") +
           descrizione + QLatin1Char('\n') +
           QStringLiteral("durante l'aggiornamento della tabella ") + tabella +
           QStringLiteral(", record ") + QString::number(record) + QStringLiteral(".") +
           QLatin1Char('\n') + QStringLiteral("Impossibile continuare.");
}

bool caricaTabella(Session& s, const QString& file, const TabellaDecodifica& t, Modo& modo,
                   const Caricamento& caricamento) {
    if (!QFileInfo::exists(file))
        return true;
    int tentativi = 0;
    for (;;) {
        int record = 1;
        int numeroErrore = 0;
        QString descrizione;
        const Modo modoIniziale = modo;
        try {
            bool letto = false;
            const QStringList righe = cp1252::readLines(file, &letto);
            if (!letto)
                throw ErroreLettura{57, QStringLiteral("Impossibile leggere il file ") +
                                            QDir::toNativeSeparators(file)};
            if (righe.isEmpty()) {
                const Answer a = s.ui.message(
                    caricamento.parent,
                    QStringLiteral("ATTENZIONE: il file ") + QDir::toNativeSeparators(file) +
                        QStringLiteral(" è vuoto. Continuare l'operazione di aggiornamento "
                                       "sulle altre tabelle (scegliendo No il programma uscirà a "
                                       "Windows) ?"),
                    TitoloCaricamento, Icon::Question, Buttons::YesNo);
                if (a == Answer::Yes)
                    return true;
                s.CorsiDB().close();
                s.endProgram();
                return false;
            }
            caricaInTransazione(s.CorsiDB(), righe, t, modo, file, caricamento, &record);
            return true;
        } catch (const db::DbError& e) {
            numeroErrore = e.number();
            descrizione = e.description();
        } catch (const ErroreLettura& e) {
            numeroErrore = e.numero;
            descrizione = e.descrizione;
        }
        // The table was rolled back; a header read in the failed attempt is read again.
        modo = modoIniziale;
        s.ui.message(caricamento.parent,
                     messaggioErrore(numeroErrore, descrizione, t.tabella, record),
                     TitoloCaricamento, Icon::Critical);
        if (s.debug && caricamento.chiamante == Chiamante::Avvio &&
            tentativi < caricamento.tentativiDebug) {
            ++tentativi;
            s.ui.message(caricamento.parent, QStringLiteral("Resume"));
            continue;
        }
        s.endProgram();
        return false;
    }
}

void eseguiTabelleDecodifica(Session& s, const Caricamento& caricamento) {
    const QString installa = s.file(FlagInstalla);
    const QString aggiorna = s.file(FlagAggiorna);
    const bool conInstalla = QFileInfo::exists(installa);
    const bool conAggiorna = QFileInfo::exists(aggiorna);
    if (conInstalla && conAggiorna) {
        s.ui.message(
            caricamento.parent,
            QStringLiteral("Rilevata presenza di entrambi i files INSTALLA.TAB e AGGIORNA.TAB. ") +
                QLatin1Char('\n') +
                QStringLiteral("Ambiguità nell'operazione da eseguire sulle tabelle di "
                               "decodifica. ") +
                QLatin1Char('\n') +
                QStringLiteral("Impossibile continuare. Si procederà con il caricamento della "
                               "procedura senza alcuna modifica delle tabelle di decodifica."),
            QStringLiteral("Installa/Aggiorna tabelle di decodifica"), Icon::Warning);
        return;
    }
    if (!conInstalla && !conAggiorna)
        return;

    Modo modo = conInstalla ? Modo::Installazione : Modo::Aggiornamento;
    const QString flag = conInstalla ? installa : aggiorna;
    QFile::remove(flag);
    if (QFileInfo::exists(flag)) {
        s.ui.message(caricamento.parent,
                     QStringLiteral("Impossibile aggiornare le tabelle di decodifica (file flag "
                                    "non cancellabile)"),
                     ui::DefaultTitle, Icon::Critical);
        return;
    }

    if (caricamento.inizio)
        caricamento.inizio(modo == Modo::Installazione);
    s.ui.setBusy(true);
    struct Ripristino {
        Session& s;
        ~Ripristino() {
            if (!s.ended())
                s.ui.setBusy(false);
        }
    } ripristino{s};
    for (const TabellaDecodifica& t : elencoTabelle(caricamento.chiamante)) {
        const QString file = s.file(t.tabella + QStringLiteral(".txt"));
        if (QFileInfo::exists(file) && !caricaTabella(s, file, t, modo, caricamento))
            return;
        if (QFileInfo::exists(file))
            General::muoviFile(file, s.file(CartellaCaricati + QLatin1Char('/') + t.tabella +
                                            QStringLiteral(".txt")));
    }
}

} // namespace refdata
