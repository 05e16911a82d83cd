#include "TestSupport.h"

#include "download/CorsiApprovati.h"

#include <QtTest>

using download::Filtro;
using download::Verifica;

Q_DECLARE_METATYPE(Filtro)
Q_DECLARE_METATYPE(Verifica)

// The data behind the course chooser, on the demo database: agency A/123 with
// courses 41235..41239 in the states APERTO, APERTO, APERTO, CHIUSO, TRASMESSO.
class TestCorsiApprovati : public QObject {
    Q_OBJECT
private slots:
    void filtroIniziale_data();
    void filtroIniziale();
    void elenco_data();
    void elenco();
    void elencoHaLeColonneDellaGriglia();
    void elencoOrdinatoPerProgressivoEDenominazione();
    void elencoSoloDellOperatore();

    void ricerca_data();
    void ricerca();

    void verificaConferma_data();
    void verificaConferma();
    void corsoSceltoLeggeCodSubAsse();
    void statoCorsoAttuale();

private:
    static QList<qint32> ids(const QList<db::Row>& righe) {
        QList<qint32> lista;
        for (const db::Row& r : righe)
            lista << qint32(r.value(QStringLiteral("IdAttivita")).toLongLong());
        return lista;
    }
    static void aggiungiCorso(db::Connection& c, int id, int progr, const QString& titolo,
                              const QString& stato, const QString& gruppo = QStringLiteral("A"),
                              int operatore = 123) {
        c.exec(QStringLiteral("INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, "
                              "ProgrAttivita, DenCorso, Stato, TotIter, CodSubAsse) VALUES "
                              "(?, ?, ?, ?, ?, ?, ?, ?)"),
               {id, gruppo, operatore, progr, titolo, stato, 10, QStringLiteral("02")});
    }
};

void TestCorsiApprovati::filtroIniziale_data() {
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<Filtro>("filtro");
    QTest::newRow("fine corso") << "FINECORSO" << Filtro::TuttiGliStati;
    QTest::newRow("trasmissione") << "TRASMISSIONE" << Filtro::SoloChiusi;
    QTest::newRow("nessuna") << "" << Filtro::TuttiGliStati;
}

void TestCorsiApprovati::filtroIniziale() {
    QFETCH(QString, tipo);
    QTEST(download::filtroIniziale(tipo), "filtro");
}

void TestCorsiApprovati::elenco_data() {
    QTest::addColumn<Filtro>("filtro");
    QTest::addColumn<QList<qint32>>("attesi");
    QTest::newRow("tutti") << Filtro::TuttiGliStati
                           << QList<qint32>{41235, 41236, 41237, 41238, 41239};
    QTest::newRow("chiusi") << Filtro::SoloChiusi << QList<qint32>{41238};
    QTest::newRow("chiusi e trasmessi") << Filtro::ChiusiETrasmessi << QList<qint32>{41238, 41239};
}

void TestCorsiApprovati::elenco() {
    QFETCH(Filtro, filtro);
    TestInstallation inst;
    Session& s = inst.sessione();
    QTEST(ids(download::elencoCorsi(s.CorsiDB(), s.OperatoreCorrente, filtro)), "attesi");
}

void TestCorsiApprovati::elencoHaLeColonneDellaGriglia() {
    TestInstallation inst;
    Session& s = inst.sessione();
    const auto righe =
        download::elencoCorsi(s.CorsiDB(), s.OperatoreCorrente, Filtro::TuttiGliStati);
    QVERIFY(!righe.isEmpty());
    const QStringList attese = {
        "IdAttivita",      "GrupOpe",      "Operatore",      "ProgrAttivita", "DenCorso",
        "DataInizioGG",    "DataInizioMM", "DataInizioAAAA", "DataFineEffGG", "DataFineEffMM",
        "DataFineEffAAAA", "TotIter",      "TotMaschi",      "TotFemmine",    "TotMaschiH",
        "TotFemmineH",     "AmmessiM",     "AmmessiF",       "AmmessiMH",     "AmmessiFH",
        "RitiratiM",       "RitiratiF",    "RitiratiMH",     "RitiratiFH",    "Stato"};
    QCOMPARE(righe.first().names(), attese);
    QStringList colonne;
    for (const download::Colonna& c : download::colonne()) {
        colonne << c.nome;
        QVERIFY(!c.intestazione.isEmpty());
        QVERIFY(c.larghezza >= 40);
    }
    QCOMPARE(colonne, attese);
}

