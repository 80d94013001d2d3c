#pragma once

#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <atomic>

// How far a long piece of work on a worker thread has come, and the request to stop it. The worker reports
// what it is doing between rows or chunks; the screen reads that on a timer and may ask it to stop, which
// the worker notices at its next report.
class JobProgress final
{
public:
    // Thrown out of the work by report() and checkCancelled() once the work was asked to stop.
    struct Cancelled
    {};

    struct Snapshot
    {
        QString stage;
        qint64 done = 0;
        qint64 total = 0;
    };

    // What the work is doing (e.g. "Checking row 120 of 4,000") and how far it has come; throws Cancelled
    // when asked to stop.
    void report(qint64 done, qint64 total, const QString& stage);
    void checkCancelled() const;

    void cancel();
    bool isCancelled() const { return m_cancelled; }
    Snapshot snapshot() const;

    // Tests only: every piece of work stops at its first report, its progress shown, until it is asked to
    // stop, so that a test sees work in progress however fast the machine is.
    static void holdForTests(bool hold);

private:
    mutable QMutex m_mutex;
    QWaitCondition m_cancelledNow;
    Snapshot m_current;
    std::atomic_bool m_cancelled{false};
};

// Reports through the progress when there is one; work without one only runs.
void reportProgress(JobProgress* progress, qint64 done, qint64 total, const QString& stage);
