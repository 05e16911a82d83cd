#include "report/RegoleCorso.h"
#include "report/StatoCorso.h"

#include <QtTest>

using namespace report;

Q_DECLARE_METATYPE(report::Layout)

namespace {

// A full report that passes every save and closing rule.
DatiScheda schedaValida() {
    DatiScheda d;
    d.fineGG = QStringLiteral("20");
    d.fineMM = QStringLiteral("12");
    d.fineAAAA = QStringLiteral("2018");
    d.inizioGG = QStringLiteral("10");
    d.inizioMM = QStringLiteral("09");
    d.inizioAAAA = QStringLiteral("2018");
    d.credito = QStringLiteral("2,5");
    d.tipOrg = QStringLiteral("I - Gestione indiretta");
    d.segmento = QStringLiteral("S1 - Conoscenze tecnico professionali");
    d.areaFor = QStringLiteral("ce - Formazione area economico-finanziaria");
    // M 5 (H 2), F 4 (H 2); admitted M 3 (H 1), F 3 (H 1); not admitted M 2 (H 1), F 1 (H 1).
    const QStringList valori = {"5", "4", "2", "2", "3", "3", "1", "1", "2", "1", "1", "1"};
    for (size_t i = 0; i < campiConteggio().size(); ++i)
        d.*campiConteggio()[i].testo = valori.at(int(i));
    return d;
}

// Changes "control=value" pairs of the form's boxes in a report.
void cambia(DatiScheda& d, const QStringList& modifiche) {
    for (const QString& m : modifiche) {
        const QString nome = m.section(QLatin1Char('='), 0, 0);
        const QString valore = m.section(QLatin1Char('='), 1);
        bool trovato = false;
        for (const CampoConteggio& c : campiConteggio())
            if (nome == QLatin1String(c.controllo)) {
                d.*c.testo = valore;
                trovato = true;
            }
        const QList<QPair<QString, QString DatiScheda::*>> altri = {
            {"GG", &DatiScheda::fineGG},         {"MM", &DatiScheda::fineMM},
            {"AAAA", &DatiScheda::fineAAAA},     {"inizioGG", &DatiScheda::inizioGG},
            {"inizioMM", &DatiScheda::inizioMM}, {"inizioAAAA", &DatiScheda::inizioAAAA},
            {"credito", &DatiScheda::credito},   {"tipOrg", &DatiScheda::tipOrg},
            {"segmento", &DatiScheda::segmento}, {"areaFor", &DatiScheda::areaFor},
        };
        for (const auto& [n, campo] : altri)
            if (nome == n) {
                d.*campo = valore;
                trovato = true;
            }
        QVERIFY2(trovato, qPrintable(nome));
    }
}

// The messages of the rules, as the users know them.
const QHash<QString, QString>& testi() {
    static const QHash<QString, QString> t = {
        {"D1", "Specificare la data di fine corso effettiva"},
        {"D2", "Specificare il giorno nella data di fine corso effettiva"},
        {"D3", "Specificare il mese nella data di fine corso effettiva"},
        {"D4", "Specificare l'anno nella data di fine corso effettiva"},
        {"D5", "Data di fine corso non valida"},
        {"D6", "Nella data di fine corso effettiva, indicare l'anno con 4 cifre"},
        {"D7", "Anno di fine effettiva del corso non valido."},
        {"D8", "La data di fine corso effettiva deve essere posteriore\na quella di inizio corso"},
        {"C0", "Il numero di allievi ammessi MH deve essere un numero intero"},
        {"C1", "Il numero di allievi iscritti MH non può superare il numero di allievi M"},
        {"C2", "Il numero di allievi iscritti FH non può superare il numero di allievi F"},
        {"C3", "Il numero di allievi ammessi MH non può superare il numero di allievi ammessi M"},
        {"C4", "Il numero di allievi ammessi FH non può superare il numero di allievi ammessi F"},
        {"C5", "Il numero di allievi non ammessi MH non può superare il numero di allievi non "
               "ammessi M"},
        {"C6", "Il numero di allievi non ammessi FH non può superare il numero di allievi non "
               "ammessi F"},
        {"C7", "Il numero di allievi ammessi MH non può superare il numero di allievi iscritti MH"},
        {"C8", "Il numero di allievi ammessi FH non può superare il numero di allievi iscritti FH"},
        {"C9", "Il numero di allievi non ammessi MH non può superare il numero di allievi "
               "iscritti MH"},
        {"C10", "Il numero di allievi non ammessi FH non può superare il numero di allievi "
                "iscritti FH"},
        {"C11", "La somma del numero di allievi MH ammessi e non ammessi deve corrispondere al "
                "numero di allievi iscritti MH"},
        {"C12", "La somma del numero di allievi FH ammessi e non ammessi deve corrispondere al "
                "numero di allievi iscritti FH"},
        {"S1", "Occorre indicare il credito formativo complessivo."},
        {"K2", "Per poter effettuare la chiusura del corso occorre indicare il credito formativo."},
        {"K3", "Il credito formativo deve essere compreso tra i valori 0 e 5,00"},
        {"K4", "Il credito formativo indicato non è compatibile con i crediti formativi valutati "
               "specificati sugli allievi"},
        {"K5", "Per poter effettuare la chiusura del corso occorre selezionare la Tipologia "
               "Organizzativa."},
        {"K6", "Per poter effettuare la chiusura del corso occorre selezionare il segmento "
               "Formativo."},
        {"K7", "Per poter effettuare la chiusura del corso occorre selezionare l' Area Formativa."},
        {"K9", "Per poter effettuare la chiusura del corso devono essere stati gestiti tutti gli "
               "allievi."},
        {"K10", "Per alcuni allievi è stato indicato 'Prova non prevista' e per altri 'Prova "
                "superata', ciò non è corretto.\nAllineare i dati in modo coerente con la "
                "presenza/assenza della prova."},
    };
    return t;
}

// Checks an outcome against the expected rule: its text, and the title, icon,
// focus and tab that go with rules of its kind.
void verifica(const Esito& e, const QString& regola, const QString& focus = QString()) {
    QCOMPARE(e.regola, regola);
    QCOMPARE(e.superato, regola.isEmpty());
    if (regola.isEmpty())
        return;
    QCOMPARE(e.testo, testi().value(regola));
    const QChar tipo = regola.at(0);
    if (tipo == QLatin1Char('D') || tipo == QLatin1Char('C') || regola == QLatin1String("S1")) {
        QCOMPARE(e.titolo, regola == QLatin1String("D6") ? QStringLiteral("Verifica Dati")
                                                         : QStringLiteral("Verifica dati"));
        QCOMPARE(e.icona, ui::Icon::Critical);
        QCOMPARE(e.primaScheda, tipo != QLatin1Char('C'));
    } else if (regola == QLatin1String("K10")) {
        QCOMPARE(e.titolo, QStringLiteral("Incoerenza Giudizi"));
        QCOMPARE(e.icona, ui::Icon::Information);
        QCOMPARE(e.focus, QStringLiteral("grdDomande"));
        QVERIFY(!e.primaScheda);
    } else {
        // Each closing rule takes the user to the box it refuses.
        static const QHash<QString, QString> caselle = {
            {QStringLiteral("K2"), QStringLiteral("txtCredFormCorso")},
            {QStringLiteral("K3"), QStringLiteral("txtCredFormCorso")},
            {QStringLiteral("K4"), QStringLiteral("txtCredFormCorso")},
            {QStringLiteral("K5"), QStringLiteral("cmbTipOrg")},
            {QStringLiteral("K6"), QStringLiteral("cmbSegmento")},
            {QStringLiteral("K7"), QStringLiteral("cmbAreaFor")},
            {QStringLiteral("K9"), QStringLiteral("grdDomande")}};
        QCOMPARE(e.titolo, ui::DefaultTitle);
        QCOMPARE(e.icona, ui::Icon::None);
        QCOMPARE(e.focus, caselle.value(regola));
        QVERIFY(!e.primaScheda);
    }
    if (!focus.isNull())
        QCOMPARE(e.focus, focus);
}

} // namespace

