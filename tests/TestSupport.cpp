#include "TestSupport.h"

#include "DemoInstallation.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "db/Trasferimento.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QThread>
#include <QUrlQuery>
#include <unistd.h>
#include <zip.h>

TestInstallation::TestInstallation(Contenuto contenuto) {
    if (contenuto == Contenuto::Demo) {
        tooling::creaInstallazioneDemo(folder());
    } else {
        db::creaBaseDatiVuota(fileDatabase(), Session::databasePassword());
        tooling::scriviIni(folder(), tooling::IniDemo());
        tooling::copiaAiuto(folder());
    }
    if (prova::motoreProva() == db::TipoMotore::PostgreSQL) {
        m_indirizzo = prova::nuovaBaseDatiServer();
        db::Connection file, server;
        file.open(fileDatabase(), Session::databasePassword(), db::OpenMode::Shared);
        server.open(m_indirizzo, Session::databasePassword(), db::OpenMode::Shared);
        db::copiaContenuto(file, server);
    }
}

QString TestInstallation::database() const {
    return m_indirizzo.isEmpty() ? fileDatabase() : m_indirizzo;
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

db::TipoMotore motoreProva() {
    return qgetenv("KORVADIN_TEST_MOTORE") == "postgresql" ? db::TipoMotore::PostgreSQL
                                                           : db::TipoMotore::SQLCipher;
}

namespace {

QString programmaServer(const QString& nome) {
    const QStringList cartelle = QDir(QStringLiteral("/usr/lib/postgresql"))
                                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    return cartelle.isEmpty()
               ? nome
               : QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(cartelle.last(), nome);
}

// Runs a server program, as postgres when running as root.
bool esegui(const QString& nome, const QStringList& argomenti) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (::geteuid() == 0)
        p.start(QStringLiteral("runuser"),
                QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"),
                            programmaServer(nome)} +
                    argomenti);
    else
        p.start(programmaServer(nome), argomenti);
    const bool ok =
        p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok)
        qWarning("%s: %s", qPrintable(nome), p.readAll().constData());
    return ok;
}

QString socket(const QString& cartella) {
    return QDir(cartella).filePath(QStringLiteral("socket"));
}

// The private server of this process, when the run did not start one.
struct ServerProprio {
    QTemporaryDir dir{QStringLiteral("/tmp/korvadin-pg-XXXXXX")};
    bool avviato = false;
    ~ServerProprio() {
        if (avviato)
            fermaServer(dir.path());
    }
};

} // namespace

bool avviaServer(const QString& cartella) {
    QDir(cartella).mkpath(QStringLiteral("socket"));
    if (::geteuid() == 0)
        QProcess::execute(QStringLiteral("chown"),
                          {QStringLiteral("-R"), QStringLiteral("postgres"), cartella});
    const QString dati = QDir(cartella).filePath(QStringLiteral("dati"));
    QDir(dati).removeRecursively();
    if (!esegui(QStringLiteral("initdb"),
                {QStringLiteral("-D"), dati, QStringLiteral("-A"), QStringLiteral("trust"),
                 QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-E"),
                 QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                 QStringLiteral("--no-sync")}))
        return false;
    QTcpServer libera;
    libera.listen(QHostAddress::LocalHost);
    const QString porta = QString::number(libera.serverPort());
    libera.close();
    if (!esegui(QStringLiteral("pg_ctl"),
                {QStringLiteral("-D"), dati, QStringLiteral("-l"),
                 QDir(cartella).filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                 QStringLiteral("-o"),
                 QStringLiteral("-k %1 -p %2 -c listen_addresses= -c fsync=off "
                                "-c synchronous_commit=off -c full_page_writes=off "
                                "-c max_connections=200")
                     .arg(socket(cartella), porta),
                 QStringLiteral("start")}))
        return false;
    return scrivi(QDir(cartella).filePath(QStringLiteral("porta")), porta.toUtf8());
}

bool fermaServer(const QString& cartella) {
    return esegui(QStringLiteral("pg_ctl"),
                  {QStringLiteral("-D"), QDir(cartella).filePath(QStringLiteral("dati")),
                   QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("stop")});
}

