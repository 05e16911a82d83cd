#include "app/Startup.h"

#include "app/Avvio.h"
#include "app/MDI_Main.h"
#include "app/Main.h"
#include "core/Configurazione.h"
#include "core/Errore.h"
#include "core/Session.h"
#include "maint/Frm_Impostazioni.h"
#include "refdata/InstallazioneDati.h"
#include "transmit/RegistrazioneInstallazione.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using ui::Buttons;
using ui::Icon;

namespace {
const QString kTitoloInit = QStringLiteral("Errore di inizializzazione");
}

namespace startup {

bool resetInstallazione(Session& s, QWidget* parent) {
    if (s.ini.scriviTutte({{QStringLiteral("BaseDati"), QStringLiteral("Database"), QString()},
                           {QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), QString()},
                           {QStringLiteral("Installazione"), QStringLiteral("Tipo"), QString()}}))
        return true;
    s.ui.message(parent,
                 QStringLiteral("Non è stato possibile reimpostare l'installazione nel file "
                                "KORVADIN.INI.\n") +
                     s.ini.UltimoErrore() +
                     QStringLiteral("\nLe impostazioni non sono state modificate."),
                 kTitoloInit, Icon::Critical);
    return false;
}

void erroreConnessione(Session& s, const Errore& errore, QWidget* parent) {
    mostraErrore(s.ui, parent, errore, QStringLiteral("Errore di connessione"));
    s.endProgram();
}

void Inizializza(Session& s, QWidget* parent) {
    try {
        s.nomeFileDB = s.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("NFileDB"));
        s.passwordServizio = configurazione::decodificaPassword(
            s.ini.leggi(QStringLiteral("CONNESSIONE"), QStringLiteral("PWD")));
        s.PercorsoDB = s.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database"));
        s.tipoInstallazione = s.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo"));

        const auto baseServer = configurazione::indirizzoBaseDatiServer(s.ini);
        if (baseServer)
            s.PercorsoDB = *baseServer;
        const QString percorso = s.PercorsoDB.trimmed();
        if (!baseServer && (percorso.isEmpty() || !QFileInfo(percorso).isFile())) {
            const QString testo =
                QStringLiteral("File base dati non presente.") + s.PercorsoDB +
                QStringLiteral("\nNon è possibile utilizzare il programma.\n\n"
                               "La base dati è stata rimossa o spostata oppure alcune "
                               "impostazioni del file KORVADIN.INI sono errate.\n\n"
                               "E' possibile correggere l'errore reimpostando l'installazione "
                               "del programma, eventuali dati salvati non verranno persi.\n"
                               "Premere 'Sì' per procedere alla correzione automatica, quindi "
                               "riavviare il programma.\n"
                               "Se il problema persiste contattare l'assistenza tecnica.");
            if (s.ui.message(parent, testo, QStringLiteral("Imposta base dati"), Icon::Critical,
                             Buttons::YesNo) == ui::Answer::Yes)
                resetInstallazione(s, parent);
            s.endProgram();
        }

        // A database on a server is always shared between workstations.
        s.CorsiDB().open(percorso, Session::databasePassword(),
                         s.tipoInstallazione == QLatin1String("StandAlone") && !baseServer
                             ? db::OpenMode::Exclusive
                             : db::OpenMode::Shared);

        const QString aiuto = s.ini.leggi(QStringLiteral("Help"), QStringLiteral("FILEHELP"));
        s.fileAiuto = aiuto.isEmpty() ? QString() : s.CartellaProgramma + aiuto;

        if (!s.avvisoGiornalieroMostrato) {
            s.ui.message(parent,
                         QStringLiteral("Vista la brevità delle attività formative, si consiglia "
                                        "di effettuare l'aggiornamento dei Corsi con frequenza "
                                        "giornaliera."));
            s.avvisoGiornalieroMostrato = true;
        }

        const QString nreg = s.ini.leggi(QStringLiteral("CONNESSIONE"), QStringLiteral("NREG"));
        const auto server = configurazione::indirizzoServer(nreg);
        if (!server)
            throw db::DbError(5, QStringLiteral("Indirizzo del server non valido in "
                                                "CONNESSIONE/NREG: \"%1\"")
                                     .arg(nreg));
        s.indirizzoServer = *server;
    } catch (const db::DbError& e) {
        s.CorsiDB().close();
        mostraErrore(s.ui, parent, Errore::da(e), kTitoloInit);
        resetInstallazione(s, parent);
        s.endProgram();
    }
}

} // namespace startup

Startup::Startup(Session& session) : m_session(session), m_avvio(std::make_unique<Avvio>()) {}

Startup::~Startup() {
    chiudiSplash();
}

void Startup::chiudiSplash() {
    if (m_splash)
        m_splash->close();
    delete m_splash;
}

