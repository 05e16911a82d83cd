#include "core/FileSicuro.h"

#include <QSaveFile>

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fileSicuro {

QFileDevice::Permissions permessiDati(const QString& riferimento) {
    QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileDevice::Permissions gruppo = QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    if (!riferimento.isEmpty() && QFileInfo(riferimento).permissions().testFlags(gruppo))
        p |= gruppo;
    return p;
}

bool sostituisci(const QString& path, const QByteArray& bytes, QString* errore) {
    QSaveFile file(path);
    const auto fallito = [&](const QString& motivo) {
        if (errore)
            *errore = motivo;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(permessiDati(path)))
        return fallito(file.errorString());
    // Every step is checked: a write that lands only in a buffer fails later,
    // on the flush, and must not let an empty file replace the old one.
    if (file.write(bytes) != bytes.size())
        return fallito(file.errorString());
    if (!file.flush())
        return fallito(file.errorString());
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        return fallito(QStringLiteral("Impossibile completare la scrittura su disco."));
#endif
    if (!file.commit()) {
        if (errore)
            *errore = file.errorString();
        return false;
    }
#ifdef Q_OS_UNIX
    // The rename itself reaches the disk with its folder.
    const QByteArray cartella = QFile::encodeName(QFileInfo(path).absolutePath());
    if (const int fd = ::open(cartella.constData(), O_RDONLY | O_DIRECTORY); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
    return true;
}

} // namespace fileSicuro
