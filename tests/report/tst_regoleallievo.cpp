#include "report/RegoleAllievo.h"

#include <QtTest>

using namespace report;
using namespace report::allievo;

namespace {

const QString kPremessa = QStringLiteral(
    "Le ore di presenza, ottenute come differenza tra la durata del corso e le ore di assenza, "
    "non raggiungono i tre quarti della durata del corso.\n");

struct Atteso {
    QString testo;
    QString titolo;
    ui::Icon icona;
    QString focus;
};

// What the user sees for each rule of the confirmation.
const QHash<QString, Atteso>& attesi() {
    const QString incoerenti = QStringLiteral("Dati incoerenti o incompleti");
    const QString frequenza =
        QStringLiteral("Mancato raggiungimento della frequenza minima (3/4).");
    const QString giudizio = QStringLiteral("Incoerenza Giudizio e Credito.");
    const ui::Icon info = ui::Icon::Information;
    static const QHash<QString, Atteso> a = {
        {"A1", {"Indicare le ore di assenza.", incoerenti, info, "txt_OreAssenza"}},
        {"A2",
         {"Le ore di assenza non possono superare la durata del corso.", incoerenti, info, ""}},
        {"A3", {"Le ore di assenza non possono essere dispari.", incoerenti, info, ""}},
        {"A4", {"Indicare la partecipazione.", incoerenti, info, "cmbPartecipazione"}},
        {"A5", {"Indicare il giudizio.", incoerenti, info, "cmbGiudizio"}},
        {"A6", {"Indicare la causale del giudizio negativo.", incoerenti, info, "cmbMotivo"}},
        {"A7", {"Indicare il credito formativo valutato.", incoerenti, info, "txtCredFormValut"}},
        {"A8",
         {"Il credito formativo valutato deve essere compreso tra i valori 0 e 5.", incoerenti,
          info, "txtCredFormValut"}},
        {"A9",
         {"Il valore dei decimali del credito formativo valutato non è corretto (i valori "
          "ammessi sono ,00 ,25, 50, 75) ",
          incoerenti, info, "txtCredFormValut"}},
        {"A10",
         {"Il credito formativo valutato non puo' superare il Il credito formativo del corso.",
          incoerenti, info, "txtCredFormValut"}},
        {"A11",
         {"Se per il motivo la voce scelta è 'Allievo assente', allora occorre valorizzare le ore "
          "di assenza.",
          ui::DefaultTitle, ui::Icon::None, ""}},
        {"A12a",
         {kPremessa +
              "In questo caso la partecipazione deve essere 'Partecipazione parziale' o 'Assente'.",
          frequenza, info, ""}},
        {"A12b",
         {kPremessa + "In questo caso il 'Credito Formativo Valutato' deve essere zero.", frequenza,
          info, ""}},
        {"A12c",
         {kPremessa + "In questo caso la prova non è superata e deve essere indicato il motivo.",
          frequenza, info, ""}},
        {"A12d",
         {"Per il giudizio 'Prova superata' \nil 'Credito Formativo Valutato' deve essere maggiore "
          "di zero.",
          giudizio, info, ""}},
        {"A12e",
         {"Per poter inserire un credito il giudizio deve essere 'Prova superata' o 'Prova non "
          "prevista'\nDiversamente il 'Credito Formativo Valutato' deve essere zero.",
          giudizio, info, ""}},
    };
    return a;
}

// The boxes of a participant, the first columns of the data-driven tests.
void colonneAllievo() {
    QTest::addColumn<QString>("totOre");
    QTest::addColumn<QString>("ore");
    QTest::addColumn<QString>("partecipazione");
    QTest::addColumn<QString>("giudizio");
    QTest::addColumn<QString>("motivo");
    QTest::addColumn<QString>("credito");
}

// The participant of the current data row, in a course with that credit.
DatiAllievo allievoDellaRiga(const QString& creditoCorso) {
    QFETCH(QString, totOre);
    QFETCH(QString, ore);
    QFETCH(QString, partecipazione);
    QFETCH(QString, giudizio);
    QFETCH(QString, motivo);
    QFETCH(QString, credito);
    return {ore, partecipazione, giudizio, motivo, credito, totOre, creditoCorso};
}

} // namespace

class TestRegoleAllievo : public QObject {
    Q_OBJECT
private slots:
    void conferma_data();
    void conferma();
    void valoriSalvati_data();
    void valoriSalvati();
    void presenza_data();
    void presenza();
    void voci();
};

