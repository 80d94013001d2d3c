#pragma once

#include <QDate>
#include <QDateTime>
#include <QVariant>

#include <optional>

// How values are stored: ISO dates, "YYYY-MM-DD HH:MM:SS" date/times, 0/1 booleans, money in cents.
namespace SqlValue {

QString fromDate(const QDate& date);
QString fromDateTime(const QDateTime& dateTime);
// A date for binding: the ISO text, or null when there is no date.
QVariant optionalDate(const std::optional<QDate>& date);
std::optional<QDate> toDate(const QVariant& stored);
std::optional<QDateTime> toDateTime(const QVariant& stored);
// Text that is empty binds as null.
QVariant textOrNull(const QString& text);
// An ID of 0 or less binds as null (no selection).
QVariant idOrNull(qint64 id);
// An ID for binding, or null when there is none.
QVariant optionalId(const std::optional<qint64>& id);

} // namespace SqlValue
