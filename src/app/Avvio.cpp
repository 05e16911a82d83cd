#include "app/Avvio.h"

#include "core/Session.h"
#include "refdata/InstallazioneDati.h"
#include "refdata/TabelleDecodifica.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

Avvio::Avvio(QWidget* parent)
    : QWidget(parent, Qt::Window), m_intestazione(new QLabel(this)), m_attesa(new QLabel(this)),
      m_file(new QLabel(this)), m_tabella(new QLabel(this)), m_record(new QLabel(this)) {
    setObjectName(QStringLiteral("Avvio"));
    setWindowTitle(QStringLiteral("KORVADIN"));
    m_intestazione->setObjectName(QStringLiteral("lblIntestazione"));
    QFont font = m_intestazione->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 3);
    m_intestazione->setFont(font);
    m_file->setObjectName(QStringLiteral("lblFile"));
    m_tabella->setObjectName(QStringLiteral("lblTabella"));
    m_record->setObjectName(QStringLiteral("lblRecord"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_intestazione);
    layout->addWidget(m_attesa);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("file:"), m_file);
    form->addRow(QStringLiteral("tabella:"), m_tabella);
    form->addRow(QStringLiteral("Record   N° :"), m_record);
    layout->addLayout(form);
    setMinimumWidth(480);
}

void Avvio::mostraAvanzamento(const QString& intestazione, const QString& attesa) {
    m_intestazione->setText(intestazione);
    m_attesa->setText(attesa);
    show();
    QApplication::processEvents();
}

void Avvio::aggiorna(const QString& file, const QString& tabella, int record) {
    m_file->setText(file);
    m_tabella->setText(tabella);
    m_record->setText(QString::number(record));
    // Repainting for every record would cost more than loading it: the window is
    // brought up to date when a table starts and then at most every 40 ms.
    if (record == 0 || !m_ridisegno.isValid() || m_ridisegno.elapsed() >= 40) {
        QApplication::processEvents();
        m_ridisegno.start();
    }
}

Splash::Splash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 51, 153));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 32, 24);
    auto* nome = new QLabel(QStringLiteral("KORVADIN"), this);
    QFont big = nome->font();
    big.setPointSize(28);
    big.setBold(true);
    nome->setFont(big);
    auto* sotto = new QLabel(QStringLiteral("Comunicazioni di fine corso"), this);
    QFont mid = sotto->font();
    mid.setPointSize(13);
    sotto->setFont(mid);
    auto* versione = new QLabel(QStringLiteral("Ver. ") + Session::versione(), this);
    versione->setObjectName(QStringLiteral("lblVersione"));
    versione->setAlignment(Qt::AlignRight);
    layout->addWidget(nome);
    layout->addWidget(sotto);
    layout->addStretch();
    layout->addWidget(versione);
    resize(420, 220);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void refdata::installaAggiornaTabelle(Session& session, Avvio& avvio) {
    Caricamento c;
    c.chiamante = Chiamante::Avvio;
    c.parent = &avvio;
    c.inizio = [&avvio](bool installazione) {
        avvio.mostraAvanzamento(installazione ? QStringLiteral("INSTALLAZIONE TABELLE")
                                              : QStringLiteral("AGGIORNAMENTO TABELLE"),
                                QStringLiteral("Attendere ...."));
    };
    c.record = [&avvio](const QString& file, const QString& tabella, int record) {
        avvio.aggiorna(QDir::toNativeSeparators(file), tabella, record);
    };
    eseguiTabelleDecodifica(session, c);
}
