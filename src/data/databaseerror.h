#pragma once

#include <QString>
#include <stdexcept>

// A statement or an open that the engine refused; carries the engine's own message and, where the engine
// tells it, what kind of failure it was, so that callers can word their own message (a full disk, a lock).
class DatabaseError : public std::runtime_error
{
public:
    enum class Reason {
        Other,
        // Another connection holds a lock the statement needs, longer than the busy timeout.
        Locked,
        // The disk (or the space the process may use) is full.
        DiskFull,
        // The file or its folder cannot be written.
        NotWritable,
        // The file cannot be opened at all.
        CannotOpen,
        // The file is no database, or it was locked with another key.
        NotADatabase,
        // The file is a database but damaged.
        Corrupt,
        // The statement was stopped by the connection's progress handler.
        Interrupted,
    };

    explicit DatabaseError(const QString& message, const QString& sql = {}, Reason reason = Reason::Other);

    QString message() const { return m_message; }
    QString sql() const { return m_sql; }
    Reason reason() const { return m_reason; }

private:
    QString m_message;
    QString m_sql;
    Reason m_reason = Reason::Other;
};