class TestRegoleCorso : public QObject {
    Q_OBJECT
private slots:
    void layoutDaSubAsse_data();
    void layoutDaSubAsse();
    void dataFine_data();
    void dataFine();
    void conteggi_data();
    void conteggi();
    void salvataggioEChiusura_data();
    void salvataggioEChiusura();
    void soloDateGuardaSoloLaData_data();
    void soloDateGuardaSoloLaData();
    void letturaNumeri_data();
    void letturaNumeri();
    void formatoConteggi();
    void codiciClassificazione_data();
    void codiciClassificazione();
    void modifiche_data();
    void modifiche();
    void stati_data();
    void stati();
};

void TestRegoleCorso::layoutDaSubAsse_data() {
    QTest::addColumn<QString>("codice");
    QTest::addColumn<Layout>("atteso");
    for (const char* c : {"02", "04", "06", "08"})
        QTest::newRow(c) << QString::fromLatin1(c) << Layout::SoloDate;
    for (const char* c : {"01", "03", "05", "07", "09", "", "4"})
        QTest::newRow(c[0] ? c : "vuoto") << QString::fromLatin1(c) << Layout::Completo;
}

void TestRegoleCorso::layoutDaSubAsse() {
    QFETCH(QString, codice);
    QFETCH(Layout, atteso);
    QCOMPARE(layoutPerSubAsse(codice), atteso);
}

