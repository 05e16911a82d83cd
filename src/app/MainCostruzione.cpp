// The construction of the main window: header, menu entries, information
// panel, status bar and the panels that come up over it.

#include "app/Distribuzione.h"
#include "app/Main.h"
#include "app/MainStile.h"

#include <QCalendarWidget>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace mainstile;

void Main::costruisciIntestazione(QVBoxLayout* layout) {
    auto* loghi = new QHBoxLayout;
    loghi->setSpacing(14);
    for (const distribuzione::Collegamento& c : distribuzione::collegamenti()) {
        auto* logo = new QLabel(this);
        logo->setObjectName(c.controllo);
        logo->setPixmap(QIcon(c.immagine).pixmap(QSize(120, 54)));
        logo->setFixedSize(120, 54);
        logo->setToolTip(c.organizzazione + QStringLiteral(" - ") + c.indirizzo);
        logo->setCursor(Qt::PointingHandCursor);
        logo->installEventFilter(this);
        m_loghi << logo;
        loghi->addWidget(logo);
        if (m_loghi.size() == 2)
            loghi->addStretch();
    }
    layout->addLayout(loghi);

    auto* Label1 = new QLabel(QStringLiteral("Chiusura Attività Formative"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titolo = Label1->font();
    titolo.setPointSize(18);
    titolo.setBold(true);
    Label1->setFont(titolo);
    Label1->setAlignment(Qt::AlignCenter);
    coloraTesto(Label1, QColor(0, 32, 96));
    auto* Label3 = new QLabel(distribuzione::bannerProgrammi(), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignCenter);
    QFont banner = Label3->font();
    banner.setItalic(true);
    Label3->setFont(banner);
    coloraTesto(Label3, QColor(0, 32, 96));
    for (QLabel* l : {Label1, Label3}) {
        l->installEventFilter(this);
        m_neutri << l;
        layout->addWidget(l);
    }
    layout->addSpacing(10);
}

void Main::costruisciMenu(QVBoxLayout* layout) {
    struct Definizione {
        const char* pulsante;
        const char* didascalia;
        QString testo;
        QString stato; // empty: the caption itself
        const char* immagine;
        int colonna, riga;
        bool grande;
        void (Main::*azione)();
    };
    const QList<Definizione> definizioni = {
        {"cmdScaricoCorsi", "Label2",
         QStringLiteral("Scarico / Aggiornamento Corsi e partecipanti"),
         QStringLiteral("Scarica i corsi finanziati dell'Operatore, da collegare agli interventi "
                        "richiesti sull'azione III.G.06.01"),
         "scarico.svg", 1, 1, false, &Main::cmdScaricoCorsi_Click},
        {"cmdCorsi", "Label11", QStringLiteral("Gestione Corsi"),
         QStringLiteral("Compilazione schede Caratteristiche dei Corsi"), "corsi.svg", 1, 2, false,
         &Main::cmdCorsi_Click},
        {"cmdInvia1", "Label13", QStringLiteral("Trasmissione dati fine corso"),
         QStringLiteral("Stampa del modulo di Domanda in forma definitiva e invio dati alla "
                        "Provincia"),
         "invia.svg", 1, 3, false, &Main::cmdInvia1_Click},
        {"cmdMailHelp", "Label20", QStringLiteral("Contatta l'assistenza"),
         QStringLiteral("Avvia il programma di Posta Elettronica  per contattare l'Assistenza "
                        "V.R.D."),
         "assistenza.svg", 2, 1, true, &Main::cmdMailHelp_Click},
        {"cmdOpzioni", "Label21", QStringLiteral("Opzioni"),
         QStringLiteral("Impostazioni grafiche schermata principale"), "opzioni.svg", 2, 2, true,
         &Main::cmdOpzioni_Click},
        {"cmdBackup", "Label16", QStringLiteral("Salvataggio/ Recupero Dati"), QString(),
         "backup.svg", 2, 3, false, &Main::cmdBackup_Click},
        {"cmdAggInst", "lblAggiorna", QStringLiteral("Aggiorna dati  Operatore  e Sedi"),
         QStringLiteral("Aggiorna dati anagrafici operatori proponenti e sedi legali / aziende "
                        "committenti dei corsi"),
         "aggiorna.svg", 3, 1, false, &Main::cmdAggInst_Click},
        {"cmdEsci", "Label15", QStringLiteral("Esci"), QStringLiteral("Esci a Windows"), "esci.svg",
         3, 3, false, &Main::cmdEsci_Click},
    };

    auto* griglia = new QGridLayout;
    griglia->setHorizontalSpacing(10);
    griglia->setVerticalSpacing(16);
    for (const Definizione& d : definizioni) {
        auto* pulsante = new QPushButton(this);
        pulsante->setObjectName(QLatin1String(d.pulsante));
        pulsante->setIcon(QIcon(QStringLiteral(":/images/") + QLatin1String(d.immagine)));
        // 585 x 540 twips, 600 x 600 for the two larger ones.
        pulsante->setFixedSize(d.grande ? QSize(46, 46) : QSize(46, 42));
        pulsante->setIconSize(QSize(32, 32));
        // Tab reaches every entry, Return opens it; the focused entry is framed.
        pulsante->setFocusPolicy(Qt::TabFocus);
        pulsante->setAutoDefault(true);
        auto* didascalia = new QLabel(d.testo, this);
        didascalia->setObjectName(QLatin1String(d.didascalia));
        didascalia->setTextFormat(Qt::PlainText);
        didascalia->setWordWrap(true);
        didascalia->setFixedWidth(150);
        riposoDidascalia(didascalia);
        // As high as the caption in its highlighted look, so that the entries
        // do not move when a caption turns bold under the mouse.
        QFont evidenziata = didascalia->font();
        evidenziata.setBold(true);
        evidenziata.setUnderline(true);
        const int altezza = QFontMetrics(evidenziata)
                                .boundingRect(QRect(0, 0, 150, 1000), Qt::TextWordWrap, d.testo)
                                .height();
        didascalia->setFixedHeight(qMax(42, altezza + 4));
        const QString stato = d.stato.isEmpty() ? d.testo : d.stato;
        m_voci << Voce{pulsante, didascalia, stato, d.azione};
        pulsante->installEventFilter(this);
        didascalia->installEventFilter(this);
        connect(pulsante, &QPushButton::clicked, this,
                [this, azione = d.azione] { esegui(azione); });
        griglia->addWidget(pulsante, d.riga - 1, (d.colonna - 1) * 2, Qt::AlignVCenter);
        griglia->addWidget(didascalia, d.riga - 1, (d.colonna - 1) * 2 + 1, Qt::AlignVCenter);
        if (QLatin1String(d.pulsante) == QLatin1String("cmdAggInst")) {
            cmdAggInst = pulsante;
            lblAggiorna = didascalia;
        } else if (QLatin1String(d.didascalia) == QLatin1String("Label21")) {
            Label21 = didascalia;
        }
    }
    griglia->setColumnMinimumWidth(1, 150);
    griglia->setColumnMinimumWidth(3, 150);
    griglia->setColumnMinimumWidth(5, 150);
    griglia->setColumnMinimumWidth(6, 0);
    auto* riga = new QHBoxLayout;
    riga->addSpacing(20);
    riga->addLayout(griglia);
    riga->addSpacing(20);
    layout->addLayout(riga);
    layout->addSpacing(10);
}

void Main::costruisciInformazioni(QVBoxLayout* layout) {
    auto pannello = [this](const char* nome) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QLatin1String(nome));
        frame->setFrameShape(QFrame::Panel);
        frame->setFrameShadow(QFrame::Sunken);
        frame->setAutoFillBackground(true);
        frame->setMinimumHeight(30);
        frame->installEventFilter(this);
        m_neutri << frame;
        return frame;
    };
    QFrame* SSPanel1 = pannello("SSPanel1");
    auto* Label6 = new QLabel(QStringLiteral("Op."), SSPanel1);
    Label6->setObjectName(QStringLiteral("Label6"));
    lblGrOpe = new QLabel(SSPanel1);
    lblGrOpe->setObjectName(QStringLiteral("lblGrOpe"));
    lblCodOpe = new QLabel(SSPanel1);
    lblCodOpe->setObjectName(QStringLiteral("lblCodOpe"));
    lblDenOpe = new QLabel(SSPanel1);
    lblDenOpe->setObjectName(QStringLiteral("lblDenOpe"));
    lblDenOpe->setTextFormat(Qt::PlainText);
    for (QLabel* l : {Label6, lblGrOpe, lblCodOpe, lblDenOpe}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    Label6->installEventFilter(this);
    m_neutri << Label6;
    auto* info = new QHBoxLayout(SSPanel1);
    info->setContentsMargins(8, 2, 8, 2);
    info->addWidget(Label6);
    info->addWidget(lblGrOpe);
    info->addWidget(lblCodOpe);
    info->addWidget(lblDenOpe, 1);
    SSPanel1->setMinimumWidth(330);

    QFrame* SSPanel2 = pannello("SSPanel2");
    SSPanel2->setFixedWidth(80);
    QFrame* SSPanel3 = pannello("SSPanel3");
    SSPanel3->setFixedWidth(80);

    lblCalendario = new QLabel(kFrecciaGiu, this);
    lblCalendario->setObjectName(QStringLiteral("lblCalendario"));
    lblCalendario->setToolTip(QStringLiteral("Mostra calendario"));
    QFont freccia = lblCalendario->font();
    freccia.setPointSize(15);
    freccia.setBold(true);
    lblCalendario->setFont(freccia);
    lblCalendario->setAlignment(Qt::AlignCenter);
    lblCalendario->setFixedSize(28, 30);
    lblCalendario->setCursor(Qt::PointingHandCursor);
    lblCalendario->installEventFilter(this);
    m_neutri << lblCalendario;

    auto* riga = new QHBoxLayout;
    riga->setSpacing(6);
    riga->addWidget(SSPanel1, 1);
    riga->addWidget(SSPanel2);
    riga->addWidget(SSPanel3);
    riga->addWidget(lblCalendario);
    layout->addLayout(riga);

    StBar = new QStatusBar(this);
    StBar->setObjectName(QStringLiteral("StBar"));
    StBar->setSizeGripEnabled(false);
    auto* primo = new QLabel(StBar);
    primo->setObjectName(QStringLiteral("StBar_Panel1"));
    primo->setMinimumWidth(30);
    m_pannelloStato = new QLabel(StBar);
    m_pannelloStato->setObjectName(QStringLiteral("StBar_Panel2"));
    m_pannelloStato->setTextFormat(Qt::PlainText);
    m_pannelloOra = new QLabel(StBar);
    m_pannelloOra->setObjectName(QStringLiteral("StBar_Panel3"));
    m_pannelloOra->setAlignment(Qt::AlignCenter);
    m_pannelloOra->setMinimumWidth(54);
    StBar->addWidget(primo);
    StBar->addWidget(m_pannelloStato, 1);
    StBar->addPermanentWidget(m_pannelloOra);
    layout->addWidget(StBar);
}

void Main::costruisciPannelli() {
    // A small window of its own beside the toggle, so that it covers no entry.
    calendario = new QCalendarWidget(this);
    calendario->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    calendario->setObjectName(QStringLiteral("calendario"));
    calendario->setGridVisible(true);
    calendario->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendario->setFixedSize(calendario->sizeHint());
    calendario->installEventFilter(this);
    m_neutri << calendario;
    calendario->hide();

    auto cornice = [this](const char* nome) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QLatin1String(nome));
        frame->setFrameShape(QFrame::Box);
        frame->setLineWidth(2);
        frame->setAutoFillBackground(true);
        QPalette pal = frame->palette();
        pal.setColor(QPalette::Window, QColor(255, 255, 225));
        frame->setPalette(pal);
        frame->hide();
        return frame;
    };
    panel_Attesa = cornice("panel_Attesa");
    auto* testoAttesa =
        new QLabel(QStringLiteral("Controllo dati in corso. Attendere..."), panel_Attesa);
    QFont grande = testoAttesa->font();
    grande.setPointSize(12);
    grande.setBold(true);
    testoAttesa->setFont(grande);
    auto* l1 = new QVBoxLayout(panel_Attesa);
    l1->setContentsMargins(28, 20, 28, 20);
    l1->addWidget(testoAttesa, 0, Qt::AlignCenter);

    pnlAttesa = cornice("pnlAttesa");
    lblAttesa = new QLabel(pnlAttesa);
    lblAttesa->setObjectName(QStringLiteral("lblAttesa"));
    lblAttesa->setFont(grande);
    lblAttesa->setAlignment(Qt::AlignCenter);
    auto* cmdAnnullaAgg = new QPushButton(QStringLiteral("Annulla..."), pnlAttesa);
    cmdAnnullaAgg->setObjectName(QStringLiteral("cmdAnnullaAgg"));
    connect(cmdAnnullaAgg, &QPushButton::clicked, pnlAttesa, &QWidget::hide);
    auto* l2 = new QVBoxLayout(pnlAttesa);
    l2->setContentsMargins(28, 20, 28, 16);
    l2->addWidget(lblAttesa);
    l2->addWidget(cmdAnnullaAgg, 0, Qt::AlignCenter);

    PB1 = new QProgressBar(this);
    PB1->setObjectName(QStringLiteral("PB1"));
}
