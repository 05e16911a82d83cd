#include "report/FoglioEsiti.h"

#include "core/Errore.h"
#include "core/FileSicuro.h"
#include "core/Guardie.h"
#include "core/Session.h"
#include "db/Database.h"
#include "report/StatoCorso.h"

#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace report {

namespace {

const QString kEsporta = QStringLiteral("Esporta elenco");
const QString kImporta = QStringLiteral("Importa esiti");

// Grid columns: the line of the file, the file's columns but the enrolment
// number, the action and what changes (or why not).
const int kColonneFile[] = {foglio::CodFiscale, foglio::Cognome,        foglio::Nome,
                            foglio::OreAssenza, foglio::Partecipazione, foglio::Giudizio,
                            foglio::Motivo,     foglio::Credito};
constexpr int kColonnaDettaglio = 10;

QStandardItem* cella(const QString& testo) {
    auto* item = new QStandardItem(testo);
    item->setEditable(false);
    return item;
}

QPushButton* pulsante(const QString& nome, const QString& testo, QWidget* parent) {
    auto* b = new QPushButton(testo, parent);
    b->setObjectName(nome);
    b->setAutoDefault(false);
    return b;
}

} // namespace

// ---------------------------------------------------------------- preview

FrmAnteprimaEsiti::FrmAnteprimaEsiti(Session& session, qint32 idAttivita,
                                     foglio::Anteprima anteprima, QString statoLetto,
                                     QWidget* parent)
    : QDialog(parent), m_session(session), m_idAttivita(idAttivita),
      m_anteprima(std::move(anteprima)), m_statoLetto(std::move(statoLetto)) {
    setObjectName(QStringLiteral("FrmAnteprimaEsiti"));
    setWindowTitle(QStringLiteral("Importa esiti - anteprima"));
    auto* layout = new QVBoxLayout(this);
    m_riepilogo = new QLabel(this);
    m_riepilogo->setObjectName(QStringLiteral("lblRiepilogo"));
    m_riepilogo->setWordWrap(true);
    layout->addWidget(m_riepilogo);
    m_nota = new QLabel(m_anteprima.nota(), this);
    m_nota->setObjectName(QStringLiteral("lblNota"));
    m_nota->setWordWrap(true);
    m_nota->setVisible(!m_anteprima.nota().isEmpty());
    layout->addWidget(m_nota);

    m_griglia = new QTableView(this);
    m_griglia->setObjectName(QStringLiteral("grdAnteprima"));
    m_modello = new QStandardItemModel(0, 11, m_griglia);
    QStringList intestazioni{QStringLiteral("Riga")};
    for (int c : kColonneFile)
        intestazioni << (c == foglio::Credito ? QStringLiteral("Credito")
                                              : foglio::intestazione(c));
    intestazioni << QStringLiteral("Azione") << QStringLiteral("Modifiche o motivo");
    m_modello->setHorizontalHeaderLabels(intestazioni);
    m_griglia->setModel(m_modello);
    m_griglia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_griglia->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_griglia->setAlternatingRowColors(true);
    m_griglia->setWordWrap(false);
    m_griglia->verticalHeader()->hide();
    m_griglia->verticalHeader()->setDefaultSectionSize(22);
    m_griglia->horizontalHeader()->setStretchLastSection(true);
    m_griglia->setSortingEnabled(true);
    m_griglia->sortByColumn(0, Qt::AscendingOrder); // the order of the file
    layout->addWidget(m_griglia, 1);
    // The whole message of the row chosen: a rule's text is longer than its cell.
    m_dettaglio = new QLabel(this);
    m_dettaglio->setObjectName(QStringLiteral("lblDettaglio"));
    m_dettaglio->setWordWrap(true);
    m_dettaglio->setFrameShape(QFrame::StyledPanel);
    m_dettaglio->setMinimumHeight(3 * fontMetrics().lineSpacing() + 8);
    m_dettaglio->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_dettaglio->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_dettaglio);
    connect(m_griglia->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& corrente) {
                const QModelIndex dettaglio = m_modello->index(corrente.row(), kColonnaDettaglio);
                m_dettaglio->setText(dettaglio.data(Qt::ToolTipRole).toString());
            });

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    m_applica = pulsante(QStringLiteral("cmdApplica"), QStringLiteral("Applica"), this);
    m_annulla = pulsante(QStringLiteral("cmdAnnulla"), QStringLiteral("Annulla"), this);
    pulsanti->addWidget(m_applica);
    pulsanti->addWidget(m_annulla);
    layout->addLayout(pulsanti);
    connect(m_applica, &QPushButton::clicked, this, [this] { applica(); });
    connect(m_annulla, &QPushButton::clicked, this, [this] { reject(); });

    mostra();
    resize(1280, 660);
}

