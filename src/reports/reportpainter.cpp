#include "reports/reportpainter.h"

#include "reports/reporterror.h"
#include "reports/textfitter.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ReportPainter", text);
}

QRectF scaled(const QRectF& rect, double scale)
{
    return QRectF(rect.left() * scale, rect.top() * scale, rect.width() * scale, rect.height() * scale);
}

void paintText(QPainter& painter, const PageItem& item, double scale)
{
    painter.setFont(toQFont(item.font));
    const QStringList lines = item.text.split(u'\n');
    const int flags = int(item.alignment) | Qt::AlignTop | Qt::TextSingleLine;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRectF line(item.rect.left(), item.rect.top() + double(i) * item.lineHeight, item.rect.width(),
                          item.lineHeight);
        painter.drawText(scaled(line, scale), flags, lines.at(i));
    }
}

} // namespace

namespace ReportPainter {

void paintPage(QPainter& painter, const ReportPage& page)
{
    const double scale = painter.device()->logicalDpiY() / 72.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    for (const PageItem& item : page.items) {
        switch (item.kind) {
            case PageItem::Kind::Text:
                paintText(painter, item, scale);
                break;
            case PageItem::Kind::Line:
                painter.setPen(QPen(Qt::black, std::max(item.penWidth, 0.1) * scale));
                painter.drawLine(item.rect.topLeft() * scale, item.rect.bottomRight() * scale);
                painter.setPen(Qt::black);
                break;
            case PageItem::Kind::Box:
                painter.setPen(item.penWidth > 0 ? QPen(Qt::black, item.penWidth * scale) : QPen(Qt::NoPen));
                painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
                painter.drawRect(scaled(item.rect, scale));
                painter.setBrush(Qt::NoBrush);
                painter.setPen(Qt::black);
                break;
        }
    }
    painter.restore();
}

QImage pageImage(const ReportDocument& document, int pageIndex, int dpi)
{
    const QSizeF paper = document.paperSize();
    QImage image(int(std::ceil(paper.width() * dpi / 72.0)), int(std::ceil(paper.height() * dpi / 72.0)),
                 QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    if (pageIndex >= 0 && pageIndex < document.pageCount()) {
        QPainter painter(&image);
        paintPage(painter, document.pages[std::size_t(pageIndex)]);
    }
    return image;
}

void writePdf(const ReportDocument& document, const QString& filePath)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        throw ReportError(tr("The PDF file %1 cannot be written: %2.").arg(filePath, file.errorString()));
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(720);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Kelvane"));
        writer.setPageLayout(QPageLayout(document.pageSize, document.orientation, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            throw ReportError(tr("The PDF file %1 cannot be written.").arg(filePath));
        }
        for (int i = 0; i < document.pageCount(); ++i) {
            if (i > 0) {
                writer.newPage();
            }
            paintPage(painter, document.pages[std::size_t(i)]);
        }
        painter.end();
    }
    if (!file.commit()) {
        throw ReportError(tr("The PDF file %1 cannot be written: %2.").arg(filePath, file.errorString()));
    }
}

} // namespace ReportPainter
