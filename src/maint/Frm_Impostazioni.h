#pragma once

#include <QString>

#include <optional>

class Session;
class QWidget;

namespace maint {

// What the installation dialog hands back: working mode ("StandAlone" or
// "Multiutenza"), full path of the database file and its file name.
struct ImpostazioniScelte {
    QString tipo;
    QString percorso;
    QString titolo;
};

// Shows the installation dialog modally (and the SERVER/CLIENT choice before it
// when none was made); nothing when the user left the installation.
std::optional<ImpostazioniScelte> chiediImpostazioni(Session& session, QWidget* parent);

} // namespace maint
