#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <stdexcept>

class QCryptographicHash;

// File operations whose result is on the disk when they return (written, flushed and synced), and that
// tell the system's own reason when they fail, so that a full disk can be told from a folder that may not
// be written.
namespace DurableFiles {

// A file operation that failed: the file, what was being done, and the system's error number.
class FileError : public std::runtime_error
{
public:
    FileError(QString path, int error);

    QString path() const { return m_path; }
    int error() const { return m_error; }
    // The system's words for the error ("No space left on device").
    QString reason() const;
    // ENOSPC, EDQUOT or EFBIG: there is no room left for the file.
    bool isDiskFull() const;

private:
    QString m_path;
    int m_error;
};

// Copies a file, feeding every byte read into hash (when given), and syncs the copy. The target must not
// exist and is made with the given permissions (less the process's umask); copies into backups are for
// their owner only. shouldStop is asked between blocks; when it says yes the copy stops with ECANCELED.
// Returns the number of bytes copied.
qint64 copyFile(const QString& from, const QString& to, QCryptographicHash* hash = nullptr,
                const std::function<bool()>& shouldStop = {}, int permissions = 0600);
// Writes a new file with the given contents and syncs it.
void writeFile(const QString& path, const QByteArray& contents);
// Makes a new folder (it must not exist yet).
void makeFolder(const QString& path);
// Makes a folder and the folders above it that are missing.
void makePath(const QString& path);
// Syncs a file or a folder (a folder's entries: names created, renamed or removed in it).
void sync(const QString& path);
// Renames from to to, failing with EEXIST when to exists (also for a folder).
void renameNoReplace(const QString& from, const QString& to);
// Renames from to to, replacing a file called to in one step.
void renameReplacing(const QString& from, const QString& to);
// Makes another name for the same file (on the same disk), or a synced copy where the disk has no links.
void linkOrCopy(const QString& from, const QString& to);
// The hash of a file's contents.
QByteArray hashOf(const QString& path, QCryptographicHash& hash);

} // namespace DurableFiles