void TestCorsiApprovati::elencoOrdinatoPerProgressivoEDenominazione() {
    TestInstallation inst;
    Session& s = inst.sessione();
    // Progressive 10 comes after 5 (numbers, not texts); equal progressives go
    // by title, letter case ignored.
    aggiungiCorso(s.CorsiDB(), 50010, 10, QStringLiteral("Zootecnia"), QStringLiteral("APERTO"));
    aggiungiCorso(s.CorsiDB(), 50011, 2, QStringLiteral("Alfabetizzazione"),
                  QStringLiteral("APERTO"));
    aggiungiCorso(s.CorsiDB(), 50012, 2, QStringLiteral("alimentare"), QStringLiteral("APERTO"));
    QCOMPARE(ids(download::elencoCorsi(s.CorsiDB(), s.OperatoreCorrente, Filtro::TuttiGliStati)),
             (QList<qint32>{41235, 50011, 50012, 41236, 41237, 41238, 41239, 50010}));
}

void TestCorsiApprovati::elencoSoloDellOperatore() {
    TestInstallation inst;
    Session& s = inst.sessione();
    aggiungiCorso(s.CorsiDB(), 60001, 1, QStringLiteral("Altro gruppo"), QStringLiteral("CHIUSO"),
                  QStringLiteral("B"), 123);
    aggiungiCorso(s.CorsiDB(), 60002, 1, QStringLiteral("Altro operatore"),
                  QStringLiteral("CHIUSO"), QStringLiteral("A"), 124);
    for (Filtro f : {Filtro::TuttiGliStati, Filtro::SoloChiusi, Filtro::ChiusiETrasmessi}) {
        const QList<qint32> lista = ids(download::elencoCorsi(s.CorsiDB(), s.OperatoreCorrente, f));
        QVERIFY(!lista.contains(60001));
        QVERIFY(!lista.contains(60002));
    }
    Operatore altro{QStringLiteral("B"), QStringLiteral("00123"), QString()};
    QCOMPARE(ids(download::elencoCorsi(s.CorsiDB(), altro, Filtro::SoloChiusi)),
             QList<qint32>{60001});
}

void TestCorsiApprovati::ricerca_data() {
    QTest::addColumn<Filtro>("filtro");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QList<qint32>>("trovati");
    const Filtro tutti = Filtro::TuttiGliStati;
    QTest::newRow("parola") << tutti << "saldatura" << QList<qint32>{41236};
    QTest::newRow("maiuscole") << tutti << "SALDATURA" << QList<qint32>{41236};
    QTest::newRow("inizio e fine") << tutti << "base" << QList<qint32>{41235, 41239};
    QTest::newRow("nessuno") << tutti << "astronomia" << QList<qint32>{};
    QTest::newRow("apostrofo") << tutti << "d'informatica" << QList<qint32>{70001};
    QTest::newRow("percento letterale") << tutti << "100%" << QList<qint32>{70002};
    QTest::newRow("percento da solo") << tutti << "%" << QList<qint32>{70002};
    QTest::newRow("sottolineato letterale") << tutti << "a_b" << QList<qint32>{70003};
    QTest::newRow("asterisco letterale") << tutti << "*" << QList<qint32>{};
    QTest::newRow("barra rovesciata letterale") << tutti << "a\\b" << QList<qint32>{70006};
    QTest::newRow("apostrofo e punto interrogativo") << tutti << "d'Aosta?" << QList<qint32>{};
    QTest::newRow("accentate minuscole") << tutti << "qualità" << QList<qint32>{70002, 70005};
    QTest::newRow("accentate maiuscole") << tutti << "QUALITÀ" << QList<qint32>{70002, 70005};
    QTest::newRow("30000 percento") << tutti << QString(30000, QLatin1Char('%')) << QList<qint32>{};
    QTest::newRow("32767 à") << tutti << QString(32767, QChar(0xE0)) << QList<qint32>{};
    QTest::newRow("dentro il filtro") << Filtro::SoloChiusi << "base" << QList<qint32>{};
    QTest::newRow("trasmessi") << Filtro::ChiusiETrasmessi << "base" << QList<qint32>{41239};
}

