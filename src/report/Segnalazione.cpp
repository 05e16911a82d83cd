#include "report/Segnalazione.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QVariant>

namespace report {

namespace {

const char* const kSegnalato = "segnalato";
const char* const kStilePrima = "stilePrimaDellaSegnalazione";
const char* const kSuggerimentoPrima = "suggerimentoPrimaDellaSegnalazione";

} // namespace

bool segnalato(const QWidget* box) {
    return box && box->property(kSegnalato).toBool();
}

void segnala(QWidget* box, const QString& motivo) {
    if (!box)
        return;
    if (!segnalato(box)) {
        box->setProperty(kStilePrima, box->styleSheet());
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
    const QString nome = box->objectName();
    box->setStyleSheet(box->property(kStilePrima).toString() +
                       QStringLiteral("\n%1#%2 { border: 2px solid #c00000; }")
                           .arg(QString::fromLatin1(box->metaObject()->className())
                                    .section(QStringLiteral("::"), -1),
                                nome));
    box->setToolTip(motivo);
}

void togliSegnalazione(QWidget* box) {
    if (!segnalato(box))
        return;
    box->setProperty(kSegnalato, false);
    box->setStyleSheet(box->property(kStilePrima).toString());
    box->setToolTip(box->property(kSuggerimentoPrima).toString());
}

} // namespace report
