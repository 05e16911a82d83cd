#include "common/GeometriaFinestre.h"

#include "core/UserSettings.h"

#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace {

const char* const kPosizionata = "korvadinPosizionata";

QString chiave(const QWidget* w) {
    return QStringLiteral("Geometria_") + w->objectName();
}

// The window manager's frame before the window is mapped: a usual title bar.
QMargins cornice(const QWidget* w) {
    const QRect esterno = w->frameGeometry(), interno = w->geometry();
    if (esterno != interno)
        return {interno.left() - esterno.left(), interno.top() - esterno.top(),
                esterno.right() - interno.right(), esterno.bottom() - interno.bottom()};
    return {4, 30, 4, 4};
}

} // namespace

GeometriaFinestre::GeometriaFinestre(UserSettings& impostazioni, QObject* parent)
    : QObject(parent), m_impostazioni(impostazioni) {}

QRect GeometriaFinestre::dentro(const QRect& finestra, const QRect& disponibile) {
    QRect r = finestra;
    r.setWidth(qMin(r.width(), disponibile.width()));
    r.setHeight(qMin(r.height(), disponibile.height()));
    r.moveLeft(qBound(disponibile.left(), r.left(), disponibile.right() - r.width() + 1));
    r.moveTop(qBound(disponibile.top(), r.top(), disponibile.bottom() - r.height() + 1));
    return r;
}

bool GeometriaFinestre::gestita(const QWidget* w) {
    return w->isWindow() && !w->objectName().isEmpty() &&
           (qobject_cast<const QDialog*>(w) || qobject_cast<const QMainWindow*>(w)) &&
           !qobject_cast<const QMessageBox*>(w) && !qobject_cast<const QFileDialog*>(w);
}

bool GeometriaFinestre::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && gestita(w)) {
            if (event->type() == QEvent::Show)
                mostrata(w);
            else
                nascosta(w);
        }
    }
    return QObject::eventFilter(watched, event);
}

void GeometriaFinestre::mostrata(QWidget* w) {
    if (w->property(kPosizionata).toBool())
        return;
    w->setProperty(kPosizionata, true);
    const QScreen* schermo = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!schermo)
        return;
    const QRect disponibile = schermo->availableGeometry();
    const QByteArray salvata = QByteArray::fromBase64(m_impostazioni.get(chiave(w)).toLatin1());
    const QMargins margini = cornice(w);
    // Worked out on the outer rectangle, applied to the client area (whose
    // placement means the same on every platform).
    QRect esterno = w->geometry().marginsAdded(margini);
    if (!salvata.isEmpty() && w->restoreGeometry(salvata)) {
        esterno = w->geometry().marginsAdded(margini);
    } else if (qobject_cast<QMainWindow*>(w)) {
        esterno.moveCenter(disponibile.center());
    } else if (esterno.width() <= disponibile.width() && esterno.height() <= disponibile.height()) {
        return; // a form seen for the first time: where Qt puts it, over its parent
    }
    w->setGeometry(dentro(esterno, disponibile).marginsRemoved(margini));
}

void GeometriaFinestre::nascosta(QWidget* w) {
    if (w->property(kPosizionata).toBool())
        m_impostazioni.set(chiave(w), QString::fromLatin1(w->saveGeometry().toBase64()));
}
