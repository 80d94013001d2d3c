#include "reports/textfitter.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// Texts are measured on a fine grid (16 device units to the point) so that rounding inside the font
// engine does not make a text look narrower than it prints.
constexpr double kUnitsPerPoint = 16.0;
constexpr int kMeasureDpi = int(72 * kUnitsPerPoint);

const QChar kEllipsis(0x2026);

} // namespace

QFont toQFont(const ReportFont& font)
{
    QFont f(font.family);
    f.setStyleHint(font.family.contains(u"Mono", Qt::CaseInsensitive) ? QFont::Monospace : QFont::SansSerif);
    f.setPointSizeF(font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    // Unhinted outlines keep widths proportional to the size on screen, paper and PDF alike.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    // No ligatures: "fi" stays two letters, so a PDF's text can be searched and copied as typed.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

struct TextFitter::Metrics
{
    Metrics(const QFont& font, const QPaintDevice* device)
        : fm(font, device)
        , lineHeight(fm.lineSpacing() / kUnitsPerPoint)
        , widestChar(fm.maxWidth() / kUnitsPerPoint)
    {}

    double width(const QString& text) const { return fm.horizontalAdvance(text) / kUnitsPerPoint; }

    QFontMetricsF fm;
    double lineHeight;
    double widestChar;
};

TextFitter::TextFitter()
    : m_device(1, 1, QImage::Format_ARGB32)
{
    const int dotsPerMeter = int(std::lround(kMeasureDpi / 0.0254));
    m_device.setDotsPerMeterX(dotsPerMeter);
    m_device.setDotsPerMeterY(dotsPerMeter);
}

TextFitter::~TextFitter() = default;

TextFitter::Metrics& TextFitter::metrics(const ReportFont& font)
{
    const QString key = font.family + u'|' + QString::number(font.size) + u'|' + QString::number(font.bold) + u'|' +
                        QString::number(font.italic);
    auto found = m_metrics.find(key);
    if (found == m_metrics.end()) {
        found = m_metrics.insert(key, std::make_shared<Metrics>(toQFont(font), &m_device));
    }
    return **found;
}

double TextFitter::lineHeight(const ReportFont& font)
{
    return metrics(font).lineHeight;
}

double TextFitter::width(const QString& text, const ReportFont& font)
{
    return metrics(font).width(text);
}

QString TextFitter::elide(const QString& text, Metrics& m, double width)
{
    if (m.width(text) <= width) {
        return text;
    }
    // The longest start of the text that fits with the ellipsis after it.
    qsizetype low = 0;
    qsizetype high = text.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (m.width(text.left(mid).trimmed() + kEllipsis) <= width) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    const QString start = text.left(low).trimmed();
    if (start.isEmpty() && m.width(QString(kEllipsis)) > width) {
        return {};
    }
    return start + kEllipsis;
}

TextFitter::Fit TextFitter::fit(const QString& text, const ReportFont& font, double width, double maxHeight, bool wrap)
{
    Metrics& m = metrics(font);
    Fit result;
    result.lineHeight = m.lineHeight;
    const int maxLines = std::max(1, int(std::floor((maxHeight + 0.01) / m.lineHeight)));

    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    normalized.replace(u'\t', u' ');
    const QStringList paragraphs = normalized.split(u'\n');

    QStringList lines;
    // Whether the text goes on after the last line taken (it then gets the ellipsis).
    bool more = false;
    for (qsizetype p = 0; p < paragraphs.size() && !more; ++p) {
        const QString& paragraph = paragraphs.at(p);
        if (lines.size() >= maxLines) {
            more = true;
            break;
        }
        // Short texts fit without measuring.
        if (paragraph.size() * m.widestChar <= width || m.width(paragraph) <= width) {
            lines << paragraph;
            continue;
        }
        if (!wrap) {
            lines << elide(paragraph, m, width);
            result.cut = true;
            continue;
        }
        QString line;
        const QStringList words = paragraph.split(u' ');
        for (qsizetype w = 0; w < words.size(); ++w) {
            QString word = words.at(w);
            const QString candidate = line.isEmpty() ? word : line + u' ' + word;
            if (m.width(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty()) {
                lines << line;
                line.clear();
                if (lines.size() >= maxLines) {
                    more = true;
                    break;
                }
            }
            // A word wider than the line is broken where it must be.
            while (m.width(word) > width) {
                qsizetype low = 1;
                qsizetype high = word.size();
                while (low < high) {
                    const qsizetype mid = (low + high + 1) / 2;
                    if (m.width(word.left(mid)) <= width) {
                        low = mid;
                    } else {
                        high = mid - 1;
                    }
                }
                lines << word.left(low);
                word = word.mid(low);
                if (lines.size() >= maxLines) {
                    more = true;
                    break;
                }
            }
            if (more) {
                break;
            }
            line = word;
        }
        if (!more && !line.isEmpty()) {
            lines << line;
        }
    }
    if (more || lines.size() > maxLines) {
        while (lines.size() > maxLines) {
            lines.removeLast();
        }
        result.cut = true;
        QString& last = lines.last();
        last = elide(last + kEllipsis, m, width);
    }
    result.lines = lines;
    return result;
}
