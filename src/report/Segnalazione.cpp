#include "report/Segnalazione.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGraphicsDropShadowEffect>
#include <QLineEdit>
#include <QPalette>
#include <QVariant>

namespace report {

namespace {

const char* const kSegnalato = "segnalato";
const char* const kSuggerimentoPrima = "suggerimentoPrimaDellaSegnalazione";
const char* const kTavolozzaPrima = "tavolozzaPrimaDellaSegnalazione";

} // namespace

bool segnalato(const QWidget* box) {
    return box && box->property(kSegnalato).toBool();
}

void segnala(QWidget* box, const QString& motivo) {
    if (!box)
        return;
    if (!segnalato(box)) {
        // A red glow around the box and a pink ground in it: its size and
        // shape stay as they are.
        auto* alone = new QGraphicsDropShadowEffect(box);
        alone->setColor(QColor(0xd0, 0, 0));
        alone->setOffset(0, 0);
        alone->setBlurRadius(7);
        box->setGraphicsEffect(alone);
        box->setProperty(kTavolozzaPrima, box->palette());
        QPalette tavolozza = box->palette();
        for (QPalette::ColorRole ruolo : {QPalette::Base, QPalette::Button})
            tavolozza.setColor(ruolo, QColor(0xff, 0xd8, 0xd8));
        box->setPalette(tavolozza);
        box->setProperty(kSuggerimentoPrima, box->toolTip());
        box->setProperty(kSegnalato, true);
        const auto togli = [box] { togliSegnalazione(box); };
        if (auto* testo = qobject_cast<QLineEdit*>(box))
            QObject::connect(testo, &QLineEdit::textChanged, box, togli, Qt::SingleShotConnection);
        else if (auto* lista = qobject_cast<QComboBox*>(box))
            QObject::connect(lista, &QComboBox::currentIndexChanged, box, togli,
                             Qt::SingleShotConnection);
        else if (auto* vista = qobject_cast<QAbstractItemView*>(box); vista && vista->model())
            QObject::connect(vista->model(), &QAbstractItemModel::rowsInserted, box, togli,
                             Qt::SingleShotConnection);
    }
    box->setToolTip(motivo);
}

void togliSegnalazione(QWidget* box) {
    if (!segnalato(box))
        return;
    box->setProperty(kSegnalato, false);
    box->setGraphicsEffect(nullptr);
    box->setPalette(box->property(kTavolozzaPrima).value<QPalette>());
    box->setToolTip(box->property(kSuggerimentoPrima).toString());
}

} // namespace report