void TestRegoleCorso::dataFine_data() {
    QTest::addColumn<QStringList>("modifiche");
    QTest::addColumn<QString>("regola");
    QTest::addColumn<QString>("focus");
    const QString gg = QStringLiteral("txtDataFineEffGG"), mm = QStringLiteral("txtDataFineEffMM"),
                  aaaa = QStringLiteral("txtDataFineEffAAAA");
    QTest::newRow("valida") << QStringList{} << QString() << QString();
    QTest::newRow("D1 tutto vuoto") << QStringList{"GG=", "MM=", "AAAA="} << "D1" << gg;
    QTest::newRow("D2 giorno") << QStringList{"GG="} << "D2" << gg;
    QTest::newRow("D2 prima di D3") << QStringList{"GG=", "MM="} << "D2" << gg;
    QTest::newRow("D3 mese") << QStringList{"MM="} << "D3" << mm;
    QTest::newRow("D4 anno") << QStringList{"AAAA="} << "D4" << aaaa;
    QTest::newRow("D5 31 febbraio") << QStringList{"GG=31", "MM=02", "AAAA=2018"} << "D5" << gg;
    QTest::newRow("D5 mese 13") << QStringList{"MM=13"} << "D5" << gg;
    QTest::newRow("D5 giorno 0") << QStringList{"GG=0"} << "D5" << gg;
    QTest::newRow("D5 virgola") << QStringList{"GG=1,5"} << "D5" << gg;
    QTest::newRow("D5 29 febbraio non bisestile")
        << QStringList{"GG=29", "MM=02", "AAAA=2019"} << "D5" << gg;
    QTest::newRow("29 febbraio bisestile")
        << QStringList{"GG=29", "MM=02", "AAAA=2020"} << QString() << QString();
    QTest::newRow("D6 anno 218") << QStringList{"AAAA=218"} << "D6" << aaaa;
    QTest::newRow("D6 anno 18 non completato") << QStringList{"AAAA=18"} << "D6" << aaaa;
    QTest::newRow("D7 anno 2118") << QStringList{"AAAA=2118"} << "D7" << aaaa;
    QTest::newRow("D7 anno 1899") << QStringList{"AAAA=1899"} << "D7" << aaaa;
    QTest::newRow("5-7-18 completati")
        << QStringList{"GG=05", "MM=07", "AAAA=2018", "inizioMM=01"} << QString() << QString();
    QTest::newRow("D8 uguale all'inizio")
        << QStringList{"GG=10", "MM=09", "AAAA=2018"} << QString() << QString();
    QTest::newRow("D8 giorno prima") << QStringList{"GG=09", "MM=09", "AAAA=2018"} << "D8" << gg;
    QTest::newRow("D8 anno prima") << QStringList{"GG=20", "MM=12", "AAAA=2017"} << "D8" << gg;
    QTest::newRow("inizio mancante")
        << QStringList{"inizioGG=", "AAAA=1995"} << QString() << QString();
}

void TestRegoleCorso::dataFine() {
    QFETCH(QStringList, modifiche);
    QFETCH(QString, regola);
    QFETCH(QString, focus);
    DatiScheda d = schedaValida();
    cambia(d, modifiche);
    verifica(regoleDataFine(d), regola, focus);
    // Saving and closing apply the same end-date rules in both layouts.
    for (Layout layout : {Layout::SoloDate, Layout::Completo}) {
        verifica(regoleSalvataggio(layout, d), regola, focus);
        verifica(regoleChiusura(layout, d, {}), regola, focus);
    }
}

