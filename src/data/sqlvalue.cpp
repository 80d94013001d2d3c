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

std::optional<QDateTime> toDateTime(const QVariant& stored)
{
    if (stored.isNull() || stored.toString().isEmpty()) {
        return std::nullopt;
    }
    const QString text = stored.toString();
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
