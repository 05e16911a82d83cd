#include "transmit/mdCreaFileTrasm.h"

#include "core/Cp1252.h"
#include "core/FileSicuro.h"
#include "core/General.h"
#include "core/RigaRecord.h"
#include "db/DbError.h"

#include <QDir>
#include <QFile>

namespace transmit {

namespace {

const QString kProcedura = QStringLiteral("96");
const QString kAnno = QStringLiteral("2018");
const QString kCodice = QStringLiteral("888");
const QString kRP = QStringLiteral("RP");
const QString kTag = QStringLiteral("VRD_ALLEGATO_FINE_CORSO_KELD_2018");
const QString kFine = QStringLiteral("#Z#,#EOF#");
const QString kTitolo = QStringLiteral("Creazione file di trasmissione - ");

// A database value as text: "" for Null.
QString testo(const QVariant& v) {
    return General::nonNullStr(v);
}

qint64 intero(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? qint64(d) : 0;
}

QString senzaVirgole(QString s) {
    s.replace(QLatin1Char(','), QLatin1Char(' '));
    return s;
}

// Error raised by a step with the number and description the step message shows.
struct ErroreStep {
    Errore errore;
};

} // namespace

DatiAllegato DatiAllegato::daSessione(const Session& session, const QString& email) {
    DatiAllegato d;
    d.IdAttivita = session.CorsoSelezionato;
    d.DenCorso = session.corso.DenCorso;
    d.CodSubAsse = session.corso.CodSubAsse;
    d.operatore = session.OperatoreCorrente;
    d.email = email;
    d.cartella = session.CartellaProgramma;
    d.debug = session.debug;
    return d;
}

bool soloDate(const QString& codSubAsse) {
    return codSubAsse == QLatin1String("02") || codSubAsse == QLatin1String("04") ||
           codSubAsse == QLatin1String("06") || codSubAsse == QLatin1String("08");
}

QString giorni(qint64 ore) {
    // ore / 8 in hundredths is ore * 12.5: either whole or exactly half way.
    const qint64 doppio = ore * 25;                                     // twice the hundredths
    qint64 centesimi = doppio >= 0 ? doppio / 2 : -((-doppio + 1) / 2); // floor
    if (doppio % 2 != 0 && centesimi % 2 != 0)
        ++centesimi; // half way: to the even neighbour
    const bool negativo = centesimi < 0;
    const qint64 assoluto = negativo ? -centesimi : centesimi;
    QString t = QString::number(assoluto / 100);
    const qint64 decimali = assoluto % 100;
    if (decimali % 10 != 0)
        t += QLatin1Char('.') + QStringLiteral("%1").arg(decimali, 2, 10, QLatin1Char('0'));
    else if (decimali != 0)
        t += QLatin1Char('.') + QString::number(decimali / 10);
    return negativo ? QLatin1Char('-') + t : t;
}

QString testoDecimale(double valore) {
    QString t = General::testoDaNumero(valore);
    const qsizetype virgola = t.indexOf(QLatin1Char(','));
    if (virgola >= 0)
        t[virgola] = QLatin1Char('.');
    return t;
}

mdCreaFileTrasm::mdCreaFileTrasm(db::Connection& connection, ui::Interaction& ui, QWidget* parent)
    : m_connection(connection), m_ui(ui), m_parent(parent) {}

bool mdCreaFileTrasm::CreaFile(const DatiAllegato& dati, qint64) {
    m_allegato.clear();
    try {
        m_allegato = Nomina_e_Crea(dati);
        if (dati.debug)
            m_ui.message(m_parent, QStringLiteral("Il nome dell'allegato è: ") + m_allegato);
        return !m_allegato.isEmpty();
    } catch (const db::DbError& e) {
        erroreStep(Errore::da(e), QStringLiteral("CreaFile"));
    } catch (const ErroreStep& e) {
        erroreStep(e.errore, QStringLiteral("CreaFile"));
    }
    if (!m_inCorso.isEmpty())
        QFile::remove(QDir(dati.cartella).filePath(m_inCorso));
    m_allegato.clear();
    return false;
}

QString mdCreaFileTrasm::NomeFile(const DatiAllegato& dati) {
    QString nome = QStringLiteral("KORVADIN_") + kCodice + QLatin1Char('_') +
                   QString::number(dati.IdAttivita) + QLatin1Char('.') + dati.operatore.GrupOpe +
                   dati.operatore.Operatore;
    if (dati.debug) {
        m_ui.message(m_parent, QStringLiteral("Modifico il nome dell'allegato per evitare che "
                                              "venga erroneamente acquisito."));
        nome.prepend(QStringLiteral("DEBUG_"));
    }
    return nome;
}

QString mdCreaFileTrasm::Nomina_e_Crea(const DatiAllegato& dati) {
    m_inCorso.clear();
    const QString nome = NomeFile(dati);
    if (nome.isEmpty())
        return {};
    m_inCorso = nome;
    m_dati = dati;
    m_dataCreazione = dati.data.toString(QStringLiteral("yyyyMMdd"));
    m_righe.clear();
    m_rifiuto.reset();
    m_corso = db::Row();

    const bool scritti = ScriviRec_Z() && ScriviRec_A() && ScriviRec_B() &&
                         (soloDate(dati.CodSubAsse) || (ScriviRec_C() && ScriviRec_D()));
    if (!scritti) {
        if (m_rifiuto)
            mostraRifiuto();
        else
            erroreStep(Errore{}, QStringLiteral("Nomina_e_Crea"));
        return {};
    }
    m_righe << kFine;

    // The whole file is composed before it is written: a refused value leaves
    // nothing behind.
    const QString percorso = QDir(dati.cartella).filePath(nome);
    {
        QFile file(percorso);
        QByteArray contenuto;
        for (const QString& riga : std::as_const(m_righe))
            contenuto += cp1252::encode(riga) + "\r\n";
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            !file.setPermissions(fileSicuro::permessiDati()) ||
            file.write(contenuto) != contenuto.size() || !file.flush()) {
            file.close();
            QFile::remove(percorso);
            erroreStep(Errore{75, QStringLiteral("Errore di accesso al percorso/file")},
                       QStringLiteral("Nomina_e_Crea"));
            return {};
        }
    }
    if (!ControllaRecord(dati.cartella, nome)) {
        QFile::remove(percorso);
        m_ui.message(m_parent,
                     QStringLiteral("E' stata rilevata la presenza di un carattere non consentito "
                                    "('ritorno a capo') \r\ndurante la creazione del file di "
                                    "trasmissione con i dati della Proposta"),
                     kTitolo + QStringLiteral("Nomina_e_Crea"), ui::Icon::Critical);
        return {};
    }
    return nome;
}