void FrmAnteprimaEsiti::mostra() {
    const auto& a = m_anteprima;
    m_modello->removeRows(0, m_modello->rowCount());
    const QColor cambiata(255, 243, 176), rifiutata(176, 0, 0), fuori(110, 110, 110);
    for (const foglio::RigaFoglio& r : a.righe) {
        auto* linea = cella(QString());
        linea->setData(r.linea, Qt::DisplayRole); // sorted as a number
        QList<QStandardItem*> riga{linea};
        for (int c : kColonneFile) {
            QStandardItem* item = cella(r.valori[size_t(c)]);
            if (r.cambiate.contains(c) && r.azione != foglio::Azione::Invariato)
                item->setBackground(cambiata);
            riga << item;
        }
        const bool scritta =
            r.azione == foglio::Azione::DaAggiornare && m_risultato == Risultato::Applicato;
        QStandardItem* azione =
            cella(scritta ? QStringLiteral("Aggiornato") : foglio::testoAzione(r.azione));
        const QString dettaglio =
            r.azione == foglio::Azione::DaAggiornare ? r.modifiche : r.messaggio;
        QStandardItem* motivo =
            cella(QString(dettaglio).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        motivo->setToolTip(r.esito.superato ? dettaglio
                                            : r.esito.titolo + QStringLiteral(":\n") + dettaglio);
        if (r.azione == foglio::Azione::Rifiutato)
            for (QStandardItem* i : {azione, motivo})
                i->setForeground(rifiutata);
        if (r.azione == foglio::Azione::NonNelCorso)
            for (QStandardItem* i : {azione, motivo})
                i->setForeground(fuori);
        riga << azione << motivo;
        m_modello->appendRow(riga);
    }
    const QHeaderView* testata = m_griglia->horizontalHeader();
    m_modello->sort(testata->sortIndicatorSection(), testata->sortIndicatorOrder());
    m_griglia->resizeColumnsToContents();
    for (int c = 0; c < kColonnaDettaglio; ++c)
        m_griglia->setColumnWidth(c, std::min(m_griglia->columnWidth(c), 170));

    QString testo =
        QStringLiteral("Righe lette: %1. Da aggiornare: %2, invariate: %3, rifiutate: %4, non nel "
                       "corso: %5.")
            .arg(a.righe.size())
            .arg(a.conta(foglio::Azione::DaAggiornare))
            .arg(a.conta(foglio::Azione::Invariato))
            .arg(a.conta(foglio::Azione::Rifiutato))
            .arg(a.conta(foglio::Azione::NonNelCorso));
    if (m_risultato == Risultato::Applicato)
        testo = QStringLiteral("Aggiornati %1 allievi. Le righe rifiutate e quelle non nel corso "
                               "non hanno cambiato nulla.")
                    .arg(m_scritte);
    m_riepilogo->setText(testo);
    m_applica->setEnabled(m_risultato == Risultato::NonApplicato &&
                          a.conta(foglio::Azione::DaAggiornare) > 0);
    m_annulla->setText(m_risultato == Risultato::Applicato ? QStringLiteral("Chiudi")
                                                           : QStringLiteral("Annulla"));
}

void FrmAnteprimaEsiti::applica() {
    std::optional<int> scritte;
    try {
        PuntatoreOccupato occupato(m_session.ui);
        scritte = foglio::applica(m_session.CorsiDB(), m_idAttivita, m_anteprima, m_statoLetto);
    } catch (const db::DbError& e) {
        mostraErrore(m_session.ui, this, Errore::da(e), kImporta);
        return;
    }
    if (!scritte) {
        m_risultato = Risultato::CorsoCambiato;
        reject();
        return;
    }
    m_scritte = *scritte;
    m_risultato = Risultato::Applicato;
    mostra();
}

// ---------------------------------------------------------------- buttons

PulsantiFoglio::PulsantiFoglio(Session& session, qint32 idAttivita, Scheda scheda, QWidget* elenco,
                               QWidget* parent)
    : QWidget(parent), m_session(session), m_idAttivita(idAttivita), m_scheda(std::move(scheda)),
      m_elenco(elenco) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_esporta = pulsante(QStringLiteral("cmdEsportaElenco"), kEsporta, this);
    m_importa = pulsante(QStringLiteral("cmdImportaEsiti"), kImporta, this);
    layout->addWidget(m_esporta);
    layout->addWidget(m_importa);
    connect(m_esporta, &QPushButton::clicked, this, [this] { esporta(); });
    connect(m_importa, &QPushButton::clicked, this, [this] { importa(); });
    m_elenco->installEventFilter(this);
    m_importa->setEnabled(m_elenco->isEnabled());
}

