#include "data/sqlvalue.h"

namespace SqlValue {

QString fromDate(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

QString fromDateTime(const QDateTime& dateTime)
{
    return dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVariant optionalId(const std::optional<qint64>& id)
{
    return id ? QVariant(*id) : QVariant();
}

QVariant optionalDate(const std::optional<QDate>& date)
{
    if (!date || !date->isValid()) {
        return {};
    }
    return fromDate(*date);
}

std::optional<QDate> toDate(const QVariant& stored)
{
    if (stored.isNull()) {
        return std::nullopt;
    }
    const QString text = stored.toString();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}

namespace {

// The number written by the digits at text[from, from + count), or -1 when one of them is no digit.
int digitsAt(const QString& text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "YYYY-MM-DD HH:MM:SS" read directly: the general parser of QDateTime costs far more per value, which
// shows in lists of many stored date/times.
std::optional<QDateTime> storedDateTime(const QString& text)
{
    if (text.size() != 19 || text.at(4) != u'-' || text.at(7) != u'-' || text.at(10) != u' ' || text.at(13) != u':' ||
        text.at(16) != u':') {
        return std::nullopt;
    }
    const int parts[] = {digitsAt(text, 0, 4),  digitsAt(text, 5, 2),  digitsAt(text, 8, 2),
                         digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2)};
    for (const int part : parts) {
        if (part < 0) {
            return std::nullopt;
        }
    }
    const QDate date(parts[0], parts[1], parts[2]);
    const QTime time(parts[3], parts[4], parts[5]);
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return QDateTime(date, time);
}

} // namespace

std::optional<QDateTime> toDateTime(const QVariant& stored)
{
    if (stored.isNull() || stored.toString().isEmpty()) {
        return std::nullopt;
    }
    const QString text = stored.toString();
    if (auto quick = storedDateTime(text)) {
        return quick;
    }
    QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) {
        const auto date = toDate(stored);
        if (!date) {
            return std::nullopt;
        }
        dt = date->startOfDay();
    }
    return dt;
}

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant idOrNull(qint64 id)
{
    return id > 0 ? QVariant(id) : QVariant();
}

} // namespace SqlValue
