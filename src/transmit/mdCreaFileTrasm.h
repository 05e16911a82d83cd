#pragma once

#include "core/Errore.h"
#include "core/Session.h"
#include "db/Database.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace transmit {

// What the attachment of one course is made from besides the database.
struct DatiAllegato {
    qint32 IdAttivita = 0;
    QString DenCorso;   // title of the chosen course
    QString CodSubAsse; // sub-axis of the chosen course
    Operatore operatore;
    QString email;    // the sender's address
    QString cartella; // the program folder, ending with the separator
    bool debug = false;
    QDate data = QDate::currentDate(); // creation date
    int versioneMaggiore = KORVADIN_VERSION_MAJOR;
    int versioneMinore = KORVADIN_VERSION_MINOR;
    int versioneRevisione = KORVADIN_VERSION_PATCH;

    // The chosen course, the current agency and the program folder of the run.
    static DatiAllegato daSessione(const Session& session, const QString& email);
};

// Sub-axes whose courses send dates only: no participant records.
bool soloDate(const QString& codSubAsse);
// Days of a number of hours: hours / 8 rounded to 2 decimals, ties to even,
// written with a "." and without trailing zeros (97 -> "12.12", 100 -> "12.5").
QString giorni(qint64 ore);
// A decimal as the attachment carries it: "." before the decimals, none when
// the value is whole (2.5 -> "2.5", 3 -> "3").
QString testoDecimale(double valore);

// The attachment ("allegato") of one course: a header record Z, the agency
// record A, the course totals B, for most courses a C and a D record per
// participant, and the end line; Windows-1252, CR LF. The file is written in
// the program folder and read back to make sure every line starts with a
// record marker.
class mdCreaFileTrasm {
public:
    mdCreaFileTrasm(db::Connection& connection, ui::Interaction& ui, QWidget* parent = nullptr);

    // Makes the attachment and sets the current attachment name; true when the
    // file was written and passed the check. The application number is not used.
    bool CreaFile(const DatiAllegato& dati, qint64 numeroDomanda = 0);
    // The name of the last attachment made, "" after a failure.
    QString allegato() const { return m_allegato; }

    // Names, writes and checks the file; its name, or "" on failure.
    QString Nomina_e_Crea(const DatiAllegato& dati);
    // "KORVADIN_888_<IdAttivita>.<GrupOpe><Operatore>", "DEBUG_" in front when
    // the program runs with "DEBUG".
    QString NomeFile(const DatiAllegato& dati);
    // Reads the file back: true when every line starts with "#Z#", "#A#",
    // "#B#", "#C#" or "#D#".
    bool ControllaRecord(const QString& cartella, const QString& nome);

private:
    // One value with the column it comes from, so that a value the file cannot
    // carry can be named.
    using Campo = QPair<QString, QString>;
    struct Rifiuto {
        QString chi;   // the participant or the course
        QString campo; // the column
        bool aCapo = false;
    };

    bool ScriviRec_Z();
    bool ScriviRec_A();
    bool ScriviRec_B();
    bool ScriviRec_C();
    bool ScriviRec_D();

    // False (and the refusal noted) when a value holds a line break or a
    // character the code page cannot hold.
    bool controlla(const QString& tipo, const QList<Campo>& campi, const QString& chi);
    bool aggiungi(const QString& tipo, const QList<Campo>& campi, const QString& chi);
    // One record of the type for every participant of the course, in their
    // order, with the values campi gives for the participant; false after the
    // message when the course has no participants.
    bool aggiungiAllievi(const QString& tipo,
                         const std::function<QList<Campo>(const db::Row&)>& campi);
    void erroreStep(const Errore& errore, const QString& step);
    void mostraRifiuto();
    QString chiCorso() const;
    static QString chiAllievo(const db::Row& allievo);

    db::Connection& m_connection;
    ui::Interaction& m_ui;
    QWidget* m_parent;
    QString m_allegato;
    QString m_inCorso; // the name of the file being made

    // While a file is being made.
    DatiAllegato m_dati;
    QString m_dataCreazione;
    QStringList m_righe;
    std::optional<Rifiuto> m_rifiuto;
    // Kept by ScriviRec_B for ScriviRec_D.
    QString m_codAreaFormativa, m_codSubAreaFormativa, m_codTipologiaOrg, m_codSegmentoForm;
    QString m_creditoFormativo;
    qint64 m_totIter = 0;
    db::Row m_corso;
};

} // namespace transmit
