#include "export/EsportazioneNorvaTavrel.h"

#include "core/Session.h"
#include "export/ClientSoap.h"
#include "export/DatasetNorva.h"

namespace esportazione {

namespace {
const QString kOperazione = QStringLiteral("AggiornaPercorsiTavrel");
}

QString urlServizio(const Session& session) {
    QString host = session.ini.leggi(QStringLiteral("CONNESSIONE"), QStringLiteral("TAVREL"));
    if (host.trimmed().isEmpty())
        host = session.indirizzoServer;
    host = host.trimmed();
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host + PercorsoServizio;
}

int EsportaCorsoTavrel(Session& session, qint32 idAttivita, const QString& proxy,
                       const QString& porta, const std::function<void(int)>& avanzamento) {
    ClientSoap client(session);
    client.setProxy(proxy, porta);
    std::optional<Errore> errore =
        client.inizializza(urlServizio(session) + QStringLiteral("?WSDL"));
    if (!errore) {
        try {
            const auto righe = session.CorsiDB().query(
                QStringLiteral("SELECT Guid FROM CorsiProp WHERE IdAttivita_CorsoRifB111=? AND "
                               "Guid IS NOT NULL AND Guid<>'' GROUP BY Guid ORDER BY MIN(%1)")
                    .arg(session.CorsiDB().idRiga()),
                {idAttivita});
            for (int i = 0; i < righe.size() && !errore; ++i) {
                const QString guid = righe[i].value(0).toString();
                errore = client.chiama(kOperazione, CreaDatasetNorva(session.CorsiDB(), guid));
                session.ui.processEvents();
                if (avanzamento)
                    avanzamento(int((i + 1) * 100 / righe.size()));
            }
        } catch (const db::DbError& e) {
            errore = Errore::da(e);
        }
    }
    if (errore) {
        session.ui.message(nullptr, errore->descrizione, QString(), ui::Icon::Critical);
        return errore->numero != 0 ? errore->numero : soap::RispostaNonValida;
    }
    session.ui.message(nullptr, QStringLiteral("Operazione eseguita correttamente."), QString(),
                       ui::Icon::Information);
    return EsportazioneRiuscita;
}

} // namespace esportazione
