#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>
#include <optional>

// Column names of one result, shared by all its rows; looked up without regard to case.
class ColumnIndex
{
public:
    explicit ColumnIndex(QStringList names);

    int indexOf(QStringView name) const;
    const QStringList& names() const { return m_names; }

private:
    QStringList m_names;
    QHash<QString, int> m_byFoldedName;
};

// One row of a result: values by position or by column name, with typed readers.
class Row
{
public:
    Row() = default;
    Row(std::shared_ptr<const ColumnIndex> columns, QVector<QVariant> values);

    QVariant value(int column) const;
    QVariant value(QStringView name) const;
    bool isNull(QStringView name) const;
    // Text of a column; null gives an empty text.
    QString text(QStringView name) const;
    // Whole number of a column; null gives 0.
    qint64 integer(QStringView name) const;
    std::optional<qint64> optionalInteger(QStringView name) const;
    double real(QStringView name) const;
    // A 0/1 boolean column; null gives false.
    bool flag(QStringView name) const;
    // An ISO date column; null or empty gives no date.
    std::optional<QDate> date(QStringView name) const;
    std::optional<QDateTime> dateTime(QStringView name) const;

    int columnCount() const { return int(m_values.size()); }
    const QStringList& columnNames() const;

private:
    int require(QStringView name) const;

    std::shared_ptr<const ColumnIndex> m_columns;
    QVector<QVariant> m_values;
};

using Rows = std::vector<Row>;
