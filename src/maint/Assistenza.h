#pragma once

// The support service: its deployment values, the connection state the
// platform reports, and the pieces of a support request (archive, query string,
// workstation descriptions).

#include "core/Errore.h"

#include <QDate>
#include <QString>
#include <QUrl>

#include <optional>

class clsFileINI;

namespace assistenza {

// Deployment values of the support service, from section "Assistenza" of
// KORVADIN.INI, with these defaults:
//   ServerMail         the recommended mail server      "smtp.assistenza-vrd.it"
//   ServerMailInterno  the service's internal server    "mail.vrd.local"
//   HelpDesk           the help-desk address            "helpdesk@assistenza-vrd.it"
// and CONNESSIONE/ASSISTENZA: scheme and host of the upload form
// ("https://assistenza-vrd.it" when absent).
QString serverPostaConsigliato(const clsFileINI& ini);
QString serverPostaInterno(const clsFileINI& ini);
QString indirizzoHelpDesk(const clsFileINI& ini);
QString hostModulo(const clsFileINI& ini);
inline const QString PercorsoModulo =
    QStringLiteral("/cgi-bin/fp/upload/form_allegato_bin_upload.cgi");

// What the platform tells about the way the connection to the Internet goes.
struct StatoConnessione {
    bool modem = false; // the active link is a dial-up/mobile one
    bool proxy = false; // requests to the Internet go through a proxy
};
// proxy: the system's proxy choice for an Internet address
// (QNetworkProxyFactory::systemProxyForQuery) is an actual proxy. modem: the
// network information backend reports a cellular transport medium (the
// dial-up/mobile link of today's systems); false where it reports nothing.
StatoConnessione statoConnessione();

// program folder + "KORVADIN_dd-mm-yyyy_<group><operator>-<number>.zip", the
// number trimmed and left-padded with "0" to four characters.
QString nomeArchivio(const QString& cartellaProgramma, const QDate& data, const QString& grupOpe,
                     const QString& operatore, const QString& numero);
// Zips the database file (closed, as it is on disk: still encrypted) into the
// archive, replacing an earlier archive of the same name and its ".txt" companion.
std::optional<Errore> creaArchivio(const QString& archivio, const QString& database);

struct DatiRichiesta {
    QString email;    // "" when not set
    QString versione; // "2.0.1"
    QString grupOpe, operatore, nomeOperatore;
    QString sistema, browser, memoria;
    QString helpDesk;
    QString archivio;
};
// "fr=...&su=...&...&file=...": the values, each percent-encoded (UTF-8);
// "Indirizzo e-mail..." when there is no address.
QString queryString(const DatiRichiesta& dati);
// host + upload-form path + "?" + query string.
QUrl indirizzoModulo(const QString& host, const QString& query);

// "WINDOWS " + family + "Versione: " + version numbers; on other systems the
// family is blank and the version is the kernel's.
QString descrizioneSistema();
// "Internet Explorer ver. " + version, or "Internet Explorer non trovato" (the
// only browser whose version this program knows how to ask).
QString descrizioneBrowser();
// The four lines of the memory description, from /proc/meminfo where present.
QString descrizioneMemoria();

} // namespace assistenza
