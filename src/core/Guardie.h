#pragma once

#include "core/Interaction.h"
#include "db/Database.h"

#include <utility>

// Things switched for the length of an operation and switched back however the
// operation is left: by its end, by a failure, or by the end of the program.

// Busy pointer while the object lives; fine() restores it earlier.
class PuntatoreOccupato {
public:
    explicit PuntatoreOccupato(ui::Interaction& ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~PuntatoreOccupato() { fine(); }
    void fine() {
        if (m_attivo)
            m_ui.setBusy(false);
        m_attivo = false;
    }
    PuntatoreOccupato(const PuntatoreOccupato&) = delete;
    PuntatoreOccupato& operator=(const PuntatoreOccupato&) = delete;

private:
    ui::Interaction& m_ui;
    bool m_attivo = true;
};

// Runs the action when the scope is left (a waiting panel hidden, a flag
// cleared); fine() runs it earlier, once.
template <class Azione> class AllUscita {
public:
    explicit AllUscita(Azione azione) : m_azione(std::move(azione)) {}
    ~AllUscita() { fine(); }
    void fine() {
        if (m_attiva) {
            m_attiva = false;
            m_azione();
        }
    }
    AllUscita(const AllUscita&) = delete;
    AllUscita& operator=(const AllUscita&) = delete;

private:
    Azione m_azione;
    bool m_attiva = true;
};

// The connection re-opened in another mode (the exclusive one of an update)
// and re-opened in its previous mode on leaving. ripristina() does it at a
// chosen point and reports a failure as db::DbError; when the scope is left by
// an exception the destructor tries once and, failing, leaves the connection
// closed, so that later statements fail instead of running in the wrong mode.
// A connection found closed (the program ended) stays closed.
class ModoConnessione {
public:
    ModoConnessione(db::Connection& connessione, db::OpenMode modo)
        : m_connessione(connessione), m_precedente(connessione.mode()) {
        m_connessione.reopen(modo);
    }
    ~ModoConnessione() {
        if (!m_attivo || !m_connessione.isOpen())
            return;
        try {
            ripristina();
        } catch (const db::DbError&) {
            m_connessione.close();
        }
    }
    void ripristina() {
        if (!m_attivo)
            return;
        m_attivo = false;
        m_connessione.reopen(m_precedente);
    }
    ModoConnessione(const ModoConnessione&) = delete;
    ModoConnessione& operator=(const ModoConnessione&) = delete;

private:
    db::Connection& m_connessione;
    db::OpenMode m_precedente;
    bool m_attivo = true;
};
