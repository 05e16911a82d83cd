#include "report/ElencoAllievi.h"

#include "core/Errore.h"
#include "core/General.h"
#include "core/Session.h"
#include "download/CorsiApprovati.h"
#include "report/EditorAllievo.h"
#include "report/RegoleCorso.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace report {

namespace {

// Columns of the participant list: heading and whether it is shown.
struct Colonna {
    const char* intestazione;
    bool visibile;
};
const Colonna kColonne[12] = {
    {"Id Attività", false},
    {"Codice Fiscale", true},
    {"Cognome", true},
    {"Nome", true},
    {"Sesso", true},
    {"Matricola", true},
    {"Ore Assenza", true},
    {"Giudizio", true},
    {"Descizione Giudizio Negativo", true},
    {"Area Formativa", false},
    {"Tipologia Organizzativa", false},
    {"Handicap", true},
};
constexpr int kColonnaMatricola = 5;

QStandardItem* cella(const QString& testo) {
    auto* item = new QStandardItem(testo);
    item->setEditable(false);
    return item;
}

// The enrolment number; a missing one is an empty cell with the warning mark
// of the course list.
QStandardItem* cellaMatricola(const archivio::Allievo& a) {
    if (!download::matricolaMancante(a.matricola))
        return cella(a.matricola);
    auto* item = cella(QString());
    item->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
    item->setToolTip(
        download::avvisoMatricole({(a.cognome + QLatin1Char(' ') + a.nome).trimmed()}));
    item->setData(true, Qt::UserRole);
    return item;
}

} // namespace

ElencoAllievi::ElencoAllievi(Session& session, qint32 idAttivita, std::function<QString()> totOre,
                             std::function<QString()> creditoCorso, QWidget* parent)
    : QWidget(parent), m_session(session), m_idAttivita(idAttivita), m_creditoCorso(creditoCorso) {
    auto* layout = new QVBoxLayout(this);
    m_griglia = new QTableView(this);
    m_griglia->setObjectName(QStringLiteral("grdDomande"));
    m_modello = new QStandardItemModel(0, 12, m_griglia);
    for (int c = 0; c < 12; ++c)
        m_modello->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(kColonne[c].intestazione));
    m_griglia->setModel(m_modello);
    for (int c = 0; c < 12; ++c)
        m_griglia->setColumnHidden(c, !kColonne[c].visibile);
    m_griglia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_griglia->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_griglia->setSelectionMode(QAbstractItemView::SingleSelection);
    m_griglia->setAlternatingRowColors(true);
    m_griglia->setTabKeyNavigation(false);
    m_griglia->verticalHeader()->setDefaultSectionSize(22);
    m_griglia->horizontalHeader()->setStretchLastSection(true);
    m_griglia->installEventFilter(this);
    layout->addWidget(m_griglia, 1);

    auto* riga = m_rigaPulsanti = new QHBoxLayout;
    auto* istruzioni = new QLabel(QStringLiteral("Selezionare la riga e premere il pulsante "
                                                 "'Gestisci allievo' (oppure doppio click sulla "
                                                 "riga)"),
                                  this);
    istruzioni->setObjectName(QStringLiteral("lblIstruzioni"));
    riga->addWidget(istruzioni, 1);
    m_gestAllievo = new QPushButton(QStringLiteral("Gestisci allievo"), this);
    m_gestAllievo->setObjectName(QStringLiteral("cmdGestAllievo"));
    m_gestAllievo->setAutoDefault(false);
    m_gestAllievo->setToolTip(QStringLiteral("Gestisci l'allievo della riga selezionata (Invio)"));
    riga->addWidget(m_gestAllievo);
    layout->addLayout(riga);

    m_editor = new EditorAllievo(m_session, m_idAttivita, std::move(totOre),
                                 std::move(creditoCorso), this);
    layout->addWidget(m_editor);

    connect(m_gestAllievo, &QPushButton::clicked, this, [this] { gestisciAllievo(); });
    connect(m_griglia, &QTableView::doubleClicked, this, [this] { gestisciAllievo(); });
    connect(m_editor, &EditorAllievo::allievoSalvato, this, [this](const QString& codFiscale) {
        carica(codFiscale);
        emit allievoSalvato();
    });
    connect(m_editor, &EditorAllievo::corsoCambiato, this, &ElencoAllievi::corsoCambiato);
}

bool ElencoAllievi::carica(const QString& seleziona) {
    try {
        m_allievi = archivio::leggiAllievi(m_session.CorsiDB(), m_idAttivita);
    } catch (const db::DbError& e) {
        mostraErrore(m_session.ui, window(), Errore::da(e), QStringLiteral("Fine Corsi"));
        return false;
    }
    m_modello->removeRows(0, m_modello->rowCount());
    int riga = 0;
    for (int i = 0; i < m_allievi.size(); ++i) {
        const archivio::Allievo& a = m_allievi.at(i);
        m_modello->appendRow({cella(QString::number(m_idAttivita)), cella(a.codFiscale),
                              cella(a.cognome), cella(a.nome), cella(a.sesso), cellaMatricola(a),
                              cella(General::nonNullStr(a.oreAssenza)), cella(a.giudizio),
                              cella(a.descizioneGiudizio), cella(a.codAreaFormativa),
                              cella(a.codTipologiaOrg), cella(General::nonNullStr(a.handicap))});
        if (a.codFiscale == seleziona)
            riga = i;
    }
    m_griglia->resizeColumnsToContents();
    if (!m_allievi.isEmpty())
        m_griglia->selectRow(riga);
    return true;
}

void ElencoAllievi::aggiungiPulsanti(QWidget* pulsanti) {
    m_rigaPulsanti->addWidget(pulsanti);
}

void ElencoAllievi::abilita(bool abilitato) {
    m_griglia->setEnabled(abilitato);
    m_gestAllievo->setEnabled(abilitato);
}

void ElencoAllievi::annullaEditor() {
    m_editor->annulla();
}

bool ElencoAllievi::selezionaPrimo(const std::function<bool(const archivio::Allievo&)>& criterio) {
    for (int i = 0; i < m_allievi.size(); ++i)
        if (criterio(m_allievi.at(i))) {
            m_griglia->selectRow(i);
            return true;
        }
    return false;
}

void ElencoAllievi::gestisciAllievo() {
    if (!m_gestAllievo->isEnabled())
        return;
    if (numeroScritto(m_creditoCorso()).value_or(0) == 0) {
        m_session.ui.message(window(),
                             QStringLiteral("Prima di compilare i dai dei singoli allievi occorre "
                                            "specificare il 'Credito Formativo (complessivo)' del "
                                            "corso."),
                             ui::DefaultTitle);
        emit creditoMancante();
        return;
    }
    const QModelIndexList righe = m_griglia->selectionModel()->selectedRows();
    const int riga = righe.isEmpty() ? m_griglia->currentIndex().row() : righe.first().row();
    if (riga < 0 || riga >= m_allievi.size())
        return;
    m_editor->apri(m_allievi.at(riga));
}

bool ElencoAllievi::eventFilter(QObject* watched, QEvent* event) {
    // Return in the list opens the participant, as the button does.
    if (watched == m_griglia && event->type() == QEvent::KeyPress) {
        const auto* tasto = static_cast<QKeyEvent*>(event);
        if ((tasto->key() == Qt::Key_Return || tasto->key() == Qt::Key_Enter) &&
            (tasto->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            gestisciAllievo();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace report
