#include "TestSupport.h"

#include "DemoInstallation.h"
#include "db/Database.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <unistd.h>

TestInstallation::TestInstallation(Contenuto contenuto) {
    if (contenuto == Contenuto::Demo) {
        tooling::creaInstallazioneDemo(folder());
    } else {
        db::creaBaseDatiVuota(database(), Session::databasePassword());
        tooling::scriviIni(folder(), tooling::IniDemo());
        tooling::copiaAiuto(folder());
    }
}

QString TestInstallation::file(const QString& name) const {
    return QDir(folder()).filePath(name);
}

std::unique_ptr<Session> TestInstallation::nuovaSessione() {
    return std::make_unique<Session>(interaction, folder(), file(QStringLiteral("utente.ini")));
}

Session& TestInstallation::sessione() {
    if (!m_session) {
        m_session = nuovaSessione();
        Session& s = *m_session;
        s.PercorsoDB = database();
        s.tipoInstallazione = QStringLiteral("StandAlone");
        s.fileAiuto = file(QStringLiteral("KORVADIN.html"));
        s.CorsiDB().open(database(), Session::databasePassword(), db::OpenMode::Shared);
        const auto rows = s.CorsiDB().query(QStringLiteral("SELECT GrupOpe, Operatore FROM "
                                                           "Installazione"));
        if (!rows.isEmpty()) {
            s.OperatoreCorrente.GrupOpe = rows.first().value(0).toString();
            s.OperatoreCorrente.Operatore = rows.first().value(1).toString();
            s.OperatoreCorrente.nome =
                s.CorsiDB()
                    .scalar(QStringLiteral("SELECT Denominazione FROM CorsiOper"))
                    .toString();
        }
    }
    return *m_session;
}

namespace prova {

std::unique_ptr<QProcess> avviaProbe(const QStringList& argomenti) {
    return avviaProbe(QStringLiteral(KORVADIN_DB_PROBE), argomenti);
}

std::unique_ptr<QProcess> avviaProbe(const QString& programma, const QStringList& argomenti) {
    auto processo = std::make_unique<QProcess>();
    processo->setProcessChannelMode(QProcess::SeparateChannels);
    processo->start(programma, argomenti);
    if (!processo->waitForStarted(10000))
        return nullptr;
    QByteArray letto;
    while (!letto.contains("PRONTO\n")) {
        if (!processo->waitForReadyRead(10000)) {
            processo->kill();
            processo->waitForFinished(10000);
            return nullptr;
        }
        letto += processo->readLine();
    }
    return processo;
}

QByteArray uccidiDopo(QProcess& processo, int ms) {
    if (ms >= 0) {
        QThread::msleep(ulong(ms));
        processo.kill();
    }
    processo.waitForFinished(60000);
    return processo.readAllStandardOutput();
}

bool attendiFine(QProcess& processo) {
    return processo.state() == QProcess::NotRunning || processo.waitForFinished(30000);
}

void creaTabelleProva(const QString& database) {
    db::Connection c;
    c.open(database, Session::databasePassword(), db::OpenMode::Shared);
    c.execScript(QStringLiteral("CREATE TABLE ProvaA (n INTEGER, dati BLOB);"
                                "CREATE TABLE ProvaB (n INTEGER, dati BLOB);"));
}

QString verificaCopia(const QString& file) {
    try {
        if (contenuto(file).startsWith("SQLite format 3"))
            return QStringLiteral("copia non cifrata");
        db::Connection c;
        c.open(file, Session::databasePassword(), db::OpenMode::Shared);
        const QString esito = c.scalar(QStringLiteral("PRAGMA quick_check")).toString();
        if (esito != QLatin1String("ok"))
            return esito;
        if (c.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name='ProvaA'"))
                .toInt() == 1) {
            const qint64 a = c.scalar(QStringLiteral("SELECT count(*) FROM ProvaA")).toLongLong();
            const qint64 b = c.scalar(QStringLiteral("SELECT count(*) FROM ProvaB")).toLongLong();
            if (a != b)
                return QStringLiteral("ProvaA %1 righe, ProvaB %2").arg(a).arg(b);
        }
        return QString();
    } catch (const db::DbError& e) {
        return QStringLiteral("Errore %1 %2").arg(e.number()).arg(e.description());
    }
}

QByteArray contenuto(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool scrivi(const QString& file, const QByteArray& byte) {
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(byte) == byte.size() &&
           f.flush();
}

void creaCorsoGrande(db::Connection& db, qint32 idAttivita, int allievi) {
    db::Transaction t(db);
    db.exec(QStringLiteral("INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, "
                           "ProgrAttivita, DenCorso, DataInizioGG, DataInizioMM, DataInizioAAAA, "
                           "TotIter, Stato, CodSubAsse, CreditoFormativo) VALUES "
                           "(?, 'A', 123, '9', 'Corso numeroso', '10', '09', '2018', 40, "
                           "'APERTO', '01', 3.5)"),
            {idAttivita});
    for (int i = 0; i < allievi; ++i) {
        const bool gestito = i % 3 == 0;
        db.exec(QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, "
                               "Sesso, Matricola, Handicap, Giudizio, OreAssenza, "
                               "OrePresenzaEffettiva, codPartec, DescPartec, CredFormValut) "
                               "VALUES (?,?,?,?,?,?,0,?,?,?,?,?,?)"),
                {idAttivita, QStringLiteral("CRS%1").arg(i, 13, 10, QLatin1Char('0')),
                 QStringLiteral("D'Alò %1").arg(i), QStringLiteral("Nicolò"),
                 i % 2 ? QStringLiteral("F") : QStringLiteral("M"), QString::number(5000 + i),
                 gestito ? QStringLiteral("8") : QStringLiteral(" "),
                 gestito ? QVariant(4) : QVariant(), gestito ? QVariant(36) : QVariant(),
                 gestito ? QVariant(1) : QVariant(),
                 gestito ? QVariant(QStringLiteral("Esecutivo")) : QVariant(),
                 gestito ? QVariant(2.0) : QVariant()});
    }
    t.commit();
}

void corsoConAllievi(db::Connection& db, qint32 id, int allievi, const QString& stato) {
    db::Transaction t(db);
    db.exec(QStringLiteral("INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, "
                           "ProgrAttivita, DenCorso, DataInizioGG, DataInizioMM, DataInizioAAAA, "
                           "DataFineEffGG, DataFineEffMM, DataFineEffAAAA, TotIter, Stato, "
                           "CodSubAsse, CreditoFormativo, codTipologiaOrg, codAreaFormativa, "
                           "codSegmentoForm, TotMaschiH, TotFemmineH) VALUES (?, 'A', 123, 7, "
                           "'Operatore di magazzino', '10', '09', '2018', '20', '12', '2018', 60, "
                           "?, '01', 2.5, 'I', 'ci', 'S1', 1, 2)"),
            {id, stato});
    for (int i = 1; i <= allievi; ++i)
        db.exec(QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, "
                               "Sesso, Matricola, OreAssenza, OrePresenzaEffettiva, codPartec, "
                               "DescPartec, Giudizio, CredFormValut) VALUES (?, ?, ?, 'Nome', ?, "
                               "?, 4, 56, 1, 'Esecutivo', '8', 2.25)"),
                {id, QStringLiteral("PRV%1").arg(i, 13, 10, QLatin1Char('0')),
                 QStringLiteral("Allievo%1").arg(i, 3, 10, QLatin1Char('0')),
                 i % 2 ? QStringLiteral("M") : QStringLiteral("F"),
                 QStringLiteral("M%1").arg(i, 5, 10, QLatin1Char('0'))});
    t.commit();
}