void TestCorsiApprovati::ricerca() {
    QFETCH(Filtro, filtro);
    QFETCH(QString, testo);
    TestInstallation inst;
    Session& s = inst.sessione();
    aggiungiCorso(s.CorsiDB(), 70001, 6, QStringLiteral("Corso d'informatica avanzata"),
                  QStringLiteral("APERTO"));
    aggiungiCorso(s.CorsiDB(), 70002, 7, QStringLiteral("Qualità al 100% garantita"),
                  QStringLiteral("APERTO"));
    // "a_b" must not match "axb": the underscore is a plain character.
    aggiungiCorso(s.CorsiDB(), 70003, 8, QStringLiteral("Schema a_b"), QStringLiteral("APERTO"));
    aggiungiCorso(s.CorsiDB(), 70004, 9, QStringLiteral("Schema axb"), QStringLiteral("APERTO"));
    aggiungiCorso(s.CorsiDB(), 70005, 10, QStringLiteral("SISTEMI DI QUALITÀ"),
                  QStringLiteral("APERTO"));
    aggiungiCorso(s.CorsiDB(), 70006, 11, QStringLiteral("Percorso a\\b"),
                  QStringLiteral("APERTO"));
    QTEST(download::corsiTrovati(s.CorsiDB(), s.OperatoreCorrente, filtro, testo), "trovati");
}

void TestCorsiApprovati::verificaConferma_data() {
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("stato");
    QTest::addColumn<Verifica>("esito");
    QTest::newRow("fine corso aperto") << "FINECORSO"
                                       << "APERTO" << Verifica::Accetta;
    QTest::newRow("fine corso chiuso") << "FINECORSO"
                                       << "CHIUSO" << Verifica::Accetta;
    QTest::newRow("fine corso trasmesso") << "FINECORSO"
                                          << "TRASMESSO" << Verifica::Accetta;
    QTest::newRow("trasmissione aperto") << "TRASMISSIONE"
                                         << "APERTO" << Verifica::Rifiuta;
    QTest::newRow("trasmissione chiuso") << "TRASMISSIONE"
                                         << "CHIUSO" << Verifica::Accetta;
    QTest::newRow("trasmissione trasmesso") << "TRASMISSIONE"
                                            << "TRASMESSO" << Verifica::ChiediConferma;
}

void TestCorsiApprovati::verificaConferma() {
    QFETCH(QString, tipo);
    QFETCH(QString, stato);
    QTEST(download::verificaConferma(tipo, stato), "esito");
}

void TestCorsiApprovati::corsoSceltoLeggeCodSubAsse() {
    TestInstallation inst;
    Session& s = inst.sessione();
    const auto righe =
        download::elencoCorsi(s.CorsiDB(), s.OperatoreCorrente, Filtro::TuttiGliStati);
    for (const db::Row& riga : righe) {
        const qint32 id = qint32(riga.value(0).toLongLong());
        const CorsoScelto c = download::corsoScelto(s.CorsiDB(), riga);
        const db::Row atteso =
            s.CorsiDB()
                .query(QStringLiteral("SELECT ProgrAttivita, DenCorso, TotIter, CodSubAsse FROM "
                                      "KELDCorsiDef WHERE IdAttivita = ?"),
                       {id})
                .first();
        QCOMPARE(c.IdAttivita, id);
        QCOMPARE(c.ProgrAttivita, atteso.value(0).toString());
        QCOMPARE(c.DenCorso, atteso.value(1).toString());
        QCOMPARE(c.TotIter, atteso.value(2).toInt());
        QCOMPARE(c.CodSubAsse, atteso.value(3).toString());
        QVERIFY(!c.CodSubAsse.isEmpty());
    }
}

void TestCorsiApprovati::statoCorsoAttuale() {
    TestInstallation inst;
    db::Connection& c = inst.sessione().CorsiDB();
    QCOMPARE(download::statoCorso(c, 41238), QStringLiteral("CHIUSO"));
    c.exec(QStringLiteral("UPDATE KELDCorsiDef SET Stato = ? WHERE IdAttivita = ?"),
           {QStringLiteral("APERTO"), 41238});
    QCOMPARE(download::statoCorso(c, 41238), QStringLiteral("APERTO"));
    QCOMPARE(download::statoCorso(c, 1), QString());
}

QTEST_GUILESS_MAIN(TestCorsiApprovati)
#include "tst_corsiapprovati.moc"
