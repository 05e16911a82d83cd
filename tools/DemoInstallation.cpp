#include "DemoInstallation.h"

#include "core/Session.h"
#include "core/clsFileINI.h"
#include "db/Database.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>

namespace tooling {

void scriviIni(const QString& folder, const IniDemo& demo) {
    clsFileINI ini(folder);
    ini.setNomeFile(QDir(folder).filePath(QStringLiteral("KORVADIN.INI")));
    const QString database = demo.database.isNull()
                                 ? QDir(folder).filePath(QStringLiteral("KORVADIN.mdb"))
                                 : demo.database;
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), demo.tipo);
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("PROVIDER"),
               QStringLiteral("SQLCipher"));
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"), demo.versione);
    ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Database"), database);
    ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), demo.nomeFile);
    ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup"), QString());
    // The credential prefix "korvadin:Pwd2026@" scrambled: every character code
    // with its lowest bit flipped.
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("PWD"),
               QStringLiteral("jnsw`eho;Qve3137A"));
    // The regional-server simulator (korvadin-simulatore) of the demo: HTTP on
    // 8088, HTTPS on 8089, paths as it serves them.
    const QString server = QStringLiteral("http://127.0.0.1:8088");
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("NREG"),
               server + QStringLiteral("/korvadin/nreg.asp"));
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("AGGIORNADB"),
               server + QStringLiteral("/korvadin/aggiornadb.asp"));
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("VERSIONE"),
               server + QStringLiteral("/korvadin/versione.asp"));
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("STATOAVANZAMENTO"),
               server + QStringLiteral("/korvadin/statoavanzamento.asp"));
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("CORSIDESTINATARI"),
               server + QStringLiteral("/korvadin/corsidestinatari.asp"));
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("PLEIA"),
               server + QStringLiteral("/pleia/login.asp"));
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("HOSTUPLOAD"),
               QStringLiteral("127.0.0.1:8089"));
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("PAGINACERTIFICATO"),
               server + QStringLiteral("/korvadin/certificato.htm"));
    // The support request's upload form, served by the simulator too.
    ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("ASSISTENZA"), server);
    ini.scrivi(QStringLiteral("Help"), QStringLiteral("FILEHELP"), QStringLiteral("KORVADIN.html"));
}

void copiaAiuto(const QString& folder) {
    const QString target = QDir(folder).filePath(QStringLiteral("KORVADIN.html"));
    QFile::remove(target);
    QFile::copy(QStringLiteral(":/help/KORVADIN.html"), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::ReadOther);
}

namespace {

struct CorsoDemo {
    int id;
    QString progr;
    QString titolo;
    QString gg, mm, aaaa;
    int ore;
    QString stato;
    QString subAsse;
};

struct AllievoDemo {
    int corso;
    QString codFiscale, cognome, nome, sesso, matricola;
};

} // namespace

