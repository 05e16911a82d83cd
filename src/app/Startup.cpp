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