bool mdCreaFileTrasm::ControllaRecord(const QString& cartella, const QString& nome) {
    bool letto = false;
    const QStringList righe = cp1252::readLines(QDir(cartella).filePath(nome), &letto);
    if (!letto)
        throw ErroreStep{Errore{53, QStringLiteral("Impossibile trovare il file")}};
    static const QStringList marcatori = {QStringLiteral("#Z#"), QStringLiteral("#A#"),
                                          QStringLiteral("#B#"), QStringLiteral("#C#"),
                                          QStringLiteral("#D#")};
    for (const QString& riga : righe) {
        if (!marcatori.contains(riga.left(3)))
            return false;
    }
    return true;
}

bool mdCreaFileTrasm::ScriviRec_Z() {
    const Operatore& o = m_dati.operatore;
    const QString versione = QString::number(m_dati.versioneMaggiore) +
                             QString::number(m_dati.versioneMinore) +
                             QString::number(m_dati.versioneRevisione);
    return aggiungi(QStringLiteral("Z"),
                    {{{}, kTag},
                     {{}, kProcedura},
                     {{}, kAnno},
                     {QStringLiteral("GrupOpe"), o.GrupOpe},
                     {QStringLiteral("Operatore"), o.Operatore},
                     {{}, kCodice},
                     {{}, kRP},
                     {{}, QString::number(m_dati.IdAttivita)},
                     {{}, versione}},
                    chiCorso());
}