QString poppler(const QString& programma, const QStringList& argomenti, const QByteArray& pdf,
                const QStringList& dopo) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("documento.pdf"));
    scrivi(file, pdf);
    QProcess p;
    p.start(programma, argomenti + QStringList{file} + dopo);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qFatal("%s failed", qPrintable(programma));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList pagineDelPdf(const QByteArray& pdf) {
    QStringList pagine =
        poppler(QStringLiteral("pdftotext"),
                {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8")}, pdf,
                {QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    pagine.removeLast(); // after the last form feed
    for (QString& p : pagine)
        p = p.simplified();
    return pagine;
}

} // namespace prova
DiscoPiccolo::DiscoPiccolo() {
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=64k"), QStringLiteral("tmpfs"), m_dir.path()});
    m_montato = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit &&
                mount.exitCode() == 0;
}

DiscoPiccolo::~DiscoPiccolo() {
    if (!m_montato)
        return;
    QProcess umount;
    umount.start(QStringLiteral("umount"), {m_dir.path()});
    umount.waitForFinished(10000);
}

QString DiscoPiccolo::file(const QString& name) const {
    return QDir(m_dir.path()).filePath(name);
}

void DiscoPiccolo::riempi() {
    QFile riempitivo(file(QStringLiteral("riempitivo")));
    if (!riempitivo.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    const QByteArray blocco(512, 'x');
    while (riempitivo.write(blocco) == blocco.size()) {
    }
    // The last partial block: byte by byte until nothing fits.
    while (riempitivo.write("x", 1) == 1) {
    }
}

void DiscoPiccolo::svuota() {
    QFile::remove(file(QStringLiteral("riempitivo")));
}

ComeUtenteComune::ComeUtenteComune() {
    if (::geteuid() != 0) {
        m_attivo = true;
        return;
    }
    m_cambiato = ::seteuid(65534) == 0; // nobody
    m_attivo = m_cambiato;
}

ComeUtenteComune::~ComeUtenteComune() {
    if (m_cambiato && ::seteuid(0) != 0)
        qFatal("cannot return to the original user");
}

bool terminaIlProgramma(const std::function<void()>& passo) {
    try {
        passo();
    } catch (const ui::FineProgramma&) {
        return true;
    }
    return false;
}
