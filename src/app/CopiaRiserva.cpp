#include "app/CopiaRiserva.h"

#include "db/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace copiariserva {

namespace {

constexpr int kFileNonTrovato = 53;
constexpr int kDiscoPieno = 61;
constexpr int kErroreAccesso = 75;

RisultatoCopia errore(int numero, const QString& descrizione, const QString& destinazione) {
    return {false, numero, descrizione, destinazione};
}

int numeroErrore(QFileDevice::FileError e) {
    switch (e) {
    case QFileDevice::PermissionsError:
        return kPermessoNegato;
    case QFileDevice::ResourceError:
        return kDiscoPieno;
    default:
        return kErroreAccesso;
    }
}

} // namespace

Passo passo(const QString& markerTrovato) {
    const QString trovato = markerTrovato.toUpper();
    if (trovato == QLatin1String("001.LST"))
        return {markerTrovato, QStringLiteral("backup.002"), QStringLiteral("002.lst")};
    if (trovato == QLatin1String("002.LST"))
        return {markerTrovato, QStringLiteral("backup.003"), QStringLiteral("003.lst")};
    return {trovato == QLatin1String("003.LST") ? markerTrovato : QString(),
            QStringLiteral("backup.001"), QStringLiteral("001.lst")};
}

QString primoMarker(const QString& cartella) {
    const QStringList trovati =
        QDir(cartella).entryList({QStringLiteral("00?.lst")}, QDir::Files, QDir::Name);
    return trovati.isEmpty() ? QString() : trovati.first();
}

RisultatoCopia copiaRiservaUscita(const QString& cartella, const QString& percorsoDB,
                                  const QString& chiave) {
    const QDir dir(cartella);
    const Passo p = passo(primoMarker(cartella));
    const QString destinazione = dir.filePath(p.destinazione);

    if (!p.markerDaCancellare.isEmpty()) {
        QFile vecchio(dir.filePath(p.markerDaCancellare));
        if (!vecchio.remove())
            return errore(numeroErrore(vecchio.error()), vecchio.errorString(), destinazione);
    }

    if (!QFileInfo(percorsoDB).isFile())
        return errore(kFileNonTrovato, QStringLiteral("File non trovato: %1").arg(percorsoDB),
                      destinazione);
    // The copy is read through the database's own connection, under its read
    // lock: a client writing meanwhile cannot tear it.
    try {
        db::Connection connessione;
        connessione.open(percorsoDB, chiave, db::OpenMode::Shared);
        connessione.snapshotTo(destinazione);
    } catch (const db::DbError& e) {
        int numero = e.number();
        if (db::Connection::isBusy(numero) || (numero & 0xff) == SQLITE_PERM)
            numero = kPermessoNegato; // another program holds the file
        else if ((numero & 0xff) == SQLITE_FULL)
            numero = kDiscoPieno;
        return errore(numero, e.description(), destinazione);
    }

    QFile marker(dir.filePath(p.nuovoMarker));
    if (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        marker.write("\"ultimo backup\"\n") < 0)
        return errore(numeroErrore(marker.error()), marker.errorString(), destinazione);
    return {true, 0, QString(), destinazione};
}

} // namespace copiariserva
