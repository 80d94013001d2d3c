#pragma once

#include <QLockFile>
#include <QString>

// Holds a lock file for as long as this copy of the program runs, so a second copy can tell.
class SingleInstance final
{
public:
    // lockPath defaults to a file per user account (by its numeric ID) in the temporary folder.
    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when no other running copy holds the lock; this copy then holds it.
    bool acquire();

    static QString defaultLockPath();

private:
    QLockFile m_lock;
};
