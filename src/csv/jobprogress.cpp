#include "csv/jobprogress.h"

#include <QMutexLocker>

void JobProgress::report(qint64 done, qint64 total, const QString& stage)
{
    checkCancelled();
    const QMutexLocker lock(&m_mutex);
    m_current = {stage, done, total};
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
