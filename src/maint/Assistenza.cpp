#include "maint/Assistenza.h"

#include "core/FileSicuro.h"
#include "core/clsFileINI.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkInformation>
#include <QNetworkProxyFactory>
#include <QOperatingSystemVersion>
#include <QSysInfo>

#include <zip.h>

namespace assistenza {

namespace {
const QString kSezione = QStringLiteral("Assistenza");

QString valore(const clsFileINI& ini, const QString& sezione, const QString& chiave,
               const QString& predefinito) {
    const QString v = ini.leggi(sezione, chiave).trimmed();
    return v.isEmpty() ? predefinito : v;
}
} // namespace

QString serverPostaConsigliato(const clsFileINI& ini) {
    return valore(ini, kSezione, QStringLiteral("ServerMail"),
                  QStringLiteral("smtp.assistenza-vrd.it"));
}

QString serverPostaInterno(const clsFileINI& ini) {
    return valore(ini, kSezione, QStringLiteral("ServerMailInterno"),
                  QStringLiteral("mail.vrd.local"));
}

QString indirizzoHelpDesk(const clsFileINI& ini) {
    return valore(ini, kSezione, QStringLiteral("HelpDesk"),
                  QStringLiteral("helpdesk@assistenza-vrd.it"));
}

QString hostModulo(const clsFileINI& ini) {
    QString h = valore(ini, QStringLiteral("CONNESSIONE"), QStringLiteral("ASSISTENZA"),
                       QStringLiteral("https://assistenza-vrd.it"));
    while (h.endsWith(QLatin1Char('/')))
        h.chop(1);
    return h;
}

StatoConnessione statoConnessione() {
    StatoConnessione stato;
    const auto proxy = QNetworkProxyFactory::systemProxyForQuery(
        QNetworkProxyQuery(QUrl(QStringLiteral("http://www.example.com/"))));
    for (const QNetworkProxy& p : proxy)
        if (p.type() != QNetworkProxy::NoProxy && p.type() != QNetworkProxy::DefaultProxy)
            stato.proxy = true;
    if (QNetworkInformation::loadDefaultBackend()) {
        if (const QNetworkInformation* info = QNetworkInformation::instance())
            stato.modem = info->transportMedium() == QNetworkInformation::TransportMedium::Cellular;
    }
    return stato;
}

QString nomeArchivio(const QString& cartellaProgramma, const QDate& data, const QString& grupOpe,
                     const QString& operatore, const QString& numero) {
    return cartellaProgramma + QStringLiteral("KORVADIN_") +
           data.toString(QStringLiteral("dd-MM-yyyy")) + QLatin1Char('_') + grupOpe + operatore +
           QLatin1Char('-') + numero.trimmed().rightJustified(4, QLatin1Char('0')) +
           QStringLiteral(".zip");
}

std::optional<Errore> creaArchivio(const QString& archivio, const QString& database) {
    const QFileInfo sorgente(database);
    if (!sorgente.isFile())
        return Errore{53, QStringLiteral("Impossibile trovare il file ") + database};
    QFile::remove(archivio);
    QString compagno = archivio;
    compagno.chop(4);
    QFile::remove(compagno + QStringLiteral(".txt"));
    const QString temporaneo = archivio + QStringLiteral(".tmp");
    QFile::remove(temporaneo);

    int codice = 0;
    zip_t* z =
        zip_open(QFile::encodeName(temporaneo).constData(), ZIP_CREATE | ZIP_TRUNCATE, &codice);
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, codice);
        Errore errore{75, QString::fromLocal8Bit(zip_error_strerror(&e))};
        zip_error_fini(&e);
        return errore;
    }
    auto fallito = [&]() {
        Errore errore{75, QString::fromLocal8Bit(zip_strerror(z))};
        zip_discard(z);
        QFile::remove(temporaneo);
        return errore;
    };
    zip_source_t* s =
        zip_source_file(z, QFile::encodeName(sorgente.absoluteFilePath()).constData(), 0, -1);
    if (!s)
        return fallito();
    const zip_int64_t voce = zip_file_add(z, sorgente.fileName().toUtf8().constData(), s,
                                          ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (voce < 0) {
        zip_source_free(s);
        return fallito();
    }
    // The entry and the archive are the owner's alone: they hold the database.
    if (zip_file_set_external_attributes(z, zip_uint64_t(voce), 0, ZIP_OPSYS_UNIX,
                                         zip_uint32_t(0100600) << 16) < 0 ||
        zip_close(z) < 0)
        return fallito();
    if (!QFile::setPermissions(temporaneo, fileSicuro::permessiDati()) ||
        !QFile::rename(temporaneo, archivio)) {
        QFile::remove(temporaneo);
        return Errore{75, QStringLiteral("Impossibile scrivere il file ") + archivio};
    }
    return std::nullopt;
}

