#include "reports/reportdesign.h"

#include "reports/reporterror.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>

#include <cmath>

namespace {

constexpr double kTolerance = 0.01;

// Reads one design, keeping the path of the part being read so that a mistake can be pointed at.
class DesignReader final
{
public:
    explicit DesignReader(ReportDesign& design)
        : m_design(design)
    {}

    void read(const QJsonObject& root)
    {
        allowOnly(root, {"title", "page", "font", "fields", "expand", "sort", "reportHeader", "pageHeader", "groups",
                         "detail", "subreports", "reportFooter", "pageFooter", "labels"});
        m_design.title = requiredString(root, "title");
        readPage(root.value(QStringLiteral("page")));
        m_design.font = ReportFont{QStringLiteral("DejaVu Sans"), 9, false, false};
        if (root.contains(QStringLiteral("font"))) {
            Scope scope(*this, QStringLiteral("font"));
            m_design.font = readFont(object(root.value(QStringLiteral("font"))), m_design.font);
        }
        readFields(root);
        readExpansion(root);
        readSort(root);

        if (root.contains(QStringLiteral("labels"))) {
            readLabels(object(root.value(QStringLiteral("labels")), QStringLiteral("labels")));
        }
        const double width = m_design.labels ? m_design.labels->width : m_design.bodyWidth();
        m_design.pageHeader = optionalBand(root, "pageHeader", m_design.fields, m_design.bodyWidth());
        m_design.pageFooter = optionalBand(root, "pageFooter", m_design.fields, m_design.bodyWidth());
        m_design.reportHeader = optionalBand(root, "reportHeader", m_design.fields, m_design.bodyWidth());
        m_design.reportFooter = optionalBand(root, "reportFooter", m_design.fields, m_design.bodyWidth());
        readGroups(root);
        readDetail(root, width);
        readSubreports(root);
        checkPage();
    }

    [[noreturn]] void fail(const QString& problem) const
    {
        const QString where = m_path.isEmpty() ? QString() : ReportDesign::tr(" (at %1)").arg(m_path.join(u'.'));
        throw ReportError(
            ReportDesign::tr("The report design %1 cannot be used: %2%3.").arg(m_design.name, problem, where));
    }

private:
    // Names the part being read for the time it is in scope.
    class Scope final
    {
    public:
        Scope(DesignReader& reader, const QString& part)
            : m_reader(reader)
        {
            m_reader.m_path << part;
        }
        ~Scope() { m_reader.m_path.removeLast(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        DesignReader& m_reader;
    };

    static QString key(const char* name) { return QString::fromUtf8(name); }

    void allowOnly(const QJsonObject& object, std::initializer_list<const char*> keys)
    {
        QSet<QString> allowed;
        for (const char* k : keys) {
            allowed.insert(key(k));
        }
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!allowed.contains(it.key())) {
                fail(ReportDesign::tr("unknown entry \"%1\"").arg(it.key()));
            }
        }
    }

    QJsonObject object(const QJsonValue& value, const QString& what = {})
    {
        if (!value.isObject()) {
            fail(what.isEmpty() ? ReportDesign::tr("an object was expected")
                                : ReportDesign::tr("\"%1\" must be an object").arg(what));
        }
        return value.toObject();
    }

    QJsonArray array(const QJsonValue& value, const QString& what)
    {
        if (!value.isArray()) {
            fail(ReportDesign::tr("\"%1\" must be a list").arg(what));
        }
        return value.toArray();
    }

    QString requiredString(const QJsonObject& object, const char* name)
    {
        const QJsonValue value = object.value(key(name));
        if (!value.isString() || value.toString().trimmed().isEmpty()) {
            fail(ReportDesign::tr("\"%1\" is missing or not a text").arg(key(name)));
        }
        return value.toString();
    }

    QString optionalString(const QJsonObject& object, const char* name, const QString& fallback = {})
    {
        const QJsonValue value = object.value(key(name));
        if (value.isUndefined()) {
            return fallback;
        }
        if (!value.isString()) {
            fail(ReportDesign::tr("\"%1\" must be a text").arg(key(name)));
        }
        return value.toString();
    }

