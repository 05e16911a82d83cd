// The pages of the end-of-course module: laid out once for the device, then
// drawn for every copy.
#include "core/DocumentoPdf.h"
#include "core/General.h"
#include "report/ModuloFineCorso.h"
#include "report/RegoleCorso.h"
#include "report/StatoCorso.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <memory>
#include <vector>

namespace report::modulo {

namespace {

QFont carattere(qreal punti, bool grassetto = false, bool corsivo = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    f.setItalic(corsivo);
    // A spacing too small to see keeps the shaper from joining letters into
    // ligatures ("fi", "ff"), so that the text read back from the PDF is the
    // text written.
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    return f;
}

// A text laid out in a width: wrapped at word boundaries, or inside a word
// longer than the width, so that nothing is ever cut.
class Paragrafo {
public:
    Paragrafo(const QString& testo, const QFont& font, qreal larghezza, QPaintDevice* device,
              Qt::Alignment allineamento = Qt::AlignLeft)
        : m_layout(testo, font, device) {
        QTextOption opzione(allineamento);
        opzione.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_layout.setTextOption(opzione);
        m_layout.beginLayout();
        for (QTextLine riga = m_layout.createLine(); riga.isValid(); riga = m_layout.createLine()) {
            riga.setLineWidth(larghezza);
            riga.setPosition(QPointF(0, m_altezza));
            m_altezza += riga.height();
        }
        m_layout.endLayout();
    }
    Paragrafo(const Paragrafo&) = delete;
    Paragrafo& operator=(const Paragrafo&) = delete;

    qreal altezza() const { return m_altezza; }
    void disegna(QPainter& p, const QPointF& dove) const { m_layout.draw(&p, dove); }

private:
    QTextLayout m_layout;
    qreal m_altezza = 0;
};

// One unbreakable piece of the body, drawn at a height of the page.
struct Elemento {
    qreal altezza = 0;
    bool riga = false;        // a participant: the heading row goes before it on every page
    bool conSeguente = false; // stays on the page of the next piece
    std::function<void(QPainter&, qreal)> disegna;
};

struct Posto {
    const Elemento* elemento;
    qreal y;
};

// A cell of a table row.
struct Cella {
    QString testo;
    qreal peso; // share of the width
    Qt::Alignment allineamento = Qt::AlignLeft;
    bool evidenziata = false; // grey background (headings, labels)
};

QString data(const QString& gg, const QString& mm, const QString& aaaa) {
    if (gg.trimmed().isEmpty() && mm.trimmed().isEmpty() && aaaa.trimmed().isEmpty())
        return {};
    return gg.trimmed() + QLatin1Char('/') + mm.trimmed() + QLatin1Char('/') + aaaa.trimmed();
}

QString intero(const QVariant& v) {
    return v.isNull() || v.toString().isEmpty() ? QString() : QString::number(v.toLongLong());
}

QString credito(const QVariant& v) {
    return v.isNull() || v.toString().isEmpty() ? QString() : General::testoDaNumero(v.toDouble());
}

QString creditoCorso(const QString& testo) {
    const auto valore = numeroScritto(testo.trimmed());
    return valore ? General::testoDaNumero(*valore) : testo;
}

QString giudizio(const QString& codice) {
    if (codice == QLatin1String("0"))
        return QStringLiteral("0 - Prova non superata o non sostenuta");
    if (codice == QLatin1String("8"))
        return QStringLiteral("8 - Prova superata");
    if (codice == QLatin1String("9"))
        return QStringLiteral("9 - Prova non prevista");
    return codice.trimmed();
}

QString partecipazione(const archivio::Allievo& a) {
    if (!a.descPartec.isEmpty())
        return a.descPartec;
    switch (a.codPartec.toInt()) {
    case 1:
        return QStringLiteral("Esecutivo");
    case 3:
        return QStringLiteral("Partecipazione parziale");
    case 7:
        return QStringLiteral("Assente");
    default:
        return {};
    }
}

class Composizione {
public:
    Composizione(QPagedPaintDevice& device, const DatiModulo& dati)
        : m_device(device), m_dati(dati), m_larghezza(device.width()), m_altezza(device.height()),
          m_dpi(device.logicalDpiY()) {
        costruisciTestata();
        costruisciCorpo();
    }

