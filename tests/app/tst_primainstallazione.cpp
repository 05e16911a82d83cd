// The first installation of a new agency against the in-process regional-server
// simulator: from the empty delivered database, with the decoding-table files
// and "installa.tab" in the program folder, to the main window.
#include "SimulatoreSupport.h"
#include "TestSupport.h"

#include "DatiDecodifica.h"
#include "app/Avvio.h"
#include "app/MDI_Main.h"
#include "app/Main.h"
#include "app/MainRegole.h"
#include "app/Startup.h"
#include "refdata/TabelleDecodifica.h"

#include <QDir>
#include <QLabel>
#include <QtTest>

namespace {

const QString kEmail = QStringLiteral("segreteria@centroformazione.it");

// The start-up window's live counters: the tables in the order they were
// painted.
class Contatori : public QObject {
public:
    explicit Contatori(const QWidget& avvio) : m_avvio(avvio) {
        figlio<QLabel>(&m_avvio, QStringLiteral("lblTabella"))->installEventFilter(this);
    }
    QString testo(const char* nome) const {
        return figlio<QLabel>(&m_avvio, QLatin1String(nome))->text();
    }
    QStringList tabelle;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        const QString t = testo("lblTabella");
        if (e->type() == QEvent::Paint && !t.isEmpty() &&
            (tabelle.isEmpty() || tabelle.last() != t))
            tabelle << t;
        return false;
    }

private:
    const QWidget& m_avvio;
};

qint64 conta(Session& s, const QString& sql, const QVariantList& valori = {}) {
    return s.CorsiDB().scalar(sql, valori).toLongLong();
}

} // namespace

class TestPrimaInstallazione : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_sim.avvia()); }
    void cleanup() { m_sim.ferma(); }
    void dalBaseDatiVuotoAllaFinestraPrincipale();
    void operatoreSenzaSedeLegale();

private:
    // The program folder as delivered: the empty database, the decoding-table
    // files and "installa.tab"; the configuration points at the simulator.
    std::unique_ptr<TestInstallation> consegnata() {
        auto inst = std::make_unique<TestInstallation>(TestInstallation::Contenuto::Vuota);
        m_righe = datidecodifica::genera(inst->folder(), datidecodifica::piccole());
        QFile flag(inst->file(refdata::FlagInstalla));
        if (!flag.open(QIODevice::WriteOnly))
            qFatal("installa.tab non creato");
        puntaAlSimulatore(*inst->nuovaSessione(), m_sim);
        guidaRegistrazione(inst->interaction);
        return inst;
    }

    Simulatore m_sim;
    QHash<QString, int> m_righe; // records per decoding table
};

void TestPrimaInstallazione::dalBaseDatiVuotoAllaFinestraPrincipale() {
    auto inst = consegnata();
    guidaIscrizione(inst->interaction, QStringLiteral("A"), QStringLiteral("123"), kEmail);
    auto session = inst->nuovaSessione();
    Startup startup(*session);
    Contatori contatori(startup.avvio());
    std::unique_ptr<MDI_Main> frame;
    QVERIFY(!terminaIlProgramma([&] { frame = startup.run(); }));
    QVERIFY(frame);

    const ui::ScriptedInteraction& ui = inst->interaction;
    QCOMPARE(ui.dialogsRun,
             (QStringList{QStringLiteral("frmInstOper"), QStringLiteral("frmConferma"),
                          QStringLiteral("FrmnReg"), QStringLiteral("frmMailAggInst")}));
    QVERIFY(ui.undrivenDialogs.isEmpty());
    QVERIFY(ui.unfinishedDialogs.isEmpty());
    QVERIFY2(ui.messages.size() == 1, qPrintable(ui.texts().join(u'|'))); // the daily advice

    // Every decoding table of the start-up is loaded, shown live and in CAR.
    QStringList mostrate;
    for (const refdata::TabellaDecodifica& t : refdata::elencoTabelle(refdata::Chiamante::Avvio)) {
        const QString file = t.tabella + QStringLiteral(".txt");
        QCOMPARE(conta(*session, QStringLiteral("SELECT count(*) FROM ") + t.tabella),
                 m_righe.value(t.tabella));
        QVERIFY(QFile::exists(inst->file(refdata::CartellaCaricati + u'/' + file)));
        QVERIFY(!QFile::exists(inst->file(file)));
        mostrate << t.tabella;
    }

    // The registry of A/123 from the data set, its legal seat as Corrispondenza.
    const QString sede = sedeLegaleSimulatore(QStringLiteral("A"), QStringLiteral("123"));
    const auto oper =
        anagrafeSimulatore(QStringLiteral("oper.tx1"), QStringLiteral("A"), QStringLiteral("123"));
    QCOMPARE(oper.size(), 1);
    const auto righe = session->CorsiDB().query(
        QStringLiteral("SELECT GrupOpe, Operatore, Corrispondenza, Denominazione FROM CorsiOper"));
    QCOMPARE(righe.size(), 1);
    QCOMPARE(righe.first().value(0).toString(), QStringLiteral("A"));
    QCOMPARE(righe.first().value(1).toLongLong(), 123);
    QCOMPARE(righe.first().value(2).toString(), sede);
    QCOMPARE(righe.first().value(3).toString(), oper.first().campo(2));
    const qint64 branche =
        anagrafeSimulatore(QStringLiteral("compo.tx1"), QStringLiteral("A"), QStringLiteral("123"))
            .size();
    const auto usi = anagrafeSimulatore(QStringLiteral("sediutil.tx1"), QStringLiteral("A"),
                                        QStringLiteral("123"));
    QSet<QString> sedi;
    for (const RigaRecord& u : usi)
        sedi << u.campo(3);
    QCOMPARE(conta(*session, QStringLiteral("SELECT count(*) FROM CorsiCompo")), branche);
    QCOMPARE(conta(*session, QStringLiteral("SELECT count(*) FROM CorsiSediOccUtil")), usi.size());
    QCOMPARE(conta(*session, QStringLiteral("SELECT count(*) FROM CorsiSediOcc")), sedi.size());
    for (const QString& nome : {QStringLiteral("oper"), QStringLiteral("compo"),
                                QStringLiteral("sediocc"), QStringLiteral("sediutil")})
        QVERIFY(QFile::exists(
            inst->file(refdata::CartellaCaricati + u'/' + nome + QStringLiteral(".car"))));
    QVERIFY(QDir(inst->folder()).entryList({QStringLiteral("*.tx1")}, QDir::Files).isEmpty());

    // The registry's load was shown live too, after the decoding tables; the
    // counters end on its last table.
    mostrate << QStringLiteral("CorsiOper") << QStringLiteral("CorsiCompo")
             << QStringLiteral("CorsiSediOcc") << QStringLiteral("CorsiSediOccUtil");
    QCOMPARE(contatori.tabelle, mostrate);
    QCOMPARE(contatori.testo("lblTabella"), QStringLiteral("CorsiSediOccUtil"));
    QCOMPARE(contatori.testo("lblRecord"), QString::number(usi.size()));

    // The installation is registered for A/123 and the main window shows it.
    QCOMPARE(conta(*session,
                   QStringLiteral("SELECT count(*) FROM Installazione WHERE GrupOpe=? "
                                  "AND Operatore=?"),
                   {QStringLiteral("A"), 123}),
             1);
    QTRY_VERIFY(frame->main() && frame->main()->isVisible());
    QCOMPARE(figlio<QLabel>(frame->main(), QStringLiteral("lblGrOpe"))->text(),
             QStringLiteral("A"));
    QCOMPARE(figlio<QLabel>(frame->main(), QStringLiteral("lblCodOpe"))->text(),
             QStringLiteral("123"));
    QCOMPARE(figlio<QLabel>(frame->main(), QStringLiteral("lblDenOpe"))->text(),
             mainregole::denominazioneOperatore(oper.first().campo(2)).testo);
    QVERIFY(!session->ended());
}

