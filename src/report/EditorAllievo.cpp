#include "report/EditorAllievo.h"

#include "core/Errore.h"
#include "core/General.h"
#include "core/Session.h"
#include "report/FiltriInput.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace report {

namespace {

QComboBox* lista(const QString& nome, const QStringList& voci, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(nome);
    combo->addItem(QString());
    combo->addItems(voci);
    return combo;
}

QLabel* etichetta(const QString& testo, QWidget* parent) {
    auto* label = new QLabel(testo, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

EditorAllievo::EditorAllievo(Session& session, qint32 idAttivita, std::function<QString()> totOre,
                             std::function<QString()> creditoCorso, QWidget* parent)
    : QGroupBox(QStringLiteral("Allievo selezionato"), parent), m_session(session),
      m_idAttivita(idAttivita), m_totOre(std::move(totOre)),
      m_creditoCorso(std::move(creditoCorso)) {
    setObjectName(QStringLiteral("FrameDettaglio"));

    m_oreAssenza = new QLineEdit(this);
    m_oreAssenza->setObjectName(QStringLiteral("txt_OreAssenza"));
    m_oreAssenza->setMaxLength(6);
    filtroNumerico(m_oreAssenza, session.ui, ModoNumerico::OreAssenza);
    m_presenza = new QLineEdit(this);
    m_presenza->setObjectName(QStringLiteral("txtPresenzaEFF"));
    m_presenza->setReadOnly(true);
    m_presenza->setFocusPolicy(Qt::NoFocus);
    m_partecipazione =
        lista(QStringLiteral("cmbPartecipazione"), allievo::vociPartecipazione(), this);
    m_giudizio = lista(QStringLiteral("cmbGiudizio"), allievo::vociGiudizio(), this);
    m_lblMotivo = etichetta(QStringLiteral("Motivo"), this);
    m_lblMotivo->setObjectName(QStringLiteral("lblMotivo"));
    m_motivo = lista(QStringLiteral("cmbMotivo"), allievo::vociMotivo(), this);
    m_credito = new QLineEdit(this);
    m_credito->setObjectName(QStringLiteral("txtCredFormValut"));
    m_credito->setMaxLength(5);
    filtroNumerico(m_credito, session.ui, ModoNumerico::Decimale);
    m_conferma = new QPushButton(QStringLiteral("Conferma"), this);
    m_conferma->setObjectName(QStringLiteral("cmdConfer"));
    m_annulla = new QPushButton(QStringLiteral("Annulla"), this);
    m_annulla->setObjectName(QStringLiteral("cmdAnnulla"));
    for (QPushButton* b : {m_conferma, m_annulla})
        b->setAutoDefault(false);

    for (QComboBox* combo : {m_partecipazione, m_giudizio, m_motivo})
        combo->setMinimumWidth(320);
    // "Motivo" comes and goes with the judgement; its row keeps its place, so
    // nothing above or below it moves.
    for (QWidget* w : std::initializer_list<QWidget*>{m_lblMotivo, m_motivo}) {
        QSizePolicy politica = w->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        w->setSizePolicy(politica);
    }
    for (QLineEdit* box : {m_oreAssenza, m_presenza, m_credito}) {
        box->setFixedWidth(80);
        box->setAlignment(Qt::AlignRight);
    }

    auto* griglia = new QGridLayout(this);
    griglia->addWidget(etichetta(QStringLiteral("Ore Assenza"), this), 0, 0);
    griglia->addWidget(m_oreAssenza, 0, 1);
    griglia->addWidget(etichetta(QStringLiteral("Presenza effettiva"), this), 0, 2);
    griglia->addWidget(m_presenza, 0, 3);
    griglia->addWidget(etichetta(QStringLiteral("Partecipazione"), this), 1, 0);
    griglia->addWidget(m_partecipazione, 1, 1, 1, 3);
    auto* lblGiudizio = etichetta(QStringLiteral("Giudizio\n(valutazione)"), this);
    griglia->addWidget(lblGiudizio, 2, 0);
    griglia->addWidget(m_giudizio, 2, 1, 1, 3);
    griglia->addWidget(m_lblMotivo, 3, 0);
    griglia->addWidget(m_motivo, 3, 1, 1, 3);
    griglia->addWidget(etichetta(QStringLiteral("Credito formativo valutato"), this), 4, 0);
    griglia->addWidget(m_credito, 4, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(m_conferma);
    pulsanti->addWidget(m_annulla);
    griglia->addLayout(pulsanti, 4, 2, 1, 2);
    // The space left goes to an empty last column: labels and boxes stay together.
    griglia->setColumnStretch(4, 1);

    connect(m_oreAssenza, &QLineEdit::textChanged, this, [this](const QString& testo) {
        m_presenza->setText(allievo::presenzaEffettiva(testo, m_totOre()));
    });
    connect(m_giudizio, &QComboBox::currentIndexChanged, this, [this] { giudizioCambiato(); });
    connect(m_conferma, &QPushButton::clicked, this, [this] { conferma(); });
    connect(m_annulla, &QPushButton::clicked, this, [this] { annulla(); });

    giudizioCambiato();
    hide();
}

void EditorAllievo::apri(const archivio::Allievo& a) {
    m_codFiscale = a.codFiscale;
    setTitle(QStringLiteral("Allievo selezionato: ") + a.cognome + QStringLiteral(" - ") + a.nome);

    const auto numero = [](const QVariant& v) {
        return v.isValid() && !v.isNull() ? General::nonNullStr(v) : QStringLiteral("0");
    };
    m_presenza->setText(numero(a.orePresenzaEffettiva));
    m_oreAssenza->setText(numero(a.oreAssenza));
    // The presence follows the absence even when the text did not change.
    m_presenza->setText(allievo::presenzaEffettiva(m_oreAssenza->text(), m_totOre()));
    m_credito->setText(General::nonNullStr(a.credFormValut));

    const int codice = a.codPartec.toInt();
    m_partecipazione->setCurrentIndex(
        std::max(0, m_partecipazione->findText(allievo::vocePartecipazione(codice))));
    if (allievo::partecipazioneNonPiuPresente(codice))
        m_session.ui.message(window(), allievo::AvvisoPartecipazione, ui::DefaultTitle);

    m_giudizio->setCurrentIndex(
        std::max(0, m_giudizio->findText(allievo::voceGiudizio(a.giudizio.trimmed()))));
    giudizioCambiato();
    const int motivo = a.descizioneGiudizio.isEmpty()
                           ? 0
                           : m_motivo->findText(a.descizioneGiudizio, Qt::MatchExactly);
    m_motivo->setCurrentIndex(std::max(0, motivo));

    show();
    m_oreAssenza->setFocus();
    m_oreAssenza->selectAll();
}

void EditorAllievo::annulla() {
    hide();
    m_codFiscale.clear();
}

void EditorAllievo::giudizioCambiato() {
    const bool negativo = m_giudizio->currentText() == allievo::GiudizioNonSuperata;
    if (!negativo)
        m_motivo->setCurrentIndex(0);
    m_motivo->setVisible(negativo);
    m_lblMotivo->setVisible(negativo);
}

allievo::DatiAllievo EditorAllievo::dati() const {
    allievo::DatiAllievo d;
    d.oreAssenza = m_oreAssenza->text();
    d.partecipazione = m_partecipazione->currentText();
    d.giudizio = m_giudizio->currentText();
    d.motivo = m_motivo->currentText();
    d.credito = m_credito->text();
    d.totOre = m_totOre();
    d.creditoCorso = m_creditoCorso();
    return d;
}

void EditorAllievo::conferma() {
    if (m_codFiscale.isEmpty())
        return;
    const allievo::DatiAllievo d = dati();
    const Esito esito = allievo::verificaAllievo(d);
    if (!esito.superato) {
        m_session.ui.message(window(), esito.testo, esito.titolo, esito.icona);
        if (!esito.focus.isEmpty())
            if (auto* box = findChild<QWidget*>(esito.focus); box && box->isEnabled())
                box->setFocus();
        return;
    }
    try {
        if (!archivio::salvaAllievo(m_session.CorsiDB(), m_idAttivita, m_codFiscale,
                                    allievo::valoriDaSalvare(d))) {
            annulla();
            emit corsoCambiato();
            return;
        }
    } catch (const db::DbError& e) {
        mostraErrore(m_session.ui, window(), Errore::da(e),
                     QStringLiteral("Conferma dati allievo"));
        return;
    }
    const QString salvato = m_codFiscale;
    annulla();
    emit allievoSalvato(salvato);
}

} // namespace report
