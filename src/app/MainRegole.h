#pragma once

#include <QString>
#include <QStringList>

struct Operatore;
namespace db {
class Connection;
}

// The rules of the main window that need no widget: what the information panel
// shows, the checks of the menu entries and the rotating copy made on exit.
namespace mainregole {

// What the information panel shows of the agency name: whole when shorter than
// 25 characters, otherwise its first 24 followed by "..." with the whole name
// as tool tip.
struct Denominazione {
    QString testo;
    QString tooltip;
};
Denominazione denominazioneOperatore(const QString& nome);

// The operator code read as a number, so leading zeros go ("00123" -> "123");
// a code that is not a number is shown as it is.
QString codiceOperatore(const QString& operatore);

// A hover preference as stored in the per-user settings: on when the stored
// number is not 0 (a text that is not a number counts as 0).
bool preferenzaAttiva(const QString& valore);

// Downloaded courses of the agency (rows of KELDCorsiDef with its group and
// operator code).
int contaCorsiScaricati(db::Connection& connessione, const Operatore& operatore);

// True when no participant of the course has the text "null" as enrolment
// number; only such a participant blocks the transmission.
bool controlloMatricole(db::Connection& connessione, qint32 idAttivita);

// One entry of the operator list of the registry update: group code, six
// blanks, "- ", and the operator code right-aligned on five characters.
QString voceOperatore(const QString& grupOpe, const QString& operatore);
// The entries of every row of the operator table, each listed once.
QStringList vociOperatori(db::Connection& connessione);

} // namespace mainregole