    double number(const QJsonObject& object, const char* name, std::optional<double> fallback = std::nullopt)
    {
        const QJsonValue value = object.value(key(name));
        if (value.isUndefined() && fallback) {
            return *fallback;
        }
        if (!value.isDouble() || !std::isfinite(value.toDouble())) {
            fail(ReportDesign::tr("\"%1\" is missing or not a number").arg(key(name)));
        }
        if (value.toDouble() < 0) {
            fail(ReportDesign::tr("\"%1\" must not be negative").arg(key(name)));
        }
        return value.toDouble();
    }

    int count(const QJsonObject& object, const char* name)
    {
        const double value = number(object, name);
        if (value < 1 || value != std::floor(value) || value > 1000) {
            fail(ReportDesign::tr("\"%1\" must be a whole number from 1 to 1000").arg(key(name)));
        }
        return int(value);
    }

    bool flag(const QJsonObject& object, const char* name)
    {
        const QJsonValue value = object.value(key(name));
        if (value.isUndefined()) {
            return false;
        }
        if (!value.isBool()) {
            fail(ReportDesign::tr("\"%1\" must be true or false").arg(key(name)));
        }
        return value.toBool();
    }

    TextTemplate parseTemplate(const QString& source, const FieldScope& scope)
    {
        QString error;
        auto parsed = TextTemplate::parse(source, scope, &error);
        if (!parsed) {
            fail(ReportDesign::tr("in \"%1\": %2").arg(source, error));
        }
        return std::move(*parsed);
    }

    void readPage(const QJsonValue& value)
    {
        Scope scope(*this, QStringLiteral("page"));
        const QJsonObject page = object(value, QStringLiteral("page"));
        allowOnly(page, {"size", "orientation", "margins"});
        const QString size = optionalString(page, "size", QStringLiteral("Letter"));
        if (size.compare(u"Letter", Qt::CaseInsensitive) == 0) {
            m_design.pageSize = QPageSize(QPageSize::Letter);
        } else if (size.compare(u"Legal", Qt::CaseInsensitive) == 0) {
            m_design.pageSize = QPageSize(QPageSize::Legal);
        } else if (size.compare(u"A4", Qt::CaseInsensitive) == 0) {
            m_design.pageSize = QPageSize(QPageSize::A4);
        } else {
            fail(ReportDesign::tr("unknown page size \"%1\" (Letter, Legal or A4)").arg(size));
        }
        const QString orientation = optionalString(page, "orientation", QStringLiteral("portrait"));
        if (orientation.compare(u"portrait", Qt::CaseInsensitive) == 0) {
            m_design.orientation = QPageLayout::Portrait;
        } else if (orientation.compare(u"landscape", Qt::CaseInsensitive) == 0) {
            m_design.orientation = QPageLayout::Landscape;
        } else {
            fail(ReportDesign::tr("unknown orientation \"%1\" (portrait or landscape)").arg(orientation));
        }
        Scope marginScope(*this, QStringLiteral("margins"));
        const QJsonObject margins = object(page.value(QStringLiteral("margins")), QStringLiteral("margins"));
        allowOnly(margins, {"left", "top", "right", "bottom"});
        m_design.margins = QMarginsF(number(margins, "left"), number(margins, "top"), number(margins, "right"),
                                     number(margins, "bottom"));
        const QSizeF paper = m_design.paperSize();
        if (m_design.margins.left() + m_design.margins.right() >= paper.width() - 72 ||
            m_design.margins.top() + m_design.margins.bottom() >= paper.height() - 72) {
            fail(ReportDesign::tr("the margins leave no room on the page"));
        }
    }

    ReportFont readFont(const QJsonObject& font, ReportFont base)
    {
        allowOnly(font, {"family", "size", "bold", "italic"});
        base.family = optionalString(font, "family", base.family);
        base.size = number(font, "size", base.size);
        if (base.size < 4 || base.size > 72) {
            fail(ReportDesign::tr("a font size must lie between 4 and 72 points"));
        }
        if (font.contains(QStringLiteral("bold"))) {
            base.bold = flag(font, "bold");
        }
        if (font.contains(QStringLiteral("italic"))) {
            base.italic = flag(font, "italic");
        }
        return base;
    }

