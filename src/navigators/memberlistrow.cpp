#include "navigators/memberlistrow.h"

MemberListRow::MemberListRow(qint64 id, const Fields& fields)
    : m_id(id)
{
    qsizetype total = 0;
    for (const QString& value : fields) {
        total += value.size();
    }
    m_values.reserve(total);
    for (int f = 0; f < FieldCount; ++f) {
        m_values += fields[size_t(f)];
        m_ends[size_t(f)] = int(m_values.size());
    }
}

QStringView MemberListRow::field(Field field) const
{
    const int begin = field == 0 ? 0 : m_ends[size_t(field) - 1];
    return QStringView(m_values).mid(begin, m_ends[size_t(field)] - begin);
}

qsizetype MemberListRow::length(Field field) const
{
    return m_ends[size_t(field)] - (field == 0 ? 0 : m_ends[size_t(field) - 1]);
}
