#include "backup/durablefiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DurableFiles {

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// A file descriptor that closes itself.
class Descriptor final
{
public:
    Descriptor(const QString& path, int flags, mode_t mode = 0)
        : m_path(path)
        , m_fd(::open(native(path).constData(), flags | O_CLOEXEC, mode))
    {
        if (m_fd < 0) {
            throw FileError(path, errno);
        }
    }
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int fd() const { return m_fd; }

    void writeAll(const char* data, qint64 size)
    {
        while (size > 0) {
            const ssize_t written = ::write(m_fd, data, std::size_t(size));
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw FileError(m_path, errno);
            }
            data += written;
            size -= written;
        }
    }

    void sync()
    {
        if (::fsync(m_fd) != 0) {
            throw FileError(m_path, errno);
        }
    }

    // Closes now, so that a failure to close (a write the disk refused late) is seen.
    void close()
    {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) {
            throw FileError(m_path, errno);
        }
    }

private:
    QString m_path;
    int m_fd;
};

constexpr qint64 kBlock = 1 << 20;

} // namespace

FileError::FileError(QString path, int error)
    : std::runtime_error(std::strerror(error))
    , m_path(std::move(path))
    , m_error(error)
{}

QString FileError::reason() const
{
    return QString::fromLocal8Bit(std::strerror(m_error));
}

bool FileError::isDiskFull() const
{
    return m_error == ENOSPC || m_error == EDQUOT || m_error == EFBIG;
}

qint64 copyFile(const QString& from, const QString& to, QCryptographicHash* hash,
                const std::function<bool()>& shouldStop, int permissions)
{
    Descriptor in(from, O_RDONLY);
    Descriptor out(to, O_WRONLY | O_CREAT | O_EXCL, mode_t(permissions));
    QByteArray buffer(kBlock, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (shouldStop && shouldStop()) {
            throw FileError(to, ECANCELED);
        }
        const ssize_t got = ::read(in.fd(), buffer.data(), std::size_t(buffer.size()));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(from, errno);
        }
        if (got == 0) {
            break;
        }
        if (hash != nullptr) {
            hash->addData(QByteArrayView(buffer.constData(), got));
        }
        out.writeAll(buffer.constData(), got);
        total += got;
    }
    out.sync();
    out.close();
    return total;
}

void writeFile(const QString& path, const QByteArray& contents)
{
    Descriptor out(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    out.writeAll(contents.constData(), contents.size());
    out.sync();
    out.close();
}

void makeFolder(const QString& path)
{
    if (::mkdir(native(path).constData(), 0700) != 0) {
        throw FileError(path, errno);
    }
}

void makePath(const QString& path)
{
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    qsizetype from = 1;
    for (;;) {
        const qsizetype slash = absolute.indexOf(u'/', from);
        const QString part = slash < 0 ? absolute : absolute.left(slash);
        if (::mkdir(native(part).constData(), 0755) != 0 && errno != EEXIST) {
            throw FileError(part, errno);
        }
        if (slash < 0) {
            break;
        }
        from = slash + 1;
    }
    if (!QFileInfo(absolute).isDir()) {
        throw FileError(absolute, ENOTDIR);
    }
}

void sync(const QString& path)
{
    Descriptor target(path, O_RDONLY);
    target.sync();
}

void renameNoReplace(const QString& from, const QString& to)
{
    if (::renameat2(AT_FDCWD, native(from).constData(), AT_FDCWD, native(to).constData(), RENAME_NOREPLACE) == 0) {
        return;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        throw FileError(to, errno);
    }
    // A file system without the no-replace rename: look first (a folder never replaces a non-empty one).
    if (QFile::exists(to)) {
        throw FileError(to, EEXIST);
    }
    renameReplacing(from, to);
}

void renameReplacing(const QString& from, const QString& to)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0) {
        throw FileError(to, errno);
    }
}

void linkOrCopy(const QString& from, const QString& to)
{
    if (::link(native(from).constData(), native(to).constData()) == 0) {
        return;
    }
    if (errno == EEXIST || errno == ENOENT || errno == ENOSPC) {
        throw FileError(to, errno);
    }
    copyFile(from, to);
}

QByteArray hashOf(const QString& path, QCryptographicHash& hash)
{
    Descriptor in(path, O_RDONLY);
    QByteArray buffer(kBlock, Qt::Uninitialized);
    hash.reset();
    for (;;) {
        const ssize_t got = ::read(in.fd(), buffer.data(), std::size_t(buffer.size()));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(path, errno);
        }
        if (got == 0) {
            break;
        }
        hash.addData(QByteArrayView(buffer.constData(), got));
    }
    return hash.result();
}

} // namespace DurableFiles
