#pragma once

#include "core/Interaction.h"
#include "core/UserSettings.h"
#include "core/clsFileINI.h"
#include "db/DataEnvironment.h"

#include <QString>

// The agency working with the installation.
struct Operatore {
    QString GrupOpe;   // group code
    QString Operatore; // operator code, text of digits
    QString nome;      // agency name
};

// Highlight of the main window's menu captions under the mouse.
struct PreferenzeEvidenziazione {
    bool sottolinea = false;
    bool grassetto = false;
    bool cambiaColore = true;
};

// The course picked in the course list, handed to the form that follows.
struct CorsoScelto {
    qint32 IdAttivita = 0;
    QString ProgrAttivita;
    QString DenCorso;
    int TotIter = 0;
    QString CodSubAsse;
};

// The run-wide state of the program, set by start-up and shared by every form.
class Session {
public:
    Session(ui::Interaction& ui, const QString& programFolder,
            const QString& userSettingsFile = {});
    ~Session();

    ui::Interaction& ui;
    DE de;
    clsFileINI ini;
    UserSettings userSettings;

    QString CartellaProgramma; // ends with the path separator
    QString file(const QString& name) const { return CartellaProgramma + name; }

    // From the configuration.
    QString tipoInstallazione; // "StandAlone" or "Multiutenza"
    QString PercorsoDB;
    QString nomeFileDB;
    QString passwordServizio;      // decoded CONNESSIONE/PWD
    QString indirizzoServer;       // scheme and host from CONNESSIONE/NREG
    QString fileAiuto;             // program folder + Help/FILEHELP
    QString versioneInstallazione; // Installazione/Versione, "SERVER" or "CLIENT"

    Operatore OperatoreCorrente;
    QString TipoOperazione; // "FINECORSO" or "TRASMISSIONE"
    qint32 CorsoSelezionato = 0;
    CorsoScelto corso;

    bool PrimaInstallazione = false;
    bool InstallazioneInCorso = false;
    bool avvisoGiornalieroMostrato = false;
    bool debug = false; // started with the single argument "DEBUG"
    QString AnnullaOperazione;
    // Approved-course download: the identity code given by the identity service
    // (reused by later downloads of the run), the download dialog's cancel flag,
    // and whether the last download's courses were acquired.
    QString codicePleia;
    bool scaricoAnnullato = false;
    bool corsiAcquisiti = false;
    // What the last download's update added and refreshed.
    struct ConteggioScarico {
        int corsiNuovi = 0;
        int corsiAggiornati = 0;
        int allieviNuovi = 0;
        int allieviAggiornati = 0;
    } conteggioScarico;
    PreferenzeEvidenziazione preferenze;

    // The connection; once the program has ended, asking for it throws
    // ui::FineProgramma like the end itself.
    db::Connection& CorsiDB() {
        if (ui.programEnded())
            throw ui::FineProgramma();
        return de.CorsiDB;
    }
    // Ends the program: closes the connection, leaves the event loops and
    // unwinds (see core/Interaction.h).
    [[noreturn]] void endProgram() { ui.endProgram(); }
    bool ended() const { return ui.programEnded(); }
    void MostraAiuto(QWidget* parent, int topic);
    // Help topic of the installation dialogs: 15000 while installing.
    int helpTopic(int normal) const { return InstallazioneInCorso ? 15000 : normal; }

    // Program version, "2.0.1".
    static QString versione();
    // Key of the database file.
    static QString databasePassword();
};
