#include "app/Main.h"

#include "app/Connessione.h"
#include "app/CopiaRiserva.h"
#include "app/Distribuzione.h"
#include "app/MainRegole.h"
#include "app/MainStile.h"
#include "core/Errore.h"
#include "core/Guardie.h"
#include "core/Session.h"
#include "download/ScaricoCorsi.h"
#include "download/TabCorsiApprovati.h"
#include "download/mdAggiornaCorsiApprovati.h"
#include "enrol/InstOper.h"
#include "maint/Manutenzione.h"
#include "refdata/AggiornamentoOperatori.h"
#include "refdata/AnagraficaOperatori.h"
#include "report/FineCorso.h"
#include "transmit/Trasmissione.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

using ui::Answer;
using ui::Buttons;
using ui::Icon;
using namespace mainstile;

namespace {

constexpr int kAiutoMain = 20000;
const QString kNessunaVoce = QStringLiteral("XX");

} // namespace

Main::Main(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("Main"));
    // Loading: the waiting panel is up and the pointer busy until the end.
    PuntatoreOccupato occupato(session.ui);
    QDir::setCurrent(session.CartellaProgramma);

    setWindowTitle(QStringLiteral("KORVADIN - fine corso - Ver. ") + Session::versione());
    setMouseTracking(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 12, 18, 0);
    layout->setSpacing(8);
    costruisciIntestazione(layout);
    costruisciMenu(layout);
    costruisciInformazioni(layout);
    costruisciPannelli();
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* aiuto = new QShortcut(QKeySequence(Qt::Key_F1), this);
    aiuto->setContext(Qt::WidgetWithChildrenShortcut);
    connect(aiuto, &QShortcut::activated, this,
            [this] { m_session.MostraAiuto(this, kAiutoMain); });

    m_orologio = new QTimer(this);
    m_orologio->setInterval(1000);
    connect(m_orologio, &QTimer::timeout, this, &Main::aggiornaOrario);
    aggiornaOrario();
    m_orologio->start();

    lblGrOpe->clear();
    lblCodOpe->clear();
    lblDenOpe->clear();
    calendario->setSelectedDate(QDate::currentDate());
    PB1->hide();
    panel_Attesa->show();

    caricaPreferenze();
    session.versioneInstallazione =
        session.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione"));
}

Main::~Main() = default;

void Main::caricaPreferenze() {
    UserSettings& u = m_session.userSettings;
    m_session.preferenze.sottolinea =
        mainregole::preferenzaAttiva(u.get(QStringLiteral("OptSottolinea"), QStringLiteral("0")));
    m_session.preferenze.grassetto =
        mainregole::preferenzaAttiva(u.get(QStringLiteral("OptAumenta"), QStringLiteral("0")));
    m_session.preferenze.cambiaColore =
        mainregole::preferenzaAttiva(u.get(QStringLiteral("OptCambia"), QStringLiteral("1")));
}

void Main::posizionaSovrapposti() {
    for (QFrame* f : {panel_Attesa, pnlAttesa}) {
        f->adjustSize();
        f->move((width() - f->width()) / 2, (height() - f->height()) / 2);
    }
    // Right of the window, its bottom level with the toggle; left of the window
    // when the screen has no room on the right.
    const QPoint basso = mapToGlobal(QPoint(width() + 6, lblCalendario->geometry().bottom()));
    QPoint posizione(basso.x(), basso.y() - calendario->height() + 1);
    if (const QScreen* schermo = screen()) {
        const QRect libero = schermo->availableGeometry();
        if (posizione.x() + calendario->width() > libero.right())
            posizione.setX(mapToGlobal(QPoint(0, 0)).x() - calendario->width() - 6);
        posizione.setX(qMax(libero.left(), posizione.x()));
        posizione.setY(qBound(libero.top(), posizione.y(), libero.bottom() - calendario->height()));
    }
    calendario->move(posizione);
    PB1->setGeometry(18, StBar->y() - 22, width() - 36, 18);
}

void Main::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    posizionaSovrapposti();
}

