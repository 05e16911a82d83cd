#include "report/ModuloFineCorso.h"

#include "core/DocumentoPdf.h"
#include "core/FileSicuro.h"
#include "core/Programmi.h"
#include "report/StatoCorso.h"

#include <QDir>
#include <QRegularExpression>

namespace report::modulo {

namespace {

// The item "code - description" of a decoding table for a stored code.
QString voce(const QStringList& voci, const QString& codice) {
    if (codice.isEmpty())
        return {};
    for (const QString& v : voci)
        if (v.startsWith(codice + QStringLiteral(" - ")))
            return v;
    return codice;
}

void conteggio(archivio::RecordCorso& corso, const char* colonna, const QString& valore) {
    const auto& campi = campiConteggio();
    for (size_t i = 0; i < campi.size(); ++i)
        if (qstrcmp(campi[i].colonna, colonna) == 0)
            corso.conteggi[i] = valore;
}

} // namespace

std::optional<DatiModulo> leggiModulo(db::Connection& db, qint32 idAttivita,
                                      const Operatore& operatore) {
    const auto corso = archivio::leggiCorso(db, idAttivita);
    if (!corso)
        return std::nullopt;
    DatiModulo d;
    d.programma = lineaProgrammi();
    d.operatore = operatore;
    d.corso = *corso;
    d.tipologia = voce(archivio::vociTipologieOrganizzative(db), corso->codTipologiaOrg.trimmed());
    d.area = voce(archivio::vociAreeFormative(db), corso->codAreaFormativa.trimmed());
    d.segmento = voce(archivio::vociSegmentiFormativi(db), corso->codSegmentoForm.trimmed());
    // The counts as the summary tab shows them: recomputed from the participants.
    const archivio::Conteggi c = archivio::contaAllievi(db, idAttivita);
    conteggio(d.corso, "TotMaschi", QString::number(c.maschi));
    conteggio(d.corso, "TotFemmine", QString::number(c.femmine));
    conteggio(d.corso, "AmmessiM", QString::number(c.maschiAmmessi));
    conteggio(d.corso, "AmmessiF", QString::number(c.femmineAmmesse));
    conteggio(d.corso, "NonAmmessiM", QString::number(c.maschiNonAmmessi));
    conteggio(d.corso, "NonAmmessiF", QString::number(c.femmineNonAmmesse));
    d.allievi = archivio::leggiAllievi(db, idAttivita);
    d.stampa = QDateTime::currentDateTime();
    d.versione = Session::versione();
    return d;
}

void applicaScheda(DatiModulo& dati, const DatiScheda& scheda) {
    archivio::RecordCorso& c = dati.corso;
    c.fineGG = scheda.fineGG;
    c.fineMM = scheda.fineMM;
    c.fineAAAA = scheda.fineAAAA;
    if (layoutPerSubAsse(c.codSubAsse) == Layout::SoloDate)
        return;
    c.creditoFormativo = scheda.credito;
    dati.tipologia = scheda.tipOrg;
    dati.area = scheda.areaFor;
    dati.segmento = scheda.segmento;
    const auto& campi = campiConteggio();
    for (size_t i = 0; i < campi.size(); ++i)
        if (campi[i].sottoconteggio)
            c.conteggi[i] = scheda.*campi[i].testo;
}

QStringList copie(const DatiModulo& dati) {
    const QString stato = dati.corso.stato;
    if (stato == StatoChiuso || stato == StatoTrasmesso)
        return {QStringLiteral("ORIGINALE"), QStringLiteral("COPIA")};
    return {QString()};
}

QByteArray pdf(const DatiModulo& dati) {
    return documento::pdf(
        [&dati](QPagedPaintDevice& device) { disegna(device, dati); },
        QStringLiteral("Comunicazione di fine corso %1").arg(dati.corso.idAttivita));
}

QString nomeFilePdf(const DatiModulo& dati) {
    // Only letters and digits of the agency's codes reach the file name.
    QString agenzia = dati.operatore.GrupOpe + dati.operatore.Operatore.trimmed();
    agenzia.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
    return QStringLiteral("ModuloFineCorso_%1_%2.pdf").arg(dati.corso.idAttivita).arg(agenzia);
}

bool archiviaPdf(const QString& cartella, const DatiModulo& dati, QString* errore) {
    if (!QDir().mkpath(cartella)) {
        if (errore)
            *errore = QStringLiteral("Impossibile creare la cartella.");
        return false;
    }
    return fileSicuro::sostituisci(QDir(cartella).filePath(nomeFilePdf(dati)), pdf(dati), errore);
}

} // namespace report::modulo
