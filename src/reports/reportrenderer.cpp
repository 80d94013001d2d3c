#include "reports/reportrenderer.h"

#include "reports/reportdata.h"
#include "reports/reportdesign.h"
#include "reports/reporterror.h"
#include "reports/textfitter.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

constexpr double kEps = 0.01;

// The context under which this file's texts are translated.
class ReportRendererText
{
    Q_DECLARE_TR_FUNCTIONS(ReportRenderer)
};

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

QString squeezeLines(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        line = line.simplified();
    }
    return lines.join(u'\n');
}

bool overlapsHorizontally(const QRectF& a, const QRectF& b)
{
    return a.left() < b.right() - kEps && b.left() < a.right() - kEps;
}

// A band laid out for one row: items relative to the band's top left, and the height it takes.
struct Laid
{
    std::vector<PageItem> items;
    double height = 0;
    bool skipped = false;
};

using Layout = std::function<Laid(double maxHeight)>;

// One band to place, and how many group levels repeat their header if it starts a new page.
struct Pending
{
    Layout layout;
    int repeatLevels = 0;
};

void collectSums(const DesignBand& band, QList<int>& out)
{
    for (const DesignItem& item : band.items) {
        for (const TextTemplate& line : item.lines) {
            for (int field : line.summedFields()) {
                if (!out.contains(field)) {
                    out << field;
                }
            }
        }
    }
}

class Renderer final
{
public:
    Renderer(const ReportDesign& design, const ReportData& data)
        : m_design(design)
        , m_data(data)
    {
        const QSizeF paper = design.paperSize();
        m_left = design.margins.left();
        m_bodyTop = design.margins.top() + design.pageHeader.height;
        m_bodyBottom = paper.height() - design.margins.bottom() - design.pageFooter.height;
        m_doc.designName = design.name;
        m_doc.title = design.title;
        m_doc.pageSize = design.pageSize;
        m_doc.orientation = design.orientation;
        for (const DesignGroup& group : design.groups) {
            collectSums(group.header, m_summed);
            collectSums(group.footer, m_summed);
        }
        collectSums(design.reportHeader, m_summed);
        collectSums(design.reportFooter, m_summed);
    }

    ReportDocument run()
    {
        checkColumns(m_data.rows, m_design.declaredFieldCount, m_design.name);
        static const Rows kNoRows;
        for (const DesignSubreport& sub : m_design.subreports) {
            // The index points into the caller's rows, which outlive the run (value() would give a copy).
            const auto found = m_data.subreportRows.constFind(sub.name);
            const Rows& rows = found == m_data.subreportRows.constEnd() ? kNoRows : *found;
            checkColumns(rows, sub.fields.size(), m_design.name + u'/' + sub.name);
            if (sub.linkField < 0) {
                continue; // follows the labels as a whole
            }
            auto& index = m_subIndex[sub.name];
            for (const Row& row : rows) {
                index[row.value(sub.subLinkField).toString()].push_back(&row);
            }
        }
        m_rows = prepareRows();
        if (m_design.labels) {
            runLabels();
        } else {
            runBands();
        }
        decoratePages();
        return std::move(m_doc);
    }

private:
    static void checkColumns(const Rows& rows, int fieldCount, const QString& designName)
    {
        if (!rows.empty() && rows.front().columnCount() != fieldCount) {
            throw ReportError(
                ReportRendererText::tr("The report %1 cannot be built: its query gives %2 but the design declares %3.")
                    .arg(designName, ReportRendererText::tr("%n column(s)", nullptr, rows.front().columnCount()),
                         ReportRendererText::tr("%n field(s)", nullptr, fieldCount)));
        }
    }

    TemplateContext context(const Row* row) const
    {
        TemplateContext c;
        c.row = row;
        c.churchName = m_data.heading.churchName;
        c.title = m_design.title;
        c.printDate = m_data.heading.printDate;
        c.namedTexts = &m_data.namedTexts;
        c.aggregates = &m_reportTotals;
        return c;
    }

