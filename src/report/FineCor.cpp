#include "report/FineCor.h"

#include "core/Errore.h"
#include "core/General.h"
#include "core/Session.h"
#include "db/Database.h"
#include "report/ElencoAllievi.h"
#include "report/FiltriInput.h"
#include "report/FoglioEsiti.h"
#include "report/StampaModulo.h"
#include "report/PulsanteFigura.h"
#include "report/Segnalazione.h"
#include "report/StatoCorso.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>

namespace report {

namespace {

const QString kTitoloForm = QStringLiteral("Fine Corsi");

QLabel* valore(const QString& nome, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(nome);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(40);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* etichetta(const QString& nome, const QString& testo, QWidget* parent) {
    auto* label = new QLabel(testo, parent);
    if (!nome.isEmpty())
        label->setObjectName(nome);
    return label;
}

} // namespace

FineCor::FineCor(Session& session, qint32 idAttivita, QWidget* parent)
    : QDialog(parent), m_session(session), m_idAttivita(idAttivita) {
    setObjectName(QStringLiteral("FineCor"));
    setWindowTitle(kTitoloForm);
    costruisci();
    carica();
    // The first box that can be edited; in a closed course the first button that acts.
    for (QWidget* primo : std::initializer_list<QWidget*>{m_fineGG, m_riapri, m_esci})
        if (primo->isEnabled()) {
            primo->setFocus();
            break;
        }
}

// ---------------------------------------------------------------- building

QLineEdit* FineCor::casella(const QString& nome, int larghezza, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(nome);
    box->setFixedWidth(larghezza);
    box->setAlignment(Qt::AlignRight);
    return box;
}

void FineCor::costruisci() {
    auto* principale = new QVBoxLayout(this);

    m_frameOperatore = new QGroupBox(QStringLiteral(" Operatore"), this);
    m_frameOperatore->setObjectName(QStringLiteral("Frame6"));
    auto* testata = new QGridLayout(m_frameOperatore);
    m_operatore = etichetta(QStringLiteral("lblOperatore"), QString(), m_frameOperatore);
    QFont grassetto = m_operatore->font();
    grassetto.setBold(true);
    m_operatore->setFont(grassetto);
    testata->addWidget(m_operatore, 0, 0, 1, 7);
    testata->addWidget(etichetta({}, QStringLiteral("Attivita"), m_frameOperatore), 1, 0);
    m_lblAttivita = valore(QStringLiteral("lblAttivita"), m_frameOperatore);
    testata->addWidget(m_lblAttivita, 1, 1);
    testata->addWidget(etichetta({}, QStringLiteral("Corso"), m_frameOperatore), 1, 2);
    m_lblCorso = valore(QStringLiteral("lblCorso"), m_frameOperatore);
    testata->addWidget(m_lblCorso, 1, 3);
    testata->addWidget(etichetta({}, QStringLiteral("stato"), m_frameOperatore), 1, 5);
    m_shape = new QFrame(m_frameOperatore);
    m_shape->setObjectName(QStringLiteral("Shape1"));
    m_shape->setMinimumWidth(130);
    auto* rettangolo = new QHBoxLayout(m_shape);
    rettangolo->setContentsMargins(6, 3, 6, 3);
    m_lblStato = etichetta(QStringLiteral("lblSTATO"), QString(), m_shape);
    m_lblStato->setAlignment(Qt::AlignCenter);
    m_lblStato->setFont(grassetto);
    rettangolo->addWidget(m_lblStato);
    testata->addWidget(m_shape, 1, 6);
    testata->setColumnStretch(4, 1);
    m_lblQuali = etichetta(QStringLiteral("lblQuali"), QString(), m_frameOperatore);
    m_lblQuali->setWordWrap(true);
    m_lblQuali->setFont(grassetto);
    testata->addWidget(m_lblQuali, 2, 0, 1, 7);
    principale->addWidget(m_frameOperatore);

    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("SSTab1"));
    m_tab->addTab(costruisciDatiPrincipali(), QStringLiteral("Dati principali"));
    m_tab->addTab(costruisciQuadro(), QStringLiteral("Quadro Riassuntivo Allievi"));
    m_tab->addTab(costruisciElenco(), QStringLiteral("Elenco Iscritti"));
    principale->addWidget(m_tab, 1);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(pulsanteStampaModulo(
        m_session, m_idAttivita, [this] { return leggiScheda(); }, this));
    m_lblSalvato = etichetta(QStringLiteral("lblSalvato"), QString(), this);
    pulsanti->addWidget(m_lblSalvato);
    pulsanti->addStretch();
    m_salva = pulsanteFigura(this, pulsanti, QStringLiteral("cmdSalva"),
                             QStringLiteral(" Salva Modifiche "),
                             style()->standardPixmap(QStyle::SP_DialogSaveButton),
                             QStringLiteral("Salva Modifiche (Ctrl+S)"));
    m_esci = pulsanteFigura(this, pulsanti, QStringLiteral("cmdEsci"), QStringLiteral(" Esci "),
                            style()->standardPixmap(QStyle::SP_DialogCloseButton),
                            QStringLiteral("Esci (Esc)"));
    principale->addLayout(pulsanti);
    // Esc reaches reject(); Ctrl+S saves from any box, completing the box first.
    auto* salvaDaTastiera = new QShortcut(QKeySequence::Save, this);
    connect(salvaDaTastiera, &QShortcut::activated, this, [this] {
        if (!m_salva->isEnabled())
            return;
        QWidget* prima = focusWidget();
        m_salva->setFocus();
        if (salva() && prima)
            prima->setFocus();
    });

