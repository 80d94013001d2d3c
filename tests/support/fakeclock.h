#pragma once

#include "core/clock.h"

// A clock that stands still until a test moves it.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 3, 15), QTime(10, 0)))
        : m_now(std::move(start))
    {}

    QDateTime now() const override { return m_now; }
    double seconds() const override { return m_seconds; }

    void advance(double seconds)
    {
        m_seconds += seconds;
        m_now = m_now.addMSecs(qint64(seconds * 1000));
    }
    void setNow(const QDateTime& now) { m_now = now; }

private:
    QDateTime m_now;
    double m_seconds = 1000.0;
};
