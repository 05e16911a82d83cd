#include "maint/ArchivioBackup.h"

#include "core/FileSicuro.h"
#include "maint/CopiaSicurezza.h"
#include "maint/StrutturaZip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>

#include <zip.h>

namespace archivioBackup {

namespace {

bool fallito(QString* errore, const QString& motivo) {
    if (errore)
        *errore = motivo;
    return false;
}

QString testoErrore(zip_error_t* e) {
    return QString::fromLocal8Bit(zip_error_strerror(e));
}

QString testoErrore(zip_t* za) {
    return testoErrore(zip_get_error(za));
}

// A regular file with mode 0600, as the external attributes of an entry made on Unix.
constexpr zip_uint32_t kAttributiVoce = zip_uint32_t(0100600) << 16;

// Opens the archive for reading. The local headers of streaming writers (sizes
// in a data descriptor) do not pass libzip's consistency check: the archive is
// then opened without it, and the structure is checked here, descriptors
// included, for every archive.
zip_t* apri(const QString& archivio, QString* errore) {
    int codice = 0;
    const QByteArray percorso = QFile::encodeName(archivio);
    zip_t* za = zip_open(percorso.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codice);
    if (!za && codice == ZIP_ER_INCONS)
        za = zip_open(percorso.constData(), ZIP_RDONLY, &codice);
    if (!za) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, codice);
        fallito(errore, testoErrore(&ze) + QStringLiteral(": ") + archivio);
        zip_error_fini(&ze);
        return nullptr;
    }
    const QString struttura = strutturaZip::verifica(archivio);
    if (!struttura.isEmpty()) {
        zip_discard(za);
        fallito(errore, struttura);
        return nullptr;
    }
    return za;
}

// No entry of a backup is larger than this: an archive announcing more is refused.
constexpr zip_uint64_t kMassimaDimensione = zip_uint64_t(4) * 1024 * 1024 * 1024;

} // namespace

QString nomeArchivio(const QString& percorsoScelto) {
    const QFileInfo scelto(percorsoScelto);
    const QString nome = scelto.fileName();
    const qsizetype punto = nome.lastIndexOf(QLatin1Char('.'));
    const QString base = punto < 0 ? nome : nome.left(punto);
    return QDir(scelto.absolutePath()).filePath(base + QStringLiteral(".zip"));
}

QString domandaRecupero(const QString& archivio, const QDateTime& data, bool conserva) {
    QString testo = QStringLiteral("La base dati corrente sarà sostituita con quella contenuta "
                                   "nell'archivio\n") +
                    QDir::toNativeSeparators(archivio);
    if (data.isValid())
        testo += QStringLiteral("\ndel ") + data.toString(QStringLiteral("dd/MM/yyyy")) +
                 QStringLiteral(" ore ") + data.toString(QStringLiteral("HH:mm"));
    testo += conserva ? QStringLiteral(".\n\nUna copia della base dati corrente sarà conservata "
                                       "nella cartella \"BackupDB\".")
                      : QStringLiteral(".\n\nLa base dati corrente non sarà conservata.");
    return testo + QStringLiteral("\n\nProcedere con il recupero?");
}

QString nomeCopiaConservata(const QString& cartella, const QString& nomeDB,
                            const QDateTime& quando) {
    const QFileInfo info(nomeDB);
    const QString suffisso =
        info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    const QString base = info.completeBaseName() + QLatin1Char('_') +
                         quando.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    const QDir dir(cartella);
    QString nome = base + suffisso;
    for (int n = 2; dir.exists(nome); ++n)
        nome = base + QStringLiteral("_%1").arg(n) + suffisso;
    return dir.filePath(nome);
}