void Main::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), QIcon(QStringLiteral(":/images/sfondo.svg")).pixmap(size()));
    // The entry that has the keyboard focus: a frame around button and caption.
    for (const Voce& v : std::as_const(m_voci)) {
        if (!v.pulsante->hasFocus())
            continue;
        const QRect voce =
            v.pulsante->geometry().united(v.didascalia->geometry()).adjusted(-4, -4, 4, 4);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(voce, 4, 4);
    }
}

// ---------------------------------------------------------------- activation

bool Main::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, &Main::attiva);
    return QWidget::event(event);
}

void Main::attiva() {
    if (m_inAttivazione || m_chiuso)
        return;
    m_inAttivazione = true;
    update();
    m_session.ui.processEvents();
    if (m_primaAttivazione) {
        if (m_session.PrimaInstallazione) {
            panel_Attesa->hide();
            m_session.MostraAiuto(this, kAiutoMain);
        }
        panel_Attesa->hide();
        const QList<QWidget*> controlli = findChildren<QWidget*>();
        for (QWidget* w : controlli) {
            const QString nome = w->objectName().toUpper();
            const bool escluso = nome == QLatin1String("LABEL1") || nome == QLatin1String("LABEL3");
            if (((nome.startsWith(QLatin1String("CMD")) ||
                  nome.startsWith(QLatin1String("LABEL"))) &&
                 !escluso) ||
                w == lblAggiorna)
                w->setCursor(Qt::PointingHandCursor);
        }
        // The keyboard starts on the first entry.
        m_voci.first().pulsante->setFocus(Qt::ActiveWindowFocusReason);
        m_primaAttivazione = false;
    }
    const Operatore& op = m_session.OperatoreCorrente;
    lblGrOpe->setText(op.GrupOpe);
    lblCodOpe->setText(mainregole::codiceOperatore(op.Operatore));
    const auto den = mainregole::denominazioneOperatore(op.nome);
    lblDenOpe->setText(den.testo);
    lblDenOpe->setToolTip(den.tooltip);
    m_session.InstallazioneInCorso = false;
    cmdAggInst->setEnabled(true);
    cmdAggInst->setIcon(QIcon(QStringLiteral(":/images/aggiorna.svg")));
    lblAggiorna->show();
    m_inAttivazione = false;
}

void Main::aggiornaOrario() {
    m_pannelloOra->setText(QTime::currentTime().toString(QStringLiteral("hh:mm")));
}

QString Main::testoStato() const {
    return m_pannelloStato->text();
}

QString Main::orario() const {
    return m_pannelloOra->text();
}

// ---------------------------------------------------------------- hover and clicks

void Main::mostraStato(const QString& testo) {
    m_pannelloStato->setText(testo);
}

void Main::riposoDidascalia(QLabel* label) {
    QFont font = fontDidascalia();
    label->setFont(font);
    coloraTesto(label, kBlu);
}

void Main::EvidenziaVoce(const QString& nomeLabel) {
    const PreferenzeEvidenziazione& p = m_session.preferenze;
    if (!p.sottolinea && !p.grassetto && !p.cambiaColore)
        return;
    for (const Voce& v : std::as_const(m_voci)) {
        QLabel* label = v.didascalia;
        QFont font = label->font();
        if (label->objectName() == nomeLabel) {
            if (p.cambiaColore)
                coloraTesto(label, kRosso);
            if (p.grassetto)
                font.setBold(true);
            if (p.sottolinea)
                font.setUnderline(true);
        } else {
            if (label == lblAggiorna && !cmdAggInst->isEnabled())
                continue;
            if (p.cambiaColore)
                coloraTesto(label, kBlu);
            if (p.grassetto)
                font.setBold(false);
            if (p.sottolinea)
                font.setUnderline(false);
        }
        label->setFont(font);
    }
}

void Main::mouseMoveEvent(QMouseEvent* event) {
    // Only the window's own background: moves over a control that came up here
    // are left to that control's enter handling.
    if (childAt(event->position().toPoint()) == nullptr) {
        mostraStato(QString());
        EvidenziaVoce(kNessunaVoce);
    }
    QWidget::mouseMoveEvent(event);
}

