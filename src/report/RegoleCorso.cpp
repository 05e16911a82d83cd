#include "report/RegoleCorso.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

namespace report {

namespace {

const QString kVerificaDati = QStringLiteral("Verifica dati");

// A date part typed in a box: digits only.
std::optional<int> parteData(const QString& testo) {
    const QString t = testo.trimmed();
    static const QRegularExpression cifre(QStringLiteral("^[0-9]+$"));
    if (!cifre.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const int valore = t.toInt(&ok);
    return ok ? std::optional<int>(valore) : std::nullopt;
}

// Day, month and year joined as one calendar date; invalid when any part is
// not a number or the date does not exist.
QDate dataDaParti(const QString& gg, const QString& mm, const QString& aaaa) {
    const auto g = parteData(gg), m = parteData(mm), a = parteData(aaaa);
    if (!g || !m || !a)
        return {};
    return QDate(*a, *m, *g);
}

bool vuoto(const QString& testo) {
    return testo.trimmed().isEmpty();
}

Esito erroreData(const QString& regola, const QString& testo, const QString& focus,
                 const QString& titolo = kVerificaDati) {
    return Esito::errore(regola, testo, titolo, ui::Icon::Critical, focus, true);
}

Esito senzaTitolo(const QString& regola, const QString& testo, const QString& focus) {
    return Esito::errore(regola, testo, ui::DefaultTitle, ui::Icon::None, focus);
}

const QString kCasellaCredito = QStringLiteral("txtCredFormCorso");
const QString kElencoAllievi = QStringLiteral("grdDomande");

} // namespace

Layout layoutPerSubAsse(const QString& codSubAsse) {
    static const QStringList soloDate = {QStringLiteral("02"), QStringLiteral("04"),
                                         QStringLiteral("06"), QStringLiteral("08")};
    return soloDate.contains(codSubAsse.trimmed()) ? Layout::SoloDate : Layout::Completo;
}

const std::array<CampoConteggio, 12>& campiConteggio() {
    static const std::array<CampoConteggio, 12> campi = {{
        {"txt_maschi", "TotMaschi", &DatiScheda::maschi, false},
        {"txt_femmine", "TotFemmine", &DatiScheda::femmine, false},
        {"txt_maschiH", "TotMaschiH", &DatiScheda::maschiH, true},
        {"txt_femmineH", "TotFemmineH", &DatiScheda::femmineH, true},
        {"txt_maschi_ammessi", "AmmessiM", &DatiScheda::maschiAmmessi, false},
        {"txt_femmine_ammesse", "AmmessiF", &DatiScheda::femmineAmmesse, false},
        {"txt_maschiH_ammessi", "AmmessiMH", &DatiScheda::maschiHAmmessi, true},
        {"txt_femmineH_ammesse", "AmmessiFH", &DatiScheda::femmineHAmmesse, true},
        {"txt_maschi_idonei", "NonAmmessiM", &DatiScheda::maschiIdonei, false},
        {"txt_femmine_idonee", "NonAmmessiF", &DatiScheda::femmineIdonee, false},
        {"txt_maschiH_idonei", "NonAmmessiMH", &DatiScheda::maschiHIdonei, true},
        {"txt_femmineH_idonee", "NonAmmessiFH", &DatiScheda::femmineHIdonee, true},
    }};
    return campi;
}

Esito regoleDataFine(const DatiScheda& d) {
    const QString giorno = QStringLiteral("txtDataFineEffGG");
    const QString mese = QStringLiteral("txtDataFineEffMM");
    const QString anno = QStringLiteral("txtDataFineEffAAAA");
    if (vuoto(d.fineGG) && vuoto(d.fineMM) && vuoto(d.fineAAAA))
        return erroreData(QStringLiteral("D1"),
                          QStringLiteral("Specificare la data di fine corso effettiva"), giorno);
    if (vuoto(d.fineGG))
        return erroreData(
            QStringLiteral("D2"),
            QStringLiteral("Specificare il giorno nella data di fine corso effettiva"), giorno);
    if (vuoto(d.fineMM))
        return erroreData(QStringLiteral("D3"),
                          QStringLiteral("Specificare il mese nella data di fine corso effettiva"),
                          mese);
    if (vuoto(d.fineAAAA))
        return erroreData(QStringLiteral("D4"),
                          QStringLiteral("Specificare l'anno nella data di fine corso effettiva"),
                          anno);
    const QDate fine = dataDaParti(d.fineGG, d.fineMM, d.fineAAAA);
    if (!fine.isValid())
        return erroreData(QStringLiteral("D5"), QStringLiteral("Data di fine corso non valida"),
                          giorno);
    const QString annoTesto = d.fineAAAA.trimmed();
    if (annoTesto.size() < 4)
        return erroreData(
            QStringLiteral("D6"),
            QStringLiteral("Nella data di fine corso effettiva, indicare l'anno con 4 cifre"), anno,
            QStringLiteral("Verifica Dati"));
    if (!annoTesto.startsWith(QLatin1String("19")) && !annoTesto.startsWith(QLatin1String("20")))
        return erroreData(QStringLiteral("D7"),
                          QStringLiteral("Anno di fine effettiva del corso non valido."), anno);
    const QDate inizio = dataDaParti(d.inizioGG, d.inizioMM, d.inizioAAAA);
    if (inizio.isValid() && fine < inizio)
        return erroreData(QStringLiteral("D8"),
                          QStringLiteral("La data di fine corso effettiva deve essere posteriore\n"
                                         "a quella di inizio corso"),
                          giorno);
    return Esito::ok();
}

Esito regoleInteri(const DatiScheda& d) {
    // The typed sub-counts, in the order of the form; the others are computed.
    static const std::pair<QString DatiScheda::*, const char*> caselle[] = {
        {&DatiScheda::maschiH, "iscritti MH"},
        {&DatiScheda::femmineH, "iscritti FH"},
        {&DatiScheda::maschiHAmmessi, "ammessi MH"},
        {&DatiScheda::femmineHAmmesse, "ammessi FH"},
        {&DatiScheda::maschiHIdonei, "non ammessi MH"},
        {&DatiScheda::femmineHIdonee, "non ammessi FH"},
    };
    static const QRegularExpression intero(QStringLiteral("^[0-9]+$"));
    for (const auto& [testo, descrizione] : caselle) {
        const QString t = (d.*testo).trimmed();
        if (t.isEmpty() || intero.match(t).hasMatch())
            continue;
        const char* controllo = "";
        for (const CampoConteggio& c : campiConteggio())
            if (c.testo == testo)
                controllo = c.controllo;
        return Esito::errore(QStringLiteral("C0"),
                             QStringLiteral("Il numero di allievi %1 deve essere un numero intero")
                                 .arg(QLatin1String(descrizione)),
                             kVerificaDati, ui::Icon::Critical, QString::fromLatin1(controllo));
    }
    return Esito::ok();
}

Esito regoleConteggi(const DatiScheda& d, int prima, int ultima) {
    struct Confronto {
        QString DatiScheda::*maggiore; // fails when this one ...
        QString DatiScheda::*minore;   // ... is greater than this one
        const char* testo;
        const char* focus;
    };
    static const Confronto confronti[10] = {
        {&DatiScheda::maschiH, &DatiScheda::maschi,
         "Il numero di allievi iscritti MH non può superare il numero di allievi M", "txt_maschiH"},
        {&DatiScheda::femmineH, &DatiScheda::femmine,
         "Il numero di allievi iscritti FH non può superare il numero di allievi F",
         "txt_femmineH"},
        {&DatiScheda::maschiHAmmessi, &DatiScheda::maschiAmmessi,
         "Il numero di allievi ammessi MH non può superare il numero di allievi ammessi M",
         "txt_maschiH_ammessi"},
        {&DatiScheda::femmineHAmmesse, &DatiScheda::femmineAmmesse,
         "Il numero di allievi ammessi FH non può superare il numero di allievi ammessi F",
         "txt_femmineH_ammesse"},
        {&DatiScheda::maschiHIdonei, &DatiScheda::maschiIdonei,
         "Il numero di allievi non ammessi MH non può superare il numero di allievi non ammessi M",
         "txt_maschiH_idonei"},
        {&DatiScheda::femmineHIdonee, &DatiScheda::femmineIdonee,
         "Il numero di allievi non ammessi FH non può superare il numero di allievi non ammessi F",
         "txt_femmineH_idonee"},
        {&DatiScheda::maschiHAmmessi, &DatiScheda::maschiH,
         "Il numero di allievi ammessi MH non può superare il numero di allievi iscritti MH",
         "txt_maschiH_ammessi"},
        {&DatiScheda::femmineHAmmesse, &DatiScheda::femmineH,
         "Il numero di allievi ammessi FH non può superare il numero di allievi iscritti FH",
         "txt_femmineH_ammesse"},
        {&DatiScheda::maschiHIdonei, &DatiScheda::maschiH,
         "Il numero di allievi non ammessi MH non può superare il numero di allievi iscritti MH",
         "txt_maschiH_idonei"},
        {&DatiScheda::femmineHIdonee, &DatiScheda::femmineH,
         "Il numero di allievi non ammessi FH non può superare il numero di allievi iscritti FH",
         "txt_femmineH_idonee"},
    };
    auto errore = [](int n, const char* testo, const char* focus) {
        return Esito::errore(QStringLiteral("C%1").arg(n), QString::fromUtf8(testo), kVerificaDati,
                             ui::Icon::Critical, QString::fromLatin1(focus));
    };
    for (int n = std::max(prima, 1); n <= std::min(ultima, 12); ++n) {
        if (n <= 10) {
            const Confronto& c = confronti[n - 1];
            if (interoDaTesto(d.*c.maggiore) > interoDaTesto(d.*c.minore))
                return errore(n, c.testo, c.focus);
        } else if (n == 11) {
            if (interoDaTesto(d.maschiHAmmessi) + interoDaTesto(d.maschiHIdonei) !=
                interoDaTesto(d.maschiH))
                return errore(n,
                              "La somma del numero di allievi MH ammessi e non ammessi deve "
                              "corrispondere al numero di allievi iscritti MH",
                              "txt_maschiH_idonei");
        } else {
            if (interoDaTesto(d.femmineHAmmesse) + interoDaTesto(d.femmineHIdonee) !=
                interoDaTesto(d.femmineH))
                return errore(n,
                              "La somma del numero di allievi FH ammessi e non ammessi deve "
                              "corrispondere al numero di allievi iscritti FH",
                              "txt_femmineH_ammesse");
        }
    }
    return Esito::ok();
}

Esito regoleSalvataggio(Layout layout, const DatiScheda& d) {
    if (layout == Layout::SoloDate)
        return regoleDataFine(d);
    const auto credito = numeroScritto(d.credito);
    if (!credito || *credito == 0)
        return Esito::errore(QStringLiteral("S1"),
                             QStringLiteral("Occorre indicare il credito formativo complessivo."),
                             kVerificaDati, ui::Icon::Critical, QStringLiteral("txtCredFormCorso"),
                             true);
    if (Esito e = regoleDataFine(d); !e.superato)
        return e;
    if (Esito e = regoleInteri(d); !e.superato)
        return e;
    return regoleConteggi(d, 1, 12);
}

Esito regoleChiusura(Layout layout, const DatiScheda& d, const FattiAllievi& allievi) {
    if (Esito e = regoleDataFine(d); !e.superato || layout == Layout::SoloDate)
        return e;
    if (vuoto(d.credito))
        return senzaTitolo(QStringLiteral("K2"),
                           QStringLiteral("Per poter effettuare la chiusura del corso occorre "
                                          "indicare il credito formativo."),
                           kCasellaCredito);
    const auto credito = numeroScritto(d.credito);
    if (!credito || *credito > 5 || *credito < 0)
        return senzaTitolo(
            QStringLiteral("K3"),
            QStringLiteral("Il credito formativo deve essere compreso tra i valori 0 e 5,00"),
            kCasellaCredito);
    if (allievi.creditoMassimo && *credito < *allievi.creditoMassimo - 1e-9)
        return senzaTitolo(QStringLiteral("K4"),
                           QStringLiteral("Il credito formativo indicato non è compatibile con i "
                                          "crediti formativi valutati specificati sugli allievi"),
                           kCasellaCredito);
    if (vuoto(d.tipOrg))
        return senzaTitolo(QStringLiteral("K5"),
                           QStringLiteral("Per poter effettuare la chiusura del corso occorre "
                                          "selezionare la Tipologia Organizzativa."),
                           QStringLiteral("cmbTipOrg"));
    if (vuoto(d.segmento))
        return senzaTitolo(QStringLiteral("K6"),
                           QStringLiteral("Per poter effettuare la chiusura del corso occorre "
                                          "selezionare il segmento Formativo."),
                           QStringLiteral("cmbSegmento"));
    if (vuoto(d.areaFor))
        return senzaTitolo(QStringLiteral("K7"),
                           QStringLiteral("Per poter effettuare la chiusura del corso occorre "
                                          "selezionare l' Area Formativa."),
                           QStringLiteral("cmbAreaFor"));
    if (Esito e = regoleInteri(d); !e.superato)
        return e;
    if (Esito e = regoleConteggi(d, 1, 6); !e.superato)
        return e;
    if (!allievi.tuttiGestiti)
        return senzaTitolo(QStringLiteral("K9"),
                           QStringLiteral("Per poter effettuare la chiusura del corso devono "
                                          "essere stati gestiti tutti gli allievi."),
                           kElencoAllievi);
    if (allievi.giudiziMisti)
        return Esito::errore(
            QStringLiteral("K10"),
            QStringLiteral("Per alcuni allievi è stato indicato 'Prova non prevista' e per altri "
                           "'Prova superata', ciò non è corretto.\n"
                           "Allineare i dati in modo coerente con la presenza/assenza della "
                           "prova."),
            QStringLiteral("Incoerenza Giudizi"), ui::Icon::Information, kElencoAllievi);
    return Esito::ok();
}

bool schedaModificata(Layout layout, const DatiScheda& mostrata, const DatiScheda& attuale) {
    if (mostrata.fineGG != attuale.fineGG || mostrata.fineMM != attuale.fineMM ||
        mostrata.fineAAAA != attuale.fineAAAA)
        return true;
    if (layout == Layout::SoloDate)
        return false;
    const auto prima = numeroScritto(mostrata.credito), ora = numeroScritto(attuale.credito);
    if (prima && ora ? *prima != *ora : mostrata.credito.trimmed() != attuale.credito.trimmed())
        return true;
    if (mostrata.tipOrg != attuale.tipOrg || mostrata.segmento != attuale.segmento ||
        mostrata.areaFor != attuale.areaFor)
        return true;
    for (const CampoConteggio& c : campiConteggio())
        if (c.sottoconteggio && interoDaTesto(mostrata.*c.testo) != interoDaTesto(attuale.*c.testo))
            return true;
    return false;
}

std::optional<double> numeroScritto(const QString& testo) {
    static const QRegularExpression numero(QStringLiteral("^([0-9]+[,.]?[0-9]*|[,.][0-9]+)$"));
    QString t = testo.trimmed();
    if (!numero.match(t).hasMatch())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.startsWith(QLatin1Char('.')))
        t.prepend(QLatin1Char('0'));
    bool ok = false;
    const double valore = t.toDouble(&ok);
    return ok ? std::optional<double>(valore) : std::nullopt;
}

int interoDaTesto(const QString& testo) {
    QString t = testo.trimmed();
    t.remove(QLatin1Char('.'));
    const int virgola = int(t.indexOf(QLatin1Char(',')));
    if (virgola >= 0)
        t.truncate(virgola);
    bool ok = false;
    const int valore = t.toInt(&ok);
    return ok ? valore : 0;
}

QString formatoConteggio(qint64 valore) {
    return QLocale(QLocale::Italian, QLocale::Italy).toString(valore);
}

QString codiceTipOrg(const QString& voce) {
    return voce.trimmed().left(1);
}

QString codiceAreaFor(const QString& voce) {
    return voce.trimmed().left(2);
}

QString codiceSegmento(const QString& voce) {
    return voce.trimmed().left(2);
}

std::optional<QString> voceTipOrg(const QString& codice) {
    if (codice.isEmpty())
        return QString();
    if (codice == QLatin1String("I"))
        return QStringLiteral("I - Gestione indiretta");
    if (codice == QLatin1String("R"))
        return QStringLiteral("R - Gestione diretta");
    return std::nullopt;
}

std::optional<QString> voceAreaFor(const QString& codice) {
    static const QList<QPair<QString, QString>> voci = {
        {QStringLiteral("cg"), QStringLiteral("cg - Formazione area giuridico-amministrativa")},
        {QStringLiteral("ce"), QStringLiteral("ce - Formazione area economico-finanziaria")},
        {QStringLiteral("ci"), QStringLiteral("ci - Formazione area informatica")},
        {QStringLiteral("cu"), QStringLiteral("cu - Formazione area europea")},
        {QStringLiteral("cp"),
         QStringLiteral("cp - Formazione area pari opportunità e non discriminazione")},
        {QStringLiteral("xx"), QStringLiteral("xx - Area non specificata")},
    };
    for (const auto& [c, voce] : voci)
        if (c == codice)
            return voce;
    return std::nullopt;
}

std::optional<QString> voceSegmento(const QString& codice) {
    if (codice == QLatin1String("S1"))
        return QStringLiteral("S1 - Conoscenze tecnico professionali");
    if (codice == QLatin1String("S2"))
        return QStringLiteral("S2 - Capacita'");
    return std::nullopt;
}

} // namespace report
