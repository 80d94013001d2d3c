#pragma once

#include "reports/pagemodel.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QStringList>

#include <memory>

// The Qt font for a report font; sizes are points, so the same font serves every paint device.
QFont toQFont(const ReportFont& font);

// Measures texts in points and fits them into a width and height: wrapping at blanks (or inside a word
// that is wider than the line), and cutting what does not fit with "…".
class TextFitter final
{
public:
    TextFitter();
    ~TextFitter();
    TextFitter(const TextFitter&) = delete;
    TextFitter& operator=(const TextFitter&) = delete;

    struct Fit
    {
        QStringList lines;
        double lineHeight = 0;
        // Part of the text did not fit and was left out.
        bool cut = false;

        double height() const { return lines.size() * lineHeight; }
    };

    // Lays the text out in lines no wider than width and in no more lines than fit into maxHeight (at
    // least one). Without wrap each line of the text stays one line. Line breaks in the text are kept.
    Fit fit(const QString& text, const ReportFont& font, double width, double maxHeight, bool wrap);

    double lineHeight(const ReportFont& font);
    double width(const QString& text, const ReportFont& font);

private:
    struct Metrics;
    Metrics& metrics(const ReportFont& font);
    QString elide(const QString& text, Metrics& m, double width);

    QImage m_device;
    QHash<QString, std::shared_ptr<Metrics>> m_metrics;
};
