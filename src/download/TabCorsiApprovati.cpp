#include "download/TabCorsiApprovati.h"

#include "core/Errore.h"
#include "core/General.h"
#include "core/Guardie.h"
#include "core/Session.h"
#include "download/ModelloCorsi.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

using ui::Answer;
using ui::Buttons;
using ui::Icon;

namespace download {

namespace {

const QString kTitoloErrore = QStringLiteral("TabCorsiApprovati");

QString testoErrore(const db::DbError& e) {
    return Errore::da(e).testo();
}

constexpr FiltroStato kFiltriStato[] = {FiltroStato::Tutti, FiltroStato::Aperti,
                                        FiltroStato::Chiusi, FiltroStato::Trasmessi};

} // namespace

TabCorsiApprovati::TabCorsiApprovati(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_filtro(filtroIniziale(session.TipoOperazione)),
      GrdCorsi(new QTableView(this)), m_modello(new ModelloCorsi(this)),
      txtRicDenom(new QLineEdit(this)), cmdCerca2(new QPushButton(QStringLiteral("Cerca"), this)),
      cmdMostraTutti(new QPushButton(QStringLiteral("Mostra trasmessi"), this)),
      cmdSele2(new QPushButton(QStringLiteral("Conferma"), this)),
      cmdEsci2(new QPushButton(QStringLiteral("Annulla"), this)) {
    setObjectName(QStringLiteral("TabCorsiApprovati"));
    setWindowTitle(QStringLiteral("Elenco Corsi Approvati e Finanziati"));
    GrdCorsi->setObjectName(QStringLiteral("GrdCorsi"));
    txtRicDenom->setObjectName(QStringLiteral("txtRicDenom"));
    cmdCerca2->setObjectName(QStringLiteral("cmdCerca2"));
    txtRicDenom->setMaxLength(kLunghezzaDenCorso);
    cmdMostraTutti->setObjectName(QStringLiteral("cmdMostraTutti"));
    cmdSele2->setObjectName(QStringLiteral("cmdSele2"));
    cmdEsci2->setObjectName(QStringLiteral("cmdEsci2"));

    GrdCorsi->setModel(m_modello);
    GrdCorsi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdCorsi->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdCorsi->setSelectionMode(QAbstractItemView::SingleSelection);
    GrdCorsi->setAlternatingRowColors(true);
    GrdCorsi->verticalHeader()->hide();
    GrdCorsi->horizontalHeader()->setHighlightSections(false);
    GrdCorsi->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GrdCorsi->verticalHeader()->setDefaultSectionSize(GrdCorsi->fontMetrics().height() + 8);
    for (int i = 0; i < m_modello->columnCount(); ++i)
        GrdCorsi->setColumnWidth(i, ModelloCorsi::larghezza(i));

    auto* etichetta = new QLabel(QStringLiteral("Denominazione:"), this);
    etichetta->setBuddy(txtRicDenom);
    txtRicDenom->setMinimumWidth(240);
    txtRicDenom->setClearButtonEnabled(true);
    txtRicDenom->installEventFilter(this);
    cmdSele2->setDefault(true);

    auto* ricerca = new QHBoxLayout;
    ricerca->addWidget(etichetta);
    ricerca->addWidget(txtRicDenom);
    ricerca->addWidget(cmdCerca2);
    ricerca->addSpacing(24);
    ricerca->addWidget(cmdMostraTutti);
    ricerca->addStretch();
    ricerca->addWidget(cmdSele2);
    ricerca->addWidget(cmdEsci2);
    auto* layout = new QVBoxLayout(this);
    costruisciFiltroStato();
    layout->addWidget(fraStato);
    layout->addWidget(GrdCorsi);
    layout->addLayout(ricerca);
    resize(1000, 520);

    connect(cmdCerca2, &QPushButton::clicked, this, &TabCorsiApprovati::cmdCerca2_Click);
    connect(cmdMostraTutti, &QPushButton::clicked, this, &TabCorsiApprovati::cmdMostraTutti_Click);
    connect(cmdSele2, &QPushButton::clicked, this, &TabCorsiApprovati::cmdSele2_Click);
    connect(cmdEsci2, &QPushButton::clicked, this, &QDialog::reject);
    connect(GrdCorsi, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            cmdSele2_Click();
    });

    cmdMostraTutti->setVisible(m_filtro == Filtro::SoloChiusi);
    fraStato->setVisible(filtroStatoOfferto(m_filtro));
    if (filtroStatoOfferto(m_filtro)) {
        const FiltroStato ricordato =
            filtroStatoDaCodice(m_session.userSettings.get(kChiaveFiltroStato));
        m_gruppoStato->button(int(ricordato))->setChecked(true);
        m_modello->filtra(ricordato);
    }
    carica(m_filtro);
    GrdCorsi->setFocus();
}

void TabCorsiApprovati::costruisciFiltroStato() {
    fraStato = new QGroupBox(QStringLiteral("Mostra i corsi"), this);
    fraStato->setObjectName(QStringLiteral("fraStato"));
    m_gruppoStato = new QButtonGroup(this);
    auto* riga = new QHBoxLayout(fraStato);
    const QString nomi[] = {QStringLiteral("optTutti"), QStringLiteral("optAperti"),
                            QStringLiteral("optChiusi"), QStringLiteral("optTrasmessi")};
    const QString stati[] = {QString(), QStringLiteral("APERTO"), QStringLiteral("CHIUSO"),
                             QStringLiteral("TRASMESSO")};
    for (FiltroStato f : kFiltriStato) {
        auto* opzione = new QRadioButton(fraStato);
        opzione->setObjectName(nomi[int(f)]);
        if (f != FiltroStato::Tutti)
            opzione->setIcon(ModelloCorsi::iconaStato(stati[int(f)]));
        m_gruppoStato->addButton(opzione, int(f));
        riga->addWidget(opzione);
    }
    m_gruppoStato->button(int(FiltroStato::Tutti))->setChecked(true);
    riga->addStretch();
    connect(m_gruppoStato, &QButtonGroup::idClicked, this,
            [this](int id) { filtraStato(FiltroStato(id)); });
}

void TabCorsiApprovati::filtraStato(FiltroStato filtro) {
    const qint32 corrente = idCorrente();
    m_modello->filtra(filtro);
    if (!vaiA(corrente) && m_modello->rowCount() > 0)
        GrdCorsi->setCurrentIndex(m_modello->index(0, 0));
    aggiornaConferma();
    m_session.userSettings.set(kChiaveFiltroStato, codiceFiltroStato(filtro));
}

void TabCorsiApprovati::aggiornaConteggi() {
    for (FiltroStato f : kFiltriStato)
        m_gruppoStato->button(int(f))->setText(
            QStringLiteral("%1 (%2)").arg(nomeFiltroStato(f)).arg(m_modello->conta(f)));
}

int TabCorsiApprovati::righe() const {
    return m_modello->rowCount();
}

void TabCorsiApprovati::carica(Filtro filtro) {
    m_filtro = filtro;
    for (;;) {
        PuntatoreOccupato occupato(m_session.ui);
        try {
            db::Connection& db = m_session.CorsiDB();
            QList<db::Row> righe = elencoCorsi(db, m_session.OperatoreCorrente, filtro);
            m_modello->imposta(std::move(righe),
                               allieviSenzaMatricola(db, m_session.OperatoreCorrente));
            aggiornaConteggi();
            if (m_modello->rowCount() > 0)
                GrdCorsi->setCurrentIndex(m_modello->index(0, 0));
            return;
        } catch (const db::DbError& e) {
            occupato.fine();
            const Answer risposta = m_session.ui.message(
                this,
                testoErrore(e) + QStringLiteral("\n\nSi è verificato un errore imprevisto,"
                                                "scegliere riprova per ritentare l'operazione."),
                kTitoloErrore, Icon::Warning, Buttons::RetryCancel);
            if (risposta != Answer::Retry) {
                m_modello->imposta({}, {});
                aggiornaConteggi();
                return;
            }
        }
    }
}

void TabCorsiApprovati::aggiornaConferma() {
    cmdSele2->setEnabled(m_modello->rowCount() > 0);
}

void TabCorsiApprovati::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_attivato) {
        m_attivato = true;
        // After the dialog is on screen, so that the warning shows over it.
        QTimer::singleShot(0, this, &TabCorsiApprovati::attivazione);
    }
}

