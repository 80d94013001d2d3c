#include "core/textformat.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("TextFormat", text);
}

// A phone text taken apart: its digits, a leading "+", and whether digits are followed by an extension.
// isPhone is false when the text holds anything else (letters, "@").
struct PhoneScan
{
    bool isPhone = false;
    bool plus = false;
    bool extension = false;
    QString digits;
};

bool isPhonePunctuation(QChar c)
{
    return c == u' ' || c == u'(' || c == u')' || c == u'-' || c == u'.' || c == u'/' || c == QChar(0x00A0);
}

PhoneScan scanPhone(const QString& text)
{
    static const QRegularExpression extension(QStringLiteral("^(?:x|ext\\.?|extension|#)\\s*[0-9]+$"),
                                              QRegularExpression::CaseInsensitiveOption);
    PhoneScan scan;
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    if (trimmed.startsWith(u'+')) {
        scan.plus = true;
        i = 1;
    }
    for (; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (c >= u'0' && c <= u'9') {
            scan.digits += c;
        } else if (!isPhonePunctuation(c)) {
            break;
        }
    }
    if (i < trimmed.size()) {
        if (scan.digits.isEmpty() || !extension.match(trimmed.mid(i).trimmed()).hasMatch()) {
            return scan;
        }
        scan.extension = true;
    }
    scan.isPhone = true;
    return scan;
}

// The ten digits of a North American number: ten digits without a country code, or eleven with the code 1.
std::optional<QString> northAmericanDigits(const PhoneScan& scan)
{
    if (!scan.isPhone || scan.extension) {
        return std::nullopt;
    }
    if (scan.digits.size() == 10 && !scan.plus) {
        return scan.digits;
    }
    if (scan.digits.size() == 11 && scan.digits.front() == u'1') {
        return scan.digits.mid(1);
    }
    return std::nullopt;
}

QString phonePattern(const QString& ten)
{
    return u'(' + ten.left(3) + QStringLiteral(") ") + ten.mid(3, 3) + u'-' + ten.right(4);
}

enum class DatePart { Day, Month, Year };
using DateOrder = std::array<DatePart, 3>;

// The order of day, month and year in the locale's short form (year, month, day when it shows no order),
// and the words it writes around them (a Bulgarian date ends in "г.").
struct ShortForm
{
    DateOrder order{DatePart::Year, DatePart::Month, DatePart::Day};
    QStringList words;
};

ShortForm shortForm(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    ShortForm form;
    std::array<qsizetype, 3> first{-1, -1, -1}; // by DatePart
    bool quoted = false;
    QString word;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            quoted = !quoted;
        } else if (quoted && c.isLetter()) {
            word += c;
            continue;
        } else if (!quoted) {
            const int part = c == u'd' ? 0 : c == u'M' ? 1 : c == u'y' ? 2 : -1;
            if (part >= 0 && first[part] < 0) {
                first[part] = i;
            }
        }
        if (!word.isEmpty()) {
            form.words << word;
            word.clear();
        }
    }
    if (!word.isEmpty()) {
        form.words << word;
    }
    if (first[0] >= 0 && first[1] >= 0 && first[2] >= 0) {
        std::array<std::pair<qsizetype, DatePart>, 3> parts{
            {{first[0], DatePart::Day}, {first[1], DatePart::Month}, {first[2], DatePart::Year}}};
        std::sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        form.order = {parts[0].second, parts[1].second, parts[2].second};
    }
    return form;
}

// A run of digits (of any script) or of letters in a typed date; everything else separates them.
struct DateToken
{
    bool isNumber = false;
    int value = 0;
    int digits = 0;
    QString word;
};

QList<DateToken> dateTokens(QStringView text)
{
    QList<DateToken> tokens;
    bool open = false;
    for (const QChar c : text) {
        const bool digit = c.isDigit();
        const bool letter = !digit && c.isLetter();
        if (!digit && !letter) {
            open = false;
            continue;
        }
        if (!open || tokens.back().isNumber != digit) {
            tokens.append(DateToken{digit, 0, 0, {}});
            open = true;
        }
        DateToken& token = tokens.back();
        if (digit) {
            // More than four digits make no part of a date; stop counting the value before it overflows.
            if (token.digits < 5) {
                token.value = token.value * 10 + c.digitValue();
            }
            ++token.digits;
        } else {
            token.word += c;
        }
    }
    return tokens;
}

QString lettersOf(const QString& text)
{
    QString letters;
    for (const QChar c : text) {
        if (c.isLetter()) {
            letters += c;
        }
    }
    return letters;
}

// The month the locale calls by this name or its abbreviation (case and dots aside); 0 for none.
int monthNamed(const QString& word, const QLocale& locale)
{
    for (int month = 1; month <= 12; ++month) {
        for (const QString& name :
             {locale.monthName(month, QLocale::LongFormat), locale.monthName(month, QLocale::ShortFormat),
              locale.standaloneMonthName(month, QLocale::LongFormat),
              locale.standaloneMonthName(month, QLocale::ShortFormat)}) {
            const QString letters = lettersOf(name);
            if (!letters.isEmpty() && letters.compare(word, Qt::CaseInsensitive) == 0) {
                return month;
            }
        }
    }
    return 0;
}

} // namespace

QString personDisplayName(const QString& last, const QString& first, const QString& middle, const QString& title)
{
    return last + QStringLiteral(", ") + first + u' ' + middle + u' ' + title;
}

QString personNameWithoutTitle(const QString& last, const QString& first, const QString& middle)
{
    return last + QStringLiteral(", ") + first + u' ' + middle;
}

