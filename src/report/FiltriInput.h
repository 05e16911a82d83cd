#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;
namespace ui {
class Interaction;
}

// Key filters and completions of the end-of-course boxes.
namespace report {

enum class ModoNumerico {
    Decimale,  // numeric boxes: "." becomes ",", Enter is swallowed
    OreAssenza // txt_OreAssenza: digits, "," and backspace only
};

// What a typed key does in a numeric box.
enum class Tasto {
    Passa,     // reaches the box (digits, ",", backspace, keys that type nothing, shortcuts)
    Virgola,   // a "." typed in a decimal box: a "," is entered instead
    Inghiotti, // Enter in a decimal box: nothing happens
    Rifiuta    // beep and "Carattere non numerico"
};
Tasto esaminaTasto(ModoNumerico modo, int key, const QString& testo);

// What a pasted text leaves in a box of the given kind: "." becomes "," in a
// decimal box, digits and "," stay, everything else is dropped (scartati set).
QString filtraIncollato(ModoNumerico modo, const QString& testo, bool* scartati);

// Completions on leaving a box.
QString completaGiornoMese(const QString& testo);     // "7" -> "07"
QString completaAnno(const QString& testo);           // "18" -> "2018", "95" -> "1995"
QString completaSottoconteggio(const QString& testo); // "" -> "0"

// Installs the key filter on a box; it lives as long as the box. Whatever way
// text reaches the box (keys, paste, input method, drop, setText), the box holds
// only what filtraIncollato lets through.
void filtroNumerico(QLineEdit* box, ui::Interaction& ui, ModoNumerico modo);
// Installs a completion applied to the box text when the box loses the focus.
void completamentoInUscita(QLineEdit* box, std::function<QString(const QString&)> completa);

} // namespace report
