#include "data/sqlitebinding.h"

#include "data/sqlvalue.h"

#include <QDate>
#include <QDateTime>

namespace SqliteBinding {

int bindValue(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (value.isNull()) {
        return sqlite3_bind_null(stmt, index);
    }
    switch (value.typeId()) {
        case QMetaType::Bool:
            return sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            return sqlite3_bind_int64(stmt, index, value.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(stmt, index, value.toDouble());
        case QMetaType::QDate:
            return sqlite3_bind_text(stmt, index, SqlValue::fromDate(value.toDate()).toUtf8().constData(), -1,
                                     SQLITE_TRANSIENT);
        case QMetaType::QDateTime:
            return sqlite3_bind_text(stmt, index, SqlValue::fromDateTime(value.toDateTime()).toUtf8().constData(), -1,
                                     SQLITE_TRANSIENT);
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            return sqlite3_bind_blob(stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            return sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }
}

QVariant columnValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_column_int64(stmt, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt, column));
        case SQLITE_TEXT:
            return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                              sqlite3_column_bytes(stmt, column)));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                                       sqlite3_column_bytes(stmt, column)));
        default:
            return {};
    }
}

std::shared_ptr<const ColumnIndex> columnIndex(sqlite3_stmt* stmt)
{
    QStringList names;
    const int count = sqlite3_column_count(stmt);
    names.reserve(count);
    for (int i = 0; i < count; ++i) {
        names << QString::fromUtf8(sqlite3_column_name(stmt, i));
    }
    return std::make_shared<const ColumnIndex>(std::move(names));
}

} // namespace SqliteBinding
