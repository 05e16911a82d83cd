// Times the decoding-table run on the generated set (about 8,000 municipalities):
// installation into the empty delivered database, then an update with the same
// files, each beside a plain import of the same rows (one transaction of
// prepared inserts into empty tables). Run by hand:
//   korvadin-bench-decodifiche [comuni]
#include "DatiDecodifica.h"
#include "core/Cp1252.h"
#include "core/RigaRecord.h"
#include "core/Session.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "refdata/TabelleDecodifica.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Answers every question with its first button and records nothing.
class Silenziosa : public ui::Interaction {
public:
    ui::Answer message(QWidget*, const QString& text, const QString&, ui::Icon,
                       ui::Buttons buttons) override {
        QTextStream(stderr) << text << "\n";
        return ui::firstAnswer(buttons);
    }
    QString chooseFile(QWidget*, const ui::FileDialog&) override { return {}; }
    bool openUrl(const QUrl&) override { return false; }
    void showHelp(QWidget*, const QString&, int) override {}
    bool runAndWait(const QString&, const QStringList&, QString*) override { return false; }
    int runDialog(QDialog&) override { return 0; }
    void beep() override {}
    void setBusy(bool) override {}
    void processEvents() override {}

protected:
    void leaveEventLoops() override {}
};

// The same rows imported plainly into a fresh database.
qint64 importazioneSemplice(const QString& cartella, const QString& database) {
    db::creaBaseDatiVuota(database, Session::databasePassword());
    db::Connection c;
    c.open(database, Session::databasePassword(), db::OpenMode::Exclusive);
    QElapsedTimer t;
    t.start();
    db::Transaction tr(c);
    for (const auto& tab : refdata::elencoTabelle(refdata::Chiamante::FinestraPrincipale)) {
        const QStringList righe =
            cp1252::readLines(QDir(cartella).filePath(tab.tabella + QStringLiteral(".txt")));
        const int colonne =
            int(c.query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(tab.tabella)).size());
        const int n = qMin(tab.campi, colonne);
        QStringList segni(n, QStringLiteral("?"));
        db::Statement ins(c, QStringLiteral("INSERT INTO \"%1\" VALUES (%2%3)")
                                 .arg(tab.tabella, segni.join(u','),
                                      QString(QStringLiteral(",NULL")).repeated(colonne - n)));
        for (qsizetype i = 1; i < righe.size(); ++i) {
            const RigaRecord r = RigaRecord::leggi(righe[i].trimmed());
            ins.reset();
            for (int k = 0; k < n; ++k) {
                const QString v = r.campo(k);
                ins.bind(k + 1, v.toUpper() == QLatin1String("NULL") ? QVariant() : QVariant(v));
            }
            ins.run();
        }
    }
    tr.commit();
    return t.elapsed();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    datidecodifica::Dimensioni d;
    if (argc > 1)
        d.comuni = QString::fromLocal8Bit(argv[1]).toInt();
    QTemporaryDir dir;
    const QString cartella = dir.path() + QLatin1Char('/');
    const QString dati = cartella + QStringLiteral("dati");
    const auto righe = datidecodifica::genera(dati, d);
    int totale = 0;
    for (int n : righe)
        totale += n;
    out << "righe: " << totale << " (Comuni " << righe.value(QStringLiteral("Comuni")) << ")\n";

    const qint64 semplice = importazioneSemplice(dati, cartella + QStringLiteral("semplice.mdb"));

    Silenziosa ui;
    Session s(ui, cartella);
    db::creaBaseDatiVuota(cartella + QStringLiteral("KORVADIN.mdb"), Session::databasePassword());
    s.CorsiDB().open(cartella + QStringLiteral("KORVADIN.mdb"), Session::databasePassword(),
                     db::OpenMode::Exclusive);
    auto prepara = [&](const QString& flag) {
        for (const QString& f : QDir(dati).entryList(QDir::Files))
            QFile::copy(QDir(dati).filePath(f), cartella + f);
        QFile(cartella + flag).open(QIODevice::WriteOnly);
    };
    refdata::Caricamento c;
    c.chiamante = refdata::Chiamante::FinestraPrincipale;
    QElapsedTimer t;
    prepara(refdata::FlagInstalla);
    t.start();
    refdata::eseguiTabelleDecodifica(s, c);
    const qint64 installazione = t.elapsed();
    prepara(refdata::FlagAggiorna);
    t.restart();
    refdata::eseguiTabelleDecodifica(s, c);
    const qint64 aggiornamento = t.elapsed();

    out << "importazione semplice: " << semplice << " ms\n"
        << "installazione:         " << installazione << " ms ("
        << QString::number(double(installazione) / qMax<qint64>(1, semplice), 'f', 2) << "x)\n"
        << "aggiornamento:         " << aggiornamento << " ms ("
        << QString::number(double(aggiornamento) / qMax<qint64>(1, semplice), 'f', 2) << "x)\n";
    return 0;
}