    // "Name" or "Name:kind".
    void addField(FieldScope& scope, const QJsonValue& value)
    {
        if (!value.isString() || value.toString().trimmed().isEmpty()) {
            fail(ReportDesign::tr("a field must be written as \"Name\" or \"Name:kind\""));
        }
        const QString text = value.toString();
        const qsizetype colon = text.lastIndexOf(u':');
        const QString name = (colon < 0 ? text : text.left(colon)).trimmed();
        FieldKind kind = FieldKind::Text;
        if (colon >= 0) {
            const auto parsed = FieldFormat::parseKind(text.mid(colon + 1));
            if (!parsed) {
                fail(ReportDesign::tr("unknown field kind in \"%1\" (text, memo, int, num, date, bool, money)")
                         .arg(text));
            }
            kind = *parsed;
        }
        if (scope.indexOf(name)) {
            fail(ReportDesign::tr("the field \"%1\" is declared twice").arg(name));
        }
        scope.add(name, kind);
    }

    void readFields(const QJsonObject& root)
    {
        Scope scope(*this, QStringLiteral("fields"));
        const QJsonArray fields = array(root.value(QStringLiteral("fields")), QStringLiteral("fields"));
        if (fields.isEmpty()) {
            fail(ReportDesign::tr("a design must declare its fields"));
        }
        for (const QJsonValue& field : fields) {
            addField(m_design.fields, field);
        }
        m_design.declaredFieldCount = m_design.fields.size();
    }

    void readExpansion(const QJsonObject& root)
    {
        if (!root.contains(QStringLiteral("expand"))) {
            return;
        }
        Scope scope(*this, QStringLiteral("expand"));
        const QJsonObject expand = object(root.value(QStringLiteral("expand")), QStringLiteral("expand"));
        allowOnly(expand, {"fields", "rows"});
        const FieldScope declared = m_design.fields;
        RowExpansion expansion;
        expansion.firstNewField = m_design.fields.size();
        const QJsonArray fields = array(expand.value(QStringLiteral("fields")), QStringLiteral("fields"));
        for (const QJsonValue& field : fields) {
            addField(m_design.fields, field);
        }
        const QJsonArray variants = array(expand.value(QStringLiteral("rows")), QStringLiteral("rows"));
        if (fields.isEmpty() || variants.isEmpty()) {
            fail(ReportDesign::tr("an expansion needs fields and rows"));
        }
        for (qsizetype i = 0; i < variants.size(); ++i) {
            Scope rowScope(*this, QStringLiteral("rows[%1]").arg(i));
            const QJsonObject variant = object(variants.at(i));
            allowOnly(variant, {"when", "values"});
            RowExpansion::Variant v;
            v.when = parseTemplate(requiredString(variant, "when"), declared);
            const QJsonArray values = array(variant.value(QStringLiteral("values")), QStringLiteral("values"));
            if (values.size() != fields.size()) {
                fail(ReportDesign::tr("each row needs one value per new field"));
            }
            for (const QJsonValue& value : values) {
                v.values.push_back(parseTemplate(value.toString(), declared));
            }
            expansion.variants.push_back(std::move(v));
        }
        m_design.expansion = std::move(expansion);
    }

    void readSort(const QJsonObject& root)
    {
        if (!root.contains(QStringLiteral("sort"))) {
            return;
        }
        Scope scope(*this, QStringLiteral("sort"));
        for (const QJsonValue& key : array(root.value(QStringLiteral("sort")), QStringLiteral("sort"))) {
            m_design.sortKeys.push_back(parseTemplate(key.toString(), m_design.fields));
        }
    }

    void readLabels(const QJsonObject& labels)
    {
        Scope scope(*this, QStringLiteral("labels"));
        allowOnly(labels, {"columns", "rows", "left", "top", "width", "height", "pitchX", "pitchY"});
        LabelSheet sheet;
        sheet.columns = count(labels, "columns");
        sheet.rows = count(labels, "rows");
        sheet.left = number(labels, "left");
        sheet.top = number(labels, "top");
        sheet.width = number(labels, "width");
        sheet.height = number(labels, "height");
        sheet.pitchX = number(labels, "pitchX");
        sheet.pitchY = number(labels, "pitchY");
        if (sheet.width <= 0 || sheet.height <= 0) {
            fail(ReportDesign::tr("a label needs a width and a height"));
        }
        if ((sheet.columns > 1 && sheet.pitchX + kTolerance < sheet.width) ||
            (sheet.rows > 1 && sheet.pitchY + kTolerance < sheet.height)) {
            fail(ReportDesign::tr("the labels overlap (the pitch is smaller than the label)"));
        }
        const QSizeF paper = m_design.paperSize();
        const QRectF last = sheet.labelRect(sheet.perPage() - 1);
        if (last.right() > paper.width() + kTolerance || last.bottom() > paper.height() + kTolerance) {
            fail(ReportDesign::tr("the labels do not fit on the page"));
        }
        m_design.labels = sheet;
    }

