#pragma once

#include "reports/pagemodel.h"
#include "reports/texttemplate.h"

#include <QByteArray>
#include <QColor>
#include <QMarginsF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

// One thing a band draws: a text, a line or a box. Positions are points from the band's top left.
struct DesignItem
{
    enum class Kind { Text, Line, Box };

    Kind kind = Kind::Text;
    QRectF rect;
    // Text: one template, or one per line when the design gives "lines" (then blank lines are left out,
    // so an empty second address line leaves no gap).
    std::vector<TextTemplate> lines;
    bool dropEmptyLines = false;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    // Long text wraps onto further lines inside the item (else each line is cut with "...").
    bool wrap = false;
    // The item grows downwards to show its whole text, pushing what lies below it in the band.
    bool grow = false;
    // Runs of blanks become one blank and each line is trimmed.
    bool squeeze = false;
    // Shown only when this template gives a non-blank text.
    std::optional<TextTemplate> visibleIf;
    double penWidth = 0.5;
    QColor fill;
};

// A horizontal strip of a report: its height and its items.
struct DesignBand
{
    bool present = false;
    double height = 0;
    std::vector<DesignItem> items;
    // The band is left out (takes no room) when this template gives a blank text.
    std::optional<TextTemplate> visibleIf;
};

// Rows with the same key form a group, with a header before and a footer after them.
struct DesignGroup
{
    TextTemplate key;
    DesignBand header;
    DesignBand footer;
    // Each group after the first starts on a new page.
    bool newPage = false;
    // When a group runs over a page break, its header is repeated on the next page ({@continued}).
    bool repeatHeader = false;
    // {@page} and {@pages} count the pages of each group on its own (one statement per person); such a
    // group always starts on a new page.
    bool restartPageNumbers = false;
};

// Rows of a second result set shown under each row of the report whose link field matches theirs.
struct DesignSubreport
{
    QString name;
    FieldScope fields;
    int linkField = -1;    // field of the report's rows
    int subLinkField = -1; // field of the subreport's rows
    DesignBand header;
    DesignBand detail;
    DesignBand footer;
};

// A sheet of labels: the report's first detail band is drawn into each label, across then down.
struct LabelSheet
{
    int columns = 1;
    int rows = 1;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double pitchX = 0;
    double pitchY = 0;

    int perPage() const { return columns * rows; }
    QRectF labelRect(int slot) const;
};

// Turns each row into several (or none): one per variant whose "when" template is not blank. The new
// rows carry extra fields whose values come from templates.
struct RowExpansion
{
    struct Variant
    {
        TextTemplate when;
        std::vector<TextTemplate> values;
    };
    int firstNewField = 0;
    std::vector<Variant> variants;
};

// A report design read from JSON: the fields it reads (in result-set order), its page, bands, groups,
// subreports and formats. Designs are resources named ":/designs/<name>.json".
class ReportDesign final
{
    Q_DECLARE_TR_FUNCTIONS(ReportDesign)

public:
    // The stored design with this name. Throws ReportError naming the design and the problem.
    static ReportDesign load(const QString& name);
    // A design from JSON text (for a design being edited, and for tests).
    static ReportDesign fromJson(const QString& name, const QByteArray& json);

    QString name;
    QString title;
    QPageSize pageSize = QPageSize(QPageSize::Letter);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins;
    ReportFont font;

    // The declared fields, then those added by the row expansion.
    FieldScope fields;
    int declaredFieldCount = 0;
    std::optional<RowExpansion> expansion;
    std::vector<TextTemplate> sortKeys;

    DesignBand reportHeader;
    DesignBand pageHeader;
    std::vector<DesignGroup> groups;
    std::vector<DesignBand> detail;
    std::vector<DesignSubreport> subreports;
    DesignBand reportFooter;
    DesignBand pageFooter;
    std::optional<LabelSheet> labels;

    QSizeF paperSize() const;
    // Width between the left and right margins.
    double bodyWidth() const;
};