    connect(m_salva, &QToolButton::clicked, this, [this] { salva(); });
    connect(m_esci, &QToolButton::clicked, this, [this] { esci(); });
    connect(m_chiudi, &QPushButton::clicked, this, [this] { chiudiCorso(); });
    connect(m_riapri, &QPushButton::clicked, this, [this] { riapriCorso(); });
    connect(m_elenco, &ElencoAllievi::allievoSalvato, this, [this] { ricalcolaConteggi(); });
    connect(m_elenco, &ElencoAllievi::corsoCambiato, this,
            [this] { corsoCambiatoAltrove(QStringLiteral("Conferma dati allievo")); });
    connect(m_elenco, &ElencoAllievi::creditoMancante, this, [this] {
        m_tab->setCurrentIndex(0);
        if (m_credito->isEnabled())
            m_credito->setFocus();
    });

    resize(880, 720);
}

QWidget* FineCor::costruisciDatiPrincipali() {
    auto* scheda = new QWidget;
    auto* layout = new QVBoxLayout(scheda);
    auto* frame = new QGroupBox(QStringLiteral(" Dati Fine corso "), scheda);
    frame->setObjectName(QStringLiteral("FrameDatiFine"));
    auto* form = new QFormLayout(frame);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    m_totOre = casella(QStringLiteral("txtTotOre"), 60, frame);
    m_totOre->setReadOnly(true);
    m_totOre->setFocusPolicy(Qt::NoFocus);
    form->addRow(QStringLiteral("Totale ore"), m_totOre);

    auto* inizio = new QHBoxLayout;
    m_inizioGG = valore(QStringLiteral("lblDataInizioGG"), frame);
    m_inizioMM = valore(QStringLiteral("lblDataInizioMM"), frame);
    m_inizioAAAA = valore(QStringLiteral("lblDataInizioAAAA"), frame);
    m_inizioAAAA->setMinimumWidth(56);
    for (QLabel* parte : {m_inizioGG, m_inizioMM, m_inizioAAAA}) {
        parte->setAlignment(Qt::AlignCenter);
        inizio->addWidget(parte);
    }
    inizio->addStretch();
    form->addRow(QStringLiteral("Data Inizio"), inizio);

    auto* fine = new QHBoxLayout;
    m_fineGG = casella(QStringLiteral("txtDataFineEffGG"), 40, frame);
    m_fineMM = casella(QStringLiteral("txtDataFineEffMM"), 40, frame);
    m_fineAAAA = casella(QStringLiteral("txtDataFineEffAAAA"), 56, frame);
    m_fineGG->setMaxLength(2);
    m_fineMM->setMaxLength(2);
    m_fineAAAA->setMaxLength(4);
    m_fineGG->setPlaceholderText(QStringLiteral("gg"));
    m_fineMM->setPlaceholderText(QStringLiteral("mm"));
    m_fineAAAA->setPlaceholderText(QStringLiteral("aaaa"));
    for (QLineEdit* parte : {m_fineGG, m_fineMM, m_fineAAAA}) {
        parte->setAlignment(Qt::AlignCenter);
        filtroNumerico(parte, m_session.ui, ModoNumerico::Decimale);
        fine->addWidget(parte);
    }
    completamentoInUscita(m_fineGG, completaGiornoMese);
    completamentoInUscita(m_fineMM, completaGiornoMese);
    completamentoInUscita(m_fineAAAA, completaAnno);
    fine->addWidget(etichetta({}, QStringLiteral("aaaa"), frame));
    fine->addStretch();
    form->addRow(QStringLiteral("Data Fine"), fine);

    m_credito = casella(QStringLiteral("txtCredFormCorso"), 60, frame);
    m_credito->setMaxLength(5);
    filtroNumerico(m_credito, m_session.ui, ModoNumerico::Decimale);
    m_lblCredito = etichetta(QStringLiteral("Label58"),
                             QStringLiteral("Credito Formativo (complessivo)"), frame);
    form->addRow(m_lblCredito, m_credito);

    const auto combo = [frame](const QString& nome) {
        auto* c = new QComboBox(frame);
        c->setObjectName(nome);
        c->setMinimumWidth(420);
        return c;
    };
    m_tipOrg = combo(QStringLiteral("cmbTipOrg"));
    m_lblTipOrg =
        etichetta(QStringLiteral("Label41"), QStringLiteral("Tipologia Organizzativa"), frame);
    form->addRow(m_lblTipOrg, m_tipOrg);
    m_areaFor = combo(QStringLiteral("cmbAreaFor"));
    m_lblAreaFor = etichetta(QStringLiteral("Label26"), QStringLiteral("Area Formativa"), frame);
    form->addRow(m_lblAreaFor, m_areaFor);
    m_segmento = combo(QStringLiteral("cmbSegmento"));
    m_lblSegmento =
        etichetta(QStringLiteral("Label42"), QStringLiteral("Segmento Formativo"), frame);
    form->addRow(m_lblSegmento, m_segmento);
    layout->addWidget(frame);

    auto* stato = new QHBoxLayout;
    m_chiudi = new QPushButton(QStringLiteral("Chiusura Corso"), scheda);
    m_chiudi->setObjectName(QStringLiteral("cmdChiudi"));
    m_riapri = new QPushButton(QStringLiteral("Riapertura  Corso"), scheda);
    m_riapri->setObjectName(QStringLiteral("cmdRiapri"));
    for (QPushButton* b : {m_chiudi, m_riapri}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(150);
        stato->addWidget(b);
    }
    stato->addStretch();
    layout->addLayout(stato);
    layout->addStretch();
    return scheda;
}

QGroupBox* FineCor::costruisciRiquadroConteggi(const QString& titolo, int primo) {
    // primo: index in campiConteggio() of the frame's male count; the female
    // count follows, then the two disability sub-counts.
    auto* frame = new QGroupBox(titolo);
    auto* griglia = new QGridLayout(frame);
    griglia->addWidget(etichetta({}, QStringLiteral("Maschi"), frame), 0, 1, Qt::AlignHCenter);
    griglia->addWidget(etichetta({}, QStringLiteral("Femmine"), frame), 0, 2, Qt::AlignHCenter);
    griglia->addWidget(etichetta({}, QStringLiteral("Totale"), frame), 1, 0);
    griglia->addWidget(etichetta({}, QStringLiteral("di cui portatori di handicap"), frame), 2, 0);
    const auto& campi = campiConteggio();
    for (int i = 0; i < 4; ++i) {
        const size_t indice = size_t(primo + i);
        QLineEdit* box = casella(QString::fromLatin1(campi[indice].controllo), 70, frame);
        if (campi[indice].sottoconteggio) {
            box->setMaxLength(4);
            filtroNumerico(box, m_session.ui, ModoNumerico::Decimale);
            completamentoInUscita(box, completaSottoconteggio);
        } else {
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::NoFocus);
        }
        m_conteggi[indice] = box;
        griglia->addWidget(box, 1 + i / 2, 1 + i % 2);
    }
    griglia->setColumnStretch(3, 1);
    return frame;
}

