#include "maint/frmBackup.h"

#include "core/FileSicuro.h"
#include "core/Guardie.h"
#include "core/Session.h"
#include "db/BloccoInstallazione.h"
#include "maint/ArchivioBackup.h"
#include "maint/CopiaSicurezza.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sqlite3.h>

using ui::Icon;

namespace {

const QString kFiltro = QStringLiteral("Backup Predefinito (KORVADIN.zip);;WinZip File (*.zip)");
const QString kPredefinito = QStringLiteral("KORVADIN.zip");

QPushButton* pulsante(const QString& testo, const QString& nome) {
    auto* p = new QPushButton(testo);
    p->setObjectName(nome);
    return p;
}

} // namespace

frmBackup::frmBackup(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), SSTab1(new QTabWidget), txtFileBak(new QLineEdit),
      cmdSfogliaBak(pulsante(QStringLiteral("Sfoglia..."), QStringLiteral("cmdSfogliaBak"))),
      cmdConfermaBak(pulsante(QStringLiteral("Conferma"), QStringLiteral("cmdConfermaBak"))),
      cmdEsci0(pulsante(QStringLiteral("Esci"), QStringLiteral("cmdEsci_0"))),
      txtFileZip(new QLineEdit),
      cmdSfogliaZip(pulsante(QStringLiteral("Sfoglia..."), QStringLiteral("cmdSfogliaZip"))),
      optSost(new QRadioButton(
          QStringLiteral("Sostituisci le basi dati recuperate a quelle corrente"))),
      optAll(new QRadioButton(QStringLiteral("Sostituisci le basi dati correnti e conservane "
                                             "una copia nella cartella \"BackupDB\""))),
      cmdConfermaZip(pulsante(QStringLiteral("Conferma"), QStringLiteral("cmdConfermaZip"))),
      cmdEsci1(pulsante(QStringLiteral("Esci"), QStringLiteral("cmdEsci_1"))) {
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Salvataggio/Recupero Dati"));
    setAttribute(Qt::WA_DeleteOnClose);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    txtFileBak->setObjectName(QStringLiteral("txtFileBak"));
    txtFileZip->setObjectName(QStringLiteral("txtFileZip"));
    optSost->setObjectName(QStringLiteral("optSost"));
    optAll->setObjectName(QStringLiteral("optAll"));
    auto* gruppo = new QButtonGroup(this);
    gruppo->addButton(optSost);
    gruppo->addButton(optAll);
    optAll->setChecked(true);

    auto* paginaBak = new QWidget;
    auto* bak = new QGridLayout(paginaBak);
    bak->addWidget(new QLabel(QStringLiteral("File di Backup:")), 0, 0, 1, 2);
    bak->addWidget(txtFileBak, 1, 0);
    bak->addWidget(cmdSfogliaBak, 1, 1);
    bak->setRowStretch(2, 1);
    auto* pulsantiBak = new QHBoxLayout;
    pulsantiBak->addStretch();
    pulsantiBak->addWidget(cmdConfermaBak);
    pulsantiBak->addWidget(cmdEsci0);
    bak->addLayout(pulsantiBak, 3, 0, 1, 2);

    auto* paginaZip = new QWidget;
    auto* zip = new QGridLayout(paginaZip);
    zip->addWidget(new QLabel(QStringLiteral("File .zip da ripristinare:")), 0, 0, 1, 2);
    zip->addWidget(txtFileZip, 1, 0);
    zip->addWidget(cmdSfogliaZip, 1, 1);
    zip->addWidget(optSost, 2, 0, 1, 2);
    zip->addWidget(optAll, 3, 0, 1, 2);
    zip->setRowStretch(4, 1);
    auto* pulsantiZip = new QHBoxLayout;
    pulsantiZip->addStretch();
    pulsantiZip->addWidget(cmdConfermaZip);
    pulsantiZip->addWidget(cmdEsci1);
    zip->addLayout(pulsantiZip, 5, 0, 1, 2);

    SSTab1->addTab(paginaBak, QStringLiteral("Salvataggio"));
    SSTab1->addTab(paginaZip, QStringLiteral("Recupero"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    setMinimumWidth(520);

    connect(SSTab1, &QTabWidget::currentChanged, this, &frmBackup::SSTab1_Click);
    connect(cmdSfogliaBak, &QPushButton::clicked, this, &frmBackup::cmdSfogliaBak_Click);
    connect(cmdSfogliaZip, &QPushButton::clicked, this, &frmBackup::cmdSfogliaZip_Click);
    connect(cmdConfermaBak, &QPushButton::clicked, this, &frmBackup::cmdConfermaBak_Click);
    connect(cmdConfermaZip, &QPushButton::clicked, this, &frmBackup::cmdConfermaZip_Click);
    connect(cmdEsci0, &QPushButton::clicked, this, &frmBackup::close);
    connect(cmdEsci1, &QPushButton::clicked, this, &frmBackup::close);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { m_session.MostraAiuto(this, 11000); });

    // The database file must be free while it is archived or replaced.
    db::Connection& c = m_session.CorsiDB();
    m_eraAperta = c.isOpen();
    m_percorso = m_eraAperta ? c.path() : m_session.PercorsoDB;
    m_chiave = m_eraAperta ? c.key() : Session::databasePassword();
    m_modo = c.mode();
    c.close();

    m_cartellaPredefinita = QDir::toNativeSeparators(m_session.CartellaProgramma);
    m_dialogo.save = true;
    m_dialogo.caption = windowTitle();
    m_dialogo.filter = kFiltro;
    m_dialogo.folder = m_cartellaPredefinita;
    const QString ultimo =
        m_session.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup"));
    if (ultimo.isEmpty()) {
        txtFileBak->clear();
        txtFileZip->clear();
        m_dialogo.fileName = kPredefinito;
    } else {
        m_dialogo.fileName = ultimo;
    }
}

frmBackup::~frmBackup() {
    if (m_session.ended())
        return;
    try {
        riapriConnessione();
    } catch (const ui::FineProgramma&) {
        // The program ends: the connection stays closed.
    }
}

void frmBackup::done(int result) {
    riapriConnessione();
    QDialog::done(result);
}

void frmBackup::riapriConnessione() {
    if (m_riaperta)
        return;
    m_riaperta = true;
    if (!m_eraAperta || m_session.CorsiDB().isOpen())
        return;
    try {
        m_session.CorsiDB().open(m_percorso, m_chiave, m_modo);
    } catch (const db::DbError& e) {
        m_session.ui.message(this,
                             QStringLiteral("Errore %1\n%2").arg(e.number()).arg(e.description()),
                             QStringLiteral("Errore di connessione"), Icon::Critical);
        m_session.endProgram();
    }
}

void frmBackup::SSTab1_Click(int tab) {
    if (tab == 0) {
        m_dialogo.save = true;
        m_dialogo.overwritePrompt = true;
        m_dialogo.fileName = kPredefinito;
        cmdSfogliaBak->setFocus();
        return;
    }
    m_dialogo.save = false;
    const QString scelto = txtFileZip->text();
    if (!scelto.isEmpty()) {
        const QFileInfo info(scelto);
        m_dialogo.folder = QDir::toNativeSeparators(info.absolutePath());
        m_dialogo.fileName = info.isFile() ? scelto : QString();
    } else {
        m_dialogo.folder = m_cartellaPredefinita;
        m_dialogo.fileName.clear();
        txtFileZip->clear();
    }
}

void frmBackup::cmdSfogliaBak_Click() {
    ui::FileDialog d = m_dialogo;
    d.save = true;
    const QString scelto = m_session.ui.chooseFile(this, d);
    if (!scelto.isEmpty())
        txtFileBak->setText(QDir::toNativeSeparators(scelto));
}

void frmBackup::cmdSfogliaZip_Click() {
    ui::FileDialog d = m_dialogo;
    d.save = false;
    d.overwritePrompt = false;
    const QString scelto = m_session.ui.chooseFile(this, d);
    if (!scelto.isEmpty())
        txtFileZip->setText(QDir::toNativeSeparators(scelto));
}

void frmBackup::cmdConfermaBak_Click() {
    if (txtFileBak->text().isEmpty()) {
        m_session.ui.message(this,
                             QStringLiteral("Selezionare prima un nome per l'Archivio di Backup."),
                             QStringLiteral("Errore"), Icon::Critical);
        cmdSfogliaBak->setFocus();
        return;
    }
    const QString database =
        m_session.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database"));
    const QString archivio =
        archivioBackup::nomeArchivio(QDir::fromNativeSeparators(txtFileBak->text()));
    cmdConfermaBak->setEnabled(false);
    cmdEsci0->setEnabled(false);
    PuntatoreOccupato occupato(m_session.ui);
    const bool riuscito = eseguiBackup(database, archivio);
    m_session.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup"),
                         riuscito ? QDir::toNativeSeparators(archivio) : QString());
    occupato.fine();
    if (riuscito)
        m_session.ui.message(this, QStringLiteral("Backup eseguito con successo."), QString(),
                             Icon::Information);
    else
        m_session.ui.message(this, QStringLiteral("Backup fallito"), QString(), Icon::Critical);
    cmdConfermaBak->setEnabled(true);
    cmdEsci0->setEnabled(true);
}