void riempiDemo(const QString& databasePath) {
    db::Connection c;
    c.open(databasePath, Session::databasePassword(), db::OpenMode::Exclusive);
    db::Transaction t(c);
    c.exec(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, NumInstall, VersioneDB) "
                          "VALUES (?, ?, ?, ?)"),
           {QStringLiteral("A"), 123, 7, Session::versione()});
    c.exec(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper, "
                          "CodFisc, PIva, Corrispondenza) VALUES (?, ?, ?, ?, ?, ?, ?)"),
           {QStringLiteral("A"), 123, QStringLiteral("Centro Formazione Val d'Aosta Lavoro"),
            QStringLiteral("EF"), QStringLiteral("80012345678"), QStringLiteral("01234567890"), 1});
    c.exec(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, "
                          "Denominazione, CodComune, Cap, Indirizzo) VALUES (?,?,?,?,?,?,?,?)"),
           {QStringLiteral("A"), 123, 1, QStringLiteral("SL"), QStringLiteral("Sede legale"),
            QStringLiteral("A326"), QStringLiteral("11100"), QStringLiteral("Via Roma, 12")});
    c.exec(QStringLiteral("INSERT INTO Comuni (CodComune, Denominazione, PROV) VALUES (?, ?, ?)"),
           {QStringLiteral("A326"), QStringLiteral("Aosta"), QStringLiteral("AO")});

    const QList<CorsoDemo> corsi = {
        {41235, QStringLiteral("1"), QStringLiteral("Addetto alla contabilità di base"),
         QStringLiteral("10"), QStringLiteral("09"), QStringLiteral("2018"), 40,
         QStringLiteral("APERTO"), QStringLiteral("01")},
        {41236, QStringLiteral("2"), QStringLiteral("Tecniche di saldatura"), QStringLiteral("01"),
         QStringLiteral("10"), QStringLiteral("2018"), 120, QStringLiteral("APERTO"),
         QStringLiteral("03")},
        {41237, QStringLiteral("3"), QStringLiteral("Seminario sicurezza sul lavoro"),
         QStringLiteral("15"), QStringLiteral("10"), QStringLiteral("2018"), 16,
         QStringLiteral("APERTO"), QStringLiteral("04")},
        {41238, QStringLiteral("4"), QStringLiteral("Lingua inglese per il turismo"),
         QStringLiteral("05"), QStringLiteral("11"), QStringLiteral("2018"), 60,
         QStringLiteral("CHIUSO"), QStringLiteral("01")},
        {41239, QStringLiteral("5"), QStringLiteral("Informatica di base"), QStringLiteral("12"),
         QStringLiteral("03"), QStringLiteral("2018"), 80, QStringLiteral("TRASMESSO"),
         QStringLiteral("05")},
    };
    for (const CorsoDemo& k : corsi) {
        const bool chiuso = k.stato != QLatin1String("APERTO");
        c.exec(QStringLiteral(
                   "INSERT INTO KELDCorsiDef (IdAttivita, GrupOpe, Operatore, ProgrAttivita, "
                   "DenCorso, DataInizioGG, DataInizioMM, DataInizioAAAA, TotIter, Stato, "
                   "Componente, CodObiet, CodAsse, CodSubAsse, TotMaschi, TotFemmine, "
                   "TotMaschiH, TotFemmineH, AmmessiM, AmmessiF, AmmessiMH, AmmessiFH, "
                   "NonAmmessiM, NonAmmessiF, NonAmmessiMH, NonAmmessiFH, DataFineEffGG, "
                   "DataFineEffMM, DataFineEffAAAA, CreditoFormativo, codTipologiaOrg, "
                   "codAreaFormativa, codSubAreaFormativa, codSegmentoForm) VALUES "
                   "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,0,0,0,0,0,0,0,0,0,0,0,?,?,?,?,?,?,?,?)"),
               {k.id,
                QStringLiteral("A"),
                123,
                k.progr,
                k.titolo,
                k.gg,
                k.mm,
                k.aaaa,
                k.ore,
                k.stato,
                1,
                QStringLiteral("3"),
                QStringLiteral("III"),
                k.subAsse,
                chiuso ? QVariant(QStringLiteral("20")) : QVariant(),
                chiuso ? QVariant(QStringLiteral("12")) : QVariant(),
                chiuso ? QVariant(QStringLiteral("2018")) : QVariant(),
                chiuso ? QVariant(2.5) : QVariant(),
                chiuso ? QVariant(QStringLiteral("I")) : QVariant(),
                chiuso ? QVariant(QStringLiteral("ce")) : QVariant(),
                QString(),
                chiuso ? QVariant(QStringLiteral("S1")) : QVariant()});
        c.exec(QStringLiteral("INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, "
                              "Componente, ProgrAttivita, DenCorso, TotIter) "
                              "VALUES (?,?,?,?,?,?,?)"),
               {k.id, QStringLiteral("A"), 123, 1, k.progr, k.titolo, k.ore});
    }

    const QList<AllievoDemo> allievi = {
        {41235, QStringLiteral("RSSMRA80A01A326X"), QStringLiteral("Rossi"),
         QStringLiteral("Mario"), QStringLiteral("M"), QStringLiteral("1001")},
        {41235, QStringLiteral("DNGLCU85B41A326Y"), QStringLiteral("D'Angelo"),
         QStringLiteral("Lucia"), QStringLiteral("F"), QStringLiteral("1002")},
        {41235, QStringLiteral("BNCGPP90C10A326Z"), QStringLiteral("Bianchi"),
         QStringLiteral("Giuseppe"), QStringLiteral("M"), QStringLiteral("1003")},
        {41235, QStringLiteral("VRDNNA92D50A326W"), QStringLiteral("Verdi"), QStringLiteral("Anna"),
         QStringLiteral("F"), QString()},
        {41236, QStringLiteral("FRRLGU75E15A326V"), QStringLiteral("Ferrari"),
         QStringLiteral("Luigi"), QStringLiteral("M"), QStringLiteral("2001")},
        {41236, QStringLiteral("CLMSRA88H60A326U"), QStringLiteral("Colombo"),
         QStringLiteral("Sara"), QStringLiteral("F"), QStringLiteral("null")},
        {41237, QStringLiteral("RCCFBA70L01A326T"), QStringLiteral("Ricci"),
         QStringLiteral("Fabio"), QStringLiteral("M"), QStringLiteral("3001")},
        {41238, QStringLiteral("MRNLSA95M41A326S"), QStringLiteral("Marino"),
         QStringLiteral("Elisa"), QStringLiteral("F"), QStringLiteral("4001")},
        {41238, QStringLiteral("GRCPLA93P10A326R"), QStringLiteral("Greco"),
         QStringLiteral("Paolo"), QStringLiteral("M"), QStringLiteral("4002")},
        {41239, QStringLiteral("BRNCHR91R50A326Q"), QStringLiteral("Bruno"),
         QStringLiteral("Chiara"), QStringLiteral("F"), QStringLiteral("5001")},
    };
    for (const AllievoDemo& a : allievi) {
        const bool gestito = a.corso == 41238 || a.corso == 41239;
        c.exec(QStringLiteral("INSERT INTO KELDAnagFreq (IdAttivita, CodFiscale, Cognome, Nome, "
                              "Sesso, Matricola, Handicap, Giudizio, OreAssenza, "
                              "OrePresenzaEffettiva, codPartec, DescPartec, CredFormValut) "
                              "VALUES (?,?,?,?,?,?,0,?,?,?,?,?,?)"),
               {a.corso, a.codFiscale, a.cognome, a.nome, a.sesso, a.matricola,
                gestito ? QStringLiteral("8") : QStringLiteral(" "),
                gestito ? QVariant(4) : QVariant(), gestito ? QVariant(56) : QVariant(),
                gestito ? QVariant(1) : QVariant(),
                gestito ? QVariant(QStringLiteral("Esecutivo")) : QVariant(),
                gestito ? QVariant(2.0) : QVariant()});
    }
    // Counts of the closed courses as their report stored them.
    c.exec(QStringLiteral("UPDATE KELDCorsiDef SET TotMaschi=1, TotFemmine=1, AmmessiM=1, "
                          "AmmessiF=1 WHERE IdAttivita=?"),
           {41238});
    c.exec(QStringLiteral("UPDATE KELDCorsiDef SET TotFemmine=1, AmmessiF=1 WHERE IdAttivita=?"),
           {41239});
    t.commit();
}

void creaInstallazioneDemo(const QString& folder) {
    QDir().mkpath(folder);
    const QString database = QDir(folder).filePath(QStringLiteral("KORVADIN.mdb"));
    QFile::remove(database);
    db::creaBaseDatiVuota(database, Session::databasePassword());
    riempiDemo(database);
    QFile::remove(QDir(folder).filePath(QStringLiteral("KORVADIN.INI")));
    scriviIni(folder, IniDemo());
    copiaAiuto(folder);
}

} // namespace tooling