    // The pieces of the body page by page; the heading row of the participants
    // is repeated on every page that continues the list.
    QList<QList<Posto>> impagina() const {
        QList<QList<Posto>> pagine(1);
        const qreal alto = m_altezzaTestata;
        const qreal basso = m_altezza - m_altezzaPiede;
        qreal y = alto;
        bool intestazioneSullaPagina = false;
        const auto serve = [&](size_t i) {
            qreal h = 0;
            bool intestazione = intestazioneSullaPagina;
            for (; i < m_corpo.size(); ++i) {
                if (m_corpo[i].riga && !intestazione) {
                    h += m_intestazioneAllievi.altezza;
                    intestazione = true;
                }
                h += m_corpo[i].altezza;
                if (!m_corpo[i].conSeguente)
                    break;
            }
            return h;
        };
        for (size_t i = 0; i < m_corpo.size(); ++i) {
            const Elemento& e = m_corpo[i];
            if (y + serve(i) > basso && !pagine.last().isEmpty()) {
                pagine.append(QList<Posto>());
                y = alto;
                intestazioneSullaPagina = false;
            }
            if (e.riga && !intestazioneSullaPagina) {
                pagine.last().append({&m_intestazioneAllievi, y});
                y += m_intestazioneAllievi.altezza;
                intestazioneSullaPagina = true;
            }
            pagine.last().append({&e, y});
            y += e.altezza;
        }
        return pagine;
    }

    void disegnaPagina(QPainter& p, const QList<Posto>& pagina, const QString& copia, int numero,
                       int totale) const {
        disegnaTestata(p, copia);
        disegnaPiede(p, numero, totale);
        for (const Posto& posto : pagina)
            posto.elemento->disegna(p, posto.y);
    }

private:
    qreal mm(qreal v) const { return v * m_dpi / 25.4; }
    std::shared_ptr<Paragrafo> paragrafo(const QString& testo, const QFont& font, qreal larghezza,
                                         Qt::Alignment allineamento = Qt::AlignLeft) const {
        return std::make_shared<Paragrafo>(testo, font, larghezza, &m_device, allineamento);
    }
    QPen linea() const { return QPen(Qt::black, mm(0.2)); }

    // A text across the whole width, followed by a gap.
    Elemento testo(const QString& t, const QFont& font, Qt::Alignment allineamento,
                   qreal spazioDopo, bool conSeguente = false) const {
        auto par = paragrafo(t, font, m_larghezza, allineamento);
        Elemento e;
        e.altezza = par->altezza() + mm(spazioDopo);
        e.conSeguente = conSeguente;
        e.disegna = [par](QPainter& p, qreal y) {
            p.setPen(Qt::black);
            par->disegna(p, QPointF(0, y));
        };
        return e;
    }

    // A row of bordered cells sharing the width by their weights.
    Elemento riga(const QList<Cella>& celle, const QFont& font) const {
        qreal pesi = 0;
        for (const Cella& c : celle)
            pesi += c.peso;
        const qreal margine = mm(0.8);
        struct Posizionata {
            std::shared_ptr<Paragrafo> paragrafo;
            qreal x, larghezza;
            bool evidenziata;
        };
        auto posizionate = std::make_shared<std::vector<Posizionata>>();
        qreal x = 0, h = 0;
        for (const Cella& c : celle) {
            const qreal w = m_larghezza * c.peso / pesi;
            auto par = paragrafo(c.testo, font, w - 2 * margine, c.allineamento);
            h = qMax(h, par->altezza());
            posizionate->push_back({par, x, w, c.evidenziata});
            x += w;
        }
        Elemento e;
        e.altezza = h + 2 * margine;
        const qreal altezza = e.altezza;
        const QPen pen = linea();
        e.disegna = [posizionate, altezza, margine, pen](QPainter& p, qreal y) {
            for (const Posizionata& c : *posizionate) {
                const QRectF r(c.x, y, c.larghezza, altezza);
                if (c.evidenziata)
                    p.fillRect(r, QColor(225, 225, 225));
                p.setPen(pen);
                p.drawRect(r);
                p.setPen(Qt::black);
                c.paragrafo->disegna(p, QPointF(c.x + margine, y + margine));
            }
        };
        return e;
    }