bool mdCreaFileTrasm::ScriviRec_A() {
    const Operatore& o = m_dati.operatore;
    return aggiungi(QStringLiteral("A"),
                    {{{}, QString::number(m_dati.IdAttivita)},
                     {{}, kProcedura},
                     {{}, kAnno},
                     {{}, kRP},
                     {QStringLiteral("GrupOpe"), o.GrupOpe},
                     {QStringLiteral("Operatore"), o.Operatore},
                     {QStringLiteral("E-Mail"), m_dati.email}},
                    chiCorso());
}

bool mdCreaFileTrasm::ScriviRec_B() {
    try {
        const auto righe = m_connection.query(
            QStringLiteral("SELECT * FROM KELDCorsiDef WHERE IdAttivita = ?"), {m_dati.IdAttivita});
        if (righe.isEmpty())
            throw ErroreStep{Errore{3021, QStringLiteral("Nessun record corrente.")}};
        m_corso = righe.first();
        const db::Row& r = m_corso;
        m_codAreaFormativa = testo(r.value(QStringLiteral("codAreaFormativa")));
        m_codSubAreaFormativa = testo(r.value(QStringLiteral("codSubAreaFormativa")));
        m_codTipologiaOrg = testo(r.value(QStringLiteral("codTipologiaOrg")));
        m_totIter = intero(r.value(QStringLiteral("TotIter")));
        m_codSegmentoForm = testo(r.value(QStringLiteral("codSegmentoForm")));
        m_creditoFormativo = testoDecimale(
            General::nonNullNum(r.value(QStringLiteral("CreditoFormativo")), m_ui, m_parent));

        QList<Campo> campi{
            {{}, testo(r.value(QStringLiteral("IdAttivita")))},
            {QStringLiteral("DataFineEff"), testo(r.value(QStringLiteral("DataFineEffAAAA"))) +
                                                testo(r.value(QStringLiteral("DataFineEffMM"))) +
                                                testo(r.value(QStringLiteral("DataFineEffGG")))}};
        for (const char* colonna : {"TotMaschi", "TotFemmine", "TotMaschiH", "TotFemmineH",
                                    "AmmessiM", "AmmessiF", "AmmessiMH", "AmmessiFH", "NonAmmessiM",
                                    "NonAmmessiF", "NonAmmessiMH", "NonAmmessiFH"}) {
            const QString nome = QString::fromLatin1(colonna);
            campi.append({nome, testo(r.value(nome))});
        }
        return aggiungi(QStringLiteral("B"), campi, chiCorso());
    } catch (const db::DbError& e) {
        erroreStep(Errore::da(e), QStringLiteral("ScriviRec_B"));
    } catch (const ErroreStep& e) {
        erroreStep(e.errore, QStringLiteral("ScriviRec_B"));
    }
    return false;
}

bool mdCreaFileTrasm::ScriviRec_C() {
    try {
        return aggiungiAllievi(QStringLiteral("C"), [](const db::Row& a) -> QList<Campo> {
            return {{QStringLiteral("CodFiscale"), testo(a.value(QStringLiteral("CodFiscale")))},
                    {{}, testo(a.value(QStringLiteral("IdAttivita")))},
                    {QStringLiteral("OreAssenza"), testo(a.value(QStringLiteral("OreAssenza")))},
                    {QStringLiteral("Giudizio"), testo(a.value(QStringLiteral("Giudizio")))},
                    {QStringLiteral("DescizioneGiudizio"),
                     testo(a.value(QStringLiteral("DescizioneGiudizio")))}};
        });
    } catch (const db::DbError& e) {
        erroreStep(Errore::da(e), QStringLiteral("ScriviRec_C"));
    }
    return false;
}

