#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Text files of values separated by a character, as spreadsheet programs save
// and open them ("CSV").
namespace report::csv {

// A file for an Italian spreadsheet program: UTF-8 with the byte-order mark,
// ";" between values, CR LF after every row. A value holding ";", a quote or a
// line break is quoted (quotes doubled); a value beginning with "=", "+", "-"
// or "@" gets an apostrophe in front, so that it is never taken as a formula.
QByteArray scrivi(const QList<QStringList>& righe);

// The apostrophe that scrivi() puts before a formula-looking value is taken
// away again; any other value is returned as it is.
QString senzaProtezione(const QString& valore);

// What lettura() found in the bytes of a file.
struct Lettura {
    QList<QStringList> righe; // every row, empty ones included
    QList<int> linee;         // the line of the file where each row begins (from 1)
    QChar separatore;
    QString codifica; // "UTF-8", "UTF-16", "Windows-1252"
    QString errore;   // set when the bytes are not a text of values
};

// Reads what spreadsheet programs save: UTF-8 with or without the byte-order
// mark, UTF-16 with its mark, otherwise Windows-1252; ";", "," or tab between
// values, chosen by the first row or named by a first line "sep=;"; quoted values with doubled
// quotes and separators or line breaks inside; rows ended by CR LF, LF or CR. An empty file and a
// binary one (NUL or control bytes) give an error.
Lettura leggi(const QByteArray& byte);

} // namespace report::csv
