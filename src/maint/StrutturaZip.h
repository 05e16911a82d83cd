#pragma once

#include <QString>

// The structure of a zip archive, checked entry by entry against its central
// directory, as archives written by streaming writers (to a pipe) need: their
// local headers carry the CRC and sizes as zero (or only some of them), and the
// real values follow the data in a data descriptor.
namespace strutturaZip {

// "" when, for every entry of the central directory, the local header exists
// with the same name, method and data-descriptor flag, and either holds the same
// CRC and sizes or (with a data descriptor) each of them zero or the same, and
// the data descriptor after the data (with or without its signature, sizes of
// 32 or 64 bits) holds the central directory's CRC and sizes. Otherwise what is
// wrong.
QString verifica(const QString& archivio);

} // namespace strutturaZip