bool mdCreaFileTrasm::ScriviRec_D() {
    try {
        const db::Row& k = m_corso;
        const QString dataInizio = testo(k.value(QStringLiteral("DataInizioAAAA"))) +
                                   testo(k.value(QStringLiteral("DataInizioMM"))) +
                                   testo(k.value(QStringLiteral("DataInizioGG")));

        // The course site: its occasional site when it has one, otherwise its
        // component; codes from 1001 up are occasional sites.
        const QString sedeOcca = testo(k.value(QStringLiteral("SedeOcca")));
        const qint64 sede = sedeOcca.trimmed().isEmpty()
                                ? intero(k.value(QStringLiteral("Componente")))
                                : intero(k.value(QStringLiteral("SedeOcca")));
        QList<db::Row> luogo;
        if (sede < 1001)
            luogo = m_connection.query(
                QStringLiteral("SELECT s.Indirizzo, c.Denominazione FROM CorsiCompo s "
                               "LEFT JOIN Comuni c ON c.CodComune = s.CodComune "
                               "WHERE s.Componente = ? AND s.GrupOpe = ? AND s.Operatore = ?"),
                {sede, m_dati.operatore.GrupOpe, m_dati.operatore.Operatore});
        else
            luogo = m_connection.query(
                QStringLiteral("SELECT s.Indirizzo, c.Denominazione FROM CorsiSediOcc s "
                               "LEFT JOIN Comuni c ON c.CodComune = s.CodComune "
                               "WHERE s.SedeOcc = ?"),
                {sede});
        const QString indirizzo =
            luogo.isEmpty() ? QString() : senzaVirgole(testo(luogo.first().value(0)));
        const QString comune = luogo.isEmpty() ? QString() : testo(luogo.first().value(1));
        // "#########0.00", then the decimal point.
        const QString costo = QString::number(
            General::nonNullNum(k.value(QStringLiteral("CostoCorso")), m_ui, m_parent), 'f', 2);
        const QString titolo =
            senzaVirgole(m_dati.DenCorso.isNull() ? testo(k.value(QStringLiteral("DenCorso")))
                                                  : m_dati.DenCorso);
        const QString giorniCorso = giorni(m_totIter);

        // The course's own values, named after the course. They are checked
        // once here and written again into each participant's record.
        const Campo ente{QStringLiteral("Denominazione ente"), m_dati.operatore.nome};
        const QList<Campo> corso{{QStringLiteral("DataInizio"), dataInizio},
                                 {QStringLiteral("codSegmentoForm"), m_codSegmentoForm},
                                 {QStringLiteral("codAreaFormativa"), m_codAreaFormativa},
                                 {QStringLiteral("codSubAreaFormativa"), m_codSubAreaFormativa},
                                 {QStringLiteral("codTipologiaOrg"), m_codTipologiaOrg},
                                 {QStringLiteral("DenCorso"), titolo}};
        const QList<Campo> luogoCorso{{QStringLiteral("Indirizzo sede"), indirizzo},
                                      {QStringLiteral("Comune sede"), comune}};
        if (!controlla(QStringLiteral("D"), QList<Campo>{ente} + corso + luogoCorso, chiCorso()))
            return false;

        return aggiungiAllievi(QStringLiteral("D"), [&](const db::Row& a) -> QList<Campo> {
            const QString giudizio = testo(a.value(QStringLiteral("Giudizio")));
            const qint64 assenze = intero(a.value(QStringLiteral("OreAssenza")));
            QList<Campo> campi{
                {{}, testo(a.value(QStringLiteral("IdAttivita")))},
                ente,
                {QStringLiteral("Matricola"), testo(a.value(QStringLiteral("Matricola")))},
                {QStringLiteral("Cognome"), testo(a.value(QStringLiteral("Cognome")))},
                {QStringLiteral("Nome"), testo(a.value(QStringLiteral("Nome")))}};
            campi += corso;
            campi += QList<Campo>{
                {{}, giorniCorso},
                {{}, giorni(m_totIter - assenze)},
                {QStringLiteral("codPartec"), testo(a.value(QStringLiteral("codPartec")))},
                {QStringLiteral("DescPartec"), testo(a.value(QStringLiteral("DescPartec")))},
                {QStringLiteral("Giudizio"),
                 giudizio == QLatin1String("0") ? QStringLiteral("_") : giudizio},
                {{}, m_creditoFormativo},
                {{},
                 testoDecimale(General::nonNullNum(a.value(QStringLiteral("CredFormValut")), m_ui,
                                                   m_parent))}};
            campi += luogoCorso;
            campi += QList<Campo>{{{}, costo}, {{}, QStringLiteral("0")}};
            return campi;
        });
    } catch (const db::DbError& e) {
        erroreStep(Errore::da(e), QStringLiteral("ScriviRec_D"));
    }
    return false;
}

