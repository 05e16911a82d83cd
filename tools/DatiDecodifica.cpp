#include "DatiDecodifica.h"

#include "core/Cp1252.h"
#include "core/RigaRecord.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace datidecodifica {

namespace {

// A fixed linear congruential sequence: the same set at every run.
class Sequenza {
public:
    quint32 prossimo() {
        m_stato = m_stato * 1664525u + 1013904223u;
        return m_stato >> 8;
    }
    int tra(int n) { return int(prossimo() % quint32(n)); }

private:
    quint32 m_stato = 20190107u;
};

const char* const sillabe[] = {"san", "to", "ro",  "ca", "ve",  "mon", "te", "val", "li",  "na",
                               "bor", "go", "pi",  "an", "cor", "ri",  "ga", "lo",  "fon", "da",
                               "ser", "ra", "col", "le", "mar", "ti",  "no", "vi",  "ci",  "sa"};

QString nome(Sequenza& s, int parti) {
    QString n;
    for (int i = 0; i < parti; ++i)
        n += QString::fromLatin1(sillabe[s.tra(int(std::size(sillabe)))]);
    n[0] = n[0].toUpper();
    return n;
}

class File {
public:
    File(const QString& cartella, const QString& tabella, const QString& intestazione)
        : m_percorso(QDir(cartella).filePath(tabella + QStringLiteral(".txt"))) {
        m_testo = intestazione + QStringLiteral("\r\n");
    }
    void riga(const QStringList& campi) {
        m_testo += RigaRecord::scrivi(campi) + QStringLiteral("\r\n");
        ++m_righe;
    }
    int chiudi() {
        QFile f(m_percorso);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(cp1252::encode(m_testo));
        return m_righe;
    }

private:
    QString m_percorso;
    QString m_testo;
    int m_righe = 0;
};

QString n(int v) {
    return QString::number(v);
}
QString z(int v, int w) {
    return QStringLiteral("%1").arg(v, w, 10, QLatin1Char('0'));
}

} // namespace

Dimensioni piccole() {
    Dimensioni d;
    d.comuni = 60;
    d.province = 6;
    d.regioni = 3;
    d.assi = 3;
    d.misurePerAsse = 2;
    d.azioniPerMisura = 2;
    d.statiEsteri = 10;
    d.quartieriPerGrandeComune = 3;
    d.istituti = 12;
    return d;
}