    DesignItem readItem(const QJsonObject& item, const FieldScope& fields, double bandWidth, double bandHeight)
    {
        DesignItem out;
        const QString type = requiredString(item, "type");
        if (type == u"text") {
            out.kind = DesignItem::Kind::Text;
            allowOnly(item, {"type", "x", "y", "width", "height", "value", "lines", "font", "align", "wrap", "grow",
                             "squeeze", "visibleIf"});
        } else if (type == u"line") {
            out.kind = DesignItem::Kind::Line;
            allowOnly(item, {"type", "x", "y", "width", "height", "pen", "visibleIf"});
        } else if (type == u"box") {
            out.kind = DesignItem::Kind::Box;
            allowOnly(item, {"type", "x", "y", "width", "height", "pen", "fill", "visibleIf"});
        } else {
            fail(ReportDesign::tr("unknown item type \"%1\" (text, line or box)").arg(type));
        }
        const double x = number(item, "x");
        const double y = number(item, "y");
        const double width =
            number(item, "width", out.kind == DesignItem::Kind::Line ? std::optional(0.0) : std::nullopt);
        const double height =
            number(item, "height", out.kind == DesignItem::Kind::Line ? std::optional(0.0) : std::nullopt);
        out.rect = QRectF(x, y, width, height);
        if (out.kind != DesignItem::Kind::Line && (width <= 0 || height <= 0)) {
            fail(ReportDesign::tr("a text or box needs a width and a height"));
        }
        if (out.rect.right() > bandWidth + kTolerance) {
            fail(ReportDesign::tr("the item reaches beyond the right edge (%1 points wide)").arg(bandWidth));
        }
        if (out.rect.bottom() > bandHeight + kTolerance) {
            fail(ReportDesign::tr("the item reaches below its band (%1 points high)").arg(bandHeight));
        }
        if (item.contains(QStringLiteral("visibleIf"))) {
            out.visibleIf = parseTemplate(requiredString(item, "visibleIf"), fields);
        }
        if (out.kind == DesignItem::Kind::Text) {
            readTextItem(item, fields, out);
        } else {
            out.penWidth = number(item, "pen", 0.5);
            if (item.contains(QStringLiteral("fill"))) {
                out.fill = QColor(requiredString(item, "fill"));
                if (!out.fill.isValid()) {
                    fail(ReportDesign::tr("the fill colour must be written as #rrggbb"));
                }
            }
        }
        return out;
    }

    void readTextItem(const QJsonObject& item, const FieldScope& fields, DesignItem& out)
    {
        const bool hasValue = item.contains(QStringLiteral("value"));
        const bool hasLines = item.contains(QStringLiteral("lines"));
        if (hasValue == hasLines) {
            fail(ReportDesign::tr("a text item needs either \"value\" or \"lines\""));
        }
        if (hasValue) {
            out.lines.push_back(parseTemplate(requiredString(item, "value"), fields));
        } else {
            out.dropEmptyLines = true;
            for (const QJsonValue& line : array(item.value(QStringLiteral("lines")), QStringLiteral("lines"))) {
                if (!line.isString()) {
                    fail(ReportDesign::tr("each of \"lines\" must be a text"));
                }
                out.lines.push_back(parseTemplate(line.toString(), fields));
            }
        }
        out.font = m_design.font;
        if (item.contains(QStringLiteral("font"))) {
            Scope scope(*this, QStringLiteral("font"));
            out.font = readFont(object(item.value(QStringLiteral("font"))), m_design.font);
        }
        const QString align = optionalString(item, "align", QStringLiteral("left"));
        if (align == u"left") {
            out.alignment = Qt::AlignLeft;
        } else if (align == u"center") {
            out.alignment = Qt::AlignHCenter;
        } else if (align == u"right") {
            out.alignment = Qt::AlignRight;
        } else {
            fail(ReportDesign::tr("unknown alignment \"%1\" (left, center or right)").arg(align));
        }
        out.wrap = flag(item, "wrap");
        out.grow = flag(item, "grow");
        out.squeeze = flag(item, "squeeze");
    }