void TestRegoleCorso::conteggi_data() {
    QTest::addColumn<QStringList>("modifiche");
    QTest::addColumn<QString>("alSalvataggio");
    QTest::addColumn<QString>("allaChiusura");
    QTest::addColumn<QString>("focus");
    QTest::newRow("coerenti") << QStringList{} << QString() << QString() << QString();
    QTest::newRow("C1 5 maschi di cui 6 H") << QStringList{"txt_maschi=5", "txt_maschiH=6"} << "C1"
                                            << "C1"
                                            << "txt_maschiH";
    QTest::newRow("C2") << QStringList{"txt_femmineH=5"} << "C2"
                        << "C2"
                        << "txt_femmineH";
    QTest::newRow("C3") << QStringList{"txt_maschiH_ammessi=4"} << "C3"
                        << "C3"
                        << "txt_maschiH_ammessi";
    QTest::newRow("C4") << QStringList{"txt_femmineH_ammesse=4"} << "C4"
                        << "C4"
                        << "txt_femmineH_ammesse";
    QTest::newRow("C5") << QStringList{"txt_maschiH_idonei=3"} << "C5"
                        << "C5"
                        << "txt_maschiH_idonei";
    QTest::newRow("C6") << QStringList{"txt_femmineH_idonee=2"} << "C6"
                        << "C6"
                        << "txt_femmineH_idonee";
    QTest::newRow("C7 solo al salvataggio") << QStringList{"txt_maschiH=2", "txt_maschiH_ammessi=3"}
                                            << "C7" << QString() << "txt_maschiH_ammessi";
    QTest::newRow("C8 solo al salvataggio")
        << QStringList{"txt_femmineH_ammesse=3"} << "C8" << QString() << "txt_femmineH_ammesse";
    QTest::newRow("C9 solo al salvataggio")
        << QStringList{"txt_maschiH=1", "txt_maschiH_ammessi=0", "txt_maschiH_idonei=2"} << "C9"
        << QString() << "txt_maschiH_idonei";
    QTest::newRow("C10 solo al salvataggio")
        << QStringList{"txt_femmineH=0", "txt_femmineH_ammesse=0", "txt_femmineH_idonee=1"} << "C10"
        << QString() << "txt_femmineH_idonee";
    QTest::newRow("C11 3 MH, 2 ammessi, 0 non ammessi")
        << QStringList{"txt_maschiH=3", "txt_maschiH_ammessi=2", "txt_maschiH_idonei=0"} << "C11"
        << QString() << "txt_maschiH_idonei";
    QTest::newRow("C12") << QStringList{"txt_femmineH_idonee=0"} << "C12" << QString()
                         << "txt_femmineH_ammesse";
    QTest::newRow("conteggi con separatore delle migliaia")
        << QStringList{"txt_maschi=1.234", "txt_maschiH=1000", "txt_maschiH_ammessi=0",
                       "txt_maschiH_idonei=1000", "txt_maschi_idonei=1.100"}
        << QString() << QString() << QString();
    QTest::newRow("C0 1,9 non è un conteggio") << QStringList{"txt_maschiH_ammessi=1,9"} << "C0"
                                               << "C0"
                                               << "txt_maschiH_ammessi";
    QTest::newRow("C0 prima delle somme")
        << QStringList{"txt_maschiH=9", "txt_maschiH_ammessi=1,0"} << "C0"
        << "C0"
        << "txt_maschiH_ammessi";
    QTest::newRow("sottoconteggio vuoto vale 0")
        << QStringList{"txt_femmineH=", "txt_femmineH_ammesse=", "txt_femmineH_idonee="}
        << QString() << QString() << QString();
}

void TestRegoleCorso::conteggi() {
    QFETCH(QStringList, modifiche);
    QFETCH(QString, alSalvataggio);
    QFETCH(QString, allaChiusura);
    QFETCH(QString, focus);
    DatiScheda d = schedaValida();
    cambia(d, modifiche);
    verifica(regoleSalvataggio(Layout::Completo, d), alSalvataggio, focus);
    verifica(regoleChiusura(Layout::Completo, d, {}), allaChiusura, focus);
}

