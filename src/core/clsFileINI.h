#pragma once

#include <QString>

// The installation's configuration file KORVADIN.INI, read and written one key at
// a time with the semantics of Windows profile strings: section and key names are
// compared without regard to letter case, values are taken as written (no
// quoting, no escaping), at most 254 characters come back, and a write changes
// only the line of its key (creating file, section or key as needed).
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

    // Convenience: read or write a key of a given section.
    QString leggi(const QString& sezione, const QString& chiave,
                  const QString& predefinito = QString()) const;
    int scrivi(const QString& sezione, const QString& chiave, const QString& valore);

    static constexpr int MaxValueLength = 254;

private:
    QString m_programFolder;
    QString m_nomeFile;
    QString m_sezione;
};
