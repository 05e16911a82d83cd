#include "download/ScaricoDati.h"

#include "db/Database.h"

namespace download {

QStringList elencoOperatori(db::Connection& c) {
    QStringList voci;
    const auto righe = c.query(QStringLiteral(
        "SELECT GrupOpe, Operatore, Denominazione FROM CorsiOper ORDER BY GrupOpe, Operatore"));
    for (const db::Row& r : righe)
        voci.append(r.value(0).toString() + QStringLiteral(" - ") + r.value(1).toString() +
                    QStringLiteral(" - ") + r.value(2).toString());
    return voci;
}

OperatoreScelto operatoreDaVoce(const QString& voce) {
    const QStringList parti = voce.split(QLatin1Char('-'));
    OperatoreScelto o;
    o.gruppo = parti.value(0).trimmed();
    // The leading digits, as a number.
    const QString codice = parti.value(1).trimmed();
    qsizetype n = 0;
    while (n < codice.size() && codice.at(n).isDigit() && codice.at(n).unicode() < 128)
        ++n;
    o.codice = codice.left(n).toLongLong();
    return o;
}

QString codiceIdentita(const QString& testo) {
    if (!testo.toUpper().contains(QLatin1String("RISPOSTA: OK")))
        return {};
    return testo.split(QLatin1Char(';')).value(1).trimmed();
}

bool paginaNonVisualizzata(const QString& testo) {
    const QString t = testo.toUpper();
    return t.contains(QLatin1String("IMPOSSIBILE VISUALIZZARE LA PAGINA")) ||
           t.contains(QLatin1String("NON RIESCO A VISUALIZZARE QUESTA PAGINA"));
}

QString corpoRichiestaCorsi(const QString& gruppo, qint64 codice, const QString& identita) {
    return QStringLiteral("gruppo=") + gruppo + QStringLiteral("&codice=") +
           QString::number(codice) + QStringLiteral("&pleia_id=") + identita;
}

QString testoErroreServer(const QString& risposta) {
    // toUpper keeps the length of the text for the letters a reply holds.
    const QString maiuscole = risposta.toUpper();
    const qsizetype da = maiuscole.indexOf(QLatin1String("ERRORE"));
    if (da < 0)
        return {};
    return maiuscole.size() == risposta.size() ? risposta.mid(da) : maiuscole.mid(da);
}

QString testoStato(int stato) {
    if (stato >= 1 && stato <= 4)
        return QStringLiteral("Connessione al Server ... ");
    if (stato >= 5 && stato <= 8)
        return QStringLiteral("... Downloading in corso ... ");
    if (stato == 9 || stato == 10)
        return QStringLiteral("Disconnessione dal Server ... ");
    return {};
}

QString testoErroreTrasmissione(int codice, const QString& testo, const QString& host) {
    QString t =
        QStringLiteral("Si è verificato un errore in trasmissione, %1 : ").arg(codice) + testo;
    if (codice == 12045)
        t += QStringLiteral("\r\n\r\nE' necessario installare il certificato di autorizzazione "
                            "per l'accesso al server sicuro ") +
             host.toUpper() +
             QStringLiteral(".\r\nPer procedere alla reinstallazione, cercare nel sistema il file "
                            "CA_ROOT.DER ed eseguire un doppio click su di esso.\r\nSe il file è "
                            "assente dal sistema, contattare il servizio assistenza");
    else if (codice == 12007)
        t += QStringLiteral("\r\nProvare a cambiare le impostazioni del server Proxy tramite il "
                            "tasto 'Impostazioni'.\r\nSe dovesse continuare a non funzionare, "
                            "provare ad annullare l'operazione, riavviare l'applicativo "
                            "richiamandolo dal menù PROGRAMMI di Windows.");
    return t;
}

QString testoAiutoConnessione() {
    return QStringLiteral(
        "Connessione non effettuata \r\n"
        "Controllare le impostazioni di connessione, dal menu Strumenti selezionare Opzioni "
        "Internet.\r\n"
        "Selezionare Impostazioni dalla scheda Connessioni."
        "Le impostazioni devono corrispondere a quelle fornite dall'amministratore della rete "
        "locale (LAN)\r\n"
        "o dal provider di servizi Internet (ISP).\r\n"
        "Se l 'opzione corrispondente è stata attivata dall'amministratore della rete, in "
        "Microsoft Windows \r\n"
        "è possibile avviare l'analisi della rete e il rilevamento automatico delle "
        "impostazioni per la connessione.\r\n"
        "Per ulteriori informazioni, fare clic su Rileva impostazioni di rete.\r\n"
        "Per alcuni siti è richiesta la protezione della connessione a 128 bit. \r\n"
        "Scegliere Informazioni su Internet Explorer dal menu '?' per informazioni sul tipo di "
        "protezione installato.");
}

QString testoModalitaAlternativa() {
    return QStringLiteral(" - Aprire Google Chrome (o Mozilla Firefox se su questo "
                          " è correttametne installato il certificato digitale),\r\n"
                          "  - Connettersi all' URL che verrà indicato\r\n"
                          "  - Copiare il codice temporaneo di abilitazione"
                          " e proseguire.");
}

} // namespace download