    // Rows kept together as one piece, followed by a gap.
    Elemento tabella(const QList<Elemento>& righe, qreal spazioDopo) const {
        Elemento e;
        for (const Elemento& r : righe)
            e.altezza += r.altezza;
        e.altezza += mm(spazioDopo);
        e.disegna = [righe](QPainter& p, qreal y) {
            for (const Elemento& r : righe) {
                r.disegna(p, y);
                y += r.altezza;
            }
        };
        return e;
    }

    void costruisciTestata() {
        const archivio::RecordCorso& c = m_dati.corso;
        m_titoloTestata = paragrafo(QStringLiteral("Comunicazione di fine corso - Attività %1 - "
                                                   "Corso %2 - Operatore %3 %4")
                                        .arg(c.idAttivita)
                                        .arg(c.progrAttivita, m_dati.operatore.GrupOpe,
                                             m_dati.operatore.Operatore.trimmed()),
                                    carattere(8), m_larghezza - mm(40));
        m_bozza = c.stato != StatoChiuso && c.stato != StatoTrasmesso;
        m_testoBozza = paragrafo(testoBozza, carattere(11, true), m_larghezza, Qt::AlignCenter);
        m_altezzaTestata = qMax(m_titoloTestata->altezza(), mm(7)) + mm(2);
        if (m_bozza)
            m_altezzaTestata += m_testoBozza->altezza() + mm(1);
        m_altezzaTestata += mm(4);
        m_programmaPiede = paragrafo(QStringLiteral("KORVADIN - fine corso - Ver. %1 - stampato il "
                                                    "%2 alle %3")
                                         .arg(m_dati.versione,
                                              m_dati.stampa.toString(QStringLiteral("dd/MM/yyyy")),
                                              m_dati.stampa.toString(QStringLiteral("HH:mm"))),
                                     carattere(7), m_larghezza - mm(35));
        m_altezzaPiede = m_programmaPiede->altezza() + mm(4);
    }

    void disegnaTestata(QPainter& p, const QString& copia) const {
        p.setPen(Qt::black);
        m_titoloTestata->disegna(p, QPointF(0, 0));
        if (!copia.isEmpty()) {
            const QRectF riquadro(m_larghezza - mm(38), 0, mm(38), mm(7));
            p.setPen(QPen(Qt::black, mm(0.4)));
            p.drawRect(riquadro);
            const Paragrafo etichetta(copia, carattere(11, true), riquadro.width(), &m_device,
                                      Qt::AlignCenter);
            etichetta.disegna(
                p, QPointF(riquadro.x(), riquadro.center().y() - etichetta.altezza() / 2));
        }
        qreal y = qMax(m_titoloTestata->altezza(), mm(7)) + mm(2);
        if (m_bozza) {
            p.setPen(QColor(192, 0, 0));
            m_testoBozza->disegna(p, QPointF(0, y));
            y += m_testoBozza->altezza() + mm(1);
        }
        p.setPen(linea());
        p.drawLine(QPointF(0, y), QPointF(m_larghezza, y));
    }

