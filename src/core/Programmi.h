#pragma once

#include <QString>

// The line naming the regional programmes that finance the courses: the banner
// of the main window and the heading of the printed module.
inline QString lineaProgrammi() {
    return QStringLiteral("Programmi Operativi Regionali cofinanziati dai Fondi Strutturali e di "
                          "Investimento Europei 2014-2020");
}
