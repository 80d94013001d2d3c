#include "data/databaseerror.h"

DatabaseError::DatabaseError(const QString& message, const QString& sql, Reason reason)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_sql(sql)
    , m_reason(reason)
{}