    DesignBand readBand(const QJsonValue& value, const FieldScope& fields, double width)
    {
        const QJsonObject band = object(value);
        allowOnly(band, {"height", "items", "visibleIf"});
        DesignBand out;
        out.present = true;
        out.height = number(band, "height");
        if (band.contains(QStringLiteral("visibleIf"))) {
            out.visibleIf = parseTemplate(requiredString(band, "visibleIf"), fields);
        }
        const QJsonArray items = band.contains(QStringLiteral("items"))
                                     ? array(band.value(QStringLiteral("items")), QStringLiteral("items"))
                                     : QJsonArray();
        for (qsizetype i = 0; i < items.size(); ++i) {
            Scope scope(*this, QStringLiteral("items[%1]").arg(i));
            out.items.push_back(readItem(object(items.at(i)), fields, width, out.height));
        }
        // Texts that share room would be drawn over each other; boxes and lines may lie under texts.
        for (std::size_t a = 0; a < out.items.size(); ++a) {
            for (std::size_t b = a + 1; b < out.items.size(); ++b) {
                const DesignItem& first = out.items[a];
                const DesignItem& second = out.items[b];
                const QRectF common = first.rect.intersected(second.rect);
                if (first.kind == DesignItem::Kind::Text && second.kind == DesignItem::Kind::Text &&
                    common.width() > kTolerance && common.height() > kTolerance) {
                    fail(ReportDesign::tr("the texts items[%1] and items[%2] overlap").arg(a).arg(b));
                }
            }
        }
        return out;
    }

    DesignBand optionalBand(const QJsonObject& parent, const char* name, const FieldScope& fields, double width)
    {
        if (!parent.contains(key(name))) {
            return {};
        }
        Scope scope(*this, key(name));
        return readBand(parent.value(key(name)), fields, width);
    }

    void readGroups(const QJsonObject& root)
    {
        if (!root.contains(QStringLiteral("groups"))) {
            return;
        }
        if (m_design.labels) {
            fail(ReportDesign::tr("a label sheet has no groups"));
        }
        const QJsonArray groups = array(root.value(QStringLiteral("groups")), QStringLiteral("groups"));
        for (qsizetype i = 0; i < groups.size(); ++i) {
            Scope scope(*this, QStringLiteral("groups[%1]").arg(i));
            const QJsonObject group = object(groups.at(i));
            allowOnly(group, {"key", "header", "footer", "newPage", "repeatHeader", "restartPageNumbers"});
            DesignGroup out;
            out.key = parseTemplate(requiredString(group, "key"), m_design.fields);
            out.header = optionalBand(group, "header", m_design.fields, m_design.bodyWidth());
            out.footer = optionalBand(group, "footer", m_design.fields, m_design.bodyWidth());
            out.newPage = flag(group, "newPage");
            out.repeatHeader = flag(group, "repeatHeader");
            out.restartPageNumbers = flag(group, "restartPageNumbers");
            // Numbers that start again at 1 only make sense on a group's own pages.
            out.newPage = out.newPage || out.restartPageNumbers;
            m_design.groups.push_back(std::move(out));
        }
    }

    void readDetail(const QJsonObject& root, double width)
    {
        Scope scope(*this, QStringLiteral("detail"));
        const QJsonValue detail = root.value(QStringLiteral("detail"));
        if (detail.isObject()) {
            m_design.detail.push_back(readBand(detail, m_design.fields, width));
        } else if (detail.isArray() && !detail.toArray().isEmpty()) {
            const QJsonArray bands = detail.toArray();
            for (qsizetype i = 0; i < bands.size(); ++i) {
                Scope bandScope(*this, QStringLiteral("[%1]").arg(i));
                m_design.detail.push_back(readBand(bands.at(i), m_design.fields, width));
            }
        } else {
            fail(ReportDesign::tr("a design needs a detail band"));
        }
        if (m_design.labels) {
            if (m_design.detail.size() != 1) {
                fail(ReportDesign::tr("a label sheet has exactly one detail band"));
            }
            if (m_design.detail.front().height > m_design.labels->height + kTolerance) {
                fail(ReportDesign::tr("the detail band is higher than a label"));
            }
        }
    }

