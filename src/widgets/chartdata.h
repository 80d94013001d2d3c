#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// The numbers of one chart, independent of how it is drawn: one label per point along the bottom and one
// series per line or bar colour. A point without a value (a week not recorded) is a gap, never a zero.
struct ChartSeries
{
    QString name;
    std::vector<std::optional<double>> values; // one per label
};

struct ChartData
{
    enum class Kind { Lines, Bars };

    QString title;
    Kind kind = Kind::Lines;
    QStringList labels;
    std::vector<ChartSeries> series;
    // How a value is written in tooltips and the table (a count, an amount of money); plain numbers without
    // it.
    std::function<QString(double)> format;

    QString valueText(double value) const;
    // "Worship Service, 14 Dec 2025: 212", or "… : not recorded" for a gap.
    QString pointText(int series, int point) const;
};