void TestRegoleAllievo::conferma_data() {
    colonneAllievo();
    QTest::addColumn<QString>("creditoCorso");
    QTest::addColumn<QString>("regola");

    const QString E = VoceEsecutivo, P = VoceParziale, A = VoceAssente;
    const QString g0 = GiudizioNonSuperata, g8 = GiudizioSuperata, g9 = GiudizioNonPrevista;
    const QString idoneo = QStringLiteral("Allievo non idoneo");
    // Course of 40 hours with a credit of 3,5.
    QTest::newRow("40h: 10 ore sufficienti") << "40"
                                             << "10" << E << g8 << ""
                                             << "2,5"
                                             << "3,5"
                                             << "";
    QTest::newRow("40h: 12 ore insufficienti, Esecutivo") << "40"
                                                          << "12" << E << g8 << ""
                                                          << "2,5"
                                                          << "3,5"
                                                          << "A12a";
    QTest::newRow("40h: 11 ore dispari") << "40"
                                         << "11" << E << g8 << ""
                                         << "2,5"
                                         << "3,5"
                                         << "A3";
    QTest::newRow("40h: 42 ore oltre la durata") << "40"
                                                 << "42" << E << g8 << ""
                                                 << "2,5"
                                                 << "3,5"
                                                 << "A2";
    QTest::newRow("40h: 41 ore, durata prima della parità") << "40"
                                                            << "41" << E << g8 << ""
                                                            << "2,5"
                                                            << "3,5"
                                                            << "A2";
    QTest::newRow("40h: 40 ore, Assente") << "40"
                                          << "40" << A << g0 << "Allievo assente"
                                          << "0"
                                          << "3,5"
                                          << "";
    QTest::newRow("12 ore, parziale, giudizio 0, motivo, credito 0")
        << "40"
        << "12" << P << g0 << idoneo << "0"
        << "3,5"
        << "";
    QTest::newRow("12 ore, parziale, giudizio 0, motivo, credito 1")
        << "40"
        << "12" << P << g0 << idoneo << "1"
        << "3,5"
        << "A12b";
    QTest::newRow("12 ore, Esecutivo e credito 1: prima la partecipazione")
        << "40"
        << "12" << E << g0 << idoneo << "1"
        << "3,5"
        << "A12a";
    QTest::newRow("12 ore, Assente, giudizio 8 senza motivo") << "40"
                                                              << "12" << A << g8 << ""
                                                              << "0"
                                                              << "3,5"
                                                              << "A12c";
    QTest::newRow("12 ore, parziale, giudizio 9 senza motivo") << "40"
                                                               << "12" << P << g9 << ""
                                                               << "0"
                                                               << "3,5"
                                                               << "A12c";
    QTest::newRow("12 ore, credito 1 e senza motivo: prima il credito") << "40"
                                                                        << "12" << P << g9 << ""
                                                                        << "1"
                                                                        << "3,5"
                                                                        << "A12b";
    QTest::newRow("giudizio 8, credito 0,25") << "40"
                                              << "10" << E << g8 << ""
                                              << "0,25"
                                              << "3,5"
                                              << "";
    QTest::newRow("giudizio 8, credito 0") << "40"
                                           << "10" << E << g8 << ""
                                           << "0"
                                           << "3,5"
                                           << "A12d";
    QTest::newRow("giudizio 0 con motivo, credito 0,25") << "40"
                                                         << "10" << E << g0 << idoneo << "0,25"
                                                         << "3,5"
                                                         << "A12e";
    QTest::newRow("giudizio 0 con motivo, credito 0") << "40"
                                                      << "10" << E << g0 << idoneo << "0"
                                                      << "3,5"
                                                      << "";
    QTest::newRow("giudizio 9, credito 0") << "40"
                                           << "10" << E << g9 << ""
                                           << "0"
                                           << "3,5"
                                           << "";
    QTest::newRow("giudizio 9, credito 2") << "40"
                                           << "10" << E << g9 << ""
                                           << "2"
                                           << "3,5"
                                           << "";
    QTest::newRow("credito 2,30") << "40"
                                  << "10" << E << g8 << ""
                                  << "2,30"
                                  << "3,5"
                                  << "A9";
    // Three decimals: only an exact quarter passes.
    QTest::newRow("credito 0,249, arrotondato sarebbe 0,25") << "40"
                                                             << "10" << E << g8 << ""
                                                             << "0,249"
                                                             << "5"
                                                             << "A9";
    QTest::newRow("credito 0,251") << "40"
                                   << "10" << E << g8 << ""
                                   << "0,251"
                                   << "5"
                                   << "A9";
    QTest::newRow("credito 4,999") << "40"
                                   << "10" << E << g8 << ""
                                   << "4,999"
                                   << "5"
                                   << "A9";
    QTest::newRow("credito 0,250") << "40"
                                   << "10" << E << g8 << ""
                                   << "0,250"
                                   << "5"
                                   << "";
    QTest::newRow("credito 2,7500") << "40"
                                    << "10" << E << g8 << ""
                                    << "2,7500"
                                    << "5"
                                    << "";
    QTest::newRow("credito 0,001") << "40"
                                   << "10" << E << g8 << ""
                                   << "0,001"
                                   << "5"
                                   << "A9";
    QTest::newRow("credito 5,25") << "40"
                                  << "10" << E << g8 << ""
                                  << "5,25"
                                  << "5,5"
                                  << "A8";
    QTest::newRow("credito 3,75 sul corso a 3,5") << "40"
                                                  << "10" << E << g8 << ""
                                                  << "3,75"
                                                  << "3,5"
                                                  << "A10";
    QTest::newRow("credito 3,5 sul corso a 3,5") << "40"
                                                 << "10" << E << g8 << ""
                                                 << "3,5"
                                                 << "3,5"
                                                 << "";
    QTest::newRow("credito 5") << "40"
                               << "10" << E << g8 << ""
                               << "5"
                               << "5"
                               << "";
    QTest::newRow("credito 0,75") << "40"
                                  << "10" << E << g8 << ""
                                  << "0,75"
                                  << "3,5"
                                  << "";
    QTest::newRow("credito con punto") << "40"
                                       << "10" << E << g8 << ""
                                       << "0.5"
                                       << "3,5"
                                       << "";
    QTest::newRow("credito virgola sola") << "40"
                                          << "10" << E << g8 << ""
                                          << ","
                                          << "3,5"
                                          << "A8";
    QTest::newRow("credito del corso cancellato") << "40"
                                                  << "10" << E << g8 << ""
                                                  << "0,25"
                                                  << ""
                                                  << "A10";
    QTest::newRow("0 ore con motivo Allievo assente") << "40"
                                                      << "0" << A << g0 << "Allievo assente"
                                                      << "0"
                                                      << "3,5"
                                                      << "A11";
    QTest::newRow("2 ore con motivo Allievo assente") << "40"
                                                      << "2" << A << g0 << "Allievo assente"
                                                      << "0"
                                                      << "3,5"
                                                      << "";
    QTest::newRow("ore vuote") << "40"
                               << "" << E << g8 << ""
                               << "2"
                               << "3,5"
                               << "A1";
    QTest::newRow("ore non numeriche") << "40"
                                       << "," << E << g8 << ""
                                       << "2"
                                       << "3,5"
                                       << "A1";
    QTest::newRow("ore con decimali") << "40"
                                      << "10,5" << E << g8 << ""
                                      << "2"
                                      << "3,5"
                                      << "A3";
    QTest::newRow("partecipazione mancante") << "40"
                                             << "10"
                                             << "" << g8 << ""
                                             << "2"
                                             << "3,5"
                                             << "A4";
    QTest::newRow("giudizio mancante") << "40"
                                       << "10" << E << ""
                                       << ""
                                       << "2"
                                       << "3,5"
                                       << "A5";
    QTest::newRow("giudizio 0 senza motivo") << "40"
                                             << "10" << E << g0 << ""
                                             << "0"
                                             << "3,5"
                                             << "A6";
    QTest::newRow("credito mancante") << "40"
                                      << "10" << E << g8 << ""
                                      << ""
                                      << "3,5"
                                      << "A7";
    QTest::newRow("tutto mancante: prima le ore") << "40"
                                                  << ""
                                                  << ""
                                                  << ""
                                                  << ""
                                                  << ""
                                                  << ""
                                                  << "A1";
    // Attendance is sufficient up to exactly one quarter of the course.
    QTest::newRow("42h: 10 ore sufficienti") << "42"
                                             << "10" << E << g8 << ""
                                             << "1"
                                             << "3,5"
                                             << "";
    QTest::newRow("42h: 12 ore insufficienti") << "42"
                                               << "12" << E << g8 << ""
                                               << "1"
                                               << "3,5"
                                               << "A12a";
    QTest::newRow("120h: 30 ore sufficienti") << "120"
                                              << "30" << E << g8 << ""
                                              << "1"
                                              << "3,5"
                                              << "";
    QTest::newRow("120h: 32 ore insufficienti") << "120"
                                                << "32" << E << g8 << ""
                                                << "1"
                                                << "3,5"
                                                << "A12a";
}