    void readSubreports(const QJsonObject& root)
    {
        if (!root.contains(QStringLiteral("subreports"))) {
            return;
        }
        const QJsonArray subreports = array(root.value(QStringLiteral("subreports")), QStringLiteral("subreports"));
        for (qsizetype i = 0; i < subreports.size(); ++i) {
            Scope scope(*this, QStringLiteral("subreports[%1]").arg(i));
            const QJsonObject sub = object(subreports.at(i));
            allowOnly(sub, {"name", "fields", "link", "header", "detail", "footer"});
            DesignSubreport out;
            out.name = requiredString(sub, "name");
            for (const QJsonValue& field : array(sub.value(QStringLiteral("fields")), QStringLiteral("fields"))) {
                addField(out.fields, field);
            }
            // A label sheet's subreports follow the labels (a list of those left out); elsewhere a
            // subreport's rows follow the report's row they are linked to.
            if (m_design.labels) {
                if (sub.contains(QStringLiteral("link"))) {
                    fail(ReportDesign::tr("a label sheet's subreport follows the labels and has no link"));
                }
            } else {
                const QJsonObject link = object(sub.value(QStringLiteral("link")), QStringLiteral("link"));
                allowOnly(link, {"field", "subField"});
                const auto linkField = m_design.fields.indexOf(requiredString(link, "field"));
                const auto subLinkField = out.fields.indexOf(requiredString(link, "subField"));
                if (!linkField || !subLinkField) {
                    fail(ReportDesign::tr("the link names a field that is not declared"));
                }
                out.linkField = *linkField;
                out.subLinkField = *subLinkField;
            }
            out.header = optionalBand(sub, "header", out.fields, m_design.bodyWidth());
            {
                Scope detailScope(*this, QStringLiteral("detail"));
                out.detail = readBand(sub.value(QStringLiteral("detail")), out.fields, m_design.bodyWidth());
            }
            out.footer = optionalBand(sub, "footer", out.fields, m_design.bodyWidth());
            m_design.subreports.push_back(std::move(out));
        }
    }

    void checkPage()
    {
        const QSizeF paper = m_design.paperSize();
        const double bodyTop = m_design.margins.top() + m_design.pageHeader.height;
        const double bodyBottom = paper.height() - m_design.margins.bottom() - m_design.pageFooter.height;
        if (m_design.labels) {
            const QRectF first = m_design.labels->labelRect(0);
            const QRectF last = m_design.labels->labelRect(m_design.labels->perPage() - 1);
            if (first.top() + kTolerance < bodyTop || last.bottom() > bodyBottom + kTolerance) {
                fail(ReportDesign::tr("the page header or footer overlaps the labels"));
            }
            return;
        }
        double tallest = 0;
        for (const DesignBand& band : m_design.detail) {
            tallest = std::max(tallest, band.height);
        }
        for (const DesignGroup& group : m_design.groups) {
            tallest = std::max({tallest, group.header.height, group.footer.height});
        }
        tallest = std::max({tallest, m_design.reportHeader.height, m_design.reportFooter.height});
        if (bodyBottom - bodyTop < tallest + kTolerance) {
            fail(ReportDesign::tr("a band is higher than the room between page header and footer"));
        }
    }

    ReportDesign& m_design;
    QStringList m_path;
};

} // namespace

QRectF LabelSheet::labelRect(int slot) const
{
    const int column = slot % columns;
    const int row = slot / columns;
    return QRectF(left + column * pitchX, top + row * pitchY, width, height);
}

ReportDesign ReportDesign::load(const QString& name)
{
    QFile file(QStringLiteral(":/designs/%1.json").arg(name));
    if (!file.open(QIODevice::ReadOnly)) {
        throw ReportError(tr("The report design %1 was not found.").arg(name));
    }
    return fromJson(name, file.readAll());
}

ReportDesign ReportDesign::fromJson(const QString& name, const QByteArray& json)
{
    ReportDesign design;
    design.name = name;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        // The line of the mistake helps whoever edits the file more than a character offset.
        const int line = int(json.left(error.offset).count('\n')) + 1;
        throw ReportError(
            tr("The report design %1 cannot be used: %2 on line %3.").arg(name, error.errorString()).arg(line));
    }
    if (!document.isObject()) {
        throw ReportError(tr("The report design %1 cannot be used: it is not a JSON object.").arg(name));
    }
    DesignReader(design).read(document.object());
    return design;
}

QSizeF ReportDesign::paperSize() const
{
    const QSizeF size = pageSize.size(QPageSize::Point);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}

double ReportDesign::bodyWidth() const
{
    return paperSize().width() - margins.left() - margins.right();
}
