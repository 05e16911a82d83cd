// The printed module of a course, read back from its PDF with pdftotext.

#include "TestSupport.h"

#include "core/Programmi.h"
#include "db/Database.h"
#include "report/ModuloFineCorso.h"

#include <QRegularExpression>
#include <QtTest>

using namespace report;

namespace {

constexpr qint32 kCorso = 50300;

QString senzaSpazi(QString testo) {
    return testo.remove(QLatin1Char(' '));
}

} // namespace

class TestModulo : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> m_inst;
    std::optional<modulo::DatiModulo> m_dati;
    QStringList m_pagine; // of the 300-participant course

    db::Connection& db() { return m_inst->sessione().CorsiDB(); }
    QStringList pagineDi(qint32 corso) {
        const auto dati = modulo::leggiModulo(db(), corso, m_inst->sessione().OperatoreCorrente);
        return dati ? prova::pagineDelPdf(modulo::pdf(*dati)) : QStringList();
    }

private slots:
    void initTestCase();
    void testiNelModulo_data();
    void testiNelModulo();
    void allieviNellOrdineDellElenco();
    void pagineNumerateInDueCopie();
    void bozzaSoloSeAperto_data();
    void bozzaSoloSeAperto();
    void corsoSenzaAllievi();
    void fontIncorporati();
};

void TestModulo::initTestCase() {
    m_inst = std::make_unique<TestInstallation>();
    prova::corsoConAllievi(db(), kCorso, 296);
    const QString riga = QStringLiteral(
        "INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, Sesso, Giudizio) "
        "VALUES (?, ?, ?, ?, 'M', ' ')");
    db().exec(riga,
              {kCorso, QStringLiteral("A1"), QStringLiteral("Kowalski"), QStringLiteral("Łukasz")});
    db().exec(riga,
              {kCorso, QStringLiteral("A2"), QStringLiteral("Nguyễn"), QStringLiteral("Văn An")});
    db().exec(riga, {kCorso, QStringLiteral("A3"), QStringLiteral("DELL'ÈRBA"),
                     QStringLiteral("NICOLÒ")});
    db().exec(riga, {kCorso, QStringLiteral("A4"),
                     QStringLiteral("Wolfeschlegelsteinhausenbergerdorff-Cavalcanti"),
                     QStringLiteral("Maria Antonietta Giovanna")});
    m_dati = modulo::leggiModulo(db(), kCorso, m_inst->sessione().OperatoreCorrente);
    QVERIFY(m_dati);
    m_pagine = prova::pagineDelPdf(modulo::pdf(*m_dati));
    QVERIFY(!m_pagine.isEmpty());
}

void TestModulo::testiNelModulo_data() {
    QTest::addColumn<QString>("testo");
    const Operatore& o = m_inst->sessione().OperatoreCorrente;
    const archivio::Conteggi c = archivio::contaAllievi(db(), kCorso);
    const QStringList testi = {
        lineaProgrammi(), o.GrupOpe + QLatin1Char(' ') + o.Operatore, o.nome,
        QStringLiteral("Identificativo attività %1").arg(kCorso),
        QStringLiteral("Progressivo attività 7"), QStringLiteral("Operatore di magazzino"),
        QStringLiteral("Sottoasse 01"), QStringLiteral("Data inizio 10/09/2018"),
        QStringLiteral("Data fine effettiva 20/12/2018"), QStringLiteral("Totale ore 60"),
        QStringLiteral("I - Gestione indiretta"),
        QStringLiteral("ci - Formazione area informatica"),
        QStringLiteral("S1 - Conoscenze tecnico professionali"),
        QStringLiteral("Credito formativo (complessivo) 2,5"), QStringLiteral("Stato CHIUSO"),
        // Enrolled: males, of whom disabled, females, of whom disabled, total.
        QStringLiteral("Iscritti %1 1 %2 2 %3")
            .arg(c.maschi)
            .arg(c.femmine)
            .arg(c.maschi + c.femmine),
        QStringLiteral("Ammessi %1 0 %2 0").arg(c.maschiAmmessi).arg(c.femmineAmmesse),
        QStringLiteral("Łukasz"), QStringLiteral("Nguyễn Văn An"),
        QStringLiteral("DELL'ÈRBA NICOLÒ"),
        QStringLiteral("Allievo001 Nome PRV0000000000001 M00001 4 56 Esecutivo 8 - Prova "
                       "superata 2,25"),
        QStringLiteral("Il Legale Rappresentante"), QStringLiteral("Timbro dell'ente"),
        QStringLiteral("Luogo"),
        QStringLiteral("KORVADIN - fine corso - Ver. ") + Session::versione() +
            QStringLiteral(" - stampato il ") +
            m_dati->stampa.toString(QStringLiteral("dd/MM/yyyy"))};
    for (const QString& t : testi)
        QTest::newRow(qPrintable(t.left(40))) << t;
}