bool Main::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update();
    if (event->type() == QEvent::Enter) {
        for (const Voce& v : std::as_const(m_voci)) {
            if (watched == v.pulsante || watched == v.didascalia) {
                EvidenziaVoce(v.didascalia->objectName());
                mostraStato(v.stato);
                return false;
            }
        }
        if (auto* w = qobject_cast<QWidget*>(watched); w && m_neutri.contains(w))
            EvidenziaVoce(kNessunaVoce);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (mouse->button() != Qt::LeftButton || !widget ||
            !widget->rect().contains(mouse->position().toPoint()))
            return QWidget::eventFilter(watched, event);
        if (watched == lblCalendario) {
            lblCalendario_Click();
            return true;
        }
        for (const Voce& v : std::as_const(m_voci)) {
            if (watched == v.didascalia) {
                if (v.pulsante->isEnabled())
                    esegui(v.azione);
                return true;
            }
        }
        // The filter also watches the menu buttons: compare the objects, never
        // take a button for a label.
        int logo = -1;
        for (int i = 0; i < m_loghi.size() && logo < 0; ++i)
            if (m_loghi.at(i) == watched)
                logo = i;
        if (logo >= 0) {
            const auto& c = distribuzione::collegamenti().at(logo);
            ApriCollegamento(c.nomeNellaDomanda, c.indirizzo);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Main::esegui(void (Main::*azione)()) {
    (this->*azione)();
    if (!m_chiuso && !m_session.ended())
        EvidenziaVoce(kNessunaVoce);
}

void Main::lblCalendario_Click() {
    if (lblCalendario->text() != kFrecciaGiu) {
        calendario->hide();
        lblCalendario->setText(kFrecciaGiu);
        lblCalendario->setToolTip(QStringLiteral("Mostra calendario"));
    } else {
        posizionaSovrapposti();
        calendario->show();
        calendario->raise();
        lblCalendario->setToolTip(QStringLiteral("Nascondi calendario"));
        lblCalendario->setText(kFrecciaSu);
    }
}

void Main::ApriCollegamento(const QString& nome, const QString& indirizzo) {
    if (m_session.ui.message(this,
                             QStringLiteral("Collegamento alla pagina principale del") + nome +
                                 QStringLiteral(".\nProcedere?"),
                             QStringLiteral("Collegamento a ") + indirizzo, Icon::Information,
                             Buttons::YesNo) != Answer::Yes)
        return;
    PuntatoreOccupato occupato(m_session.ui);
    const bool aperto = m_session.ui.openUrl(QUrl(indirizzo));
    occupato.fine();
    if (!aperto)
        errore(QStringLiteral("Errore di collegamento"), 31,
               QStringLiteral("Nessun programma disponibile per aprire l'indirizzo ") + indirizzo);
}

void Main::errore(const QString& titolo, int numero, const QString& descrizione) {
    mostraErrore(m_session.ui, this, {numero, descrizione}, titolo);
}

// ---------------------------------------------------------------- menu entries

void Main::cmdScaricoCorsi_Click() {
    PuntatoreOccupato occupato(m_session.ui);
    m_session.ui.processEvents();
    // The download dialog has its own pointer.
    occupato.fine();
    switch (download::scaricaEAcquisisci(m_session, this)) {
    case download::RisultatoScarico::NienteScaricato:
        break;
    case download::RisultatoScarico::Acquisito:
        m_session.ui.message(this,
                             QStringLiteral("Corsi e destinatari acquisiti correttamente.") +
                                 QStringLiteral("\n\n") + download::testoConteggio(m_session),
                             QString(), Icon::Information);
        break;
    case download::RisultatoScarico::NonAcquisito:
        m_session.ui.message(this,
                             QStringLiteral("Si è verificato un errore in fase di acquisizione "
                                            "della base dati.\nE' necessario rieffettuare lo "
                                            "scarico."));
        break;
    }
}

void Main::cmdCorsi_Click() {
    m_session.TipoOperazione = QStringLiteral("FINECORSO");
    m_session.CorsoSelezionato = 0;
    try {
        if (mainregole::contaCorsiScaricati(m_session.CorsiDB(), m_session.OperatoreCorrente) < 1) {
            m_session.ui.message(this,
                                 QStringLiteral("Non è stato effettuato lo scarico dei Corsi. "
                                                "Impossibile accedere a questa sezione."));
            return;
        }
    } catch (const db::DbError& e) {
        errore(QStringLiteral("Gestione Corsi"), e.number(), e.description());
        return;
    }
    download::mostraTabCorsiApprovati(m_session, this);
    if (m_session.CorsoSelezionato > 0)
        report::mostraFineCor(m_session, this);
}

void Main::cmdInvia1_Click() {
    try {
        if (mainregole::contaCorsiScaricati(m_session.CorsiDB(), m_session.OperatoreCorrente) ==
            0) {
            m_session.ui.message(this, QStringLiteral("Effettuar elo scarico dei Corsi."));
            return;
        }
        m_session.TipoOperazione = QStringLiteral("TRASMISSIONE");
        m_session.CorsoSelezionato = 0;
        download::mostraTabCorsiApprovati(m_session, this);
        if (m_session.CorsoSelezionato <= 0)
            return;
        if (ControlloMatricole(m_session.CorsoSelezionato))
            transmit::mostraTrasmis(m_session, this);
        else
            m_session.ui.message(this,
                                 QStringLiteral("Per il corso selezionato è stata riscontrata la "
                                                "presenza di allievi privi del numero di "
                                                "Matricola.\nOccorre effettuare l'aggiornamento "
                                                "delle schede dei corsi") +
                                     QStringLiteral("\n\nAllievi interessati:\n") +
                                     download::elencoNomi(download::allieviSenzaMatricola(
                                         m_session.CorsiDB(), m_session.CorsoSelezionato)),
                                 QStringLiteral("Trasmissione non effettuabile"),
                                 Icon::Information);
    } catch (const db::DbError& e) {
        errore(QStringLiteral("Trasmissione dati fine corso"), e.number(), e.description());
    }
}

bool Main::ControlloMatricole(qint32 idAttivita) {
    return mainregole::controlloMatricole(m_session.CorsiDB(), idAttivita);
}

void Main::cmdAggInst_Click() {
    if (m_session.ui.message(this,
                             QStringLiteral("Attivazione collegamento con Internet.\n"
                                            "Procedere solo dopo aver aperto la connessione \n"
                                            "con il vostro Provider"),
                             QStringLiteral("Trasmissione dati"), Icon::Information,
                             Buttons::OkCancel) != Answer::Ok)
        return;
    db::Connection& c = m_session.CorsiDB();
    const db::OpenMode normale = m_session.tipoInstallazione == QLatin1String("StandAlone")
                                     ? db::OpenMode::Exclusive
                                     : db::OpenMode::Shared;
    try {
        c.reopen(db::OpenMode::Exclusive);
    } catch (const db::DbError& e) {
        m_session.ui.message(
            this,
            Errore::da(e).testo() + QStringLiteral("\n\n") +
                QStringLiteral("Qualche client potrebbe ancora essere connesso alla base dati. \n\n"
                               "Il programma uscira a Windows.\nChiudere tutti i client, "
                               "riavviare l'applicativo SERVER e ritentare l'Operazione."),
            QStringLiteral("Proposta Corsi Direttiva FINALIZZ. ALL'OCCUPAZ. 2002"), Icon::Critical);
        anagrafica::cancellaFileTx1(m_session);
        // As the message says: the program ends, through the usual exit steps.
        close();
        return;
    }
    // However this is left, the waiting panel goes away; the connection returns
    // to its normal mode before any message is shown (an exclusive connection
    // left behind would lock every client out). When that re-open fails the
    // program cannot go on: the connection is closed and the program ends. Left
    // by the end of the program, the connection is already closed.
    const AllUscita pannello([this] { pnlAttesa->hide(); });
    bool riaperta = false;
    auto modoNormale = [&] {
        pnlAttesa->hide();
        if (riaperta)
            return;
        riaperta = true;
        try {
            c.reopen(normale);
        } catch (const db::DbError& e) {
            c.close();
            startup::erroreConnessione(m_session, Errore::da(e), this);
        }
    };
    try {
        lblAttesa->setText(QStringLiteral("Aggiornamento base dati in corso.\nAttendere..."));
        posizionaSovrapposti();
        pnlAttesa->show();
        pnlAttesa->raise();
        const QStringList voci = mainregole::vociOperatori(c);
        m_session.AnnullaOperazione.clear();
        enrol::mostraFrmInstOper(m_session, this, voci,
                                 QStringLiteral("Impostare la lista in modo che contenga gli "
                                                "Operatori da aggiornare, e quelli da inserire"));
        PuntatoreOccupato occupato(m_session.ui);
        m_session.ui.processEvents();
        // The status bar follows the decoding tables as they load; the window
        // is repainted when a table starts and then at most every 40 ms.
        QElapsedTimer ridisegno;
        const auto caricamento = [this, &ridisegno](const QString& tabella, int record) {
            mostraStato(QStringLiteral("Caricamento: ") + tabella + QStringLiteral(" - ") +
                        QString::number(record));
            if (record == 0 || !ridisegno.isValid() || ridisegno.elapsed() >= 40) {
                m_session.ui.processEvents();
                ridisegno.start();
            }
        };
        const bool aggiornato = m_session.AnnullaOperazione != QLatin1String("annulla") &&
                                refdata::aggiornaDatiOperatori(m_session, this, caricamento);
        occupato.fine();
        modoNormale();
        if (aggiornato)
            m_session.ui.message(this, QStringLiteral("Aggiornamento Base Dati effettuato."),
                                 QStringLiteral("Aggiorna Base Dati"), Icon::Information);
    } catch (const db::DbError& e) {
        modoNormale();
        errore(QStringLiteral("Errore imprevisto"), e.number(), e.description());
    } catch (const std::exception& e) {
        modoNormale();
        errore(QStringLiteral("Errore imprevisto"), 0, QString::fromLocal8Bit(e.what()));
    }
}

void Main::cmdMailHelp_Click() {
    m_session.ui.message(this,
                         QStringLiteral("Verrà ora precompilata una mail da inviare all'assitenza "
                                        "V.R.D.\nE' opportuno indicare il numero di telefono, la "
                                        "persona di riferimento e il tipo di problema riscontrato"),
                         QString(), Icon::Information);
    maint::mostraBrowser(m_session, this);
}

void Main::cmdOpzioni_Click() {
    maint::mostraFrmOpzioni(m_session, this);
    QFont font = Label21->font();
    font.setUnderline(false);
    font.setPointSize(kCorpoDidascalia);
    font.setBold(false);
    Label21->setFont(font);
    coloraTesto(Label21, kBlu);
}

void Main::cmdBackup_Click() {
    maint::mostraFrmBackup(m_session, this);
}

void Main::cmdEsci_Click() {
    close();
}

// ---------------------------------------------------------------- closing

void Main::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_chiuso)
        return;
    m_chiuso = true;
    m_orologio->stop();
    if (m_session.CorsiDB().isOpen())
        m_session.CorsiDB().close();
    if (m_session.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")) ==
        QLatin1String("SERVER"))
        CopiaRiservaUscita();
    m_session.endProgram();
}

void Main::CopiaRiservaUscita() {
    PuntatoreOccupato occupato(m_session.ui);
    const copiariserva::RisultatoCopia copia = copiariserva::copiaRiservaUscita(
        m_session.CartellaProgramma, m_session.PercorsoDB, Session::databasePassword());
    occupato.fine();
    if (!copia.riuscita && copia.numero != copiariserva::kPermessoNegato)
        m_session.ui.message(this, copia.errore().testoSuUnaRiga(),
                             QStringLiteral("Errore nella copia di riserva"), Icon::Warning);
}