void Startup::controlloConfigurazione() {
    Session& s = m_session;
    const QString ini = s.CartellaProgramma + QStringLiteral("KORVADIN.INI");
    if (!QFileInfo(ini).isFile()) {
        s.ui.message(nullptr,
                     QStringLiteral("Impossibile trovare il file KORVADIN.INI.\n"
                                    "La procedura verrà terminata."),
                     kTitoloInit, Icon::Critical);
        s.endProgram();
    }
    // A file that is there but cannot be read would look like a first run,
    // and the installation would then replace it with a file of three keys.
    if (QFile file(ini); !file.open(QIODevice::ReadOnly)) {
        s.ui.message(nullptr,
                     QStringLiteral("Impossibile leggere il file KORVADIN.INI.\n") +
                         file.errorString() + QStringLiteral("\nLa procedura verrà terminata."),
                     kTitoloInit, Icon::Critical);
        s.endProgram();
    }
    s.ini.setNomeFile(ini);
    s.ini.setSezione(QStringLiteral("Installazione"));
    const QString tipo = s.ini.Leggi(QStringLiteral("Tipo"));
    if (tipo.isEmpty()) {
        chiudiSplash();
        s.InstallazioneInCorso = true;
        const auto scelte = maint::chiediImpostazioni(s, nullptr);
        s.InstallazioneInCorso = false;
        if (!scelte)
            s.endProgram();
        if (!s.ini.scriviTutte(
                {{QStringLiteral("Installazione"), QStringLiteral("Tipo"), scelte->tipo},
                 {QStringLiteral("BaseDati"), QStringLiteral("Database"), scelte->percorso},
                 {QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), scelte->titolo}})) {
            s.ui.message(nullptr,
                         QStringLiteral("Non è stato possibile salvare le impostazioni "
                                        "dell'installazione nel file KORVADIN.INI.\n") +
                             s.ini.UltimoErrore() +
                             QStringLiteral("\nLa procedura verrà terminata."),
                         kTitoloInit, Icon::Critical);
            s.endProgram();
        }
    } else if (tipo != QLatin1String("StandAlone") && tipo != QLatin1String("Multiutenza")) {
        s.ui.message(nullptr,
                     QStringLiteral("E' stata rilevata una situazione anomala in fase di "
                                    "inizializzazione.\n"
                                    "Le impostazioni di KORVADIN.INI non sono valide.\n"
                                    "Il programma verrà terminato.\n"
                                    "La procedura cercherà di correggere il problema "
                                    "automaticamente.\n"
                                    "Sarà chiesta nuovamente l'impostazione dell'installazione.\n"
                                    "Eventuali dati salvati non verranno persi.\n"
                                    "Premere 'Ok' quindi riavviare il programma.\n"
                                    "Se il problema persiste, contattare l'assistenza tecnica."),
                     kTitoloInit, Icon::Critical);
        startup::resetInstallazione(s, nullptr);
        s.endProgram();
    }
}

void Startup::leggiOperatoreCorrente() {
    Session& s = m_session;
    try {
        const auto installazione =
            s.CorsiDB().query(QStringLiteral("SELECT * FROM Installazione LIMIT 1"));
        if (!installazione.isEmpty()) {
            s.OperatoreCorrente.GrupOpe = installazione.first().value(0).toString();
            s.OperatoreCorrente.Operatore = installazione.first().value(1).toString();
        }
        const auto operatori = s.CorsiDB().query(QStringLiteral("SELECT * FROM CorsiOper LIMIT 1"));
        if (!operatori.isEmpty())
            s.OperatoreCorrente.nome = operatori.first().value(2).toString();
    } catch (const db::DbError& e) {
        startup::erroreConnessione(s, Errore::da(e));
    }
}

std::unique_ptr<MDI_Main> Startup::run() {
    Session& s = m_session;
    QDir::setCurrent(s.CartellaProgramma);

    m_splash = new Splash;
    m_splash->show();
    QApplication::processEvents();

    controlloConfigurazione();
    startup::Inizializza(s);
    refdata::installaAggiornaTabelle(s, *m_avvio);

    try {
        const bool vuota =
            s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM CorsiOper")).toLongLong() == 0;
        s.PrimaInstallazione = vuota;
        s.InstallazioneInCorso = vuota;
    } catch (const db::DbError& e) {
        startup::erroreConnessione(s, Errore::da(e));
    }
    if (s.PrimaInstallazione)
        refdata::primaInstallazioneOperatori(s, *m_avvio);

    try {
        if (s.CorsiDB().scalar(QStringLiteral("SELECT count(*) FROM Installazione")).toLongLong() ==
            0)
            transmit::registraInstallazione(s, nullptr);
    } catch (const db::DbError& e) {
        startup::erroreConnessione(s, Errore::da(e));
    }
    leggiOperatoreCorrente();

    auto frame = std::make_unique<MDI_Main>(s);
    frame->show();
    m_avvio->hide();
    chiudiSplash();
    frame->caricaMain();
    return frame;
}
