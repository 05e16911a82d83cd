#include "core/Cp1252.h"

#include <QFile>
#include <QStringDecoder>

#include <optional>

namespace cp1252 {

namespace {
// Code points of bytes 0x80..0x9F; 0 marks the five unassigned bytes, which
// are kept as the C1 control of the same value.
const char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString decode(const QByteArray& bytes) {
    // Latin-1 but for 0x80..0x9F: one pass over the converted text.
    QString text = QString::fromLatin1(bytes);
    for (QChar& ch : text) {
        const char16_t u = ch.unicode();
        if (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] != 0)
            ch = QChar(kHigh[u - 0x80]);
    }
    return text;
}

namespace {
// The byte of a character; nothing when the code page has none.
std::optional<char> byteDi(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return char(0x80 + i);
    if (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] == 0)
        return char(u); // unassigned bytes round-trip
    return std::nullopt;
}
} // namespace

QByteArray encode(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text)
        bytes.append(byteDi(ch.unicode()).value_or('?'));
    return bytes;
}

qsizetype firstUnrepresentable(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!byteDi(text.at(i).unicode()))
            return i;
    return -1;
}

bool rappresentabile(const QString& text) {
    return firstUnrepresentable(text) < 0;
}

QStringList readLines(const QString& path, bool* ok) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    // Only a mark decides: without one the file is Windows-1252.
    const auto marcata = QStringConverter::encodingForData(bytes);
    QString text = marcata ? QStringDecoder(*marcata).decode(bytes) : decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace cp1252