QWidget* FineCor::costruisciQuadro() {
    auto* scheda = new QWidget;
    auto* layout = new QVBoxLayout(scheda);
    // campiConteggio(): male, female, male H, female H for each of the frames.
    layout->addWidget(costruisciRiquadroConteggi(QStringLiteral(" Iscritti "), 0));
    layout->addWidget(costruisciRiquadroConteggi(QStringLiteral(" Ammessi"), 4));
    layout->addWidget(costruisciRiquadroConteggi(QStringLiteral(" Non Ammessi"), 8));
    layout->addStretch();
    return scheda;
}

QWidget* FineCor::costruisciElenco() {
    m_elenco = new ElencoAllievi(
        m_session, m_idAttivita, [this] { return m_totOre->text(); },
        [this] { return m_credito->text(); });
    auto* foglio =
        new PulsantiFoglio(m_session, m_idAttivita,
                           {[this] { return m_totOre->text(); },
                            [this] { return m_credito->text(); }, [this] { return m_statoLetto; }},
                           m_elenco->griglia(), m_elenco);
    m_elenco->aggiungiPulsanti(foglio);
    connect(foglio, &PulsantiFoglio::esitiApplicati, this, [this] {
        m_elenco->annullaEditor();
        m_elenco->carica();
        ricalcolaConteggi();
    });
    connect(foglio, &PulsantiFoglio::corsoCambiato, this,
            [this] { corsoCambiatoAltrove(QStringLiteral("Importa esiti")); });
    return m_elenco;
}