void TestRegoleAllievo::conferma() {
    QFETCH(QString, creditoCorso);
    QFETCH(QString, regola);
    const DatiAllievo d = allievoDellaRiga(creditoCorso);
    const Esito e = verificaAllievo(d);
    QCOMPARE(e.regola, regola);
    QCOMPARE(e.superato, regola.isEmpty());
    if (regola.isEmpty())
        return;
    QVERIFY(attesi().contains(regola));
    const Atteso& a = attesi()[regola];
    QCOMPARE(e.testo, a.testo);
    QCOMPARE(e.titolo, a.titolo);
    QCOMPARE(e.icona, a.icona);
    QCOMPARE(e.focus, a.focus);
    QVERIFY(!e.primaScheda);
}

void TestRegoleAllievo::valoriSalvati_data() {
    colonneAllievo();
    QTest::addColumn<int>("codPartec");
    QTest::addColumn<QString>("codGiudizio");
    QTest::addColumn<double>("creditoSalvato");
    QTest::addColumn<int>("presenza");
    QTest::newRow("esecutivo, 8") << "40"
                                  << "10" << VoceEsecutivo << GiudizioSuperata << ""
                                  << "2,25" << 1 << "8" << 2.25 << 30;
    QTest::newRow("parziale, 0") << "40"
                                 << "12" << VoceParziale << GiudizioNonSuperata
                                 << "Allievo ritirato"
                                 << "0" << 3 << "0" << 0.0 << 28;
    QTest::newRow("assente, 9") << "16"
                                << "16" << VoceAssente << GiudizioNonPrevista << ""
                                << "0" << 7 << "9" << 0.0 << 0;
}