void TestRegoleCorso::salvataggioEChiusura_data() {
    QTest::addColumn<QStringList>("modifiche");
    QTest::addColumn<bool>("tuttiGestiti");
    QTest::addColumn<double>("creditoMassimo"); // negative: no participants
    QTest::addColumn<bool>("misti");
    QTest::addColumn<QString>("alSalvataggio");
    QTest::addColumn<QString>("allaChiusura");
    QTest::newRow("tutto in regola")
        << QStringList{} << true << 2.5 << false << QString() << QString();
    QTest::newRow("credito 0") << QStringList{"credito=0"} << true << -1.0 << false << "S1"
                               << QString();
    QTest::newRow("credito 0,00") << QStringList{"credito=0,00"} << true << -1.0 << false << "S1"
                                  << QString();
    QTest::newRow("credito vuoto") << QStringList{"credito="} << true << -1.0 << false << "S1"
                                   << "K2";
    QTest::newRow("credito 5,5") << QStringList{"credito=5,5"} << true << -1.0 << false << QString()
                                 << "K3";
    QTest::newRow("credito 5") << QStringList{"credito=5"} << true << 5.0 << false << QString()
                               << QString();
    QTest::newRow("credito 2 con allievo a 2,5")
        << QStringList{"credito=2"} << true << 2.5 << false << QString() << "K4";
    QTest::newRow("credito 2,5 con allievo a 2,5")
        << QStringList{"credito=2,5"} << true << 2.5 << false << QString() << QString();
    QTest::newRow("tipologia vuota")
        << QStringList{"tipOrg="} << true << 1.0 << false << QString() << "K5";
    QTest::newRow("segmento vuoto")
        << QStringList{"segmento="} << true << 1.0 << false << QString() << "K6";
    QTest::newRow("area vuota") << QStringList{"areaFor="} << true << 1.0 << false << QString()
                                << "K7";
    QTest::newRow("classificazione vuota: prima la tipologia")
        << QStringList{"tipOrg=", "segmento=", "areaFor="} << true << 1.0 << false << QString()
        << "K5";
    QTest::newRow("C1 dopo la classificazione")
        << QStringList{"areaFor=", "txt_maschiH=9"} << true << 1.0 << false << "C1"
        << "K7";
    QTest::newRow("allievi non gestiti")
        << QStringList{} << false << 1.0 << false << QString() << "K9";
    QTest::newRow("C1 prima degli allievi non gestiti")
        << QStringList{"txt_maschiH=9"} << false << 1.0 << false << "C1"
        << "C1";
    QTest::newRow("giudizi 8 e 9") << QStringList{} << true << 1.0 << true << QString() << "K10";
    QTest::newRow("non gestiti prima dei giudizi misti")
        << QStringList{} << false << 1.0 << true << QString() << "K9";
    QTest::newRow("data prima del credito")
        << QStringList{"GG=", "credito="} << true << 1.0 << false << "S1"
        << "D2";
    QTest::newRow("credito 0 prima della data al salvataggio")
        << QStringList{"AAAA=218", "credito=0"} << true << 1.0 << false << "S1"
        << "D6";
}

void TestRegoleCorso::salvataggioEChiusura() {
    QFETCH(QStringList, modifiche);
    QFETCH(bool, tuttiGestiti);
    QFETCH(double, creditoMassimo);
    QFETCH(bool, misti);
    QFETCH(QString, alSalvataggio);
    QFETCH(QString, allaChiusura);
    DatiScheda d = schedaValida();
    cambia(d, modifiche);
    FattiAllievi fatti;
    fatti.tuttiGestiti = tuttiGestiti;
    if (creditoMassimo >= 0)
        fatti.creditoMassimo = creditoMassimo;
    fatti.giudiziMisti = misti;
    const Esito salvataggio = regoleSalvataggio(Layout::Completo, d);
    verifica(salvataggio, alSalvataggio);
    if (alSalvataggio == QLatin1String("S1"))
        QCOMPARE(salvataggio.focus, QStringLiteral("txtCredFormCorso"));
    verifica(regoleChiusura(Layout::Completo, d, fatti), allaChiusura);
}

void TestRegoleCorso::soloDateGuardaSoloLaData_data() {
    QTest::addColumn<QStringList>("modifiche");
    QTest::addColumn<QString>("regola");
    QTest::newRow("tutto il resto vuoto o incoerente")
        << QStringList{"credito=", "tipOrg=", "segmento=", "areaFor=", "txt_maschiH=9"}
        << QString();
    QTest::newRow("credito 9") << QStringList{"credito=9"} << QString();
    QTest::newRow("data mancante") << QStringList{"credito=", "GG=", "MM=", "AAAA="} << "D1";
}

