#pragma once

#include <QDate>
#include <QDateTime>

// Where "now" comes from; tests put a fake clock in its place.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;
    QDate today() const { return now().date(); }
    // Seconds since an arbitrary start, with fractions: for measuring pauses between key presses.
    virtual double seconds() const;

    static Clock& system();
};
