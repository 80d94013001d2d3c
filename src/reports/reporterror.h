#pragma once

#include <QString>

#include <stdexcept>

// A report that cannot be built: a design that is missing or malformed, a result set that does not fit
// its design, a file that cannot be written. The message is for the user and names what went wrong.
class ReportError final : public std::runtime_error
{
public:
    explicit ReportError(const QString& message);

    QString message() const { return m_message; }

private:
    QString m_message;
};
