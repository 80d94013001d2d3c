#include "backupfixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace BackupFixture {

namespace {

// True when a file can be made in the folder (and removes it again).
bool canWriteIn(const QString& folder)
{
    QFile probe(QDir(folder).filePath("probe"));
    if (!probe.open(QIODevice::WriteOnly)) {
        return false;
    }
    probe.remove();
    return true;
}

bool setImmutable(const QString& folder, bool immutable)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace

QByteArray checksum(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

QMap<QString, QByteArray> checksums(const QString& folder)
{
    QMap<QString, QByteArray> sums;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        // The shared-memory index of a WAL database holds no data; every reader updates it.
        if (!name.endsWith("-shm")) {
            sums.insert(name, checksum(QDir(folder).filePath(name)));
        }
    }
    return sums;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(contents), contents.size());
}

void flipBytes(const QString& path, qint64 offset, int count)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadWrite), qPrintable(path));
    QVERIFY(file.seek(offset));
    QByteArray bytes = file.read(count);
    for (char& byte : bytes) {
        byte = char(~byte);
    }
    QVERIFY(file.seek(offset));
    QCOMPARE(file.write(bytes), bytes.size());
}

void truncateFile(const QString& path, qint64 size)
{
    QVERIFY(QFile::resize(path, size));
}

bool makeUnwritable(const QString& folder)
{
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (!canWriteIn(folder)) {
        return true;
    }
    return setImmutable(folder, true) && !canWriteIn(folder);
}

void makeWritable(const QString& folder)
{
    setImmutable(folder, false);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    ::getrlimit(RLIMIT_FSIZE, &m_saved);
    rlimit lower = m_saved;
    lower.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &lower);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &m_saved);
}

} // namespace BackupFixture
