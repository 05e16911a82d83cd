#include "report/FiltriInput.h"

#include "core/Interaction.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace report {

namespace {

bool cifra(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

void carattereNonNumerico(ui::Interaction& ui, QWidget* box) {
    ui.beep();
    ui.message(box ? box->window() : nullptr, QStringLiteral("Carattere non numerico"),
               QStringLiteral("Campo Numerico"), ui::Icon::Information);
}

class FiltroNumerico : public QObject {
public:
    FiltroNumerico(QLineEdit* box, ui::Interaction& ui, ModoNumerico modo)
        : QObject(box), m_box(box), m_ui(ui), m_modo(modo) {
        // Keys are only one way in: the context menu's paste, an input method's
        // commit, a drop or a setText bring text that no key press announced.
        // The box is filtered whenever its text changes, and an edit of the
        // user that had to be cut is answered like a refused key.
        connect(box, &QLineEdit::textChanged, this, [this] { ripulisci(); });
        connect(box, &QLineEdit::textEdited, this, [this](const QString& scritto) {
            ripulisci();
            bool scartati = false;
            filtraIncollato(m_modo, scritto, &scartati);
            if (scartati)
                carattereNonNumerico(m_ui, m_box);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_box || event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            incolla();
            return true;
        }
        switch (esaminaTasto(m_modo, key->key(), key->text())) {
        case Tasto::Passa:
            return false;
        case Tasto::Virgola:
            m_box->insert(QStringLiteral(","));
            return true;
        case Tasto::Inghiotti:
            return true;
        case Tasto::Rifiuta:
            carattereNonNumerico(m_ui, m_box);
            return true;
        }
        return false;
    }

private:
    // Leaves in the box only what the filter lets through, keeping the cursor
    // after the same character.
    void ripulisci() {
        const QString testo = m_box->text();
        const QString pulito = filtraIncollato(m_modo, testo, nullptr);
        if (pulito == testo)
            return;
        const int cursore =
            int(filtraIncollato(m_modo, testo.left(m_box->cursorPosition()), nullptr).size());
        m_box->setText(pulito);
        m_box->setCursorPosition(cursore);
    }

    void incolla() {
        if (m_box->isReadOnly())
            return;
        bool scartati = false;
        const QString testo = filtraIncollato(m_modo, QApplication::clipboard()->text(), &scartati);
        if (!testo.isEmpty())
            m_box->insert(testo);
        if (scartati)
            carattereNonNumerico(m_ui, m_box);
    }

    QLineEdit* m_box;
    ui::Interaction& m_ui;
    ModoNumerico m_modo;
};

class Completamento : public QObject {
public:
    Completamento(QLineEdit* box, std::function<QString(const QString&)> completa)
        : QObject(box), m_box(box), m_completa(std::move(completa)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_box && event->type() == QEvent::FocusOut && !m_box->isReadOnly()) {
            const QString completo = m_completa(m_box->text());
            if (completo != m_box->text())
                m_box->setText(completo);
        }
        return false;
    }

private:
    QLineEdit* m_box;
    std::function<QString(const QString&)> m_completa;
};

} // namespace

Tasto esaminaTasto(ModoNumerico modo, int key, const QString& testo) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return modo == ModoNumerico::Decimale ? Tasto::Inghiotti : Tasto::Rifiuta;
    if (key == Qt::Key_Backspace)
        return Tasto::Passa;
    // Keys that type nothing reach the box: moving the cursor, Tab, Delete,
    // Escape, and the shortcuts (copy, select all, undo...).
    // Whole characters: an emoji is two halves, neither of them printable.
    bool stampabile = !testo.isEmpty();
    for (const char32_t c : testo.toUcs4())
        stampabile = stampabile && QChar::isPrint(c);
    if (!stampabile)
        return Tasto::Passa;
    bool numerico = true;
    for (QChar c : testo)
        numerico = numerico && (cifra(c) || c == QLatin1Char(','));
    if (numerico)
        return Tasto::Passa;
    if (testo == QLatin1String(".") && modo == ModoNumerico::Decimale)
        return Tasto::Virgola;
    return Tasto::Rifiuta;
}

QString filtraIncollato(ModoNumerico modo, const QString& testo, bool* scartati) {
    QString risultato;
    bool scartato = false;
    for (QChar c : testo) {
        if (cifra(c) || c == QLatin1Char(','))
            risultato += c;
        else if (c == QLatin1Char('.') && modo == ModoNumerico::Decimale)
            risultato += QLatin1Char(',');
        else
            scartato = true;
    }
    if (scartati)
        *scartati = scartato;
    return risultato;
}

QString completaGiornoMese(const QString& testo) {
    return testo.size() == 1 ? QStringLiteral("0") + testo : testo;
}

QString completaAnno(const QString& testo) {
    if (testo.size() != 2)
        return testo;
    return (testo.toInt() > 90 ? QStringLiteral("19") : QStringLiteral("20")) + testo;
}

QString completaSottoconteggio(const QString& testo) {
    return testo.isEmpty() ? QStringLiteral("0") : testo;
}

void filtroNumerico(QLineEdit* box, ui::Interaction& ui, ModoNumerico modo) {
    box->installEventFilter(new FiltroNumerico(box, ui, modo));
}

void completamentoInUscita(QLineEdit* box, std::function<QString(const QString&)> completa) {
    box->installEventFilter(new Completamento(box, std::move(completa)));
}

} // namespace report
