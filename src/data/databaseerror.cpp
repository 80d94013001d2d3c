#include "data/databaseerror.h"

DatabaseError::DatabaseError(const QString& message, const QString& sql)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_sql(sql)
{}
