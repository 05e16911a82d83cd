#pragma once

#include <QString>
#include <QStringList>

// The record line shared by the decoding-table files, the registry files, the
// downloaded files, several server replies and the transmission file: every
// value between two "#", values separated by ",", no quoting or escaping:
//   #first#,#second#,#third#
class RigaRecord {
public:
    // A reader keeps at most this many values, numbered from 0.
    static constexpr int MassimoCampi = 51;
    // Longer lines are cut before reading.
    static constexpr int LunghezzaMassima = 32767;

    RigaRecord() = default;
    explicit RigaRecord(QStringList campi) : m_campi(std::move(campi)) {}

    // Reads a line: the first character is ignored, a value runs up to the next
    // "#", then three characters are skipped (the closing "#", the separator and
    // the next opening "#"). A last value without its closing "#" runs to the end
    // of the line.
    static RigaRecord leggi(const QString& riga);
    // Writes the values as a line (no line end).
    static QString scrivi(const QStringList& campi);

    // A value whose whole text is "NULL", in any letter case, stands for no
    // value; with blanks around it (" null ") it is text like any other.
    static bool nullo(const QString& valore) {
        return valore.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0;
    }

    // Value i, or "" when the line has fewer values.
    QString campo(int i) const { return m_campi.value(i); }
    int numeroCampi() const { return int(m_campi.size()); }
    const QStringList& campi() const { return m_campi; }
    QString testo() const { return scrivi(m_campi); }

private:
    QStringList m_campi;
};