QHash<QString, int> genera(const QString& cartella, const Dimensioni& d,
                           const QString& intestazione) {
    QDir().mkpath(cartella);
    Sequenza s;
    QHash<QString, int> righe;
    auto file = [&](const QString& t) { return File(cartella, t, intestazione); };

    QStringList assi, misure, azioni; // "A", "A|01", "A|01|1"
    {
        File asse = file(QStringLiteral("Asse")), misura = file(QStringLiteral("Misura")),
             azione = file(QStringLiteral("Azione"));
        for (int a = 0; a < d.assi; ++a) {
            const QString ca = QString(QChar(u'A' + a));
            assi << ca;
            asse.riga({ca, QStringLiteral("Asse ") + ca + QStringLiteral(" - ") + nome(s, 3)});
            for (int m = 1; m <= d.misurePerAsse; ++m) {
                const QString cm = z(m, 2);
                misure << ca + u'|' + cm;
                misura.riga({ca, cm, QStringLiteral("Misura ") + cm + u' ' + nome(s, 4)});
                for (int z2 = 1; z2 <= d.azioniPerMisura; ++z2) {
                    azioni << ca + u'|' + cm + u'|' + n(z2);
                    azione.riga({ca, cm, n(z2),
                                 QStringLiteral("Azione di formazione ") + nome(s, 3) +
                                     QStringLiteral(" e ") + nome(s, 2)});
                }
            }
        }
        righe[QStringLiteral("Asse")] = asse.chiudi();
        righe[QStringLiteral("Misura")] = misura.chiudi();
        righe[QStringLiteral("Azione")] = azione.chiudi();
    }
    const int percorsi = 40, denominazioni = 3, destinatari = 25;
    {
        File f = file(QStringLiteral("Percorsi"));
        for (int p = 1; p <= percorsi; ++p)
            f.riga({n(p), QStringLiteral("Percorso ") + nome(s, 3),
                    p % 3 ? QStringLiteral("F") : QStringLiteral("NULL")});
        righe[QStringLiteral("Percorsi")] = f.chiudi();
    }
    {
        File den = file(QStringLiteral("AzioneDenomCorso")),
             per = file(QStringLiteral("AzionePercorsi")),
             des = file(QStringLiteral("AzioneDestin"));
        for (const QString& az : azioni) {
            const QStringList k = az.split(u'|');
            for (int i = 1; i <= denominazioni; ++i)
                den.riga({k[0], k[1], k[2], n(i), QStringLiteral("Corso di ") + nome(s, 4)});
            for (int i = 0; i < 4; ++i)
                per.riga({k[0], k[1], k[2], n(1 + (i * 7 + az.size()) % percorsi)});
            for (int i = 0; i < 3; ++i)
                des.riga({k[0], k[1], k[2], n(1 + (i * 5 + az.size()) % destinatari)});
        }
        righe[QStringLiteral("AzioneDenomCorso")] = den.chiudi();
        righe[QStringLiteral("AzionePercorsi")] = per.chiudi();
        righe[QStringLiteral("AzioneDestin")] = des.chiudi();
    }
    {
        File f = file(QStringLiteral("AttEcono"));
        for (int i = 1; i <= 99; ++i)
            f.riga({n(i), QStringLiteral("Attività economica ") + nome(s, 4)});
        righe[QStringLiteral("AttEcono")] = f.chiudi();
        File g = file(QStringLiteral("Destin"));
        for (int i = 1; i <= destinatari; ++i)
            g.riga({n(i), QStringLiteral("Destinatari ") + nome(s, 3)});
        righe[QStringLiteral("Destin")] = g.chiudi();
        File c = file(QStringLiteral("Certif"));
        for (int i = 1; i <= 12; ++i)
            c.riga({n(i), QStringLiteral("Attestato ") + nome(s, 3)});
        righe[QStringLiteral("Certif")] = c.chiudi();
    }
    QStringList province;
    {
        File reg = file(QStringLiteral("Regioni"));
        for (int r = 1; r <= d.regioni; ++r)
            reg.riga({z(r, 2), QStringLiteral("Regione ") + nome(s, 3)});
        righe[QStringLiteral("Regioni")] = reg.chiudi();
        File prov = file(QStringLiteral("Province")),
             loghi = file(QStringLiteral("ProvinceLoghiIndir")),
             bac = file(QStringLiteral("Bacino"));
        int bacino = 0;
        for (int p = 0; p < d.province; ++p) {
            const QString sigla = QString(QChar(u'A' + p / 26)) + QChar(u'A' + p % 26);
            province << sigla;
            const QString des = nome(s, 3);
            prov.riga({sigla, des, z(1 + p % d.regioni, 2), z(p + 1, 3)});
            loghi.riga({sigla, QStringLiteral("Provincia di ") + des,
                        QStringLiteral("Via ") + nome(s, 2) + u' ' + n(1 + s.tra(90)),
                        z(10000 + p * 700, 5), des,
                        QStringLiteral("0") + z(100 + p, 3) + z(int(s.prossimo() % 1000000), 6)});
            for (int b = 0; b < 3; ++b)
                bac.riga({n(++bacino), QStringLiteral("Bacino ") + nome(s, 3), sigla,
                          QStringLiteral("Centro per l'impiego di ") + nome(s, 3)});
        }
        righe[QStringLiteral("Province")] = prov.chiudi();
        righe[QStringLiteral("ProvinceLoghiIndir")] = loghi.chiudi();
        righe[QStringLiteral("Bacino")] = bac.chiudi();
    }
    {
        File com = file(QStringLiteral("Comuni")), qua = file(QStringLiteral("Comuni_Quartieri"));
        for (int c = 0; c < d.comuni; ++c) {
            const int p = c % d.province;
            const QString istat = z(p + 1, 3) + z(c / d.province + 1, 3);
            com.riga({istat, nome(s, 2 + s.tra(3)).toUpper(), province[p],
                      c % 50 ? QStringLiteral("NULL") : z(c, 6), z(10000 + p * 700 + c % 700, 5),
                      QString(QChar(u'A' + c / 1000 % 26)) + z(c % 1000, 3),
                      z(1 + p % d.regioni, 2)});
            if (c % 400 == 0)
                for (int q = 1; q <= d.quartieriPerGrandeComune; ++q)
                    qua.riga({istat, n(q), QStringLiteral("Quartiere ") + nome(s, 3)});
        }
        righe[QStringLiteral("Comuni")] = com.chiudi();
        righe[QStringLiteral("Comuni_Quartieri")] = qua.chiudi();
    }
    {
        File ist = file(QStringLiteral("Istituti"));
        for (int i = 1; i <= d.istituti; ++i)
            ist.riga({n(i), QStringLiteral("Istituto ") + nome(s, 3) + u' ' + nome(s, 2)});
        righe[QStringLiteral("Istituti")] = ist.chiudi();
    }
    {
        File pa = file(QStringLiteral("Prov_Asse")), pm = file(QStringLiteral("Prov_Misura")),
             pz = file(QStringLiteral("Prov_Azione"));
        for (const QString& p : province) {
            for (const QString& a : assi)
                pa.riga({p, a});
            for (const QString& m : misure)
                pm.riga(QStringList{p} + m.split(u'|'));
            for (const QString& a : azioni)
                pz.riga(QStringList{p} + a.split(u'|'));
        }
        righe[QStringLiteral("Prov_Asse")] = pa.chiudi();
        righe[QStringLiteral("Prov_Misura")] = pm.chiudi();
        righe[QStringLiteral("Prov_Azione")] = pz.chiudi();
    }
    {
        File st = file(QStringLiteral("StatiEsteri"));
        for (int i = 1; i <= d.statiEsteri; ++i)
            st.riga({z(200 + i, 3), nome(s, 3).toUpper(), QStringLiteral("Z") + z(100 + i, 3)});
        righe[QStringLiteral("StatiEsteri")] = st.chiudi();
        File tc = file(QStringLiteral("TipoCompo"));
        const QStringList tipi = {QStringLiteral("SL"), QStringLiteral("SO"), QStringLiteral("SA"),
                                  QStringLiteral("SD")};
        for (const QString& t : tipi)
            tc.riga({t, QStringLiteral("Sede ") + nome(s, 3)});
        righe[QStringLiteral("TipoCompo")] = tc.chiudi();
        File to = file(QStringLiteral("TipoOper"));
        for (const char g : {'A', 'B', 'C', 'D'})
            for (int t = 1; t <= 4; ++t)
                to.riga({QString(QChar::fromLatin1(g)), z(t, 2),
                         QStringLiteral("Tipo di ente ") + nome(s, 3)});
        righe[QStringLiteral("TipoOper")] = to.chiudi();
        File mp = file(QStringLiteral("MassimaliPar"));
        QStringList massimali;
        for (int i = 1; i <= 14; ++i)
            massimali << QString::number(1000 * i + 250);
        mp.riga(massimali);
        righe[QStringLiteral("MassimaliPar")] = mp.chiudi();
        File cc = file(QStringLiteral("CentroCostoSpesa"));
        for (int c = 1; c <= 12; ++c)
            for (int sp = 1; sp <= 15; ++sp)
                cc.riga({n(c), n(sp), QStringLiteral("Spesa ") + nome(s, 3)});
        righe[QStringLiteral("CentroCostoSpesa")] = cc.chiudi();
    }
    return righe;
}

} // namespace datidecodifica
