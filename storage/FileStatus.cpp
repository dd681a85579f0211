#include "storage/FileStatus.h"

#include "storage/PosixFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace velarix {

static_assert(AT_FDCWD == -100);

namespace {
qint64 nanoseconds(const struct statx_timestamp& t) {
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}
QDateTime dateTime(const struct statx_timestamp& t) {
    return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000);
}
struct timespec timespecOf(qint64 ns) {
    return {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
}
} // namespace

QDateTime FileStatus::creationDate() const {
    if (born && born->isValid() && (!modified.isValid() || *born < modified))
        return *born;
    return modified;
}

namespace {
Result<FileStatus> statusOf(int dirFd, const QByteArray& name, int flags) {
    struct statx info {};
    if (::statx(dirFd, name.constData(), flags | AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
                STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
        return errnoError(errno);
    FileStatus status;
    if (S_ISREG(info.stx_mode))
        status.type = FileStatus::Type::regular;
    else if (S_ISDIR(info.stx_mode))
        status.type = FileStatus::Type::directory;
    else if (S_ISLNK(info.stx_mode))
        status.type = FileStatus::Type::symlink;
    status.size = qint64(info.stx_size);
    status.accessed = dateTime(info.stx_atime);
    status.modified = dateTime(info.stx_mtime);
    status.accessedNs = nanoseconds(info.stx_atime);
    status.modifiedNs = nanoseconds(info.stx_mtime);
    status.device = makedev(info.stx_dev_major, info.stx_dev_minor);
    status.inode = info.stx_ino;
    status.permissions = info.stx_mode & 07777;
    status.owner = info.stx_uid;
    status.group = info.stx_gid;
    status.links = info.stx_nlink;
    if ((info.stx_mask & STATX_BTIME) && info.stx_btime.tv_sec != 0)
        status.born = dateTime(info.stx_btime);
    return status;
}
} // namespace

Result<FileStatus> fileStatus(int dirFd, const QString& name) {
    return statusOf(dirFd, QFile::encodeName(name), 0);
}

Result<FileStatus> fileStatus(int fd) {
    return statusOf(fd, QByteArray(""), AT_EMPTY_PATH);
}

Result<void> setFileTimes(int fd, qint64 accessedNs, qint64 modifiedNs) {
    const struct timespec times[2] = {timespecOf(accessedNs), timespecOf(modifiedNs)};
    if (::futimens(fd, times) != 0)
        return errnoError(errno);
    return {};
}

Result<void> setFileTimes(const QString& path, std::optional<qint64> accessedNs,
                          std::optional<qint64> modifiedNs) {
    // UTIME_OMIT leaves a time that was not given as it is.
    struct timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_OMIT}};
    if (accessedNs)
        times[0] = timespecOf(*accessedNs);
    if (modifiedNs)
        times[1] = timespecOf(*modifiedNs);
    if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0)
        return errnoError(errno);
    return {};
}

Result<void> setFilePermissions(const QString& path, quint32 permissions) {
    if (::chmod(QFile::encodeName(path).constData(), mode_t(permissions & 07777)) != 0)
        return errnoError(errno);
    return {};
}

Result<void> setFileOwner(const QString& path, quint32 owner, quint32 group) {
    if (::chown(QFile::encodeName(path).constData(), uid_t(owner), gid_t(group)) != 0)
        return errnoError(errno);
    return {};
}

} // namespace velarix
