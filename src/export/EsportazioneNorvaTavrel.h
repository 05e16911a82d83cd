#pragma once

#include <QString>

#include <functional>

class Session;

// The export of a course to the external course registry TAVREL.
namespace esportazione {

// Result codes of the export: 0 when the registry took the course, 5406 when
// the service could not be reached without a proxy, anything else a failure.
constexpr int EsportazioneRiuscita = 0;
constexpr int ProxyNecessario = 5406;
constexpr int EsportazioneNonDisponibile = -1;

// The registry's service: CONNESSIONE/TAVREL of KORVADIN.INI gives scheme and
// host (the server base address when absent), followed by the fixed path.
inline const QString PercorsoServizio =
    QStringLiteral("/webservicenorva/percorsidirittodovere.asmx");
QString urlServizio(const Session& session);

// Sends the course to the registry through the given proxy (empty: the system's
// choice), reporting the progress in percent. The proposals sent are the
// CorsiProp rows of the course (IdAttivita_CorsoRifB111 = idAttivita), one call
// of AggiornaPercorsiTavrel per Guid. The outcome is shown ("Operazione eseguita
// correttamente." or the error's description) and its code returned: 0, or the
// number of the error that stopped the export (see export/ClientSoap.h; 5406 when
// the connection failed in a way that suggests a proxy; database errors keep
// their numbers).
int EsportaCorsoTavrel(Session& session, qint32 idAttivita, const QString& proxy,
                       const QString& porta, const std::function<void(int)>& avanzamento);

} // namespace esportazione
