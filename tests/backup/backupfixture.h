#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <sys/resource.h>

// What the backup suites share: checksums of the live files, damage done to copies, and folders that
// refuse writes.
namespace BackupFixture {

// The SHA-256 of a file's contents; empty when there is no such file.
QByteArray checksum(const QString& path);
// The checksum of every file in a folder (not below it), by name; a WAL database's shared-memory index is
// left out (readers write it).
QMap<QString, QByteArray> checksums(const QString& folder);
// Every name in a folder, hidden ones too, sorted.
QStringList entries(const QString& folder);

// Writes a file with the given contents (replacing it).
void writeFile(const QString& path, const QByteArray& contents);
// Inverts count bytes of a file from offset on.
void flipBytes(const QString& path, qint64 offset, int count = 16);
// Cuts a file to size bytes.
void truncateFile(const QString& path, qint64 size);

// Makes a folder that this process cannot write: without write permission, or, for root (whom permissions
// do not stop), marked immutable. False when neither works here.
bool makeUnwritable(const QString& folder);
// Undoes makeUnwritable.
void makeWritable(const QString& folder);

// A lower limit on the size of any file this process writes, for as long as it lives: a write past it fails
// as on a full disk (EFBIG). SIGXFSZ must be ignored while it is in force.
class FileSizeLimit final
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
};

} // namespace BackupFixture
