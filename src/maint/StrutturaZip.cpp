#include "maint/StrutturaZip.h"

#include <QFile>
#include <QtEndian>

namespace strutturaZip {

namespace {

constexpr quint32 kPieno = 0xffffffffu;

// Little-endian reads inside the mapped file; ok turns false past its end.
struct Lettore {
    const uchar* dati;
    quint64 dimensione;
    bool ok = true;

    bool dentro(quint64 pos, quint64 n) {
        ok = ok && pos <= dimensione && n <= dimensione - pos;
        return ok;
    }
    quint16 u16(quint64 pos) { return dentro(pos, 2) ? qFromLittleEndian<quint16>(dati + pos) : 0; }
    quint32 u32(quint64 pos) { return dentro(pos, 4) ? qFromLittleEndian<quint32>(dati + pos) : 0; }
    quint64 u64(quint64 pos) { return dentro(pos, 8) ? qFromLittleEndian<quint64>(dati + pos) : 0; }
    QByteArray byte(quint64 pos, quint64 n) {
        return dentro(pos, n) ? QByteArray(reinterpret_cast<const char*>(dati + pos), qsizetype(n))
                              : QByteArray();
    }
};

struct Voce {
    quint16 flag = 0, metodo = 0;
    quint64 crc = 0, compressa = 0, originale = 0, posizione = 0;
    QByteArray nome;
};

// Replaces the fields that hold 0xffffffff with the values of the Zip64 extra
// field (id 1), which lists them in the order given.
void leggiZip64(Lettore& l, quint64 extra, quint16 lunghezza,
                std::initializer_list<quint64*> campi) {
    for (quint64 p = extra; p + 4 <= extra + lunghezza;) {
        const quint16 id = l.u16(p), n = l.u16(p + 2);
        if (id == 1) {
            quint64 q = p + 4;
            for (quint64* c : campi)
                if (*c == kPieno && q + 8 <= p + 4 + n) {
                    *c = l.u64(q);
                    q += 8;
                }
            return;
        }
        p += 4 + quint64(n);
    }
}

} // namespace

QString verifica(const QString& archivio) {
    QFile f(archivio);
    if (!f.open(QIODevice::ReadOnly))
        return f.errorString();
    const qint64 dimensione = f.size();
    const uchar* mappa = dimensione > 0 ? f.map(0, dimensione) : nullptr;
    if (!mappa)
        return QStringLiteral("Archivio vuoto o illeggibile");
    Lettore l{mappa, quint64(dimensione)};
    const QString danneggiato = QStringLiteral("Struttura dell'archivio non valida");

    // End of central directory record, then its Zip64 counterpart when needed.
    qint64 fine = dimensione - 22;
    const qint64 limite = qMax<qint64>(0, fine - 0xffff);
    while (fine >= limite && l.u32(quint64(fine)) != 0x06054b50u)
        --fine;
    if (fine < limite)
        return danneggiato;
    quint64 voci = l.u16(quint64(fine) + 10);
    quint64 centrale = l.u32(quint64(fine) + 16);
    if ((voci == 0xffff || centrale == kPieno) && fine >= 20 &&
        l.u32(quint64(fine) - 20) == 0x07064b50u) {
        const quint64 z = l.u64(quint64(fine) - 12);
        if (l.u32(z) != 0x06064b50u)
            return danneggiato;
        voci = l.u64(z + 32);
        centrale = l.u64(z + 48);
    }

    quint64 p = centrale;
    for (quint64 i = 0; i < voci && l.ok; ++i) {
        if (l.u32(p) != 0x02014b50u)
            return danneggiato;
        Voce c;
        c.flag = l.u16(p + 8);
        c.metodo = l.u16(p + 10);
        c.crc = l.u32(p + 16);
        c.compressa = l.u32(p + 20);
        c.originale = l.u32(p + 24);
        const quint16 nn = l.u16(p + 28), ne = l.u16(p + 30), nc = l.u16(p + 32);
        c.posizione = l.u32(p + 42);
        c.nome = l.byte(p + 46, nn);
        leggiZip64(l, p + 46 + nn, ne, {&c.originale, &c.compressa, &c.posizione});
        p += 46 + quint64(nn) + ne + nc;

        const quint64 q = c.posizione;
        if (l.u32(q) != 0x04034b50u)
            return danneggiato;
        Voce v;
        v.flag = l.u16(q + 6);
        v.metodo = l.u16(q + 8);
        v.crc = l.u32(q + 14);
        v.compressa = l.u32(q + 18);
        v.originale = l.u32(q + 22);
        const quint16 ln = l.u16(q + 26), le = l.u16(q + 28);
        v.nome = l.byte(q + 30, ln);
        leggiZip64(l, q + 30 + ln, le, {&v.originale, &v.compressa});
        const QString nome = QString::fromUtf8(c.nome);
        const QString diversa =
            QStringLiteral("Intestazioni discordanti nell'archivio: %1").arg(nome);
        const bool descrittore = c.flag & 8;
        if (!l.ok || v.nome != c.nome || v.metodo != c.metodo || bool(v.flag & 8) != descrittore)
            return diversa;
        const auto concorda = [descrittore](quint64 locale, quint64 centrale) {
            return locale == centrale || (descrittore && (locale == 0 || locale == kPieno));
        };
        if (!concorda(v.crc, c.crc) || !concorda(v.compressa, c.compressa) ||
            !concorda(v.originale, c.originale))
            return diversa;
        if (!descrittore)
            continue;
        quint64 d = q + 30 + ln + le + c.compressa;
        if (l.u32(d) == 0x08074b50u && l.u32(d + 4) == c.crc)
            d += 4;
        const bool corti = l.u32(d + 4) == c.compressa && l.u32(d + 8) == c.originale;
        const bool lunghi =
            d + 20 <= l.dimensione && l.u64(d + 4) == c.compressa && l.u64(d + 12) == c.originale;
        if (l.u32(d) != c.crc || !(corti || lunghi))
            return QStringLiteral("Descrittore dei dati discordante nell'archivio: %1").arg(nome);
    }
    return l.ok ? QString() : danneggiato;
}

} // namespace strutturaZip
