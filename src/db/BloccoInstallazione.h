#pragma once

#include <QString>

namespace db {

// The advisory lock an installation holds for as long as its connection is open,
// on a small file beside the database (never on the database file itself):
// shared by every workstation of a shared installation, exclusive for a
// stand-alone one and for the exclusive re-open of the registry update. The
// database engine locks only while a statement runs; this lock covers the time
// in between, so that an exclusive start cannot slip in between two reads of a
// running workstation.
class BloccoInstallazione {
public:
    enum class Tipo { Condiviso, Esclusivo };

    BloccoInstallazione() = default;
    ~BloccoInstallazione();
    BloccoInstallazione(const BloccoInstallazione&) = delete;
    BloccoInstallazione& operator=(const BloccoInstallazione&) = delete;

    // The lock file of a database file: its full name followed by ".lck".
    static QString fileBlocco(const QString& percorsoDB);

    // Takes the lock without waiting; false when another process holds it in a
    // conflicting way or the lock file cannot be opened (motivo() says why).
    bool prendi(const QString& percorsoDB, Tipo tipo);
    void rilascia();
    bool preso() const { return m_fd >= 0; }
    QString motivo() const { return m_motivo; }
    // True when the last failure was a lock held by another process.
    bool inUso() const { return m_inUso; }

private:
    int m_fd = -1;
    bool m_inUso = false;
    QString m_motivo;
};

} // namespace db
