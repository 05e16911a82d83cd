#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

// The rules of the approved-course download dialog FrmScaricoDB that need no
// widgets: the agency list, the identity answer, the request body, the texts.
namespace download {

// The installed agencies sorted by GrupOpe, Operatore, each as
// "<group> - <operator> - <name>".
QStringList elencoOperatori(db::Connection& connessione);

struct OperatoreScelto {
    QString gruppo;
    qint64 codice = 0;
};
// An entry of the list split at "-": the text before it is the group, the text after it the
// operator as a number (0 when it is not one).
OperatoreScelto operatoreDaVoce(const QString& voce);

// The identity code in the text of the identity page or of the pasted answer:
// when the text, in capitals, contains "RISPOSTA: OK", its second ";"-separated
// part, trimmed; otherwise "".
QString codiceIdentita(const QString& testo);
// True when the text is the browser's "page cannot be shown".
bool paginaNonVisualizzata(const QString& testo);

// "gruppo=<group>&codice=<operator>&pleia_id=<identity code>", not URL-encoded.
QString corpoRichiestaCorsi(const QString& gruppo, qint64 codice, const QString& identita);

// The part of a reply shown when the server answers "ERRORE": from the first
// "ERRORE" (searched in capitals) to the end; "" when there is none.
QString testoErroreServer(const QString& risposta);

// The status text of a transfer step (1-4 connecting, 5-8 downloading, 9-10
// disconnecting; "" for any other).
QString testoStato(int stato);
// The message of a transfer error, with the advice for 12045 (the server's
// certificate authority not trusted) and 12007 (host name not resolved).
QString testoErroreTrasmissione(int codice, const QString& testo, const QString& host);

// The connection help and the alternative identity mode shown when the
// identity page cannot be shown.
QString testoAiutoConnessione();
QString testoModalitaAlternativa();

} // namespace download