QString nuovaBaseDatiServer() {
    QString cartella = QString::fromLocal8Bit(qgetenv("KORVADIN_TEST_PG"));
    if (cartella.isEmpty()) {
        static ServerProprio proprio;
        if (!proprio.avviato && !(proprio.avviato = avviaServer(proprio.dir.path())))
            qFatal("server PostgreSQL di prova non avviato");
        cartella = proprio.dir.path();
    }
    static int numero = 0;
    const QString schema = QStringLiteral("prova_%1_%2").arg(::getpid()).arg(++numero);
    const int porta = contenuto(QDir(cartella).filePath(QStringLiteral("porta"))).toInt();
    const QString base = db::Connection::indirizzoServer(
        socket(cartella), porta, QStringLiteral("postgres"), QStringLiteral("postgres"), QString());
    QUrlQuery opzioni;
    opzioni.addQueryItem(QStringLiteral("options"), QStringLiteral("-csearch_path=%1").arg(schema));
    const QString indirizzo = base + QLatin1Char('&') + opzioni.toString(QUrl::FullyEncoded);
    // The schema is made through a connection to it: its first open creates
    // the tables of the program.
    {
        QProcess psql;
        psql.start(programmaServer(QStringLiteral("psql")),
                   {QStringLiteral("-h"), socket(cartella), QStringLiteral("-p"),
                    QString::number(porta), QStringLiteral("-U"), QStringLiteral("postgres"),
                    QStringLiteral("-q"), QStringLiteral("-c"),
                    QStringLiteral("CREATE SCHEMA %1").arg(schema), QStringLiteral("postgres")});
        if (!psql.waitForFinished(60000) || psql.exitCode() != 0)
            qFatal("schema %s non creato: %s", qPrintable(schema),
                   psql.readAllStandardError().constData());
    }
    return indirizzo;
}

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
        const QString esito = c.verificaIntegrita();
        if (esito != QLatin1String("ok"))
            return esito;
        if (c.tabelle().contains(QStringLiteral("ProvaA"), Qt::CaseInsensitive)) {
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

namespace {
quint32 crc32(const QByteArray& b) {
    quint32 c = 0xffffffffu;
    for (const char ch : b) {
        c ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
    }
    return ~c;
}
template <typename T> void metti(QByteArray& b, T v) {
    for (size_t i = 0; i < sizeof(T); ++i)
        b += char((quint64(v) >> (8 * i)) & 0xff);
}
} // namespace

QByteArray zipStreaming(const QList<QPair<QString, QByteArray>>& voci, const Streaming& m) {
    QByteArray zip, centrale;
    const quint32 pieno = 0xffffffffu;
    for (const auto& [nome, dati] : voci) {
        // Raw deflate: qCompress's zlib stream without length, header and checksum.
        const QByteArray z = m.comprimi ? qCompress(dati).mid(6).chopped(4) : dati;
        const quint32 crc = crc32(dati), offset = quint32(zip.size());
        const QByteArray n = nome.toUtf8();
        const auto testa = [&](bool locale) {
            QByteArray h;
            metti<quint16>(h, m.zip64 ? 45 : 20);
            metti<quint16>(h, 0x0808); // data descriptor, UTF-8 name
            metti<quint16>(h, m.comprimi ? 8 : 0);
            metti<quint32>(h, 0x00210000); // 1980-01-01 00:00
            metti<quint32>(h, locale && m.locali < 2 ? 0 : crc);
            metti<quint32>(h, m.zip64 ? pieno : locale && m.locali < 2 ? 0 : quint32(z.size()));
            metti<quint32>(h, m.zip64 ? pieno : locale && m.locali < 1 ? 0 : quint32(dati.size()));
            metti<quint16>(h, quint16(n.size()));
            metti<quint16>(h, m.zip64 ? 20 : 0);
            return h;
        };
        const auto extra = [&](bool locale) {
            QByteArray e;
            if (m.zip64) {
                metti<quint32>(e, 0x00100001); // id 1, 16 bytes
                metti<quint64>(e, locale && m.locali < 1 ? 0 : dati.size());
                metti<quint64>(e, locale && m.locali < 2 ? 0 : z.size());
            }
            return e;
        };
        zip += "PK\x03\x04" + testa(true) + n + extra(true) + z;
        if (m.firma)
            zip += "PK\x07\x08";
        metti<quint32>(zip, crc ^ m.alteraCrc);
        if (m.zip64) {
            metti<quint64>(zip, z.size());
            metti<quint64>(zip, dati.size());
        } else {
            metti<quint32>(zip, z.size());
            metti<quint32>(zip, dati.size());
        }
        centrale += "PK\x01\x02";
        metti<quint16>(centrale, 0x0300 | (m.zip64 ? 45 : 20)); // made on Unix
        centrale += testa(false);
        metti<quint32>(centrale, 0); // comment, disk, internal attributes
        metti<quint16>(centrale, 0);
        metti<quint32>(centrale, quint32(0100600) << 16); // external attributes
        metti<quint32>(centrale, offset);
        centrale += n + extra(false);
    }
    const quint32 inizio = quint32(zip.size());
    const quint16 quante = quint16(voci.size());
    if (m.zip64) {
        const quint32 fine64 = quint32(zip.size() + centrale.size());
        centrale += "PK\x06\x06";
        metti<quint64>(centrale, 44);
        metti<quint32>(centrale, 0x002d002d); // versions 4.5
        metti<quint64>(centrale, 0);          // disks
        metti<quint64>(centrale, quante);
        metti<quint64>(centrale, quante);
        metti<quint64>(centrale, fine64 - inizio);
        metti<quint64>(centrale, inizio);
        centrale += "PK\x06\x07";
        metti<quint32>(centrale, 0);
        metti<quint64>(centrale, fine64);
        metti<quint32>(centrale, 1);
    }
    const quint32 dimensione = quint32(centrale.size()) - (m.zip64 ? 76 : 0);
    zip += centrale + "PK\x05\x06";
    metti<quint32>(zip, 0);
    metti<quint16>(zip, m.zip64 ? 0xffff : quante);
    metti<quint16>(zip, m.zip64 ? 0xffff : quante);
    metti<quint32>(zip, m.zip64 ? pieno : dimensione);
    metti<quint32>(zip, m.zip64 ? pieno : inizio);
    metti<quint16>(zip, 0);
    return zip;
}

QFileDevice::Permissions permessi(const QString& file) {
    return QFileInfo(file).permissions() & QFileDevice::Permissions(0x7077);
}

quint32 modoVoce(const QString& archivio, int indice) {
    int codice = 0;
    zip_t* za = zip_open(QFile::encodeName(archivio).constData(), ZIP_RDONLY, &codice);
    zip_uint8_t sistema = 0;
    zip_uint32_t attributi = 0;
    if (za)
        zip_file_get_external_attributes(za, zip_uint64_t(indice), 0, &sistema, &attributi);
    if (za)
        zip_discard(za);
    return sistema == ZIP_OPSYS_UNIX ? attributi >> 16 : 0;
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
