#include "app/Connessione.h"

#include "core/Configurazione.h"
#include "core/Errore.h"
#include "core/Session.h"

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
