#pragma once

#include "reports/pagemodel.h"

#include <QCoreApplication>
#include <QImage>

class QPainter;

// Painting the page model: onto any QPainter (printer, PDF writer, preview image), and into PDF files.
namespace ReportPainter {

// Paints one page with its top left corner at the painter's origin. The device's logical resolution
// turns points into device units, so fonts and positions keep their printed size on every device.
void paintPage(QPainter& painter, const ReportPage& page);

// A picture of one page at the given resolution (dots per inch), on white.
QImage pageImage(const ReportDocument& document, int pageIndex, int dpi);

// Writes the whole report as a PDF file; the file is replaced only when it was written completely.
// Throws ReportError naming the file when it cannot be written.
void writePdf(const ReportDocument& document, const QString& filePath);
// The whole report as the bytes of a PDF file (an e-mail's attachment).
QByteArray pdfBytes(const ReportDocument& document);

} // namespace ReportPainter