bool nomeVoceAmmesso(const QString& nome) {
    if (nome.isEmpty() || nome == QLatin1String(".") || nome == QLatin1String(".."))
        return false;
    for (const QChar c : nome) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool crea(const QStringList& files, const QString& archivio, QString* errore) {
    // The file data must live until the archive is closed.
    QList<QByteArray> contenuti;
    contenuti.reserve(files.size());
    for (const QString& file : files) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return fallito(errore, f.errorString() + QStringLiteral(": ") + file);
        contenuti << f.readAll();
        if (f.error() != QFileDevice::NoError)
            return fallito(errore, f.errorString() + QStringLiteral(": ") + file);
    }

    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* memoria = zip_source_buffer_create(nullptr, 0, 0, &ze);
    if (!memoria) {
        const QString motivo = testoErrore(&ze);
        zip_error_fini(&ze);
        return fallito(errore, motivo);
    }
    zip_t* za = zip_open_from_source(memoria, ZIP_CREATE | ZIP_TRUNCATE, &ze);
    if (!za) {
        const QString motivo = testoErrore(&ze);
        zip_error_fini(&ze);
        zip_source_free(memoria);
        return fallito(errore, motivo);
    }
    zip_error_fini(&ze);
    zip_source_keep(memoria); // read back after zip_close

    for (int i = 0; i < files.size(); ++i) {
        const QByteArray nome = QFileInfo(files.at(i)).fileName().toUtf8();
        zip_source_t* dati = zip_source_buffer(za, contenuti.at(i).constData(),
                                               zip_uint64_t(contenuti.at(i).size()), 0);
        // Entries read and written by the owner only, whoever extracts them.
        zip_int64_t indice = -1;
        if (!dati || (indice = zip_file_add(za, nome.constData(), dati, ZIP_FL_ENC_UTF_8)) < 0 ||
            zip_file_set_external_attributes(za, zip_uint64_t(indice), 0, ZIP_OPSYS_UNIX,
                                             kAttributiVoce) < 0) {
            const QString motivo = testoErrore(za);
            if (dati && indice < 0)
                zip_source_free(dati);
            zip_discard(za);
            zip_source_free(memoria);
            return fallito(errore, motivo);
        }
    }
    if (zip_close(za) != 0) {
        const QString motivo = testoErrore(za);
        zip_discard(za);
        zip_source_free(memoria);
        return fallito(errore, motivo);
    }

    QByteArray byte;
    bool letto = zip_source_open(memoria) == 0;
    if (letto) {
        letto = zip_source_seek(memoria, 0, SEEK_END) == 0;
        const zip_int64_t dimensione = letto ? zip_source_tell(memoria) : -1;
        letto = dimensione >= 0 && zip_source_seek(memoria, 0, SEEK_SET) == 0;
        if (letto) {
            byte.resize(qsizetype(dimensione));
            letto = zip_source_read(memoria, byte.data(), zip_uint64_t(dimensione)) == dimensione;
        }
        zip_source_close(memoria);
    }
    const QString motivoLettura = letto ? QString() : testoErrore(zip_source_error(memoria));
    zip_source_free(memoria);
    if (!letto)
        return fallito(errore, motivoLettura);
    QString motivo;
    if (!fileSicuro::sostituisci(archivio, byte, &motivo))
        return fallito(errore, motivo + QStringLiteral(": ") + archivio);
    return true;
}

