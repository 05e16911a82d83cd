#include "core/RigaRecord.h"

#include <QTest>

class TestRigaRecord : public QObject {
    Q_OBJECT
private slots:
    void leggi_data();
    void leggi();
    void scrittaRiletta();
};

void TestRigaRecord::leggi_data() {
    QTest::addColumn<QString>("riga");
    QTest::addColumn<QStringList>("campi");
    QTest::newRow("three values") << "#A#,#123#,#Via Roma#" << QStringList{"A", "123", "Via Roma"};
    QTest::newRow("empty last value kept") << "#X#,#30#,##" << QStringList{"X", "30", ""};
    QTest::newRow("empty value inside") << "#a#,##,#b#" << QStringList{"a", "", "b"};
    QTest::newRow("comma inside a value") << "#x, y#,#z#" << QStringList{"x, y", "z"};
    QTest::newRow("any separator character") << "#a#;#b#" << QStringList{"a", "b"};
    QTest::newRow("first character ignored, whatever it is") << "Xa#,#b#" << QStringList{"a", "b"};
    QTest::newRow("last value without closing mark") << "#a#,#bc" << QStringList{"a", "bc"};
    QTest::newRow("trailing separator only") << "#a#,#" << QStringList{"a"};
    QTest::newRow("empty line") << "" << QStringList{};
    QStringList molti;
    QStringList attesi;
    for (int i = 0; i < 60; ++i) {
        molti << QString::number(i);
        if (i < RigaRecord::MassimoCampi)
            attesi << QString::number(i);
    }
    QTest::newRow("at most 51 values") << RigaRecord::scrivi(molti) << attesi;
}

void TestRigaRecord::leggi() {
    QFETCH(QString, riga);
    QFETCH(QStringList, campi);
    const RigaRecord r = RigaRecord::leggi(riga);
    QCOMPARE(r.campi(), campi);
    QCOMPARE(r.campo(int(campi.size())), QString());
}

void TestRigaRecord::scrittaRiletta() {
    const QStringList campi{"Z", "", "x, y", "12.5"};
    QCOMPARE(RigaRecord::scrivi(campi), QStringLiteral("#Z#,##,#x, y#,#12.5#"));
    QCOMPARE(RigaRecord::leggi(RigaRecord::scrivi(campi)).campi(), campi);
}

QTEST_APPLESS_MAIN(TestRigaRecord)
#include "tst_rigarecord.moc"
