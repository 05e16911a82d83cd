#include "db/BloccoInstallazione.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace db {

BloccoInstallazione::~BloccoInstallazione() {
    rilascia();
}

QString BloccoInstallazione::fileBlocco(const QString& percorsoDB) {
    return QFileInfo(percorsoDB).absoluteFilePath() + QStringLiteral(".lck");
}

bool BloccoInstallazione::prendi(const QString& percorsoDB, Tipo tipo) {
    rilascia();
    m_inUso = false;
    m_motivo.clear();
    const QByteArray nome = QFile::encodeName(fileBlocco(percorsoDB));
    // flock() locks belong to the open file, not to the process: a second
    // connection of this same process is refused like another workstation, and
    // closing it does not drop the lock of the first.
    int fd = ::open(nome.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(nome.constData(), O_RDONLY | O_CLOEXEC); // a read-only share
    if (fd < 0) {
        m_motivo = QStringLiteral("Impossibile aprire il file di blocco %1: %2")
                       .arg(QFile::decodeName(nome), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const int operazione = (tipo == Tipo::Esclusivo ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int rc;
    do {
        rc = ::flock(fd, operazione);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int errore = errno;
        ::close(fd);
        m_inUso = errore == EWOULDBLOCK;
        m_motivo = m_inUso ? QStringLiteral("La base dati è in uso da un'altra postazione.")
                           : QStringLiteral("Impossibile bloccare il file %1: %2")
                                 .arg(QFile::decodeName(nome),
                                      QString::fromLocal8Bit(std::strerror(errore)));
        return false;
    }
    m_fd = fd;
    return true;
}

void BloccoInstallazione::rilascia() {
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace db