// ---------------------------------------------------------------- showing

void FineCor::carica() {
    const Operatore& op = m_session.OperatoreCorrente;
    m_operatore->setText(op.GrupOpe + QLatin1Char(' ') + op.Operatore + QLatin1Char(' ') + op.nome);
    try {
        db::Connection& db = m_session.CorsiDB();
        for (auto [combo, voci] : {std::pair{m_tipOrg, archivio::vociTipologieOrganizzative(db)},
                                   std::pair{m_segmento, archivio::vociSegmentiFormativi(db)},
                                   std::pair{m_areaFor, archivio::vociAreeFormative(db)}}) {
            combo->clear();
            combo->addItem(QString());
            combo->addItems(voci);
        }
    } catch (const db::DbError& e) {
        erroreDb(kTitoloForm, e);
        if (!m_session.debug)
            return;
    }
    m_caricato = ricarica();
}

bool FineCor::ricarica() {
    std::optional<archivio::RecordCorso> record;
    try {
        record = archivio::leggiCorso(m_session.CorsiDB(), m_idAttivita);
    } catch (const db::DbError& e) {
        erroreDb(kTitoloForm, e);
        return false;
    }
    if (!record) {
        m_session.ui.message(
            this, QStringLiteral("Il corso %1 non è presente in archivio.").arg(m_idAttivita),
            kTitoloForm, ui::Icon::Critical);
        return false;
    }
    mostraRecord(*record);
    return true;
}

void FineCor::mostraRecord(const archivio::RecordCorso& r) {
    m_layout = layoutPerSubAsse(r.codSubAsse);
    applicaLayout();
    m_lblAttivita->setText(QString::number(r.idAttivita));
    m_lblCorso->setText(r.progrAttivita);
    m_lblQuali->setText(r.denCorso);
    m_totOre->setText(r.totIter);
    m_inizioGG->setText(r.inizioGG);
    m_inizioMM->setText(r.inizioMM);
    m_inizioAAAA->setText(r.inizioAAAA);
    m_fineGG->setText(r.fineGG);
    m_fineMM->setText(r.fineMM);
    m_fineAAAA->setText(r.fineAAAA);

    m_lblStato->setText(r.stato);
    m_statoLetto = r.stato;
    const auto colore = coloreStato(r.stato);
    m_shape->setProperty("coloreBordo", colore ? QVariant(*colore) : QVariant());
    m_shape->setStyleSheet(
        colore ? QStringLiteral("QFrame#Shape1 { border: 3px solid %1; }").arg(colore->name())
               : QStringLiteral("QFrame#Shape1 { border: 3px solid transparent; }"));

    m_elenco->annullaEditor();
    if (m_layout == Layout::Completo) {
        m_credito->setText(r.creditoFormativo);
        selezionaVoce(m_tipOrg, voceTipOrg(r.codTipologiaOrg));
        selezionaVoce(m_areaFor, voceAreaFor(r.codAreaFormativa));
        selezionaVoce(m_segmento, voceSegmento(r.codSegmentoForm));
        for (size_t i = 0; i < m_conteggi.size(); ++i)
            m_conteggi[i]->setText(r.conteggi[i]);
        m_elenco->carica();
    }
    applicaStato(r.stato);
    ricalcolaConteggi();
    m_tab->setCurrentIndex(0);
    m_mostrata = leggiScheda();
}