QString formatPhone(const QString& stored)
{
    const PhoneScan scan = scanPhone(stored);
    if (const auto ten = northAmericanDigits(scan)) {
        return phonePattern(*ten);
    }
    if (scan.isPhone && scan.digits.isEmpty() && !scan.extension) {
        return {}; // nothing but blanks and punctuation: an empty number
    }
    return stored;
}

std::optional<QString> parsePhone(const QString& text)
{
    const PhoneScan scan = scanPhone(text);
    if (!scan.isPhone) {
        return std::nullopt;
    }
    if (const auto ten = northAmericanDigits(scan)) {
        return phonePattern(*ten);
    }
    if (scan.digits.isEmpty()) {
        return QString();
    }
    return text.trimmed();
}

QString formatDataSize(qint64 bytes)
{
    if (bytes < 1000) {
        return QCoreApplication::translate("TextFormat", "%n byte(s)", nullptr, int(bytes));
    }
    // One decimal, but none where it would be a zero: "128 MB", "134.2 MB".
    double scaled = double(bytes);
    while (scaled >= 1000) {
        scaled /= 1000;
    }
    const bool whole = qRound64(scaled * 10) % 10 == 0;
    return QLocale().formattedDataSize(bytes, whole ? 0 : 1, QLocale::DataSizeSIFormat);
}

QString padRight(const QString& text, int width)
{
    const int w = qMax(0, width);
    if (text.size() >= w) {
        return text.left(w);
    }
    return text + QString(w - text.size(), u' ');
}

QLocale dateLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C) {
        return QLocale(QLocale::English, QLocale::UnitedStates);
    }
    return locale;
}

QString shortDate(const QDate& date, const QLocale& locale)
{
    return date.isValid() ? dateLocale(locale).toString(date, dateEntryFormat(locale)) : QString();
}

QString shortMonth(const QDate& month, const QLocale& locale)
{
    return month.isValid()
               ? locale.monthName(month.month(), QLocale::ShortFormat) + u' ' + QString::number(month.year())
               : QString();
}

QString shortDate(QStringView isoDate)
{
    if (isoDate.isEmpty()) {
        return {};
    }
    const QDate date = QDate::fromString(isoDate, Qt::ISODate);
    return date.isValid() ? shortDate(date) : isoDate.toString();
}

QString shortDateTime(const QDateTime& moment, const QLocale& locale)
{
    if (!moment.isValid()) {
        return {};
    }
    return shortDate(moment.date(), locale) + u' ' + dateLocale(locale).toString(moment.time(), QLocale::ShortFormat);
}

QString dateEntryFormat(const QLocale& locale)
{
    QString format = dateLocale(locale).dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    return format;
}

TypedDate parseDate(QStringView text, const QLocale& userLocale)
{
    const QLocale locale = dateLocale(userLocale);
    const TypedDate unreadable{{},
                               translated("Type a date like %1 or %2.")
                                   .arg(shortDate(QDate(1975, 3, 15), locale), QStringLiteral("1975-03-15"))};
    const ShortForm form = shortForm(locale);
    QList<DateToken> numbers;
    int namedMonth = 0;
    for (const DateToken& token : dateTokens(text)) {
        if (token.isNumber) {
            numbers << token;
            continue;
        }
        const int month = monthNamed(token.word, locale);
        if (month > 0 && namedMonth == 0) {
            namedMonth = month;
        } else if (!form.words.contains(token.word, Qt::CaseInsensitive)) {
            return unreadable;
        }
    }

    DateToken day;
    DateToken month;
    DateToken year;
    if (namedMonth > 0) {
        // With the month named, the four-digit number is the year; else the locale's order tells.
        if (numbers.size() != 2) {
            return unreadable;
        }
        const bool yearBeforeDay = std::find(form.order.begin(), form.order.end(), DatePart::Year) <
                                   std::find(form.order.begin(), form.order.end(), DatePart::Day);
        const bool yearFirst = numbers[0].digits == 4 || (numbers[1].digits != 4 && yearBeforeDay);
        year = numbers[yearFirst ? 0 : 1];
        day = numbers[yearFirst ? 1 : 0];
        month = DateToken{true, namedMonth, 1, {}};
    } else {
        if (numbers.size() != 3) {
            return unreadable;
        }
        // A four-digit first number can only be a year: year, month, day in every locale (ISO 1975-03-15).
        const DateOrder order =
            numbers[0].digits == 4 ? DateOrder{DatePart::Year, DatePart::Month, DatePart::Day} : form.order;
        for (int i = 0; i < 3; ++i) {
            (order[i] == DatePart::Day ? day : order[i] == DatePart::Month ? month : year) = numbers[i];
        }
    }
    if (year.digits != 4) {
        const bool longNumberElsewhere = day.digits > 2 || month.digits > 2;
        if (year.digits > 2 || longNumberElsewhere) {
            return unreadable;
        }
        const QString twoDigits = QStringLiteral("%1").arg(year.value, 2, 10, QChar(u'0'));
        return {{},
                translated("The year %1 could be %2 or %3: type all four digits of the year.")
                    .arg(twoDigits, QStringLiteral("19") + twoDigits, QStringLiteral("20") + twoDigits)};
    }
    if (day.digits > 2 || month.digits > 2 || year.value == 0) {
        return unreadable;
    }
    if (month.value < 1 || month.value > 12) {
        return {{}, translated("There is no month %1.").arg(month.value)};
    }
    const QDate first(year.value, month.value, 1);
    if (day.value < 1 || day.value > first.daysInMonth()) {
        return {{},
                translated("%1 has no day %2.")
                    .arg(locale.toString(first, QStringLiteral("MMMM yyyy")), QString::number(day.value))};
    }
    return {QDate(year.value, month.value, day.value), {}};
}
