#include "TestSupport.h"

#include "maint/Frm_Impostazioni.h"
#include "maint/frmServerClient.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestInstallazione : public QObject {
    Q_OBJECT
private slots:
    void percorsoMostrato_data();
    void percorsoMostrato();
    void estensioneDellaBaseDati_data();
    void estensioneDellaBaseDati();
    void nessunaBaseDatiScelta();
    void versioneObbligatoria();
    void clientRinominaIFileConsegnati();
    void clientSuSecondaEsecuzione();
    void uscitaDallInstallazione_data();
    void uscitaDallInstallazione();
    void aiutoSenzaFile();
    void percorsoFuoriCodePage();
    void versioneNonScrivibile();
};

void TestInstallazione::percorsoMostrato_data() {
    QTest::addColumn<int>("lunghezza");
    QTest::newRow("55 caratteri") << 55;
    QTest::newRow("56 caratteri") << 56;
}

void TestInstallazione::percorsoMostrato() {
    QFETCH(int, lunghezza);
    TestInstallation inst;
    auto s = inst.nuovaSessione();
    const QString prefisso = QStringLiteral("/srv/");
    const QString percorso =
        prefisso + QString(lunghezza - prefisso.size() - 4, QLatin1Char('d')) + ".mdb";
    QCOMPARE(percorso.size(), lunghezza);
    inst.interaction.fileAnswers << percorso;
    Frm_Impostazioni dialog(*s);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdSfoglia"))->click();
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("txtDatabase"));
    if (lunghezza <= 55) {
        QCOMPARE(box->text(), percorso);
        QCOMPARE(box->toolTip(), QString());
    } else {
        QCOMPARE(box->text(), percorso.left(55) + QStringLiteral("..."));
        QCOMPARE(box->toolTip(), percorso);
    }
    QCOMPARE(dialog.scelte().percorso, percorso);
    QCOMPARE(inst.interaction.fileDialogs.first().folder, s->CartellaProgramma);
}

void TestInstallazione::estensioneDellaBaseDati_data() {
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("messaggio");
    QTest::newRow("MDB") << "CORSI.MDB"
                         << "";
    QTest::newRow("mdb") << "corsi.mdb"
                         << "";
    QTest::newRow("accdb") << "corsi.accdb"
                           << "Il file selezionato non è un database Microsoft Access.";
    QTest::newRow("inesistente") << "assente.mdb"
                                 << "File inesistente.";
}

