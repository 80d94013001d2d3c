#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVariant>

#include <optional>

// What a design declares a field to hold; it decides how the value is shown when no format is given.
enum class FieldKind { Text, Integer, Number, Date, Boolean, Money };

// How one value is turned into text on a report.
struct ValueFormat
{
    enum class Style {
        Default,     // by the field's kind
        Text,        // as stored
        Date,        // pattern in Qt date notation, "MM/dd/yyyy" by default
        DateTime,    // a stored date and time, pattern in Qt notation, "MM/dd/yyyy h:mm:ss AP" by default
        Money,       // whole cents shown as $#,##0.00
        Boolean,     // yes / no texts, "Yes" / "No" by default
        Phone,       // the phone pattern (###) ###-####
        Month,       // month name of a date: "January"
        MonthDay,    // "MM-dd" of a date: sorts through the calendar year
        Initial,     // first letter, upper case; "#" for a text that does not start with a letter
        Upper,       // upper case
        TitlePrefix, // a title written before the name (Dr., Rev., ...), else empty
        TitleSuffix, // a title written after the name (Jr., III, ...), else empty
    };

    Style style = Style::Default;
    QString pattern;
    QString yes;
    QString no;
};

namespace FieldFormat {

// Reads a format written after '|' in a design ("date", "date:MMMM d", "datetime", "money", "bool:X/", ...).
// Returns nothing when the format is unknown.
std::optional<ValueFormat> parse(const QString& formatText);
// Reads a field kind name of a design ("text", "memo", "int", "num", "date", "bool", "money").
std::optional<FieldKind> parseKind(const QString& name);

// Money fields and the money format write whole cents with formatAmount() of the shell, as screens do.
QString format(const QVariant& value, FieldKind kind, const ValueFormat& format);

} // namespace FieldFormat
