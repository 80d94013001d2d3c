#pragma once

#include <QColor>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

// The font of a text item: family, size in points, weight and slant.
struct ReportFont
{
    QString family;
    double size = 9;
    bool bold = false;
    bool italic = false;

    bool operator==(const ReportFont& other) const = default;
};

// One positioned thing on a page. Coordinates are points (1/72 inch) from the paper's top left corner.
struct PageItem
{
    enum class Kind { Text, Line, Box };

    Kind kind = Kind::Text;
    // Text: the area the text is confined to. Line: from topLeft() to bottomRight(). Box: the box.
    QRectF rect;
    // Text: the lines to show, already wrapped and cut to fit the rect, separated by '\n'.
    QString text;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    // Text: distance from one line's top to the next line's top.
    double lineHeight = 0;
    // Line and box: pen width in points (0 = no outline for a box).
    double penWidth = 0.5;
    // Box: fill colour (invalid = no fill).
    QColor fill;
};

// One page of a laid-out report.
struct ReportPage
{
    std::vector<PageItem> items;

    // The texts of the page's text items in reading order (top to bottom, then left to right).
    QStringList texts() const;
    // The text items whose text contains the given text, in reading order.
    std::vector<const PageItem*> findTexts(const QString& part) const;
};

// A report laid out into pages: what the viewer shows, the printer prints and the PDF file holds.
class ReportDocument final
{
public:
    QString designName;
    QString title;
    QPageSize pageSize = QPageSize(QPageSize::Letter);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::vector<ReportPage> pages;

    // The paper size in points, turned for landscape.
    QSizeF paperSize() const;
    int pageCount() const { return int(pages.size()); }
    bool isEmpty() const { return pages.empty(); }
};