void TestRegoleAllievo::valoriSalvati() {
    QFETCH(int, codPartec);
    QFETCH(QString, codGiudizio);
    QFETCH(double, creditoSalvato);
    QFETCH(int, presenza);
    const DatiAllievo d = allievoDellaRiga(QStringLiteral("5"));
    const ValoriAllievo v = valoriDaSalvare(d);
    QCOMPARE(v.oreAssenza, d.oreAssenza.toInt());
    QCOMPARE(v.codPartec, codPartec);
    QCOMPARE(v.descPartec, d.partecipazione);
    QCOMPARE(v.giudizio, codGiudizio);
    QCOMPARE(v.motivo, d.motivo);
    QCOMPARE(v.credito, creditoSalvato);
    QCOMPARE(v.presenzaEffettiva, presenza);
}

void TestRegoleAllievo::presenza_data() {
    QTest::addColumn<QString>("ore");
    QTest::addColumn<QString>("totOre");
    QTest::addColumn<QString>("presenza");
    QTest::newRow("vuoto") << ""
                           << "40"
                           << "";
    QTest::newRow("0") << "0"
                       << "40"
                       << "40";
    QTest::newRow("10") << "10"
                        << "40"
                        << "30";
    QTest::newRow("oltre") << "42"
                           << "40"
                           << "-2";
}

void TestRegoleAllievo::presenza() {
    QFETCH(QString, ore);
    QFETCH(QString, totOre);
    QFETCH(QString, presenza);
    QCOMPARE(presenzaEffettiva(ore, totOre), presenza);
}

void TestRegoleAllievo::voci() {
    QCOMPARE(vociPartecipazione(),
             QStringList({"Esecutivo", "Partecipazione parziale", "Assente"}));
    QCOMPARE(vociGiudizio(), QStringList({"0 - Prova non superata o non sostenuta",
                                          "8 - Prova superata", "9 - Prova non prevista"}));
    QCOMPARE(vociMotivo(),
             QStringList({"Allievo non idoneo", "Allievo ritirato", "Allievo assente", "Altro"}));
    for (int codice : {1, 3, 7})
        QCOMPARE(codicePartecipazione(vocePartecipazione(codice)), codice);
    for (int codice : {0, 2, 5})
        QVERIFY(vocePartecipazione(codice).isEmpty());
    QVERIFY(partecipazioneNonPiuPresente(2));
    QVERIFY(!partecipazioneNonPiuPresente(3));
    QCOMPARE(AvvisoPartecipazione,
             QStringLiteral("Era stata indicata una voce ora non più presente ( Partecipazione "
                            "senza verifica)"));
    for (const char* codice : {"0", "8", "9"})
        QCOMPARE(codiceGiudizio(voceGiudizio(QString::fromLatin1(codice))),
                 QString::fromLatin1(codice));
    QVERIFY(voceGiudizio(QStringLiteral(" ")).isEmpty());
    QVERIFY(voceGiudizio(QStringLiteral("X")).isEmpty());
    QCOMPARE(codiceGiudizio(QString()), QStringLiteral(" "));
}

QTEST_APPLESS_MAIN(TestRegoleAllievo)
#include "tst_regoleallievo.moc"
