#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// 8-bit text files of the system (configuration file, data files, transmission
// file) are Windows-1252.
namespace cp1252 {

QString decode(const QByteArray& bytes);
// Characters outside the code page become '?'.
QByteArray encode(const QString& text);
// Position of the first character the code page cannot hold, -1 when none.
qsizetype firstUnrepresentable(const QString& text);

// True when every character of text has a byte in the code page.
bool rappresentabile(const QString& text);

// Reads a whole file and splits it into lines (CR LF, LF or CR). ok is false
// when the file cannot be opened or read. A file that starts with a byte-order
// mark was saved as Unicode by an editor (UTF-8, or UTF-16 in either byte
// order): the mark is skipped and the rest is read in that encoding.
QStringList readLines(const QString& path, bool* ok = nullptr);

} // namespace cp1252
