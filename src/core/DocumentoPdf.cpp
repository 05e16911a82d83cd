#include "core/DocumentoPdf.h"

#include "core/Session.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>

namespace documento {

QPageLayout paginaA4() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

QByteArray pdf(const std::function<void(QPagedPaintDevice&)>& disegna, const QString& titolo) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setPageLayout(paginaA4());
        writer.setTitle(titolo);
        writer.setCreator(QStringLiteral("KORVADIN ") + Session::versione());
        disegna(writer);
    }
    return buffer.data();
}

} // namespace documento
