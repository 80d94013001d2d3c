#pragma once

#include <QString>
#include <stdexcept>

// A statement or an open that the engine refused; carries the engine's own message.
class DatabaseError : public std::runtime_error
{
public:
    explicit DatabaseError(const QString& message, const QString& sql = {});

    QString message() const { return m_message; }
    QString sql() const { return m_sql; }

private:
    QString m_message;
    QString m_sql;
};