    void disegnaPiede(QPainter& p, int numero, int totale) const {
        const qreal y = m_altezza - m_altezzaPiede + mm(2);
        p.setPen(linea());
        p.drawLine(QPointF(0, y), QPointF(m_larghezza, y));
        p.setPen(Qt::black);
        m_programmaPiede->disegna(p, QPointF(0, y + mm(1.5)));
        const Paragrafo pagina(QStringLiteral("Pagina %1 di %2").arg(numero).arg(totale),
                               carattere(8, true), mm(33), &m_device, Qt::AlignRight);
        pagina.disegna(p, QPointF(m_larghezza - mm(33), y + mm(1.5)));
    }

    void costruisciCorpo() {
        const DatiModulo& d = m_dati;
        const archivio::RecordCorso& c = d.corso;
        const bool completo = layoutPerSubAsse(c.codSubAsse) == Layout::Completo;
        const QFont normale = carattere(9);
        const QFont grassetto = carattere(9, true);
        const QFont sezione = carattere(10.5, true);

        m_corpo.push_back(testo(d.programma, carattere(9, false, true), Qt::AlignCenter, 1.5));
        m_corpo.push_back(testo(QStringLiteral("COMUNICAZIONE DI FINE CORSO"), carattere(15, true),
                                Qt::AlignCenter, 5));

        QList<std::pair<QString, QString>> voci = {
            {QStringLiteral("Operatore (gruppo, codice)"),
             d.operatore.GrupOpe + QLatin1Char(' ') + d.operatore.Operatore.trimmed()},
            {QStringLiteral("Denominazione operatore"), d.operatore.nome},
            {QStringLiteral("Identificativo attività"), QString::number(c.idAttivita)},
            {QStringLiteral("Progressivo attività"), c.progrAttivita},
            {QStringLiteral("Denominazione del corso"), c.denCorso},
            {QStringLiteral("Sottoasse"), c.codSubAsse},
            {QStringLiteral("Data inizio"), data(c.inizioGG, c.inizioMM, c.inizioAAAA)},
            {QStringLiteral("Data fine effettiva"), data(c.fineGG, c.fineMM, c.fineAAAA)},
            {QStringLiteral("Totale ore"), c.totIter}};
        if (completo)
            voci += {{QStringLiteral("Tipologia organizzativa"), d.tipologia},
                     {QStringLiteral("Area formativa"), d.area},
                     {QStringLiteral("Segmento formativo"), d.segmento},
                     {QStringLiteral("Credito formativo (complessivo)"),
                      creditoCorso(c.creditoFormativo)}};
        voci += {{QStringLiteral("Stato"), c.stato}};
        if (c.stato == StatoTrasmesso)
            voci +=
                {{QStringLiteral("Data di invio"),
                  d.dataInvio.isEmpty() ? QStringLiteral("____ / ____ / ________") : d.dataInvio}};
        m_corpo.push_back(testo(QStringLiteral("Dati del corso"), sezione, Qt::AlignLeft, 1, true));
        QList<Elemento> righe;
        for (const auto& [etichetta, valore] : voci)
            righe << riga({{etichetta, 1.0, Qt::AlignLeft, true}, {valore, 2.4}}, normale);
        m_corpo.push_back(tabella(righe, 5));

        if (completo) {
            costruisciQuadro(grassetto, normale, sezione);
            costruisciAllievi(sezione);
        } else {
            m_corpo.push_back(testo(QStringLiteral("Per questo corso si comunica la sola data di "
                                                   "fine corso effettiva."),
                                    normale, Qt::AlignLeft, 4));
        }
        costruisciFirme(normale, grassetto);
    }

