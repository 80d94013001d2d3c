#include "core/singleinstance.h"

#include <QDir>

#include <unistd.h>

SingleInstance::SingleInstance(const QString& lockPath)
    : m_lock(lockPath)
{
    // A lock left behind by a crashed copy is taken over: QLockFile checks whether its owner still runs.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return m_lock.tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    // Named by the account's numeric ID, which every process of the account has: USER is missing from
    // cron jobs and some remote sessions, and su may leave another account's name in it.
    return QDir::temp().filePath(QStringLiteral("kelvane-%1.lock").arg(getuid()));
}
