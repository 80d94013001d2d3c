#include "data/row.h"

#include "data/databaseerror.h"
#include "data/sqlvalue.h"

ColumnIndex::ColumnIndex(QStringList names)
    : m_names(std::move(names))
{
    for (int i = 0; i < m_names.size(); ++i) {
        const QString folded = m_names.at(i).toCaseFolded();
        if (!m_byFoldedName.contains(folded)) {
            m_byFoldedName.insert(folded, i);
        }
    }
}

int ColumnIndex::indexOf(QStringView name) const
{
    return m_byFoldedName.value(name.toString().toCaseFolded(), -1);
}

Row::Row(std::shared_ptr<const ColumnIndex> columns, QVector<QVariant> values)
    : m_columns(std::move(columns))
    , m_values(std::move(values))
{}

const QStringList& Row::columnNames() const
{
    static const QStringList none;
    return m_columns ? m_columns->names() : none;
}

int Row::require(QStringView name) const
{
    const int index = m_columns ? m_columns->indexOf(name) : -1;
    if (index < 0) {
        throw DatabaseError(QStringLiteral("The result has no column named %1.").arg(name));
    }
    return index;
}

QVariant Row::value(int column) const
{
    return m_values.value(column);
}

QVariant Row::value(QStringView name) const
{
    return m_values.at(require(name));
}

bool Row::isNull(QStringView name) const
{
    return value(name).isNull();
}

QString Row::text(QStringView name) const
{
    const QVariant v = value(name);
    return v.isNull() ? QString() : v.toString();
}

qint64 Row::integer(QStringView name) const
{
    return value(name).toLongLong();
}

std::optional<qint64> Row::optionalInteger(QStringView name) const
{
    const QVariant v = value(name);
    if (v.isNull()) {
        return std::nullopt;
    }
    return v.toLongLong();
}

double Row::real(QStringView name) const
{
    return value(name).toDouble();
}

bool Row::flag(QStringView name) const
{
    return value(name).toLongLong() != 0;
}

std::optional<QDate> Row::date(QStringView name) const
{
    return SqlValue::toDate(value(name));
}

std::optional<QDateTime> Row::dateTime(QStringView name) const
{
    return SqlValue::toDateTime(value(name));
}