bool mdCreaFileTrasm::controlla(const QString& tipo, const QList<Campo>& campi,
                                const QString& chi) {
    for (const Campo& c : campi) {
        const QString& valore = c.second;
        const bool aCapo = valore.contains(QLatin1Char('\r')) || valore.contains(QLatin1Char('\n'));
        if (aCapo || cp1252::firstUnrepresentable(valore) >= 0) {
            m_rifiuto = Rifiuto{chi, c.first.isEmpty() ? tipo : c.first, aCapo};
            return false;
        }
    }
    return true;
}

bool mdCreaFileTrasm::aggiungi(const QString& tipo, const QList<Campo>& campi, const QString& chi) {
    if (!controlla(tipo, campi, chi))
        return false;
    QStringList valori{tipo};
    for (const Campo& c : campi)
        valori << c.second;
    valori << m_dataCreazione;
    m_righe << RigaRecord::scrivi(valori);
    return true;
}

bool mdCreaFileTrasm::aggiungiAllievi(const QString& tipo,
                                      const std::function<QList<Campo>(const db::Row&)>& campi) {
    const auto allievi =
        m_connection.query(QStringLiteral("SELECT * FROM KELDAnagFreq WHERE IdAttivita = ? "
                                          "ORDER BY %1")
                               .arg(m_connection.idRiga()),
                           {m_dati.IdAttivita});
    if (allievi.isEmpty()) {
        m_ui.message(m_parent,
                     QStringLiteral("ANOMALIA: nessun allievo trovato. Impossibile continuare"),
                     kTitolo + QStringLiteral("ScriviRec_") + tipo, ui::Icon::Critical);
        return false;
    }
    for (const db::Row& a : allievi) {
        if (!aggiungi(tipo, campi(a), chiAllievo(a)))
            return false;
    }
    return true;
}

void mdCreaFileTrasm::erroreStep(const Errore& errore, const QString& step) {
    const QString numero = errore.numero < 0 ? QString::number(errore.numero)
                                             : QLatin1Char(' ') + QString::number(errore.numero);
    m_ui.message(m_parent,
                 QStringLiteral("Errore ") + numero + QStringLiteral(" --> ") + errore.descrizione +
                     QStringLiteral("\n\rdurante la creazione del file di trasmissione con i dati "
                                    "della domanda"),
                 kTitolo + step, ui::Icon::Critical);
}

void mdCreaFileTrasm::mostraRifiuto() {
    const Rifiuto& r = *m_rifiuto;
    const QString carattere = r.aCapo ? QStringLiteral("'ritorno a capo'")
                                      : QStringLiteral("non rappresentabile nel file");
    m_ui.message(m_parent,
                 QStringLiteral("E' stata rilevata la presenza di un carattere non consentito (") +
                     carattere +
                     QStringLiteral(") \r\ndurante la creazione del file di trasmissione con i "
                                    "dati della Proposta\r\n") +
                     r.chi + QStringLiteral(", campo ") + r.campo,
                 kTitolo + QStringLiteral("Nomina_e_Crea"), ui::Icon::Critical);
}

QString mdCreaFileTrasm::chiCorso() const {
    return QStringLiteral("Corso ") + QString::number(m_dati.IdAttivita);
}

QString mdCreaFileTrasm::chiAllievo(const db::Row& allievo) {
    QString nome = testo(allievo.value(QStringLiteral("Cognome"))) + QLatin1Char(' ') +
                   testo(allievo.value(QStringLiteral("Nome")));
    nome.replace(QLatin1Char('\r'), QLatin1Char(' '));
    nome.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("Allievo ") + nome.simplified() + QStringLiteral(" (") +
           testo(allievo.value(QStringLiteral("CodFiscale"))) + QLatin1Char(')');
}

} // namespace transmit
