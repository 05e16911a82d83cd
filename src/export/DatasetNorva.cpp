#include "export/DatasetNorva.h"

#include "core/Cp1252.h"
#include "db/Database.h"

namespace esportazione {

namespace {

const QString kFineRiga = QStringLiteral("\r\n");

bool haContenuto(const QVariant& v) {
    return !v.isNull() && v.isValid() && !v.toString().isEmpty();
}

QString testo(const QVariant& v) {
    return v.isNull() || !v.isValid() ? QString() : v.toString();
}

// Format(value, "0000"): a Null value gives the empty text.
QString cifre(const QVariant& v, int larghezza) {
    if (!haContenuto(v))
        return QString();
    return QStringLiteral("%1").arg(v.toLongLong(), larghezza, 10, QLatin1Char('0'));
}

class Scrittore {
public:
    void riga(const QString& r) { m_testo += r + kFineRiga; }
    void elemento(int rientro, const QString& nome, const QString& valore, bool escape = true) {
        riga(QString(rientro, QLatin1Char(' ')) + QLatin1Char('<') + nome + QLatin1Char('>') +
             (escape ? escapeNorva(valore) : valore) + QStringLiteral("</") + nome +
             QLatin1Char('>'));
    }
    void seContenuto(const QString& nome, const QVariant& valore) {
        if (haContenuto(valore))
            elemento(4, nome, testo(valore));
    }
    QString testoFinale() const { return m_testo; }

private:
    QString m_testo;
};

void destinatario(db::Connection& c, Scrittore& s, const QString& guid, const QVariant& codice) {
    if (codice.isNull() || !codice.isValid())
        return;
    const auto righe = c.query(QStringLiteral("SELECT * FROM Destin WHERE CodDest=?"), {codice});
    if (righe.isEmpty())
        return;
    s.riga(QStringLiteral("  <DestinatariNorva>"));
    s.elemento(4, QStringLiteral("Guid"), guid);
    s.elemento(4, QStringLiteral("CodiceDestinatario"), testo(righe.first().value("CodDest")));
    s.elemento(4, QStringLiteral("DescrDestinatario"), testo(righe.first().value("DesDest")));
    s.riga(QStringLiteral("  </DestinatariNorva>"));
}

} // namespace

QString escapeNorva(const QString& testo) {
    QString esito;
    esito.reserve(testo.size());
    for (const QChar ch : testo) {
        switch (ch.unicode()) {
        case '"':
            esito += QStringLiteral("&quot;");
            continue;
        case '&':
            esito += QStringLiteral("&amp;");
            continue;
        case '<':
            esito += QStringLiteral("&lt;");
            continue;
        case '>':
            esito += QStringLiteral("&gt;");
            continue;
        default:
            break;
        }
        const QString carattere(ch);
        int codice = ch.unicode();
        if (cp1252::rappresentabile(carattere))
            codice = static_cast<unsigned char>(cp1252::encode(carattere).at(0));
        if (codice < 32 || codice >= 128)
            esito += QStringLiteral("&#%1;").arg(codice);
        else
            esito += ch;
    }
    return esito;
}

QString CreaDatasetNorva(db::Connection& CorsiDB, const QString& guid) {
    Scrittore s;
    s.riga(QStringLiteral("<dsNorva xmlns=\"") + NamespaceDataset + QStringLiteral("\">"));
    const auto proposte = CorsiDB.query(
        QStringLiteral("SELECT * FROM CorsiProp WHERE Guid=? ORDER BY %1").arg(CorsiDB.idRiga()),
        {guid});
    for (const db::Row& p : proposte) {
        const QVariant compoResp = p.value("CompoResp");
        const bool conSede = !compoResp.isNull() && compoResp.isValid();
        const QVariant componente = conSede ? compoResp : p.value("SedeInteressata");
        const QString g = testo(p.value("Guid"));

        s.riga(QStringLiteral("  <CorsoNorva>"));
        // As it is here only; the related groups escape it like their other values.
        s.elemento(4, QStringLiteral("Guid"), g, false);
        s.elemento(4, QStringLiteral("GruppoOperatore"), testo(p.value("GrupOpe")));
        s.elemento(4, QStringLiteral("CodiceOperatore"), testo(p.value("Operatore")));
        s.elemento(4, QStringLiteral("ProgrComponente"), testo(componente));
        s.elemento(4, QStringLiteral("CodiceNorvaCentro"),
                   testo(p.value("GrupOpe")) + cifre(p.value("Operatore"), 5) +
                       cifre(componente, 3),
                   false);
        s.seContenuto(QStringLiteral("ProvvProgrAttivita"), p.value("Corso"));
        const QVariant qualifica = p.value("CodQualif");
        s.seContenuto(QStringLiteral("CodiceQualifica"), qualifica);
        if (qualifica.isValid() && !qualifica.isNull()) {
            const QVariant des = CorsiDB.scalar(
                QStringLiteral("SELECT DesQualif FROM Qualifi WHERE CodQualif=?"), {qualifica});
            s.seContenuto(QStringLiteral("Denominazione"), des);
        }
        s.seContenuto(QStringLiteral("Settore"), p.value("CodSetto"));
        s.seContenuto(QStringLiteral("Comparto"), p.value("CodComp"));
        s.seContenuto(QStringLiteral("RipartizioneIter"), p.value("DurataTotIter"));
        s.seContenuto(QStringLiteral("Certificazione"), p.value("CodCert"));
        s.seContenuto(QStringLiteral("OreStage"), p.value("OreStage"));
        s.seContenuto(QStringLiteral("TotaleOreIter"), p.value("TotOreIter"));
        s.seContenuto(QStringLiteral("Asse"), p.value("CodAsse"));
        s.seContenuto(QStringLiteral("Misura"), p.value("CodMisura"));
        s.seContenuto(QStringLiteral("Azione"), p.value("CodAzione"));
        if (conSede)
            s.elemento(4, QStringLiteral("SedeOccasionale"), testo(p.value("SedeInteressata")));
        const QVariant ati = p.value("ATI");
        if (ati.isValid() && !ati.isNull() && ati.toLongLong() != 0)
            s.riga(QStringLiteral("    <TipoAssociazione>ATS</TipoAssociazione>"));
        s.riga(QStringLiteral("  </CorsoNorva>"));

        destinatario(CorsiDB, s, g, p.value("CodDest"));
        destinatario(CorsiDB, s, g, p.value("CodDest2"));

        if (haContenuto(p.value("DesInd"))) {
            s.riga(QStringLiteral("  <IndirizzoNorva>"));
            s.elemento(4, QStringLiteral("Guid"), g);
            s.elemento(4, QStringLiteral("CodiceIndirizzo"), testo(p.value("CodInd")));
            s.elemento(4, QStringLiteral("DescrIndirizzo"), testo(p.value("DesInd")));
            s.riga(QStringLiteral("  </IndirizzoNorva>"));
        }

        if (conSede) {
            // Every venue row, with the town's conversion code when the town is known.
            const auto sedi = CorsiDB.query(
                QStringLiteral("SELECT CorsiSediOcc.SedeOcc, CorsiSediOcc.Denominazione, "
                               "CorsiSediOcc.Cap, CorsiSediOcc.Indirizzo, CorsiSediOcc.Pref, "
                               "CorsiSediOcc.Tel, CorsiSediOcc.PrefFax, CorsiSediOcc.Fax, "
                               "Comuni.CodiceConversione FROM CorsiSediOcc LEFT JOIN Comuni ON "
                               "Comuni.CodComune = CorsiSediOcc.CodComune WHERE "
                               "CorsiSediOcc.SedeOcc=?"),
                {p.value("SedeInteressata")});
            if (!sedi.isEmpty()) {
                const db::Row& sede = sedi.first();
                s.riga(QStringLiteral("  <SediOccasionaliNorva>"));
                s.seContenuto(QStringLiteral("CodiceSedeOccasionale"), sede.value("SedeOcc"));
                s.seContenuto(QStringLiteral("Denominazione"), sede.value("Denominazione"));
                s.seContenuto(QStringLiteral("CodiceConversione"), sede.value("CodiceConversione"));
                s.seContenuto(QStringLiteral("Cap"), sede.value("Cap"));
                s.seContenuto(QStringLiteral("Indirizzo"), sede.value("Indirizzo"));
                if (haContenuto(sede.value("Tel")))
                    s.elemento(4, QStringLiteral("Telefono"),
                               testo(sede.value("Pref")) + QLatin1Char('-') +
                                   testo(sede.value("Tel")));
                if (haContenuto(sede.value("Fax")))
                    s.elemento(4, QStringLiteral("Fax"),
                               testo(sede.value("PrefFax")) + QLatin1Char('-') +
                                   testo(sede.value("Fax")));
                s.riga(QStringLiteral("  </SediOccasionaliNorva>"));
            }
        }
    }
    s.riga(QStringLiteral("</dsNorva>"));
    return s.testoFinale();
}

} // namespace esportazione
