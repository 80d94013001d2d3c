#include "reports/fieldformat.h"

#include "core/money.h"
#include "core/textformat.h"
#include "data/sqlvalue.h"
#include "data/unicodefunctions.h"

#include <QLocale>
#include <QStringList>

namespace {

// Reports are written for a US congregation: month names and digit grouping do not follow the desktop.
const QLocale& usLocale()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

const QString& defaultDatePattern()
{
    static const QString pattern = QStringLiteral("MM/dd/yyyy");
    return pattern;
}

const QString& defaultDateTimePattern()
{
    static const QString pattern = QStringLiteral("MM/dd/yyyy h:mm:ss AP");
    return pattern;
}

std::optional<QDateTime> dateTimeOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime) {
        return value.toDateTime();
    }
    return SqlValue::toDateTime(value);
}

std::optional<QDate> dateOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate) {
        return value.toDate();
    }
    return SqlValue::toDate(value);
}

bool isTrue(const QVariant& value)
{
    if (value.isNull()) {
        return false;
    }
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        return !text.isEmpty() && text != u'0' && text.compare(u"false", Qt::CaseInsensitive) != 0;
    }
    return value.toLongLong() != 0;
}

// Titles that go before a name; every other title follows it.
bool isPrefixTitle(const QString& title)
{
    static const QStringList prefixes = {QStringLiteral("Dr."),    QStringLiteral("Rev."), QStringLiteral("Mr."),
                                         QStringLiteral("Mrs."),   QStringLiteral("Ms."),  QStringLiteral("Miss"),
                                         QStringLiteral("Pastor"), QStringLiteral("Bro."), QStringLiteral("Sis."),
                                         QStringLiteral("Dr"),     QStringLiteral("Rev")};
    return prefixes.contains(title, Qt::CaseInsensitive);
}

QString byKind(const QVariant& value, FieldKind kind)
{
    switch (kind) {
        case FieldKind::Date: {
            const auto date = dateOf(value);
            return date ? usLocale().toString(*date, defaultDatePattern()) : QString();
        }
        case FieldKind::Boolean:
            return isTrue(value) ? QCoreApplication::translate("Reports", "Yes")
                                 : QCoreApplication::translate("Reports", "No");
        case FieldKind::Money:
            return value.isNull() ? QString() : formatAmount(value.toLongLong());
        case FieldKind::Integer:
        case FieldKind::Number:
        case FieldKind::Text:
            break;
    }
    return value.toString();
}

} // namespace

namespace FieldFormat {

std::optional<ValueFormat> parse(const QString& formatText)
{
    const qsizetype colon = formatText.indexOf(u':');
    const QString name = (colon < 0 ? formatText : formatText.left(colon)).trimmed().toLower();
    const QString argument = colon < 0 ? QString() : formatText.mid(colon + 1);
    ValueFormat format;
    using Style = ValueFormat::Style;
    if (name == u"date") {
        format.style = Style::Date;
        format.pattern = argument.isEmpty() ? defaultDatePattern() : argument;
        return format;
    }
    if (name == u"datetime") {
        format.style = Style::DateTime;
        format.pattern = argument.isEmpty() ? defaultDateTimePattern() : argument;
        return format;
    }
    if (name == u"bool") {
        format.style = Style::Boolean;
        if (colon < 0) {
            format.yes = QCoreApplication::translate("Reports", "Yes");
            format.no = QCoreApplication::translate("Reports", "No");
        } else {
            const qsizetype slash = argument.indexOf(u'/');
            format.yes = slash < 0 ? argument : argument.left(slash);
            format.no = slash < 0 ? QString() : argument.mid(slash + 1);
        }
        return format;
    }
    if (!argument.isEmpty()) {
        return std::nullopt;
    }
    static const QList<std::pair<QString, Style>> plain = {
        {QStringLiteral("text"), Style::Text},
        {QStringLiteral("money"), Style::Money},
        {QStringLiteral("phone"), Style::Phone},
        {QStringLiteral("month"), Style::Month},
        {QStringLiteral("monthday"), Style::MonthDay},
        {QStringLiteral("initial"), Style::Initial},
        {QStringLiteral("upper"), Style::Upper},
        {QStringLiteral("titleprefix"), Style::TitlePrefix},
        {QStringLiteral("titlesuffix"), Style::TitleSuffix},
    };
    for (const auto& [key, style] : plain) {
        if (name == key) {
            format.style = style;
            return format;
        }
    }
    return std::nullopt;
}

std::optional<FieldKind> parseKind(const QString& name)
{
    const QString key = name.trimmed().toLower();
    if (key == u"text" || key == u"memo") {
        return FieldKind::Text;
    }
    if (key == u"int") {
        return FieldKind::Integer;
    }
    if (key == u"num") {
        return FieldKind::Number;
    }
    if (key == u"date") {
        return FieldKind::Date;
    }
    if (key == u"bool") {
        return FieldKind::Boolean;
    }
    if (key == u"money") {
        return FieldKind::Money;
    }
    return std::nullopt;
}

QString format(const QVariant& value, FieldKind kind, const ValueFormat& format)
{
    using Style = ValueFormat::Style;
    switch (format.style) {
        case Style::Default:
            return byKind(value, kind);
        case Style::Text:
            return value.toString();
        case Style::Date: {
            const auto date = dateOf(value);
            return date ? usLocale().toString(*date, format.pattern) : QString();
        }
        case Style::DateTime: {
            const auto dateTime = dateTimeOf(value);
            return dateTime ? usLocale().toString(*dateTime, format.pattern) : QString();
        }
        case Style::Money:
            return value.isNull() ? QString() : formatAmount(value.toLongLong());
        case Style::Boolean:
            return isTrue(value) ? format.yes : format.no;
        case Style::Phone:
            return formatPhone(value.toString());
        case Style::Month: {
            const auto date = dateOf(value);
            return date ? usLocale().standaloneMonthName(date->month()) : QString();
        }
        case Style::MonthDay: {
            const auto date = dateOf(value);
            return date ? usLocale().toString(*date, QStringLiteral("MM-dd")) : QString();
        }
        case Style::Initial: {
            const QString text = value.toString().trimmed();
            if (text.isEmpty()) {
                return {};
            }
            // The heading of the letter the name sorts under: Ölander under O, Łukasiewicz under L.
            const QChar first = text.at(0);
            if (!first.isLetter()) {
                return QStringLiteral("#");
            }
            const QString base = sortBaseLetters(QString(first));
            return (base.isEmpty() ? QString(first) : base.left(1)).toUpper();
        }
        case Style::Upper:
            return value.toString().toUpper();
        case Style::TitlePrefix: {
            const QString title = value.toString().trimmed();
            return isPrefixTitle(title) ? title : QString();
        }
        case Style::TitleSuffix: {
            const QString title = value.toString().trimmed();
            return isPrefixTitle(title) ? QString() : title;
        }
    }
    return value.toString();
}

} // namespace FieldFormat