    void costruisciQuadro(const QFont& grassetto, const QFont& normale, const QFont& sezione) {
        const auto& conteggi = m_dati.corso.conteggi; // in the order of campiConteggio()
        const QString handicap = QStringLiteral("di cui portatori di handicap");
        QList<Elemento> righe;
        righe << riga({{QString(), 1.3, Qt::AlignLeft, true},
                       {QStringLiteral("Maschi"), 1, Qt::AlignCenter, true},
                       {handicap, 1, Qt::AlignCenter, true},
                       {QStringLiteral("Femmine"), 1, Qt::AlignCenter, true},
                       {handicap, 1, Qt::AlignCenter, true},
                       {QStringLiteral("Totale"), 0.8, Qt::AlignCenter, true}},
                      grassetto);
        const QStringList nomi = {QStringLiteral("Iscritti"), QStringLiteral("Ammessi"),
                                  QStringLiteral("Non Ammessi")};
        for (int i = 0; i < 3; ++i) {
            const QString m = conteggi[size_t(4 * i)], f = conteggi[size_t(4 * i + 1)];
            const QString mh = conteggi[size_t(4 * i + 2)], fh = conteggi[size_t(4 * i + 3)];
            righe << riga(
                {{nomi.at(i), 1.3, Qt::AlignLeft, true},
                 {m, 1, Qt::AlignCenter},
                 {mh, 1, Qt::AlignCenter},
                 {f, 1, Qt::AlignCenter},
                 {fh, 1, Qt::AlignCenter},
                 {QString::number(interoDaTesto(m) + interoDaTesto(f)), 0.8, Qt::AlignCenter}},
                normale);
        }
        m_corpo.push_back(
            testo(QStringLiteral("Quadro Riassuntivo Allievi"), sezione, Qt::AlignLeft, 1, true));
        m_corpo.push_back(tabella(righe, 5));
    }

    void costruisciAllievi(const QFont& sezione) {
        // Shares of the width: number, name, tax code, enrolment number,
        // absence and presence hours, participation, judgement, reason, credit.
        const qreal pesi[] = {8, 27, 32, 14, 12.5, 13.5, 22, 24, 14, 13};
        const QStringList intestazioni = {QStringLiteral("N."),
                                          QStringLiteral("Cognome e nome"),
                                          QStringLiteral("Codice fiscale"),
                                          QStringLiteral("Matricola"),
                                          QStringLiteral("Ore assenza"),
                                          QStringLiteral("Ore presenza"),
                                          QStringLiteral("Partecipazione"),
                                          QStringLiteral("Giudizio"),
                                          QStringLiteral("Motivo"),
                                          QStringLiteral("Credito valutato")};
        QList<Cella> celle;
        for (int i = 0; i < intestazioni.size(); ++i)
            celle << Cella{intestazioni.at(i), pesi[i], Qt::AlignLeft, true};
        m_intestazioneAllievi = riga(celle, carattere(6.5, true));

        m_corpo.push_back(testo(QStringLiteral("Elenco Iscritti"), sezione, Qt::AlignLeft, 1,
                                !m_dati.allievi.isEmpty()));
        if (m_dati.allievi.isEmpty()) {
            m_corpo.push_back(testo(QStringLiteral("Nessun allievo iscritto al corso."),
                                    carattere(9), Qt::AlignLeft, 5));
            return;
        }
        const QFont font = carattere(7);
        int numero = 0;
        for (const archivio::Allievo& a : m_dati.allievi) {
            const QStringList valori = {QString::number(++numero),
                                        a.cognome + QLatin1Char(' ') + a.nome,
                                        a.codFiscale,
                                        a.matricola,
                                        intero(a.oreAssenza),
                                        intero(a.orePresenzaEffettiva),
                                        partecipazione(a),
                                        giudizio(a.giudizio),
                                        a.descizioneGiudizio,
                                        credito(a.credFormValut)};
            QList<Cella> rigaAllievo;
            for (int i = 0; i < valori.size(); ++i) {
                const bool numerica = i == 0 || i == 4 || i == 5 || i == 9;
                rigaAllievo << Cella{valori.at(i), pesi[i],
                                     numerica ? Qt::AlignRight : Qt::AlignLeft};
            }
            Elemento e = riga(rigaAllievo, font);
            e.riga = true;
            m_corpo.push_back(std::move(e));
        }
        m_corpo.back().altezza += mm(5);
    }