bool estrai(const QString& archivio, const QString& cartella, QStringList* estratti,
            QString* errore) {
    QStringList scritti;
    const QDir dir(cartella);
    const auto rifiuta = [&](const QString& motivo) {
        for (const QString& nome : scritti)
            QFile::remove(dir.filePath(nome));
        return fallito(errore, motivo);
    };

    QString motivoApertura;
    zip_t* za = apri(archivio, &motivoApertura);
    if (!za)
        return rifiuta(motivoApertura);
    const auto chiudiERifiuta = [&](const QString& motivo) {
        zip_discard(za);
        return rifiuta(motivo);
    };

    const zip_int64_t voci = zip_get_num_entries(za, 0);
    if (voci <= 0)
        return chiudiERifiuta(QStringLiteral("L'archivio è vuoto: %1").arg(archivio));
    // Every name is checked before anything is written.
    QSet<QString> visti;
    QStringList nomi;
    for (zip_int64_t i = 0; i < voci; ++i) {
        zip_stat_t st;
        if (zip_stat_index(za, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            return chiudiERifiuta(testoErrore(za));
        const QString nome = QString::fromUtf8(st.name);
        if (!nomeVoceAmmesso(nome))
            return chiudiERifiuta(QStringLiteral("Nome non ammesso nell'archivio: %1").arg(nome));
        if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMassimaDimensione)
            return chiudiERifiuta(QStringLiteral("Dimensione non ammessa: %1").arg(nome));
        const QString chiave = nome.toCaseFolded();
        if (visti.contains(chiave))
            return chiudiERifiuta(QStringLiteral("Nome ripetuto nell'archivio: %1").arg(nome));
        visti.insert(chiave);
        nomi << nome;
    }

    QByteArray blocco(64 * 1024, Qt::Uninitialized);
    for (zip_int64_t i = 0; i < voci; ++i) {
        zip_stat_t st;
        zip_stat_index(za, zip_uint64_t(i), 0, &st);
        const QString& nome = nomi.at(qsizetype(i));
        QFile uscita(dir.filePath(nome));
        if (!uscita.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
            !uscita.setPermissions(fileSicuro::permessiDati()))
            return chiudiERifiuta(uscita.errorString() + QStringLiteral(": ") + uscita.fileName());
        scritti << nome;
        zip_file_t* zf = zip_fopen_index(za, zip_uint64_t(i), 0);
        if (!zf)
            return chiudiERifiuta(testoErrore(za) + QStringLiteral(": ") + nome);
        zip_uint64_t totale = 0;
        for (;;) {
            // The CRC is compared when the last byte has been read: a mismatch
            // comes back as a failed read.
            const zip_int64_t n = zip_fread(zf, blocco.data(), zip_uint64_t(blocco.size()));
            if (n < 0) {
                const QString motivo = testoErrore(zip_file_get_error(zf));
                zip_fclose(zf);
                return chiudiERifiuta(motivo + QStringLiteral(": ") + nome);
            }
            if (n == 0)
                break;
            totale += zip_uint64_t(n);
            if (totale > st.size || uscita.write(blocco.constData(), n) != n) {
                zip_fclose(zf);
                return chiudiERifiuta(QStringLiteral("Estrazione non riuscita: %1").arg(nome));
            }
        }
        const int chiusura = zip_fclose(zf);
        if (chiusura != 0 || totale != st.size || !uscita.flush())
            return chiudiERifiuta(QStringLiteral("Estrazione non riuscita: %1").arg(nome));
        uscita.close();
    }
    zip_discard(za);
    if (estratti)
        *estratti = scritti;
    return true;
}

bool nomeRiservato(const QString& nome) {
    const QString n = nome.toLower();
    return n == QLatin1String("korvadin.ini") || n.endsWith(QLatin1String(".lck")) ||
           n.endsWith(QLatin1String("-journal")) || n.endsWith(QLatin1String("_bak"));
}

QString provaRecupero(const QString& archivio, const QString& cartella, const QString& nomeDB,
                      const QString& chiave, QStringList* estratti) {
    const QString danneggiato = QStringLiteral("L'archivio è danneggiato o incompleto.");
    const auto nonAmmesso = [](const QString& nome) {
        return QStringLiteral("L'archivio contiene un nome non ammesso: %1").arg(nome);
    };
    QStringList nomi;
    {
        zip_t* za = apri(archivio, nullptr);
        if (!za)
            return danneggiato;
        for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i)
            nomi << QString::fromUtf8(zip_get_name(za, zip_uint64_t(i), 0));
        zip_discard(za);
    }
    // A name that would leave the extraction folder comes first; a database in
    // a folder of the archive (or none) next.
    for (const QString& nome : nomi) {
        if (nome.startsWith(QLatin1Char('/')))
            return nonAmmesso(nome);
        for (const QString& parte : nome.split(QLatin1Char('/'), Qt::SkipEmptyParts))
            if (!nomeVoceAmmesso(parte))
                return nonAmmesso(nome);
    }
    if (!nomi.contains(nomeDB, Qt::CaseInsensitive))
        return QStringLiteral("Nell'archivio non c'è la base dati %1 fuori da ogni cartella.")
            .arg(nomeDB);
    QSet<QString> visti;
    for (const QString& nome : nomi) {
        if (!nomeVoceAmmesso(nome) || nomeRiservato(nome) || visti.contains(nome.toCaseFolded()))
            return nonAmmesso(nome);
        visti.insert(nome.toCaseFolded());
    }
    QStringList scritti;
    if (!estrai(archivio, cartella, &scritti))
        return danneggiato;
    for (const QString& nome : scritti)
        if (nome.compare(nomeDB, Qt::CaseInsensitive) == 0 &&
            !maint::verificaBaseDati(QDir(cartella).filePath(nome), chiave).isEmpty()) {
            for (const QString& n : scritti)
                QFile::remove(QDir(cartella).filePath(n));
            return QStringLiteral("La base dati %1 dell'archivio non si apre con la chiave del "
                                  "programma.")
                .arg(nome);
        }
    *estratti = scritti;
    return QString();
}

} // namespace archivioBackup
