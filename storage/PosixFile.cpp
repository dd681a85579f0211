#include "storage/PosixFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (m_fd >= 0)
        ::close(m_fd);
}

int UniqueFd::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

Result<void> UniqueFd::close() {
    const int fd = release();
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
        return errnoError(errno);
    return {};
}

QString errnoText(int error) {
    // The GNU strerror_r, unlike strerror, is safe on the worker threads that imports and trims use.
    char buffer[256];
    return QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer));
}

Error errnoError(int error) {
    return Error::make(QStringLiteral("POSIX"), error, errnoText(error), errnoKind(error));
}

Result<UniqueFd> openPath(const QString& path, int flags, unsigned mode) {
    return openAt(AT_FDCWD, QFile::encodeName(path), flags, mode);
}

Result<UniqueFd> openAt(int dirFd, const QByteArray& name, int flags, unsigned mode) {
    UniqueFd fd(::openat(dirFd, name.constData(), flags | O_CLOEXEC, mode_t(mode)));
    if (!fd.valid())
        return errnoError(errno);
    return fd;
}

Result<void> lockExclusive(int fd, bool wait) {
    while (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
        if (errno != EINTR)
            return errnoError(errno);
    }
    return {};
}

Result<void> makeFolder(const QString& path, unsigned mode) {
    if (::mkdir(QFile::encodeName(path).constData(), mode_t(mode)) != 0)
        return errnoError(errno);
    return {};
}

Result<void> syncToDisk(int fd) {
    if (::fsync(fd) != 0)
        return errnoError(errno);
    return {};
}

Result<void> removeNameAt(int dirFd, const QByteArray& name) {
    if (::unlinkat(dirFd, name.constData(), 0) != 0)
        return errnoError(errno);
    return {};
}

Result<void> makeSymlink(const QString& target, const QString& linkPath) {
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(linkPath).constData()) != 0)
        return errnoError(errno);
    return {};
}

Result<qint64> readSome(int fd, char* buffer, qint64 size) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size_t(size));
        if (n >= 0)
            return qint64(n);
        if (errno != EINTR)
            return errnoError(errno);
    }
}

Result<void> writeAll(int fd, const char* buffer, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, buffer, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errnoError(errno);
        }
        if (n == 0)
            return errnoError(EIO);
        buffer += n;
        size -= n;
    }
    return {};
}

Result<void> renameNoReplace(int dirFd, const QByteArray& from, const QByteArray& to) {
    if (::renameat2(dirFd, from.constData(), dirFd, to.constData(), RENAME_NOREPLACE) == 0)
        return {};
    const int error = errno;
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
        return errnoError(error);
    // No RENAME_NOREPLACE here: a hard link also refuses an existing name.
    if (::linkat(dirFd, from.constData(), dirFd, to.constData(), 0) == 0) {
        ::unlinkat(dirFd, from.constData(), 0);
        return {};
    }
    const int linkError = errno;
    if (linkError != EPERM && linkError != EOPNOTSUPP && linkError != ENOSYS && linkError != EMLINK)
        return errnoError(linkError);
    // FUSE file systems (exFAT, NTFS through ntfs-3g, sshfs, gvfs) have neither. The name is taken
    // by an exclusive create, which fails on any existing file, and the file renamed over that empty
    // placeholder of ours.
    const int placeholder = ::openat(dirFd, to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (placeholder < 0)
        return errnoError(errno);
    ::close(placeholder);
    if (::renameat(dirFd, from.constData(), dirFd, to.constData()) != 0) {
        const int renameError = errno;
        ::unlinkat(dirFd, to.constData(), 0);
        return errnoError(renameError);
    }
    return {};
}

Result<void> exchangePaths(const QString& first, const QString& second) {
    if (::renameat2(AT_FDCWD, QFile::encodeName(first).constData(), AT_FDCWD,
                    QFile::encodeName(second).constData(), RENAME_EXCHANGE) != 0)
        return errnoError(errno);
    return {};
}

Result<void> renameReplacing(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return errnoError(errno);
    return {};
}

Result<void> checkWritableFolder(const QString& path) {
    if (::access(QFile::encodeName(path).constData(), W_OK | X_OK) != 0)
        return errnoError(errno);
    return {};
}

Result<void> reserveSpace(int fd, qint64 size) {
    if (size > 0 && ::fallocate(fd, 0, 0, size) != 0 && (errno == ENOSPC || errno == EFBIG))
        return errnoError(errno);
    return {};
}

void startWriteback(int fd, qint64 offset, qint64 length) {
    ::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE);
}

bool hasDirectIo(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_DIRECT) != 0;
}

bool setDirectIo(int fd, bool direct) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return false;
    return ::fcntl(fd, F_SETFL, direct ? flags | O_DIRECT : flags & ~O_DIRECT) == 0;
}

void adviseSequential(int fd) {
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

void dropCachedPages(int fd, qint64 offset, qint64 length) {
    ::posix_fadvise(fd, offset, length, POSIX_FADV_DONTNEED);
}

} // namespace velarix
