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

// Sends the course to the registry through the given proxy (empty: none),
// reporting the progress in percent.
int EsportaCorsoTavrel(Session& session, qint32 idAttivita, const QString& proxy,
                       const QString& porta, const std::function<void(int)>& avanzamento);

} // namespace esportazione
