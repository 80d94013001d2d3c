#pragma once

#include "reports/fieldformat.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class Row;

// The fields a template may name: a design's declared fields (and the fields its rows gain), or the
// fields of one of its subreports. Names are matched without regard to case.
class FieldScope final
{
public:
    void add(const QString& name, FieldKind kind);
    std::optional<int> indexOf(const QString& name) const;
    int size() const { return int(m_names.size()); }
    const QStringList& names() const { return m_names; }
    FieldKind kind(int index) const { return m_kinds.at(std::size_t(index)); }

private:
    QStringList m_names;
    std::vector<FieldKind> m_kinds;
    QHash<QString, int> m_byFoldedName;
};

// Running totals of the rows of one group, or of the whole report.
struct Aggregates
{
    int count = 0;
    QHash<int, qint64> integerSums;
    QHash<int, double> realSums;
};

// What a template is evaluated against.
struct TemplateContext
{
    const Row* row = nullptr;
    QString churchName;
    QString title;
    QDate printDate;
    const QHash<QString, QString>* namedTexts = nullptr;
    int page = 0;
    int pages = 0;
    int rowNumber = 0;
    bool continued = false;
    const Aggregates* aggregates = nullptr;
};

// A text of a design with values in it:
//   {Field} or {Field|format}   a field of the current row ("{Date_Of_Birth|date:MMMM d}")
//   {$Name}                     a named text the report's builder sets
//   {@church} {@title} {@printDate} {@page} {@pages} {@count} {@rowNumber} {@continued}
//   {@sum:Field|format}         the running total of a field over the group or report
//   [ ... ]                     left out when every value inside it is empty (", {State}")
// A backslash takes the next character literally.
class TextTemplate final
{
public:
    TextTemplate();
    ~TextTemplate();
    TextTemplate(const TextTemplate&);
    TextTemplate& operator=(const TextTemplate&);
    TextTemplate(TextTemplate&&) noexcept;
    TextTemplate& operator=(TextTemplate&&) noexcept;

    // Reads a template; on a mistake returns nothing and sets the error text.
    static std::optional<TextTemplate> parse(const QString& source, const FieldScope& scope, QString* error);

    QString evaluate(const TemplateContext& context) const;
    bool isEmpty() const;
    // True when the template shows the page number or count (laid out after paging).
    bool usesPageNumbers() const;
    // The fields whose totals the template shows ({@sum:Field}).
    QList<int> summedFields() const;

    struct Segment;

private:
    std::shared_ptr<const std::vector<Segment>> m_segments;
};