    // The rows in the order and number the design lays them out.
    Rows prepareRows()
    {
        Rows rows;
        if (m_design.expansion) {
            const RowExpansion& expansion = *m_design.expansion;
            auto columns = std::make_shared<const ColumnIndex>(m_design.fields.names());
            for (const Row& row : m_data.rows) {
                const TemplateContext c = context(&row);
                for (const RowExpansion::Variant& variant : expansion.variants) {
                    if (isBlank(variant.when.evaluate(c))) {
                        continue;
                    }
                    QVector<QVariant> values;
                    values.reserve(m_design.fields.size());
                    for (int i = 0; i < row.columnCount(); ++i) {
                        values << row.value(i);
                    }
                    for (const TextTemplate& value : variant.values) {
                        values << QVariant(value.evaluate(c));
                    }
                    rows.emplace_back(columns, std::move(values));
                }
            }
        } else {
            rows = m_data.rows;
        }
        if (!m_design.sortKeys.empty()) {
            std::vector<QStringList> keys;
            keys.reserve(rows.size());
            for (const Row& row : rows) {
                const TemplateContext c = context(&row);
                QStringList key;
                for (const TextTemplate& sortKey : m_design.sortKeys) {
                    key << sortKey.evaluate(c);
                }
                keys.push_back(key);
            }
            std::vector<std::size_t> order(rows.size());
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
                for (qsizetype k = 0; k < keys[a].size(); ++k) {
                    const int c = keys[a].at(k).compare(keys[b].at(k), Qt::CaseInsensitive);
                    if (c != 0) {
                        return c < 0;
                    }
                }
                return false;
            });
            Rows sorted;
            sorted.reserve(rows.size());
            for (std::size_t i : order) {
                sorted.push_back(std::move(rows[i]));
            }
            rows = std::move(sorted);
        }
        for (const Row& row : rows) {
            addToTotals(m_reportTotals, row);
        }
        return rows;
    }

    void addToTotals(Aggregates& totals, const Row& row) const
    {
        ++totals.count;
        for (int field : m_summed) {
            const FieldKind kind = m_design.fields.kind(field);
            if (kind == FieldKind::Integer || kind == FieldKind::Money) {
                totals.integerSums[field] += row.value(field).toLongLong();
            } else {
                totals.realSums[field] += row.value(field).toDouble();
            }
        }
    }

    QString composeText(const DesignItem& item, const TemplateContext& c) const
    {
        QStringList parts;
        for (const TextTemplate& line : item.lines) {
            QString text = line.evaluate(c);
            if (item.squeeze) {
                text = squeezeLines(text);
            }
            if (item.dropEmptyLines && isBlank(text)) {
                continue;
            }
            parts << text;
        }
        return parts.join(u'\n');
    }

    // Lays a band out for one row in no more than maxHeight points. Items that grow push the items
    // below them down, so nothing is drawn over anything else.
    Laid layoutBand(const DesignBand& band, const TemplateContext& c, double maxHeight)
    {
        Laid laid;
        if (!band.present || (band.visibleIf && isBlank(band.visibleIf->evaluate(c)))) {
            laid.skipped = true;
            return laid;
        }
        maxHeight = std::max(maxHeight, band.height);
        std::vector<std::size_t> order(band.items.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&band](std::size_t a, std::size_t b) {
            return band.items[a].rect.top() < band.items[b].rect.top();
        });
        struct Done
        {
            const DesignItem* item;
            double bottom; // where the item ends now
        };
        std::vector<Done> done;
        double height = band.height;
        for (std::size_t index : order) {
            const DesignItem& item = band.items[index];
            if (item.visibleIf && isBlank(item.visibleIf->evaluate(c))) {
                continue;
            }
            double shift = 0;
            for (const Done& d : done) {
                if (d.item->rect.bottom() <= item.rect.top() + kEps && overlapsHorizontally(d.item->rect, item.rect)) {
                    shift = std::max(shift, d.bottom - d.item->rect.bottom());
                }
            }
            const double top = item.rect.top() + shift;
            if (top + (item.grow ? 0 : item.rect.height()) > maxHeight + kEps || top >= maxHeight) {
                continue; // pushed off the band's room
            }
            PageItem out;
            out.rect = QRectF(item.rect.left(), top, item.rect.width(), item.rect.height());
            if (item.kind == DesignItem::Kind::Text) {
                const double room = item.grow ? maxHeight - top : item.rect.height();
                const TextFitter::Fit fit =
                    m_fitter.fit(composeText(item, c), item.font, item.rect.width(), room, item.wrap || item.grow);
                if (item.grow) {
                    out.rect.setHeight(std::min(room, std::max(item.rect.height(), fit.height())));
                }
                out.kind = PageItem::Kind::Text;
                out.text = fit.lines.join(u'\n');
                out.font = item.font;
                out.alignment = item.alignment;
                out.lineHeight = fit.lineHeight;
            } else {
                out.kind = item.kind == DesignItem::Kind::Line ? PageItem::Kind::Line : PageItem::Kind::Box;
                out.penWidth = item.penWidth;
                out.fill = item.fill;
            }
            done.push_back({&item, out.rect.bottom()});
            const double below = std::max(0.0, band.height - item.rect.bottom());
            height = std::max(height, out.rect.bottom() + below);
            if (out.kind != PageItem::Kind::Text || !isBlank(out.text)) {
                laid.items.push_back(std::move(out));
            }
        }
        laid.height = std::min(height, maxHeight);
        return laid;
    }

    void beginPage()
    {
        m_doc.pages.emplace_back();
        m_cursor = m_bodyTop;
        m_pageHasBody = false;
    }

    bool fits(double height) const { return m_cursor + height <= m_bodyBottom + kEps; }

    void append(const Laid& laid, double x, double y) { appendTo(m_doc.pages.back(), laid, x, y); }

    static void appendTo(ReportPage& page, const Laid& laid, double x, double y)
    {
        std::vector<PageItem>& items = page.items;
        for (PageItem item : laid.items) {
            item.rect.translate(x, y);
            items.push_back(std::move(item));
        }
    }

    // A new page; the headers of the groups that go on over the break are repeated on it.
    void breakPage(int repeatLevels)
    {
        beginPage();
        for (int level = 0; level < repeatLevels && level < int(m_design.groups.size()); ++level) {
            const DesignGroup& group = m_design.groups[std::size_t(level)];
            if (!group.repeatHeader || m_groupFirstRow[std::size_t(level)] == nullptr) {
                continue;
            }
            TemplateContext c = context(m_groupFirstRow[std::size_t(level)]);
            c.continued = true;
            c.aggregates = &m_groupTotals[std::size_t(level)][std::size_t(m_groupInstance[std::size_t(level)])];
            const Laid laid = layoutBand(group.header, c, m_bodyBottom - m_cursor);
            append(laid, m_left, m_cursor);
            m_cursor += laid.height;
        }
    }

    void place(const Pending& pending) { place(pending, pending.layout(m_bodyBottom - m_bodyTop)); }

    // Places a band laid out for a whole page; it is laid out again only if it must be cut to less.
    void place(const Pending& pending, Laid laid)
    {
        if (laid.skipped) {
            return;
        }
        if (!fits(laid.height) && m_pageHasBody) {
            breakPage(pending.repeatLevels);
        }
        if (!fits(laid.height)) {
            laid = pending.layout(m_bodyBottom - m_cursor);
        }
        append(laid, m_left, m_cursor);
        m_cursor += laid.height;
        m_pageHasBody = true;
    }

    // Places bands that belong together (a group header and its first row) on one page if they fit.
    void placeTogether(const std::vector<Pending>& bands)
    {
        if (bands.empty()) {
            return;
        }
        double total = 0;
        std::vector<Laid> laid;
        laid.reserve(bands.size());
        for (const Pending& pending : bands) {
            laid.push_back(pending.layout(m_bodyBottom - m_bodyTop));
            total += laid.back().skipped ? 0 : laid.back().height;
        }
        if (!fits(total) && m_pageHasBody && total <= m_bodyBottom - m_bodyTop + kEps) {
            breakPage(bands.front().repeatLevels);
        }
        for (std::size_t i = 0; i < bands.size(); ++i) {
            place(bands[i], std::move(laid[i]));
        }
    }

    Pending bandFor(const DesignBand& band, const TemplateContext& c, int repeatLevels)
    {
        return Pending{[this, &band, c](double maxHeight) { return layoutBand(band, c, maxHeight); }, repeatLevels};
    }

    void runBands()
    {
        const int levels = int(m_design.groups.size());
        // Group keys, group instances and their totals, worked out before anything is placed so that a
        // header can show its group's count.
        std::vector<QStringList> keys(m_rows.size());
        std::vector<std::vector<int>> instance(m_rows.size(), std::vector<int>(std::size_t(levels), 0));
        m_groupTotals.assign(std::size_t(levels), {});
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const TemplateContext c = context(&m_rows[i]);
            for (const DesignGroup& group : m_design.groups) {
                keys[i] << group.key.evaluate(c);
            }
            const int change = i == 0 ? 0 : firstChange(keys[i - 1], keys[i]);
            for (int level = 0; level < levels; ++level) {
                auto& totals = m_groupTotals[std::size_t(level)];
                if (level >= change) {
                    totals.emplace_back();
                }
                instance[i][std::size_t(level)] = int(totals.size()) - 1;
                addToTotals(totals.back(), m_rows[i]);
            }
        }
        m_groupFirstRow.assign(std::size_t(levels), nullptr);
        m_groupInstance.assign(std::size_t(levels), 0);

        beginPage();
        place(bandFor(m_design.reportHeader, context(nullptr), 0));
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const Row& row = m_rows[i];
            const int change = i == 0 ? 0 : firstChange(keys[i - 1], keys[i]);
            if (i > 0) {
                placeFooters(m_rows[i - 1], change);
            }
            std::vector<Pending> together;
            bool broken = false;
            for (int level = change; level < levels; ++level) {
                const DesignGroup& group = m_design.groups[std::size_t(level)];
                m_groupFirstRow[std::size_t(level)] = &row;
                m_groupInstance[std::size_t(level)] = instance[i][std::size_t(level)];
                // One break before all the headers that begin here, also when an outer group without
                // newPage changes together with an inner one that has it.
                if (group.newPage && i > 0 && m_pageHasBody && !broken) {
                    breakPage(level);
                    broken = true;
                }
                if (group.restartPageNumbers) {
                    restartPageNumbers();
                }
                TemplateContext c = context(&row);
                c.aggregates = &m_groupTotals[std::size_t(level)][std::size_t(instance[i][std::size_t(level)])];
                together.push_back(bandFor(group.header, c, level));
            }
            TemplateContext c = context(&row);
            c.rowNumber = int(i) + 1;
            for (const DesignBand& band : m_design.detail) {
                together.push_back(bandFor(band, c, levels));
            }
            placeTogether(together);
            placeSubreports(row);
        }
        if (!m_rows.empty()) {
            placeFooters(m_rows.back(), 0);
        }
        place(bandFor(m_design.reportFooter, context(nullptr), 0));
    }

    static int firstChange(const QStringList& before, const QStringList& now)
    {
        for (qsizetype level = 0; level < now.size(); ++level) {
            if (before.at(level).compare(now.at(level), Qt::CaseInsensitive) != 0) {
                return int(level);
            }
        }
        return int(now.size());
    }

    // Closes the groups from the innermost down to the given level.
    void placeFooters(const Row& lastRow, int downToLevel)
    {
        for (int level = int(m_design.groups.size()) - 1; level >= downToLevel; --level) {
            const DesignGroup& group = m_design.groups[std::size_t(level)];
            TemplateContext c = context(&lastRow);
            c.aggregates = &m_groupTotals[std::size_t(level)][std::size_t(m_groupInstance[std::size_t(level)])];
            place(bandFor(group.footer, c, level + 1));
            m_groupFirstRow[std::size_t(level)] = nullptr;
        }
    }

    void placeSubreports(const Row& row)
    {
        const int levels = int(m_design.groups.size());
        for (const DesignSubreport& sub : m_design.subreports) {
            const auto& index = m_subIndex[sub.name];
            const auto found = index.constFind(row.value(sub.linkField).toString());
            if (found == index.constEnd()) {
                continue;
            }
            const std::vector<const Row*>& subRows = *found;
            std::vector<Pending> together{bandFor(sub.header, context(subRows.front()), levels),
                                          bandFor(sub.detail, context(subRows.front()), levels)};
            placeTogether(together);
            for (std::size_t k = 1; k < subRows.size(); ++k) {
                place(bandFor(sub.detail, context(subRows[k]), levels));
            }
            place(bandFor(sub.footer, context(subRows.back()), levels));
        }
    }

    void runLabels()
    {
        const LabelSheet& sheet = *m_design.labels;
        const DesignBand& band = m_design.detail.front();
        if (m_rows.empty()) {
            beginPage();
        }
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const int slot = int(i % std::size_t(sheet.perPage()));
            if (slot == 0) {
                beginPage();
            }
            TemplateContext c = context(&m_rows[i]);
            c.rowNumber = int(i) + 1;
            const QRectF label = sheet.labelRect(slot);
            const Laid laid = layoutBand(band, c, sheet.height);
            append(laid, label.left(), label.top());
        }
        for (const DesignSubreport& sub : m_design.subreports) {
            placeAfterLabels(sub);
        }
    }

    // A label sheet's subreport: its rows listed on pages of their own after the last label.
    void placeAfterLabels(const DesignSubreport& sub)
    {
        const auto found = m_data.subreportRows.constFind(sub.name);
        if (found == m_data.subreportRows.constEnd() || found->empty()) {
            return;
        }
        const Rows& rows = *found;
        beginPage();
        place(bandFor(sub.header, context(&rows.front()), 0));
        for (const Row& row : rows) {
            place(bandFor(sub.detail, context(&row), 0));
        }
        place(bandFor(sub.footer, context(&rows.back()), 0));
    }

    // The current page is the first of a group that numbers its pages on its own.
    void restartPageNumbers()
    {
        const int page = int(m_doc.pages.size()) - 1;
        if (m_numberingStarts.empty() || m_numberingStarts.back() < page) {
            m_numberingStarts.push_back(page);
        }
    }

    // Page headers and footers go on last, when the number of pages is known. Pages are counted from
    // the report's start, or from the start of each group that restarts the numbers.
    void decoratePages()
    {
        const double footerTop = m_design.paperSize().height() - m_design.margins.bottom() - m_design.pageFooter.height;
        const int pages = int(m_doc.pages.size());
        std::vector<int> starts = m_numberingStarts;
        if (starts.empty() || starts.front() != 0) {
            starts.insert(starts.begin(), 0);
        }
        std::size_t run = 0;
        for (int p = 0; p < pages; ++p) {
            while (run + 1 < starts.size() && starts[run + 1] <= p) {
                ++run;
            }
            const int runEnd = run + 1 < starts.size() ? starts[run + 1] : pages;
            TemplateContext c = context(nullptr);
            c.page = p - starts[run] + 1;
            c.pages = runEnd - starts[run];
            const Laid header = layoutBand(m_design.pageHeader, c, m_design.pageHeader.height);
            const Laid footer = layoutBand(m_design.pageFooter, c, m_design.pageFooter.height);
            ReportPage& page = m_doc.pages[std::size_t(p)];
            appendTo(page, header, m_left, m_design.margins.top());
            appendTo(page, footer, m_left, footerTop);
        }
    }

    const ReportDesign& m_design;
    const ReportData& m_data;
    TextFitter m_fitter;
    ReportDocument m_doc;
    Rows m_rows;
    QList<int> m_summed;
    Aggregates m_reportTotals;
    std::vector<std::vector<Aggregates>> m_groupTotals;
    std::vector<const Row*> m_groupFirstRow;
    std::vector<int> m_groupInstance;
    // The pages on which the page numbers start again at 1, in order.
    std::vector<int> m_numberingStarts;
    QHash<QString, QHash<QString, std::vector<const Row*>>> m_subIndex;
    double m_left = 0;
    double m_bodyTop = 0;
    double m_bodyBottom = 0;
    double m_cursor = 0;
    bool m_pageHasBody = false;
};

} // namespace

namespace ReportRenderer {

ReportDocument render(const ReportDesign& design, const ReportData& data)
{
    return Renderer(design, data).run();
}

} // namespace ReportRenderer
