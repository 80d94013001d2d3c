#include "shell/singleinstance.h"

#include <QDir>

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
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) {
        user = qEnvironmentVariable("USERNAME");
    }
    return QDir::temp().filePath(QStringLiteral("kelvane-%1.lock").arg(user));
}
