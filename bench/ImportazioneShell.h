#pragma once

// The yardstick of the loading measurements: the sqlcipher shell (Debian
// package sqlcipher, installed by scripts/install-deps.sh) importing the same
// rows with .import into the same tables of the empty delivered database, in one
// transaction.

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariant>

#include <sys/resource.h>

namespace misura {

// Wall-clock and processor time of a step, in ms. The processor time does not
// depend on what else the machine is doing; the shell's is its own (a child).
struct Tempo {
    qint64 parete = 0;
    qint64 processore = 0;
};

class Cronometro {
public:
    explicit Cronometro(int chi = RUSAGE_SELF);
    Tempo tempo() const;

private:
    int m_chi;
    double m_inizio;
    QElapsedTimer m_parete;
};

// Writes rows as a CSV file for .import: every value quoted, a null empty.
void scriviCsv(const QString& file, const QList<QVariantList>& righe);

struct Importazione {
    QString tabella;
    QString csv; // written by scriviCsv, one value for every column of the table
    // The table's columns when an empty value in the file is a null: the shell's
    // .import knows no null, so the rows go through a temporary table without
    // constraints and are inserted from there with every empty value a null.
    QStringList colonneNulle = {};
};

// The shell's .import of the files into a fresh empty delivered database at
// `database`, in one transaction, less the shell's own start and key derivation
// (the same script without the imports).
Tempo importazioneShell(const QString& database, const QList<Importazione>& importazioni);

// "<nome> <wall> ms (<ratio>x)   processore <cpu> ms (<ratio>x)" against the shell.
void stampa(QTextStream& out, const QString& nome, const Tempo& t, const Tempo& shell);

} // namespace misura
