#include "maint/Browser.h"

#include "core/Session.h"
#include "maint/Assistenza.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace maint {

using ui::Icon;

Browser::Browser(Session& session, QWidget* parent) : QDialog(parent), m_session(session) {
    setObjectName(QStringLiteral("Browser"));
    setWindowTitle(QStringLiteral("Richiesta Assistenza"));
    Label1 = new QLabel;
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    setMinimumWidth(360);
    Command2 = new QPushButton(QStringLiteral("Accedi"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1 = new QPushButton(QStringLiteral("Esci"));
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(Command2);
    pulsanti->addWidget(Command1);
    pulsanti->addStretch();
    // Where the archive to attach to the request was written.
    lblArchivio = new QLabel;
    lblArchivio->setObjectName(QStringLiteral("lblArchivio"));
    lblArchivio->setTextFormat(Qt::PlainText);
    lblArchivio->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblArchivio->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lblArchivio);
    layout->addLayout(pulsanti);
    layout->addStretch();
    connect(Command2, &QPushButton::clicked, this, &Browser::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &QDialog::close);

    if (!QFileInfo::exists(m_session.file(QStringLiteral("KORVADIN.INI")))) {
        m_session.ui.message(this,
                             QStringLiteral("Impossibile trovare il file KORVADIN.INI.\n"
                                            "La procedura verrà terminata."),
                             QStringLiteral("Errore di inizializzazione"), Icon::Critical);
        m_session.endProgram();
    }
    m_sistema = assistenza::descrizioneSistema();
    m_browser = assistenza::descrizioneBrowser();
    Label1->setText(QStringLiteral(
        "Verifica che la connessione a internet sia attiva e premi il pulsante LogIn"));
}

QUrl Browser::indirizzo() const {
    return QUrl(m_indirizzo);
}

void Browser::errore(int numero, const QString& descrizione) {
    mostraErrore(m_session.ui, this, Errore{numero, descrizione},
                 QStringLiteral("Errore durante l'invio della posta"));
}

void Browser::Command2_Click() {
    ui::Interaction& ui = m_session.ui;
    db::Connection& c = m_session.CorsiDB();
    // The application number of the archive's name: the installation's
    // registration number.
    QString numero;
    try {
        if (c.isOpen())
            numero = c.scalar(QStringLiteral("SELECT NumInstall FROM Installazione")).toString();
    } catch (const db::DbError& e) {
        const Errore err = Errore::da(e);
        errore(err.numero, err.descrizione);
    }
    const QString percorso = c.path(), chiave = c.key();
    const db::OpenMode modo = c.mode();
    const bool eraAperta = c.isOpen();
    c.close();
    Label1->setText(QStringLiteral("Creazione Backup base dati in corso........"));

    QString database = m_session.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database"));
    if (database.isEmpty())
        database = m_session.PercorsoDB;
    m_archivio = assistenza::nomeArchivio(m_session.CartellaProgramma, QDate::currentDate(),
                                          m_session.OperatoreCorrente.GrupOpe,
                                          m_session.OperatoreCorrente.Operatore, numero);
    ui.setBusy(true);
    const auto fallito = assistenza::creaArchivio(m_archivio, database);
    ui.setBusy(false);
    if (fallito) {
        errore(fallito->numero, fallito->descrizione);
    } else {
        lblArchivio->setText(QStringLiteral("Archivio da allegare alla richiesta:\n") +
                             QDir::toNativeSeparators(m_archivio));
        lblArchivio->show();
        adjustSize(); // the whole path in sight
    }

    if (eraAperta) {
        try {
            c.open(percorso, chiave, modo);
        } catch (const db::DbError& e) {
            const Errore err = Errore::da(e);
            errore(err.numero, err.descrizione);
        }
    }
    Label1->setText(QStringLiteral("Collegamento in corso........"));

    assistenza::DatiRichiesta dati;
    dati.email = m_session.userSettings.get(QStringLiteral("E-Mail"));
    dati.versione = Session::versione();
    dati.grupOpe = m_session.OperatoreCorrente.GrupOpe;
    dati.operatore = m_session.OperatoreCorrente.Operatore;
    dati.nomeOperatore = m_session.OperatoreCorrente.nome;
    dati.sistema = m_sistema;
    dati.browser = m_browser;
    dati.memoria = assistenza::descrizioneMemoria();
    dati.helpDesk = assistenza::indirizzoHelpDesk(m_session.ini);
    dati.archivio = m_archivio;
    const QUrl url = assistenza::indirizzoModulo(assistenza::hostModulo(m_session.ini),
                                                 assistenza::queryString(dati));
    m_indirizzo = url.toString(QUrl::FullyEncoded);
    if (!url.isValid() || !ui.openUrl(url)) {
        // The address as the user would type it, without the request fields.
        errore(5, QStringLiteral("Impossibile aprire l'indirizzo ") +
                      assistenza::hostModulo(m_session.ini) + assistenza::PercorsoModulo +
                      QStringLiteral("\n\nL'archivio da allegare alla richiesta è:\n") +
                      QDir::toNativeSeparators(m_archivio));
        return;
    }
    Label1->setText(QStringLiteral("Collegamento effettuato"));
}

} // namespace maint
