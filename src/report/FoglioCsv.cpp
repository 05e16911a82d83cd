#include "report/FoglioCsv.h"

#include "core/Cp1252.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace report::csv {

namespace {

bool formula(const QString& valore) {
    return !valore.isEmpty() && QStringLiteral("=+-@").contains(valore.front());
}

QString campo(const QString& valore) {
    QString v = formula(valore) ? QLatin1Char('\'') + valore : valore;
    if (v.contains(QLatin1Char(';')) || v.contains(QLatin1Char('"')) ||
        v.contains(QLatin1Char('\n')) || v.contains(QLatin1Char('\r')) || v != v.trimmed()) {
        v.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        v = QLatin1Char('"') + v + QLatin1Char('"');
    }
    return v;
}

// Control bytes that no text saved by a spreadsheet program holds.
bool binario(const QByteArray& byte) {
    const qsizetype esame = std::min<qsizetype>(byte.size(), 64 * 1024);
    qsizetype controlli = 0;
    for (qsizetype i = 0; i < esame; ++i) {
        const auto c = static_cast<unsigned char>(byte[i]);
        if (c == 0)
            return true;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f')
            ++controlli;
    }
    return controlli * 100 > esame;
}

QString decodifica(const QByteArray& byte, QString* codifica) {
    if (byte.startsWith("\xEF\xBB\xBF")) {
        *codifica = QStringLiteral("UTF-8");
        return QString::fromUtf8(byte.mid(3));
    }
    if (byte.startsWith("\xFF\xFE") || byte.startsWith("\xFE\xFF")) {
        *codifica = QStringLiteral("UTF-16");
        QStringDecoder utf16(byte.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                         : QStringDecoder::Utf16BE);
        return utf16(byte.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString testo = utf8(byte);
    if (!utf8.hasError()) {
        *codifica = QStringLiteral("UTF-8");
        return testo;
    }
    *codifica = QStringLiteral("Windows-1252");
    return cp1252::decode(byte);
}

// The separator that occurs most often outside quotes in the first row.
QChar separatoreDi(const QString& testo) {
    int punti = 0, virgole = 0, tab = 0;
    bool virgolette = false;
    for (const QChar c : testo) {
        if (c == QLatin1Char('"'))
            virgolette = !virgolette;
        else if (!virgolette && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!virgolette && c == QLatin1Char(';'))
            ++punti;
        else if (!virgolette && c == QLatin1Char(','))
            ++virgole;
        else if (!virgolette && c == QLatin1Char('\t'))
            ++tab;
    }
    if (tab > punti && tab >= virgole)
        return QLatin1Char('\t');
    if (virgole > punti)
        return QLatin1Char(',');
    return QLatin1Char(';');
}

} // namespace

QByteArray scrivi(const QList<QStringList>& righe) {
    QString testo;
    for (const QStringList& riga : righe) {
        QStringList campi;
        for (const QString& valore : riga)
            campi << campo(valore);
        testo += campi.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + testo.toUtf8();
}

QString senzaProtezione(const QString& valore) {
    return valore.startsWith(QLatin1Char('\'')) && formula(valore.mid(1)) ? valore.mid(1) : valore;
}

Lettura leggi(const QByteArray& byte) {
    Lettura l;
    if (byte.isEmpty() || byte == "\xEF\xBB\xBF") {
        l.errore = QStringLiteral("Il file è vuoto.");
        return l;
    }
    const bool conMarca = byte.startsWith("\xFF\xFE") || byte.startsWith("\xFE\xFF");
    if (!conMarca && binario(byte)) {
        l.errore = QStringLiteral("Il file non è un testo: salvarlo dal foglio di calcolo nel "
                                  "formato CSV.");
        return l;
    }
    QString testo = decodifica(byte, &l.codifica);
    int linea = 1;
    // A first line "sep=;" names the separator (Excel writes and reads it).
    static const QRegularExpression sep(QStringLiteral("^sep=(.)\\r?\\n"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = sep.match(testo); m.hasMatch()) {
        l.separatore = m.captured(1).front();
        testo.remove(0, m.capturedLength());
        ++linea;
    } else {
        l.separatore = separatoreDi(testo);
    }

    QStringList riga;
    QString valore;
    bool virgolette = false, quotato = false;
    l.linee << linea;
    const auto chiudiValore = [&] {
        riga << (quotato ? valore : valore.trimmed());
        valore.clear();
        quotato = false;
    };
    const qsizetype n = testo.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = testo.at(i);
        if (virgolette) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && testo.at(i + 1) == QLatin1Char('"')) {
                    valore += c;
                    ++i;
                } else {
                    virgolette = false;
                }
            } else if (c == QLatin1Char('\r') && i + 1 < n &&
                       testo.at(i + 1) == QLatin1Char('\n')) {
                continue; // a line break inside a value is kept as LF
            } else {
                if (c == QLatin1Char('\n'))
                    ++linea;
                valore += c;
            }
        } else if (c == QLatin1Char('"') && valore.trimmed().isEmpty()) {
            virgolette = quotato = true;
            valore.clear();
        } else if (c == l.separatore) {
            chiudiValore();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && testo.at(i + 1) == QLatin1Char('\n'))
                ++i;
            chiudiValore();
            l.righe << riga;
            riga.clear();
            l.linee << ++linea;
        } else if (!quotato) {
            valore += c;
        }
    }
    if (!valore.isEmpty() || !riga.isEmpty() || quotato) {
        chiudiValore();
        l.righe << riga;
    } else {
        l.linee.removeLast();
    }
    return l;
}

} // namespace report::csv