void TestRegoleCorso::soloDateGuardaSoloLaData() {
    QFETCH(QStringList, modifiche);
    QFETCH(QString, regola);
    DatiScheda d = schedaValida();
    cambia(d, modifiche);
    FattiAllievi fatti;
    fatti.tuttiGestiti = false;
    fatti.giudiziMisti = true;
    fatti.creditoMassimo = 5;
    verifica(regoleSalvataggio(Layout::SoloDate, d), regola);
    verifica(regoleChiusura(Layout::SoloDate, d, fatti), regola);
}

void TestRegoleCorso::letturaNumeri_data() {
    QTest::addColumn<QString>("testo");
    QTest::addColumn<bool>("numero");
    QTest::addColumn<double>("decimale");
    QTest::addColumn<int>("intero");
    QTest::newRow("vuoto") << "" << false << 0.0 << 0;
    QTest::newRow("2,5") << "2,5" << true << 2.5 << 2;
    QTest::newRow("2.5") << "2.5" << true << 2.5 << 25; // a count reads "." as a group separator
    QTest::newRow(",25") << ",25" << true << 0.25 << 0;
    QTest::newRow("3,") << "3," << true << 3.0 << 3;
    QTest::newRow("1.234") << "1.234" << true << 1.234 << 1234;
    QTest::newRow("1,2,3") << "1,2,3" << false << 0.0 << 1;
    QTest::newRow("virgola sola") << "," << false << 0.0 << 0;
    QTest::newRow("testo") << "abc" << false << 0.0 << 0;
    QTest::newRow("spazi") << " 7 " << true << 7.0 << 7;
}

void TestRegoleCorso::letturaNumeri() {
    QFETCH(QString, testo);
    QFETCH(bool, numero);
    QFETCH(double, decimale);
    QFETCH(int, intero);
    const auto letto = numeroScritto(testo);
    QCOMPARE(letto.has_value(), numero);
    if (numero)
        QCOMPARE(*letto, decimale);
    QCOMPARE(interoDaTesto(testo), intero);
}

void TestRegoleCorso::formatoConteggi() {
    QCOMPARE(formatoConteggio(0), QStringLiteral("0"));
    QCOMPARE(formatoConteggio(12), QStringLiteral("12"));
    QCOMPARE(formatoConteggio(1234), QStringLiteral("1.234"));
    for (qint64 n : {0, 7, 999, 1000, 1234567})
        QCOMPARE(interoDaTesto(formatoConteggio(n)), n);
}

void TestRegoleCorso::codiciClassificazione_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("codice");
    QTest::addColumn<bool>("seleziona");
    QTest::addColumn<QString>("voce");
    QTest::newRow("tipologia vuota") << "tip"
                                     << "" << true << "";
    QTest::newRow("I") << "tip"
                       << "I" << true << "I - Gestione indiretta";
    QTest::newRow("R") << "tip"
                       << "R" << true << "R - Gestione diretta";
    QTest::newRow("tipologia ignota") << "tip"
                                      << "X" << false << "";
    QTest::newRow("cg") << "area"
                        << "cg" << true << "cg - Formazione area giuridico-amministrativa";
    QTest::newRow("ce") << "area"
                        << "ce" << true << "ce - Formazione area economico-finanziaria";
    QTest::newRow("ci") << "area"
                        << "ci" << true << "ci - Formazione area informatica";
    QTest::newRow("cu") << "area"
                        << "cu" << true << "cu - Formazione area europea";
    QTest::newRow("cp") << "area"
                        << "cp" << true
                        << "cp - Formazione area pari opportunità e non discriminazione";
    QTest::newRow("xx") << "area"
                        << "xx" << true << "xx - Area non specificata";
    QTest::newRow("area vuota") << "area"
                                << "" << false << "";
    QTest::newRow("area ignota") << "area"
                                 << "zz" << false << "";
    QTest::newRow("S1") << "seg"
                        << "S1" << true << "S1 - Conoscenze tecnico professionali";
    QTest::newRow("S2") << "seg"
                        << "S2" << true << "S2 - Capacita'";
    QTest::newRow("segmento vuoto") << "seg"
                                    << "" << false << "";
}