// The archive holds a consistent snapshot of the database, encrypted as it is on
// disk, under the database's own file name.
bool frmBackup::eseguiBackup(const QString& database, const QString& archivio) {
    QTemporaryDir lavoro(m_session.file(QStringLiteral("DBCopia-XXXXXX")));
    if (!lavoro.isValid() || !QFileInfo(database).isFile())
        return false;
    const QString copia = QDir(lavoro.path()).filePath(QFileInfo(database).fileName());
    try {
        db::Connection c;
        c.open(database, m_chiave, db::OpenMode::Shared);
        c.snapshotTo(copia);
    } catch (const db::DbError&) {
        return false;
    }
    if (!maint::verificaBaseDati(copia, m_chiave).isEmpty())
        return false;
    return archivioBackup::crea({copia}, archivio);
}

void frmBackup::cmdConfermaZip_Click() {
    if (txtFileZip->text().isEmpty()) {
        m_session.ui.message(this, QStringLiteral("Nessun file da ripristinare selezionato."),
                             QStringLiteral("Errore"), Icon::Critical);
        cmdSfogliaZip->setFocus();
        return;
    }
    const QString archivio = QDir::fromNativeSeparators(txtFileZip->text());
    const QFileInfo infoArchivio(archivio);
    if (m_session.ui.message(this,
                             archivioBackup::domandaRecupero(
                                 infoArchivio.absoluteFilePath(),
                                 infoArchivio.isFile() ? infoArchivio.lastModified() : QDateTime(),
                                 optAll->isChecked()),
                             QStringLiteral("Recupero Dati"), Icon::Question,
                             ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    PuntatoreOccupato occupato(m_session.ui);
    cmdConfermaZip->setEnabled(false);
    cmdEsci1->setEnabled(false);
    const QString database =
        m_session.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database"));
    QString errore;
    const QString esito = eseguiRecupero(database, archivio, &errore);
    QDir(m_session.file(QStringLiteral("DBUnzip"))).removeRecursively();
    occupato.fine();
    if (!errore.isEmpty()) {
        // A failure while the files were being replaced: the dialog closes.
        m_session.ui.message(this, errore, QStringLiteral("Errore"), Icon::Critical);
        close();
        return;
    }
    if (esito.isEmpty())
        m_session.ui.message(this, QStringLiteral("Recupero eseguito con successo"), QString(),
                             Icon::Information);
    else
        m_session.ui.message(this, esito, QString(), Icon::Critical);
    cmdConfermaZip->setEnabled(true);
    cmdEsci1->setEnabled(true);
}

QString frmBackup::eseguiRecupero(const QString& database, const QString& archivio,
                                  QString* errore) {
    const QString fallito = QStringLiteral("Recupero fallito");
    const QString cartellaUnzip = m_session.file(QStringLiteral("DBUnzip"));
    QDir unzip(cartellaUnzip);
    unzip.removeRecursively(); // left over by an interrupted restore
    if (!QDir().mkpath(cartellaUnzip))
        return fallito;

    // Everything is proven before the current files are touched.
    QStringList nomi;
    const QString nomeDB = QFileInfo(database).fileName();
    const QString motivo =
        archivioBackup::provaRecupero(archivio, cartellaUnzip, nomeDB, m_chiave, &nomi);
    if (!motivo.isEmpty())
        return fallito + QLatin1Char('\n') + motivo;
    QString estrattoDB;
    for (const QString& nome : nomi)
        if (nome.compare(nomeDB, Qt::CaseInsensitive) == 0)
            estrattoDB = unzip.filePath(nome);

    // No other workstation may have the file open while it is replaced.
    db::BloccoInstallazione blocco;
    if (!blocco.prendi(database, db::BloccoInstallazione::Tipo::Esclusivo))
        return fallito + QStringLiteral("\n\n") + blocco.motivo();

    try {
        if (optAll->isChecked()) {
            const QString cartellaCopie = m_session.file(QStringLiteral("BackupDB"));
            QFile corrente(database);
            if (!QDir().mkpath(cartellaCopie) || !corrente.open(QIODevice::ReadOnly))
                return fallito;
            const QByteArray byte = corrente.readAll();
            if (corrente.error() != QFileDevice::NoError ||
                !fileSicuro::sostituisci(archivioBackup::nomeCopiaConservata(
                                             cartellaCopie, nomeDB, QDateTime::currentDateTime()),
                                         byte))
                return fallito;
        }
        maint::sostituisciBaseDati(database, estrattoDB);
        const QDir cartellaDB = QFileInfo(database).absoluteDir();
        for (const QString& nome : nomi) {
            const QString estratto = unzip.filePath(nome);
            if (estratto == estrattoDB)
                continue;
            QFile f(estratto);
            if (!f.open(QIODevice::ReadOnly))
                throw db::DbError(SQLITE_CANTOPEN,
                                  f.errorString() + QStringLiteral(": ") + estratto);
            QString motivo;
            if (!fileSicuro::sostituisci(cartellaDB.filePath(nome), f.readAll(), &motivo))
                throw db::DbError(SQLITE_IOERR,
                                  motivo + QStringLiteral(": ") + cartellaDB.filePath(nome));
        }
    } catch (const db::DbError& e) {
        *errore = QStringLiteral("Errore %1\n%2").arg(e.number()).arg(e.description());
    }
    return QString();
}