QString queryString(const DatiRichiesta& d) {
    const QList<QPair<QString, QString>> campi = {
        {QStringLiteral("fr"), d.email.isEmpty() ? QStringLiteral("Indirizzo e-mail...") : d.email},
        {QStringLiteral("su"), QStringLiteral("KORVADIN (ver. ") + d.versione + QLatin1Char(')')},
        {QStringLiteral("g"), d.grupOpe},
        {QStringLiteral("c"), d.operatore},
        {QStringLiteral("d"), d.nomeOperatore},
        {QStringLiteral("cp"), QString()},
        {QStringLiteral("so"), d.sistema},
        {QStringLiteral("h"), d.helpDesk},
        {QStringLiteral("ie"), d.browser},
        {QStringLiteral("mem"), d.memoria},
        {QStringLiteral("tel"), QString()},
        {QStringLiteral("rif"), QString()},
        {QStringLiteral("prb"), QString()},
        {QStringLiteral("ap"), QStringLiteral("KORVADIN")},
        {QStringLiteral("file"), QDir::toNativeSeparators(d.archivio)},
    };
    QStringList parti;
    for (const auto& [nome, valore] : campi)
        parti << nome + QLatin1Char('=') + QString::fromLatin1(QUrl::toPercentEncoding(valore));
    return parti.join(QLatin1Char('&'));
}

QUrl indirizzoModulo(const QString& host, const QString& query) {
    return QUrl(host + PercorsoModulo + QLatin1Char('?') + query, QUrl::StrictMode);
}

QString descrizioneSistema() {
    QString famiglia;
    const auto os = QOperatingSystemVersion::current();
    if (os.type() == QOperatingSystemVersion::Windows && os.majorVersion() == 5)
        famiglia = os.minorVersion() == 0   ? QStringLiteral("2000")
                   : os.minorVersion() == 1 ? QStringLiteral("XP")
                                            : QString();
    const QString versione = os.type() == QOperatingSystemVersion::Windows
                                 ? QStringLiteral("%1.%2.%3")
                                       .arg(os.majorVersion())
                                       .arg(os.minorVersion())
                                       .arg(os.microVersion())
                                 : QSysInfo::kernelVersion();
    return QStringLiteral("WINDOWS ") + famiglia + QStringLiteral("Versione: ") + versione;
}

QString descrizioneBrowser() {
    return QStringLiteral("Internet Explorer non trovato");
}

QString descrizioneMemoria() {
    qint64 totale = 0, disponibile = 0, swapTotale = 0, swapLibero = 0;
    QFile f(QStringLiteral("/proc/meminfo"));
    if (f.open(QIODevice::ReadOnly)) {
        for (const QByteArray& riga : f.readAll().split('\n')) {
            const QList<QByteArray> parti = riga.simplified().split(' ');
            if (parti.size() < 2)
                continue;
            const qint64 byte = parti[1].toLongLong() * 1024;
            if (parti[0] == "MemTotal:")
                totale = byte;
            else if (parti[0] == "MemAvailable:")
                disponibile = byte;
            else if (parti[0] == "SwapTotal:")
                swapTotale = byte;
            else if (parti[0] == "SwapFree:")
                swapLibero = byte;
        }
    }
    // Virtual memory: what the programs can use, memory plus swap.
    auto mb = [](qint64 b) { return QString::number(b / 1024 / 1024) + QStringLiteral(" MB"); };
    return QStringLiteral("Total RAM = ") + mb(totale) + QStringLiteral("\r\n") +
           QStringLiteral("Available RAM = ") + mb(disponibile) + QStringLiteral("\r\n") +
           QStringLiteral("Total Virtual Memory = ") + mb(totale + swapTotale) +
           QStringLiteral("\r\n") + QStringLiteral("Available Virtual Memory = ") +
           mb(disponibile + swapLibero);
}

} // namespace assistenza
