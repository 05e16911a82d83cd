#include "ImportazioneShell.h"

#include "Misura.h"
#include "core/Session.h"
#include "db/Database.h"
#include "db/Schema.h"

#include <QFile>
#include <QProcess>

namespace misura {

Cronometro::Cronometro(int chi) : m_chi(chi), m_inizio(processoreMs(chi)) {
    m_parete.start();
}

Tempo Cronometro::tempo() const {
    return {m_parete.elapsed(), qint64(processoreMs(m_chi) - m_inizio)};
}

void scriviCsv(const QString& file, const QList<QVariantList>& righe) {
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file));
    for (const QVariantList& riga : righe) {
        QStringList campi;
        for (const QVariant& v : riga)
            campi << QLatin1Char('"') +
                         (v.isNull()
                              ? QString()
                              : v.toString().replace(QLatin1Char('"'), QStringLiteral("\"\""))) +
                         QLatin1Char('"');
        f.write(campi.join(u',').toUtf8() + '\n');
    }
}

namespace {

// Runs the sqlcipher shell on a fresh delivered database with the script; the
// time it takes.
Tempo shell(const QString& database, const QByteArray& comandi) {
    QFile::remove(database);
    db::creaBaseDatiVuota(database, Session::databasePassword());
    QProcess p;
    const Cronometro t(RUSAGE_CHILDREN);
    p.start(QStringLiteral("sqlcipher"), {QStringLiteral("-batch"), database});
    if (!p.waitForStarted())
        qFatal("the sqlcipher shell is not installed (Debian package sqlcipher)");
    p.write("PRAGMA key = '" + Session::databasePassword().toUtf8() + "';\n" +
            db::cipherSettings() + "\nSELECT count(*) FROM sqlite_master;\n" + comandi + ".quit\n");
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const Tempo tempo = t.tempo();
    const QByteArray errori = p.readAllStandardError();
    if (p.exitCode() != 0 || !errori.isEmpty())
        qFatal("sqlcipher: %s", errori.constData());
    return tempo;
}

} // namespace

Tempo importazioneShell(const QString& database, const QList<Importazione>& importazioni) {
    QByteArray importa = ".mode csv\nBEGIN;\n";
    for (const Importazione& i : importazioni) {
        if (i.colonneNulle.isEmpty()) {
            importa += ".import " + i.csv.toUtf8() + ' ' + i.tabella.toUtf8() + '\n';
            continue;
        }
        const QByteArray tabella = i.tabella.toUtf8();
        const QByteArray appoggio = "csv_" + tabella;
        QStringList valori;
        for (const QString& c : i.colonneNulle)
            valori << QStringLiteral("nullif(\"%1\",'')").arg(c);
        importa += "CREATE TEMP TABLE " + appoggio + " AS SELECT * FROM " + tabella +
                   " WHERE 0;\n" + ".import " + i.csv.toUtf8() + ' ' + appoggio + '\n' +
                   "INSERT INTO " + tabella + " SELECT " + valori.join(u',').toUtf8() + " FROM " +
                   appoggio + ";\n";
    }
    importa += "COMMIT;\n";
    const Tempo vuoto = shell(database, "BEGIN;\nCOMMIT;\n");
    const Tempo pieno = shell(database, importa);
    return {pieno.parete - vuoto.parete, pieno.processore - vuoto.processore};
}

void stampa(QTextStream& out, const QString& nome, const Tempo& t, const Tempo& shell) {
    const auto rapporto = [](qint64 a, qint64 b) {
        return QString::number(double(a) / double(qMax<qint64>(1, b)), 'f', 2);
    };
    out << nome << qSetFieldWidth(6) << t.parete << qSetFieldWidth(0) << " ms ("
        << rapporto(t.parete, shell.parete) << "x)   processore " << qSetFieldWidth(6)
        << t.processore << qSetFieldWidth(0) << " ms (" << rapporto(t.processore, shell.processore)
        << "x)\n";
}

} // namespace misura
