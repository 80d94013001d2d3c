#include "csv/jobprogress.h"

#include <QMutexLocker>

namespace {

std::atomic_bool g_holdForTests{false};

} // namespace

void JobProgress::report(qint64 done, qint64 total, const QString& stage)
{
    checkCancelled();
    QMutexLocker lock(&m_mutex);
    m_current = {stage, done, total};
    if (g_holdForTests) {
        while (!m_cancelled) {
            m_cancelledNow.wait(&m_mutex);
        }
        lock.unlock();
        checkCancelled();
    }
}

void JobProgress::cancel()
{
    const QMutexLocker lock(&m_mutex);
    m_cancelled = true;
    m_cancelledNow.wakeAll();
}

void JobProgress::holdForTests(bool hold)
{
    g_holdForTests = hold;
}

void JobProgress::checkCancelled() const
{
    if (m_cancelled) {
        throw Cancelled();
    }
}

JobProgress::Snapshot JobProgress::snapshot() const
{
    const QMutexLocker lock(&m_mutex);
    return m_current;
}

void reportProgress(JobProgress* progress, qint64 done, qint64 total, const QString& stage)
{
    if (progress != nullptr) {
        progress->report(done, total, stage);
    }
}