bool PulsantiFoglio::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_elenco && event->type() == QEvent::EnabledChange)
        m_importa->setEnabled(m_elenco->isEnabled());
    return QWidget::eventFilter(watched, event);
}

std::optional<QList<archivio::Allievo>> PulsantiFoglio::allievi(const QString& titolo) {
    try {
        return archivio::leggiAllievi(m_session.CorsiDB(), m_idAttivita);
    } catch (const db::DbError& e) {
        mostraErrore(m_session.ui, window(), Errore::da(e), titolo);
        return std::nullopt;
    }
}

void PulsantiFoglio::esporta() {
    ui::FileDialog dialogo;
    dialogo.save = true;
    dialogo.caption = kEsporta;
    dialogo.folder = QDir::homePath();
    dialogo.fileName = QStringLiteral("Allievi_%1.csv").arg(m_idAttivita);
    dialogo.filter = QStringLiteral("File CSV (*.csv)");
    const QString file = m_session.ui.chooseFile(window(), dialogo);
    if (file.isEmpty())
        return;
    const auto elenco = allievi(kEsporta);
    if (!elenco)
        return;
    QString errore;
    if (!fileSicuro::sostituisci(file, foglio::esporta(*elenco), &errore)) {
        m_session.ui.message(window(),
                             QStringLiteral("Impossibile scrivere il file %1\n%2")
                                 .arg(QDir::toNativeSeparators(file), errore),
                             kEsporta, ui::Icon::Critical);
        return;
    }
    m_session.ui.message(window(),
                         QStringLiteral("Elenco di %1 allievi esportato nel file\n%2")
                             .arg(elenco->size())
                             .arg(QDir::toNativeSeparators(file)),
                         kEsporta, ui::Icon::Information);
}

void PulsantiFoglio::importa() {
    if (!m_importa->isEnabled())
        return;
    if (!allievo::creditoCorsoIndicato(m_scheda.creditoCorso())) {
        m_session.ui.message(window(), allievo::AvvisoCreditoCorso, ui::DefaultTitle);
        if (auto* tab = window()->findChild<QTabWidget*>(QStringLiteral("SSTab1")))
            tab->setCurrentIndex(0);
        return;
    }
    ui::FileDialog dialogo;
    dialogo.caption = kImporta;
    dialogo.folder = QDir::homePath();
    dialogo.filter = QStringLiteral("File CSV (*.csv *.txt);;Tutti i file (*)");
    dialogo.overwritePrompt = false;
    const QString file = m_session.ui.chooseFile(window(), dialogo);
    if (file.isEmpty())
        return;
    const auto elenco = allievi(kImporta);
    if (!elenco)
        return;
    PuntatoreOccupato occupato(m_session.ui);
    foglio::Anteprima anteprima =
        foglio::leggiFile(file, *elenco, m_scheda.totOre(), m_scheda.creditoCorso());
    occupato.fine();
    if (!anteprima.errore.isEmpty()) {
        m_session.ui.message(window(), anteprima.errore, kImporta, ui::Icon::Warning);
        return;
    }
    FrmAnteprimaEsiti anteprimaForm(m_session, m_idAttivita, std::move(anteprima),
                                    m_scheda.statoLetto(), window());
    m_session.ui.runDialog(anteprimaForm);
    if (anteprimaForm.risultato() == FrmAnteprimaEsiti::Risultato::Applicato)
        emit esitiApplicati();
    else if (anteprimaForm.risultato() == FrmAnteprimaEsiti::Risultato::CorsoCambiato)
        emit corsoCambiato();
}

} // namespace report