void FineCor::applicaLayout() {
    const bool completo = m_layout == Layout::Completo;
    m_tab->setTabEnabled(1, completo);
    m_tab->setTabEnabled(2, completo);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_lblCredito, m_credito, m_lblTipOrg, m_tipOrg,
                                         m_lblSegmento, m_segmento, m_lblAreaFor, m_areaFor})
        w->setVisible(completo);
}

void FineCor::applicaStato(const QString& stato) {
    const Abilitazioni a = abilitazioniPerStato(stato);
    m_elenco->abilita(a.partecipanti);
    m_salva->setEnabled(a.salva);
    m_chiudi->setEnabled(a.chiudi);
    m_riapri->setEnabled(a.riapri);
    for (QWidget* w : std::initializer_list<QWidget*>{m_fineGG, m_fineMM, m_fineAAAA})
        w->setEnabled(a.dataFine);
    for (QWidget* w : std::initializer_list<QWidget*>{m_credito, m_tipOrg, m_areaFor, m_segmento})
        w->setEnabled(a.classificazione);
    const auto& campi = campiConteggio();
    for (size_t i = 0; i < campi.size(); ++i)
        if (campi[i].sottoconteggio)
            m_conteggi[i]->setEnabled(a.sottoconteggi);
}

void FineCor::ricalcolaConteggi() {
    try {
        const archivio::Conteggi c = archivio::contaAllievi(m_session.CorsiDB(), m_idAttivita);
        const std::pair<const char*, qint64> valori[] = {
            {"txt_maschi", c.maschi},
            {"txt_femmine", c.femmine},
            {"txt_maschi_ammessi", c.maschiAmmessi},
            {"txt_femmine_ammesse", c.femmineAmmesse},
            {"txt_maschi_idonei", c.maschiNonAmmessi},
            {"txt_femmine_idonee", c.femmineNonAmmesse},
        };
        for (const auto& [nome, n] : valori)
            for (QLineEdit* box : m_conteggi)
                if (box->objectName() == QLatin1String(nome))
                    box->setText(formatoConteggio(n));
    } catch (const db::DbError& e) {
        erroreDb(kTitoloForm, e);
    }
}

void FineCor::selezionaVoce(QComboBox* combo, const std::optional<QString>& voce) {
    if (!voce)
        return;
    const int indice = voce->isEmpty() ? 0 : combo->findText(*voce, Qt::MatchExactly);
    if (indice >= 0)
        combo->setCurrentIndex(indice);
}

DatiScheda FineCor::leggiScheda() const {
    DatiScheda d;
    d.fineGG = m_fineGG->text();
    d.fineMM = m_fineMM->text();
    d.fineAAAA = m_fineAAAA->text();
    d.inizioGG = m_inizioGG->text();
    d.inizioMM = m_inizioMM->text();
    d.inizioAAAA = m_inizioAAAA->text();
    d.credito = m_credito->text();
    d.tipOrg = m_tipOrg->currentText();
    d.segmento = m_segmento->currentText();
    d.areaFor = m_areaFor->currentText();
    const auto& campi = campiConteggio();
    for (size_t i = 0; i < campi.size(); ++i)
        d.*campi[i].testo = m_conteggi[i]->text();
    return d;
}

void FineCor::applica(const Esito& esito) {
    m_session.ui.message(this, esito.testo, esito.titolo, esito.icona);
    if (esito.primaScheda)
        m_tab->setCurrentIndex(0);
    auto* box = esito.focus.isEmpty() ? nullptr : findChild<QWidget*>(esito.focus);
    if (!box || !box->isEnabled())
        return;
    // The box is shown on its tab, focused, and marked until its value changes.
    for (int i = 0; i < m_tab->count(); ++i)
        if (m_tab->widget(i)->isAncestorOf(box))
            m_tab->setCurrentIndex(i);
    if (box == m_elenco->griglia())
        m_elenco->selezionaPrimo([&esito](const archivio::Allievo& a) {
            return esito.regola == QLatin1String("K10") ? a.giudizio == QLatin1String("9")
                                                        : a.giudizio.trimmed().isEmpty();
        });
    box->setFocus();
    segnala(box, esito.testo);
}

void FineCor::erroreDb(const QString& titolo, const db::DbError& e) {
    mostraErrore(m_session.ui, this, Errore::da(e), titolo);
}