    void costruisciFirme(const QFont& normale, const QFont& grassetto) {
        const qreal meta = m_larghezza / 2;
        auto luogo =
            paragrafo(QStringLiteral("Luogo ______________________________"), normale, meta);
        auto dataFirma = paragrafo(QStringLiteral("Data ____ / ____ / ________"), normale, meta);
        auto legale =
            paragrafo(QStringLiteral("Il Legale Rappresentante"), grassetto, meta, Qt::AlignCenter);
        auto firma = paragrafo(QStringLiteral("(firma leggibile)"), carattere(7.5, false, true),
                               meta, Qt::AlignCenter);
        auto timbro =
            paragrafo(QStringLiteral("Timbro dell'ente"), grassetto, meta, Qt::AlignCenter);
        const qreal spazio = mm(4);
        const qreal rigaData = luogo->altezza() + mm(10);
        const qreal altezzaTimbro = mm(28);
        Elemento e;
        e.altezza = spazio + rigaData + legale->altezza() + mm(2) + altezzaTimbro;
        const QPen pen = linea();
        const qreal dpi = m_dpi;
        e.disegna = [=](QPainter& p, qreal y) {
            const auto millimetri = [dpi](qreal v) { return v * dpi / 25.4; };
            y += spazio;
            p.setPen(Qt::black);
            luogo->disegna(p, QPointF(0, y));
            dataFirma->disegna(p, QPointF(meta, y));
            y += rigaData;
            legale->disegna(p, QPointF(0, y));
            timbro->disegna(p, QPointF(meta, y));
            y += legale->altezza() + millimetri(2);
            const qreal base = y + altezzaTimbro - firma->altezza() - millimetri(2);
            p.setPen(pen);
            p.drawLine(QPointF(millimetri(8), base), QPointF(meta - millimetri(8), base));
            p.setPen(Qt::black);
            firma->disegna(p, QPointF(0, base + millimetri(0.5)));
            QPen tratteggio = pen;
            tratteggio.setStyle(Qt::DashLine);
            p.setPen(tratteggio);
            const qreal lato = altezzaTimbro - millimetri(2);
            p.drawRect(QRectF(meta + (meta - lato * 1.6) / 2, y, lato * 1.6, lato));
        };
        m_corpo.push_back(std::move(e));
    }

    QPagedPaintDevice& m_device;
    const DatiModulo& m_dati;
    const qreal m_larghezza, m_altezza;
    const qreal m_dpi;
    std::vector<Elemento> m_corpo;
    Elemento m_intestazioneAllievi;
    std::shared_ptr<Paragrafo> m_titoloTestata, m_testoBozza, m_programmaPiede;
    bool m_bozza = false;
    qreal m_altezzaTestata = 0, m_altezzaPiede = 0;
};

} // namespace

void disegna(QPagedPaintDevice& device, const DatiModulo& dati) {
    QPainter p;
    if (!p.begin(&device))
        return;
    const Composizione composizione(device, dati);
    const QList<QList<Posto>> pagine = composizione.impagina();
    bool prima = true;
    for (const QString& copia : copie(dati)) {
        for (int n = 0; n < pagine.size(); ++n) {
            if (!prima)
                device.newPage();
            prima = false;
            composizione.disegnaPagina(p, pagine.at(n), copia, n + 1, int(pagine.size()));
        }
    }
    p.end();
}

int pagineDiUnaCopia(const DatiModulo& dati) {
    QBuffer nulla;
    nulla.open(QIODevice::WriteOnly);
    QPdfWriter writer(&nulla);
    writer.setResolution(600);
    writer.setPageLayout(documento::paginaA4());
    return int(Composizione(writer, dati).impagina().size());
}

} // namespace report::modulo