// Every value is in both copies.
void TestModulo::testiNelModulo() {
    QFETCH(QString, testo);
    const int perCopia = int(m_pagine.size() / 2);
    QVERIFY2(m_pagine.mid(0, perCopia).join(QLatin1Char(' ')).contains(testo), qPrintable(testo));
    QVERIFY2(m_pagine.mid(perCopia).join(QLatin1Char(' ')).contains(testo), qPrintable(testo));
}

// Every participant, in the order of the list, names wrapped but whole.
void TestModulo::allieviNellOrdineDellElenco() {
    const int perCopia = int(m_pagine.size() / 2);
    for (int copia = 0; copia < 2; ++copia) {
        const QString testo = senzaSpazi(m_pagine.mid(copia * perCopia, perCopia).join(QString()));
        qsizetype dove = 0;
        int numero = 0;
        for (const archivio::Allievo& a : m_dati->allievi) {
            const QString atteso = QString::number(++numero) + senzaSpazi(a.cognome + a.nome);
            dove = testo.indexOf(atteso, dove);
            QVERIFY2(dove >= 0, qPrintable(atteso));
        }
        QCOMPARE(numero, 300);
    }
}

void TestModulo::pagineNumerateInDueCopie() {
    const int perCopia = modulo::pagineDiUnaCopia(*m_dati);
    QVERIFY(perCopia > 3);
    QCOMPARE(m_pagine.size(), 2 * perCopia);
    for (int i = 0; i < m_pagine.size(); ++i) {
        const QString& p = m_pagine.at(i);
        const QString pagina =
            QStringLiteral("Pagina %1 di %2").arg(i % perCopia + 1).arg(perCopia);
        QCOMPARE(p.count(QRegularExpression(QStringLiteral("Pagina \\d+ di \\d+"))), 1);
        QVERIFY2(p.contains(pagina), qPrintable(pagina));
        QCOMPARE(p.contains(QStringLiteral("ORIGINALE")), i < perCopia);
        QCOMPARE(p.contains(QStringLiteral("COPIA")), i >= perCopia);
        QVERIFY(!p.contains(QStringLiteral("BOZZA")));
        // The participants' heading row on every page that lists some.
        if (i % perCopia > 0 && i % perCopia < perCopia - 1)
            QVERIFY(p.contains(QStringLiteral("N. Cognome e nome Codice fiscale Matricola")));
    }
}

void TestModulo::bozzaSoloSeAperto_data() {
    QTest::addColumn<qint32>("corso");
    QTest::addColumn<bool>("bozza");
    QTest::addColumn<QString>("testo");
    QTest::newRow("APERTO") << 41235 << true << QStringLiteral("Stato APERTO");
    QTest::newRow("CHIUSO") << 41238 << false << QStringLiteral("Stato CHIUSO");
    QTest::newRow("TRASMESSO") << 41239 << false << QStringLiteral("Stato TRASMESSO Data di invio");
}

void TestModulo::bozzaSoloSeAperto() {
    QFETCH(qint32, corso);
    QFETCH(bool, bozza);
    QFETCH(QString, testo);
    const QStringList p = pagineDi(corso);
    QCOMPARE(p.size(), bozza ? 1 : 2);
    QVERIFY(p.first().contains(testo));
    for (const QString& pagina : p) {
        QCOMPARE(pagina.contains(modulo::testoBozza), bozza);
        QCOMPARE(pagina.contains(QStringLiteral("ORIGINALE")), !bozza && &pagina == &p.first());
    }
}

void TestModulo::corsoSenzaAllievi() {
    prova::corsoConAllievi(db(), 50000, 0);
    const QStringList p = pagineDi(50000);
    QCOMPARE(p.size(), 2);
    QVERIFY(p.first().contains(QStringLiteral("Operatore di magazzino")));
    QVERIFY(
        p.first().contains(QStringLiteral("Elenco Iscritti Nessun allievo iscritto al corso.")));
}

void TestModulo::fontIncorporati() {
    const QStringList righe = prova::poppler(QStringLiteral("pdffonts"), {}, modulo::pdf(*m_dati))
                                  .split(QLatin1Char('\n'));
    // Name, type, encoding, emb, sub, uni, object: two heading lines first;
    // every font embedded, with its map back to the characters.
    int font = 0;
    for (const QString& r : righe.mid(2)) {
        if (r.trimmed().isEmpty())
            continue;
        ++font;
        QVERIFY2(r.contains(QRegularExpression(QStringLiteral("\\s+yes\\s+(yes|no)\\s+yes\\s+"))),
                 qPrintable(r));
    }
    QVERIFY(font > 0);
}

QTEST_MAIN(TestModulo)
#include "tst_modulo.moc"
