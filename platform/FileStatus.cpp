#include "platform/FileStatus.h"

#include "platform/PosixFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace velarix {

static_assert(AT_FDCWD == -100);

namespace {
qint64 nanoseconds(const struct statx_timestamp& t) {
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}
QDateTime dateTime(const struct statx_timestamp& t) {
    return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000);
}
} // namespace

QDateTime FileStatus::creationDate() const {
    if (born && born->isValid() && (!modified.isValid() || *born < modified))
        return *born;
    return modified;
}

Result<FileStatus> fileStatus(int dirFd, const QString& name) {
    struct statx info {};
    const QByteArray encoded = QFile::encodeName(name);
    if (::statx(dirFd, encoded.constData(), AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
                STATX_TYPE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME, &info) != 0)
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
    if ((info.stx_mask & STATX_BTIME) && info.stx_btime.tv_sec != 0)
        status.born = dateTime(info.stx_btime);
    return status;
}

Result<void> setFileTimes(int fd, qint64 accessedNs, qint64 modifiedNs) {
    const struct timespec times[2] = {{time_t(accessedNs / 1'000'000'000), long(accessedNs % 1'000'000'000)},
                                      {time_t(modifiedNs / 1'000'000'000), long(modifiedNs % 1'000'000'000)}};
    if (::futimens(fd, times) != 0)
        return errnoError(errno);
    return {};
}

} // namespace velarix
