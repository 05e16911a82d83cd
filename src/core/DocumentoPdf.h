#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <functional>

class QPagedPaintDevice;

// Printed documents of the program: the page they are made for and their PDF
// form, written by Qt's own PDF writer (fonts embedded, no external program).
namespace documento {

// A4 portrait with margins of 12 mm.
QPageLayout paginaA4();

// The pages the routine draws, as the bytes of a PDF file titled titolo.
QByteArray pdf(const std::function<void(QPagedPaintDevice&)>& disegna, const QString& titolo);

} // namespace documento