void TabCorsiApprovati::attivazione() {
    aggiornaConferma();
    if (m_modello->conta(FiltroStato::Tutti) == 0)
        m_session.ui.message(
            this, QStringLiteral("Nessun Corso Approvato scaricato. Impossibile selezionarne uno"),
            QStringLiteral("Corsi Approvati"), Icon::Warning);
}

bool TabCorsiApprovati::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the search box searches; it does not confirm the dialog.
    if (watched == txtRicDenom && event->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(event)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
            cmdCerca2_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

qint32 TabCorsiApprovati::idCorrente() const {
    const int riga = GrdCorsi->currentIndex().row();
    if (riga < 0 || riga >= m_modello->rowCount())
        return 0;
    return m_modello->idAttivita(riga);
}

bool TabCorsiApprovati::vaiA(qint32 idAttivita) {
    const int riga = idAttivita ? m_modello->rigaDi(idAttivita) : -1;
    if (riga < 0)
        return false;
    GrdCorsi->setCurrentIndex(m_modello->index(riga, 0));
    GrdCorsi->scrollTo(m_modello->index(riga, 0));
    return true;
}

void TabCorsiApprovati::cmdMostraTutti_Click() {
    carica(Filtro::ChiusiETrasmessi);
    aggiornaConferma();
}

void TabCorsiApprovati::cmdCerca2_Click() {
    const QString testo = txtRicDenom->text();
    if (testo.isEmpty())
        return;
    PuntatoreOccupato occupato(m_session.ui);
    const QModelIndex ricordata = GrdCorsi->currentIndex();
    bool trovato = false;
    try {
        const QList<qint32> trovati =
            corsiTrovati(m_session.CorsiDB(), m_session.OperatoreCorrente, m_filtro, testo);
        // Forward from the first row of the grid.
        for (int i = 0; i < m_modello->rowCount() && !trovato; ++i) {
            if (trovati.contains(m_modello->idAttivita(i))) {
                GrdCorsi->setCurrentIndex(m_modello->index(i, 0));
                GrdCorsi->scrollTo(m_modello->index(i, 0));
                trovato = true;
            }
        }
    } catch (const db::DbError& e) {
        occupato.fine();
        mostraErrore(m_session.ui, this, Errore::da(e), QStringLiteral("Ricerca Corso"));
        return;
    }
    if (!trovato) {
        m_session.ui.message(this, QStringLiteral("Nessun corso trovato"),
                             QStringLiteral("Ricerca Corso"), Icon::Warning);
        GrdCorsi->setCurrentIndex(ricordata);
    }
}

void TabCorsiApprovati::cmdSele2_Click() {
    const int riga = GrdCorsi->currentIndex().row();
    if (riga < 0 || riga >= m_modello->rowCount() ||
        General::nonNullStr(m_modello->corso(riga).value(0)).isEmpty()) {
        m_session.ui.message(this,
                             QStringLiteral("Selezionare un Corso nella griglia oppure Uscire"),
                             QString(), Icon::Warning);
        return;
    }
    const db::Row corso = m_modello->corso(riga);
    try {
        const qint32 id = qint32(corso.value(0).toLongLong());
        // The state as it is now: another workstation may have changed it since
        // the list was read.
        QString stato = statoCorso(m_session.CorsiDB(), id);
        if (stato.isEmpty())
            stato = General::nonNullStr(corso.value(QStringLiteral("Stato")));
        switch (verificaConferma(m_session.TipoOperazione, stato)) {
        case Verifica::Rifiuta:
            m_session.ui.message(this,
                                 QStringLiteral("E' possibile effettuare la trasmissione del fine "
                                                "corso solo per attività con stato 'CHIUSO' (o, in "
                                                "casi eccezionali concordati con l'assistenza, già "
                                                "'TRASMESSO')"));
            return;
        case Verifica::ChiediConferma:
            if (m_session.ui.message(
                    this,
                    QStringLiteral("E' stato selezionato un corso già 'TRASMESSO'.\n"
                                   "Si evidenzia che questa operazione deve avvenire solo in casi "
                                   "eccezionali concordati con l'assistenza.\n"
                                   "Procedere con la trasmissione?"),
                    QStringLiteral("Corso già trasmesso, 'richiesta conferma'"), Icon::None,
                    Buttons::YesNo) != Answer::Yes)
                return;
            break;
        case Verifica::Accetta:
            break;
        }
        const CorsoScelto scelto = corsoScelto(m_session.CorsiDB(), corso);
        m_session.corso = scelto;
        m_session.CorsoSelezionato = scelto.IdAttivita;
        accept();
    } catch (const db::DbError& e) {
        mostraErrore(m_session.ui, this, Errore::da(e), QStringLiteral("Selezione Corso"));
    }
}

void mostraTabCorsiApprovati(Session& session, QWidget* parent) {
    TabCorsiApprovati dialogo(session, parent);
    session.ui.runDialog(dialogo);
}

} // namespace download
