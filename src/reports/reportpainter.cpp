#include "reports/reportpainter.h"

#include "reports/reporterror.h"
#include "reports/textfitter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>
#include <optional>

namespace {

// The context under which this file's texts are translated.
class ReportPainterText
{
    Q_DECLARE_TR_FUNCTIONS(ReportPainter)
};

QRectF scaled(const QRectF& rect, double scale)
{
    return QRectF(rect.left() * scale, rect.top() * scale, rect.width() * scale, rect.height() * scale);
}

// Draws lines already fitted to their item at their baselines; only centred and right-aligned lines need
// measuring. The painter's font is set only when it changes, which keeps long reports quick to paint.
class TextPainter final
{
public:
    TextPainter(QPainter& painter, double scale)
        : m_painter(painter)
        , m_scale(scale)
    {}

    void paint(const PageItem& item)
    {
        if (!m_metrics || !(item.font == m_font)) {
            m_font = item.font;
            m_painter.setFont(toQFont(item.font));
            m_metrics.emplace(m_painter.font(), m_painter.device());
        }
        const QStringList lines = item.text.split(u'\n');
        const double ascent = m_metrics->ascent();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString& line = lines.at(i);
            if (line.isEmpty()) {
                continue;
            }
            double x = item.rect.left() * m_scale;
            if (item.alignment & (Qt::AlignRight | Qt::AlignHCenter)) {
                const double free = item.rect.width() * m_scale - m_metrics->horizontalAdvance(line);
                x += (item.alignment & Qt::AlignRight) ? free : free / 2;
            }
            const double top = (item.rect.top() + double(i) * item.lineHeight) * m_scale;
            m_painter.drawText(QPointF(x, top + ascent), line);
        }
    }

private:
    QPainter& m_painter;
    double m_scale;
    ReportFont m_font;
    std::optional<QFontMetricsF> m_metrics;
};

} // namespace

namespace ReportPainter {

void paintPage(QPainter& painter, const ReportPage& page)
{
    const double scale = painter.device()->logicalDpiY() / 72.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    TextPainter text(painter, scale);
    for (const PageItem& item : page.items) {
        switch (item.kind) {
            case PageItem::Kind::Text:
                text.paint(item);
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

namespace {

// Paints the report as PDF into the device; false when the painter could not start.
bool paintPdf(const ReportDocument& document, QIODevice& device)
{
    QPdfWriter writer(&device);
    writer.setResolution(720);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Kelvane"));
    writer.setPageLayout(QPageLayout(document.pageSize, document.orientation, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0) {
            writer.newPage();
        }
        paintPage(painter, document.pages[std::size_t(i)]);
    }
    painter.end();
    return true;
}

} // namespace

void writePdf(const ReportDocument& document, const QString& filePath)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        throw ReportError(
            ReportPainterText::tr("The PDF file %1 cannot be written: %2.").arg(filePath, file.errorString()));
    }
    if (!paintPdf(document, file)) {
        file.cancelWriting();
        throw ReportError(ReportPainterText::tr("The PDF file %1 cannot be written.").arg(filePath));
    }
    if (!file.commit()) {
        throw ReportError(
            ReportPainterText::tr("The PDF file %1 cannot be written: %2.").arg(filePath, file.errorString()));
    }
}

QByteArray pdfBytes(const ReportDocument& document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    paintPdf(document, buffer);
    return buffer.data();
}

} // namespace ReportPainter