void TestPrimaInstallazione::operatoreSenzaSedeLegale() {
    QString gruppo, operatore;
    for (const RigaRecord& r : anagrafeSimulatore(QStringLiteral("oper.tx1")))
        if (sedeLegaleSimulatore(r.campo(0), r.campo(1)).isEmpty()) {
            gruppo = r.campo(0);
            operatore = r.campo(1);
        }
    QVERIFY(!gruppo.isEmpty());
    auto inst = consegnata();
    guidaIscrizione(inst->interaction, gruppo, operatore, kEmail);
    auto session = inst->nuovaSessione();
    {
        Startup startup(*session);
        QVERIFY(terminaIlProgramma([&] { startup.run(); }));
    }
    QVERIFY(session->ended());
    QCOMPARE(inst->interaction.dialogsRun,
             (QStringList{QStringLiteral("frmInstOper"), QStringLiteral("frmConferma")}));
    QCOMPARE(inst->interaction.messages.size(), 2);
    const ui::Message m = inst->interaction.last();
    QVERIFY2(
        m.text.startsWith(
            QStringLiteral("Manca la sede legale dell'Operatore %1 - %2.").arg(gruppo, operatore)),
        qPrintable(m.text));
    QCOMPARE(m.title, QStringLiteral("Installazione/Aggiornamento Base Dati"));
    QCOMPARE(m.icon, ui::Icon::Critical);
    session.reset();
    {
        db::Connection c;
        c.open(inst->database(), Session::databasePassword(), db::OpenMode::Shared);
        for (const char* tabella : {"CorsiOper", "CorsiCompo", "CorsiSediOcc", "CorsiSediOccUtil"})
            QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(tabella))
                         .toLongLong(),
                     0);
    }

    // The next start repeats the installation, and the right agency gets in.
    inst->interaction.nuovaEsecuzione();
    inst->interaction.dialogsRun.clear();
    guidaIscrizione(inst->interaction, QStringLiteral("A"), QStringLiteral("123"), kEmail);
    auto seconda = inst->nuovaSessione();
    Startup startup(*seconda);
    std::unique_ptr<MDI_Main> frame;
    QVERIFY(!terminaIlProgramma([&] { frame = startup.run(); }));
    QVERIFY(frame);
    QCOMPARE(inst->interaction.dialogsRun.first(), QStringLiteral("frmInstOper"));
    QCOMPARE(conta(*seconda, QStringLiteral("SELECT count(*) FROM CorsiOper")), 1);
    QCOMPARE(seconda->OperatoreCorrente.Operatore, QStringLiteral("123"));
}

KORVADIN_TEST_MAIN(TestPrimaInstallazione)
#include "tst_primainstallazione.moc"