// ---------------------------------------------------------------- operations

bool FineCor::salva() {
    if (!m_caricato)
        return false;
    const DatiScheda d = leggiScheda();
    if (const Esito esito = regoleSalvataggio(m_layout, d); !esito.superato) {
        applica(esito);
        return false;
    }
    try {
        if (!archivio::salvaCorso(m_session.CorsiDB(), m_idAttivita, m_layout, d, m_statoLetto)) {
            corsoCambiatoAltrove(QStringLiteral("Salvataggio"));
            return false;
        }
    } catch (const db::DbError& e) {
        m_session.ui.message(
            this,
            QStringLiteral("Si è verificato un errore in fase di salvataggio dei dati (\n%1 - %2)\n"
                           "Uscire dalla scheda corso, rientrare e verificare i dati della "
                           "scheda. ")
                .arg(e.number())
                .arg(e.description()),
            ui::DefaultTitle, ui::Icon::Critical);
        return false;
    }
    if (m_layout == Layout::Completo) {
        // The boxes show the whole numbers that were stored.
        const auto& campi = campiConteggio();
        for (size_t i = 0; i < campi.size(); ++i)
            if (campi[i].sottoconteggio)
                m_conteggi[i]->setText(QString::number(interoDaTesto(m_conteggi[i]->text())));
    }
    m_mostrata = leggiScheda();
    m_lblSalvato->setText(QStringLiteral("Dati salvati alle ") +
                          QTime::currentTime().toString(QStringLiteral("HH:mm")));
    return true;
}

void FineCor::chiudiCorso() {
    if (!m_caricato)
        return;
    const DatiScheda d = leggiScheda();
    FattiAllievi fatti;
    try {
        if (m_layout == Layout::Completo)
            fatti = archivio::fattiAllievi(m_session.CorsiDB(), m_idAttivita);
    } catch (const db::DbError& e) {
        erroreDb(QStringLiteral("Chiusura Corso"), e);
        return;
    }
    if (const Esito esito = regoleChiusura(m_layout, d, fatti); !esito.superato) {
        applica(esito);
        return;
    }
    try {
        if (!archivio::chiudiCorso(m_session.CorsiDB(), m_idAttivita, m_layout, d, m_statoLetto)) {
            corsoCambiatoAltrove(QStringLiteral("Chiusura Corso"));
            return;
        }
    } catch (const db::DbError& e) {
        erroreDb(QStringLiteral("Chiusura Corso"), e);
        return;
    }
    ricarica();
}

void FineCor::riapriCorso() {
    if (!m_caricato)
        return;
    try {
        if (!archivio::riapriCorso(m_session.CorsiDB(), m_idAttivita, m_statoLetto)) {
            corsoCambiatoAltrove(QStringLiteral("Riapertura Corso"));
            return;
        }
    } catch (const db::DbError& e) {
        erroreDb(QStringLiteral("Riapertura Corso"), e);
        return;
    }
    ricarica();
    m_riapri->setEnabled(false);
}

void FineCor::corsoCambiatoAltrove(const QString& titolo) {
    QString stato;
    try {
        if (const auto record = archivio::leggiCorso(m_session.CorsiDB(), m_idAttivita))
            stato = record->stato;
    } catch (const db::DbError&) {
        // ricarica() below reports it.
    }
    m_session.ui.message(this,
                         QStringLiteral("Il corso è stato modificato da un'altra postazione "
                                        "(stato attuale: %1).\nL'operazione non è stata eseguita: "
                                        "la scheda mostra ora il corso com'è in archivio.")
                             .arg(stato),
                         titolo, ui::Icon::Warning);
    ricarica();
}

void FineCor::esci() {
    if (m_caricato && schedaModificata(m_layout, m_mostrata, leggiScheda())) {
        const ui::Answer risposta =
            m_session.ui.message(this,
                                 QStringLiteral("Sono stati modificati uno o più dati della "
                                                "comunicazione\nSalvare le modifiche ?"),
                                 QStringLiteral("Comunicazioni di fine corsi"), ui::Icon::Question,
                                 ui::Buttons::YesNoCancel);
        if (risposta == ui::Answer::Cancel)
            return;
        if (risposta == ui::Answer::Yes && !salva())
            return;
    }
    done(QDialog::Accepted);
}

void FineCor::reject() {
    esci();
}

} // namespace report
