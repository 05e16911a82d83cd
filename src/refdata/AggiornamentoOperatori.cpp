#include "refdata/AggiornamentoOperatori.h"

#include "core/Session.h"
#include "refdata/AnagraficaOperatori.h"
#include "refdata/TabelleDecodifica.h"

namespace refdata {

bool aggiornaDatiOperatori(Session& s, QWidget* parent,
                           const std::function<void(const QString&, int)>& avanzamento) {
    anagrafica::cancellaLog(s);
    // Decoding tables dropped with "installa.tab" or "aggiorna.tab" first.
    Caricamento tabelle;
    tabelle.chiamante = Chiamante::FinestraPrincipale;
    tabelle.parent = parent;
    if (avanzamento)
        tabelle.record = [&avanzamento](const QString&, const QString& tabella, int record) {
            avanzamento(tabella, record);
        };
    eseguiTabelleDecodifica(s, tabelle);
    return anagrafica::aggiorna(s, parent);
}

} // namespace refdata
