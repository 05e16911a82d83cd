#pragma once

#include <QList>
#include <QString>

// The installation's configuration file KORVADIN.INI, read and written one key at
// a time with the semantics of Windows profile strings: section and key names are
// compared without regard to letter case, values are taken as written (no
// quoting, no escaping), at most 254 characters come back, and a write changes
// only the line of its key (creating file, section or key as needed).
//
// A write replaces the whole file in one step (temporary file, then rename): on
// any failure the file stays exactly as it was, the write returns 0 and
// UltimoErrore() says why. A write fails without touching the file when the file
// exists but cannot be read (it is never rebuilt from nothing) and when a value
// has characters the file's code page (Windows-1252) cannot hold.
class clsFileINI {
public:
    explicit clsFileINI(const QString& programFolder = QString());

    QString NomeFile() const { return m_nomeFile; }
    // Appends ".ini" when the name has no dot, and puts the program folder in
    // front when it has no folder.
    void setNomeFile(const QString& nome);

    QString Sezione() const { return m_sezione; }
    void setSezione(const QString& sezione) { m_sezione = sezione; }

    QString Leggi(const QString& chiave, const QString& predefinito = QString()) const;
    // Nonzero when the write succeeded.
    int Scrivi(const QString& chiave, const QString& valore);

    // Several keys written in one replacement of the file: all or none.
    struct Voce {
        QString sezione, chiave, valore;
    };
    int scriviTutte(const QList<Voce>& voci);

    // Why the last failed write failed; empty after a successful one.
    QString UltimoErrore() const { return m_ultimoErrore; }

    // Convenience: read or write a key of a given section.
    QString leggi(const QString& sezione, const QString& chiave,
                  const QString& predefinito = QString()) const;
    int scrivi(const QString& sezione, const QString& chiave, const QString& valore);

    static constexpr int MaxValueLength = 254;

private:
    QString m_programFolder;
    QString m_nomeFile;
    QString m_sezione;
    QString m_ultimoErrore;
};