void TestRegoleCorso::codiciClassificazione() {
    QFETCH(QString, campo);
    QFETCH(QString, codice);
    QFETCH(bool, seleziona);
    QFETCH(QString, voce);
    const auto scelta = campo == QLatin1String("tip")    ? voceTipOrg(codice)
                        : campo == QLatin1String("area") ? voceAreaFor(codice)
                                                         : voceSegmento(codice);
    QCOMPARE(scelta.has_value(), seleziona);
    if (!seleziona)
        return;
    QCOMPARE(*scelta, voce);
    // Saving takes the same code back from the item.
    const QString ripreso = campo == QLatin1String("tip")    ? codiceTipOrg(*scelta)
                            : campo == QLatin1String("area") ? codiceAreaFor(*scelta)
                                                             : codiceSegmento(*scelta);
    QCOMPARE(ripreso, codice);
}

void TestRegoleCorso::modifiche_data() {
    QTest::addColumn<QStringList>("modifiche");
    QTest::addColumn<bool>("completo");
    QTest::addColumn<bool>("soloDate");
    QTest::newRow("nulla") << QStringList{} << false << false;
    QTest::newRow("giorno") << QStringList{"GG=21"} << true << true;
    QTest::newRow("mese") << QStringList{"MM=11"} << true << true;
    QTest::newRow("anno") << QStringList{"AAAA=2019"} << true << true;
    QTest::newRow("credito") << QStringList{"credito=3"} << true << false;
    QTest::newRow("credito scritto diverso") << QStringList{"credito=2,50"} << false << false;
    QTest::newRow("credito cancellato") << QStringList{"credito="} << true << false;
    QTest::newRow("tipologia") << QStringList{"tipOrg=R - Gestione diretta"} << true << false;
    QTest::newRow("segmento") << QStringList{"segmento="} << true << false;
    QTest::newRow("area") << QStringList{"areaFor=xx - Area non specificata"} << true << false;
    QTest::newRow("sottoconteggio") << QStringList{"txt_maschiH=1"} << true << false;
    QTest::newRow("sottoconteggio non ammessi FH")
        << QStringList{"txt_femmineH_idonee=0"} << true << false;
    QTest::newRow("conteggio ricalcolato")
        << QStringList{"txt_maschi=6", "txt_femmine_idonee=0"} << false << false;
}

void TestRegoleCorso::modifiche() {
    QFETCH(QStringList, modifiche);
    QFETCH(bool, completo);
    QFETCH(bool, soloDate);
    const DatiScheda mostrata = schedaValida();
    DatiScheda attuale = mostrata;
    cambia(attuale, modifiche);
    QCOMPARE(schedaModificata(Layout::Completo, mostrata, attuale), completo);
    QCOMPARE(schedaModificata(Layout::SoloDate, mostrata, attuale), soloDate);
}

void TestRegoleCorso::stati_data() {
    QTest::addColumn<QString>("stato");
    QTest::addColumn<bool>("aperto");
    QTest::addColumn<bool>("riapri");
    QTest::addColumn<QColor>("colore");
    QTest::newRow("APERTO") << "APERTO" << true << false << QColor(0, 192, 0);
    QTest::newRow("CHIUSO") << "CHIUSO" << false << true << QColor(255, 255, 0);
    QTest::newRow("TRASMESSO") << "TRASMESSO" << false << false << QColor(192, 0, 0);
    QTest::newRow("altro") << "SOSPESO" << true << false << QColor();
    QTest::newRow("vuoto") << "" << true << false << QColor();
}

void TestRegoleCorso::stati() {
    QFETCH(QString, stato);
    QFETCH(bool, aperto);
    QFETCH(bool, riapri);
    QFETCH(QColor, colore);
    const Abilitazioni a = abilitazioniPerStato(stato);
    for (bool abilitato :
         {a.partecipanti, a.salva, a.chiudi, a.dataFine, a.classificazione, a.sottoconteggi})
        QCOMPARE(abilitato, aperto);
    QCOMPARE(a.riapri, riapri);
    const auto bordo = coloreStato(stato);
    QCOMPARE(bordo.has_value(), colore.isValid());
    if (bordo)
        QCOMPARE(*bordo, colore);
}

QTEST_APPLESS_MAIN(TestRegoleCorso)
#include "tst_regolecorso.moc"