void TestInstallazione::estensioneDellaBaseDati() {
    QFETCH(QString, nome);
    QFETCH(QString, messaggio);
    TestInstallation inst;
    auto s = inst.nuovaSessione();
    const QString percorso = inst.file(nome);
    if (nome != QLatin1String("assente.mdb"))
        QVERIFY(QFile::copy(inst.database(), percorso));
    inst.interaction.fileAnswers << percorso;
    Frm_Impostazioni dialog(*s);
    dialog.findChild<QRadioButton*>(QStringLiteral("opt_InRete"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdSfoglia"))->click();
    dialog.findChild<QPushButton*>(QStringLiteral("Cmd_Ok"))->click();
    if (messaggio.isEmpty()) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(inst.interaction.messages.isEmpty());
        QCOMPARE(dialog.scelte().tipo, QStringLiteral("Multiutenza"));
        QCOMPARE(dialog.scelte().percorso, percorso);
        QCOMPARE(dialog.scelte().titolo, nome);
    } else {
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(inst.interaction.texts(), QStringList{messaggio});
        QCOMPARE(inst.interaction.last().title, QStringLiteral("Controllo dati"));
    }
}

void TestInstallazione::nessunaBaseDatiScelta() {
    TestInstallation inst;
    auto s = inst.nuovaSessione();
    Frm_Impostazioni dialog(*s);
    dialog.findChild<QPushButton*>(QStringLiteral("Cmd_Ok"))->click();
    QCOMPARE(inst.interaction.texts(), QStringList{"Selezionare una base dati."});
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
    QCOMPARE(dialog.scelte().tipo, QStringLiteral("StandAlone"));
}

void TestInstallazione::versioneObbligatoria() {
    TestInstallation inst;
    auto s = inst.nuovaSessione();
    frmServerClient dialog(*s);
    QVERIFY(!dialog.findChild<QRadioButton*>(QStringLiteral("optServer"))->isChecked());
    QVERIFY(!dialog.findChild<QRadioButton*>(QStringLiteral("optClient"))->isChecked());
    dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(inst.interaction.texts(),
             QStringList{"Scegliere la versione dell'applicativo: SERVER o CLIENT"});
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Controllo dati"));
    QCOMPARE(dialog.versione(), QString());
}

void TestInstallazione::clientRinominaIFileConsegnati() {
    TestInstallation inst;
    for (const char* nome : {"oper.tx1", "compo.tx1", "sediocc.tx1"}) {
        QFile f(inst.file(QString::fromLatin1(nome)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    auto s = inst.nuovaSessione();
    frmServerClient dialog(*s);
    dialog.findChild<QRadioButton*>(QStringLiteral("optClient"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(dialog.versione(), QStringLiteral("CLIENT"));
    for (const char* nome : {"KORVADIN.cli", "oper.cli", "compo.cli", "sediocc.cli"})
        QVERIFY2(QFile::exists(inst.file(QString::fromLatin1(nome))), nome);
    for (const char* nome :
         {"KORVADIN.mdb", "oper.tx1", "compo.tx1", "sediocc.tx1", "sediutil.cli"})
        QVERIFY2(!QFile::exists(inst.file(QString::fromLatin1(nome))), nome);
    QCOMPARE(s->ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")),
             QStringLiteral("CLIENT"));
}

void TestInstallazione::clientSuSecondaEsecuzione() {
    TestInstallation inst;
    QVERIFY(QFile::rename(inst.database(), inst.file(QStringLiteral("KORVADIN.cli"))));
    QVERIFY(QFile(inst.file(QStringLiteral("oper.cli"))).open(QIODevice::WriteOnly));
    auto s = inst.nuovaSessione();
    s->ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"), QString());
    frmServerClient dialog(*s);
    dialog.findChild<QRadioButton*>(QStringLiteral("optClient"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(inst.interaction.messages.isEmpty());
    QVERIFY(QFile::exists(inst.file(QStringLiteral("KORVADIN.cli"))));
    QCOMPARE(s->ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")),
             QStringLiteral("CLIENT"));
}

void TestInstallazione::uscitaDallInstallazione_data() {
    QTest::addColumn<QString>("dialogo");
    QTest::addColumn<bool>("conferma");
    QTest::newRow("impostazioni, Sì") << "Frm_Impostazioni" << true;
    QTest::newRow("impostazioni, No") << "Frm_Impostazioni" << false;
    QTest::newRow("server/client, Sì") << "frmServerClient" << true;
    QTest::newRow("server/client, No") << "frmServerClient" << false;
}

void TestInstallazione::uscitaDallInstallazione() {
    QFETCH(QString, dialogo);
    QFETCH(bool, conferma);
    TestInstallation inst;
    auto s = inst.nuovaSessione();
    std::unique_ptr<QDialog> dialog;
    if (dialogo == QLatin1String("Frm_Impostazioni"))
        dialog = std::make_unique<Frm_Impostazioni>(*s);
    else
        dialog = std::make_unique<frmServerClient>(*s);
    dialog->show();
    inst.interaction.answers << (conferma ? ui::Answer::Yes : ui::Answer::No);
    const QString pulsante = dialogo == QLatin1String("Frm_Impostazioni")
                                 ? QStringLiteral("cmdEsci")
                                 : QStringLiteral("cmdAnnulla");
    const bool terminato =
        terminaIlProgramma([&] { dialog->findChild<QPushButton*>(pulsante)->click(); });
    QCOMPARE(terminato, conferma);
    QCOMPARE(inst.interaction.last().text,
             QStringLiteral("Si è sicuri di voler interrompere l'installazione?"));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Installazione"));
    QCOMPARE(inst.interaction.last().buttons, ui::Buttons::YesNo);
    QCOMPARE(s->ended(), conferma);
    QCOMPARE(dialog->isVisible(), !conferma);
}

void TestInstallazione::aiutoSenzaFile() {
    TestInstallation inst;
    auto s = inst.nuovaSessione();
    Frm_Impostazioni conAiuto(*s);
    conAiuto.findChild<QPushButton*>(QStringLiteral("cmdHelp"))->click();
    QCOMPARE(inst.interaction.helpShown.size(), 1);
    QCOMPARE(inst.interaction.helpShown.first().second, 15000);

    QVERIFY(QFile::remove(inst.file(QStringLiteral("KORVADIN.html"))));
    conAiuto.findChild<QPushButton*>(QStringLiteral("cmdHelp"))->click();
    QCOMPARE(inst.interaction.texts(), QStringList{"File di Aiuto non presente"});
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Aiuto"));
}

void TestInstallazione::percorsoFuoriCodePage() {
    TestInstallation inst;
    QVERIFY(QDir(inst.folder()).mkdir(QStringLiteral("Корсы")));
    const QString percorso = inst.file(QStringLiteral("Корсы/KORVADIN.mdb"));
    QVERIFY(QFile::copy(inst.database(), percorso));
    auto s = inst.nuovaSessione();
    inst.interaction.fileAnswers << percorso;
    Frm_Impostazioni dialog(*s);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdSfoglia"))->click();
    dialog.findChild<QPushButton*>(QStringLiteral("Cmd_Ok"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(inst.interaction.messages.size(), 1);
    QVERIFY(inst.interaction.last().text.startsWith(
        QStringLiteral("Il percorso della base dati contiene caratteri")));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Controllo dati"));
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
}

void TestInstallazione::versioneNonScrivibile() {
    // A KORVADIN.INI that cannot be read is not rebuilt with one key: the choice
    // is refused and nothing is renamed.
    TestInstallation inst;
    QVERIFY(QFile::remove(inst.file(QStringLiteral("KORVADIN.INI"))));
    QVERIFY(QDir(inst.folder()).mkdir(QStringLiteral("KORVADIN.INI")));
    auto s = inst.nuovaSessione();
    frmServerClient dialog(*s);
    dialog.findChild<QRadioButton*>(QStringLiteral("optClient"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.versione(), QString());
    QCOMPARE(inst.interaction.messages.size(), 1);
    QVERIFY(inst.interaction.last().text.startsWith(
        QStringLiteral("Non è stato possibile salvare la versione dell'applicativo")));
    QCOMPARE(inst.interaction.last().title, QStringLiteral("Installazione"));
    QCOMPARE(inst.interaction.last().icon, ui::Icon::Critical);
    QVERIFY(QFile::exists(inst.database()));
    QVERIFY(QFileInfo(inst.file(QStringLiteral("KORVADIN.INI"))).isDir());
}

KORVADIN_TEST_MAIN(TestInstallazione)
#include "tst_installazione.moc"
