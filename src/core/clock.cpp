#include "core/clock.h"

#include <QElapsedTimer>

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

double Clock::seconds() const
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return double(timer.nsecsElapsed()) / 1e9;
}

Clock& Clock::system()
{
    static Clock clock;
    return clock;
}
