// A second workstation on a shared database, for the tests that need a real
// second process:
//   db_probe scrivi <database> <milliseconds>
//       writes for the given time, one transaction at a time that first reads
//       and then adds one row to ProvaA and one to ProvaB (so that the two
//       tables always hold as many rows); prints "PRONTO" once connected, then
//       "SCRITTE <n> ERRORI <m>" and the first error text when there was one.
//   db_probe attendi <database>
//       opens the database shared, prints "PRONTO" and waits until killed.
//   db_probe esclusiva <database> -
//       tries to open the database exclusively; prints "APERTA" or
//       "RIFIUTATA <error>".
//   db_probe copia <program folder> <database>
//       takes the exit copy over and over until killed; prints "PRONTO" before
//       the first one and "COPIA <n>" after each.
#include "app/CopiaRiserva.h"
#include "core/Session.h"
#include "db/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString modo = QString::fromLocal8Bit(argv[1]);
    const QString primo = QString::fromLocal8Bit(argv[2]);
    QTextStream out(stdout);
    if (modo == QLatin1String("attendi")) {
        db::Connection c;
        c.open(primo, Session::databasePassword(), db::OpenMode::Shared);
        out << "PRONTO\n" << Qt::flush;
        return app.exec();
    }
    if (modo == QLatin1String("esclusiva")) {
        try {
            db::Connection c;
            c.open(primo, Session::databasePassword(), db::OpenMode::Exclusive);
            out << "APERTA\n";
        } catch (const db::DbError& e) {
            out << "RIFIUTATA " << e.number() << ' ' << e.description() << '\n';
        }
        return 0;
    }
    if (argc < 4)
        return 2;
    if (modo == QLatin1String("scrivi")) {
        const qint64 durata = QByteArray(argv[3]).toLongLong();
        db::Connection c;
        c.open(primo, Session::databasePassword(), db::OpenMode::Shared);
        out << "PRONTO\n" << Qt::flush;
        qint64 scritte = 0, errori = 0;
        QString primoErrore;
        QElapsedTimer tempo;
        tempo.start();
        while (tempo.elapsed() < durata) {
            try {
                db::Transaction t(c);
                const qint64 n =
                    c.scalar(QStringLiteral("SELECT count(*) FROM ProvaA")).toLongLong();
                QThread::msleep(2); // the time a form takes between reading and writing
                const QByteArray dati(3000, char(QRandomGenerator::global()->bounded(256)));
                c.exec(QStringLiteral("INSERT INTO ProvaA (n, dati) VALUES (?, ?)"), {n, dati});
                c.exec(QStringLiteral("INSERT INTO ProvaB (n, dati) VALUES (?, ?)"), {n, dati});
                t.commit();
                ++scritte;
            } catch (const db::DbError& e) {
                if (primoErrore.isEmpty())
                    primoErrore = e.description();
                ++errori;
            }
        }
        out << "SCRITTE " << scritte << " ERRORI " << errori << '\n' << primoErrore << '\n';
        return 0;
    }
    if (modo == QLatin1String("copia")) {
        const QString database = QString::fromLocal8Bit(argv[3]);
        out << "PRONTO\n" << Qt::flush;
        for (qint64 n = 1;; ++n) {
            const copiariserva::RisultatoCopia e =
                copiariserva::copiaRiservaUscita(primo, database, Session::databasePassword());
            out << (e.riuscita ? "COPIA " : "FALLITA ") << n << ' ' << e.descrizione << '\n'
                << Qt::flush;
        }
    }
    return 2;
}
