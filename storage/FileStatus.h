#pragma once

#include "core/Result.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace velarix {

// What the file system says about one entry, without following a symbolic link at its end.
struct FileStatus {
    enum class Type { regular, directory, symlink, other };
    Type type = Type::other;
    qint64 size = 0;
    QDateTime accessed;
    QDateTime modified;
    std::optional<QDateTime> born; // only where the file system records a birth time
    qint64 accessedNs = 0;         // exact times, for copying them onto another file
    qint64 modifiedNs = 0;
    quint64 device = 0; // with the inode, which file this is (a rename keeps both, a replace does not)
    quint64 inode = 0;
    quint32 permissions = 0; // the mode's permission bits, 07777
    quint32 owner = 0;
    quint32 group = 0;
    quint64 links = 0; // names the file has; 0 once the last was removed while it is open

    bool sameFile(const FileStatus& other) const { return device == other.device && inode == other.inode; }

    // The earlier of birth and modification: a camera's birth time is the start of the recording,
    // while a file copied with its dates kept was born after its modification time.
    QDateTime creationDate() const;
};

// statx of `name` relative to `dirFd` (AT_FDCWD for a plain path).
Result<FileStatus> fileStatus(int dirFd, const QString& name);
inline Result<FileStatus> fileStatus(const QString& path) {
    return fileStatus(-100 /* AT_FDCWD */, path);
}
// The same for an open file.
Result<FileStatus> fileStatus(int fd);

// Sets access and modification time (nanoseconds since the epoch) on an open file.
Result<void> setFileTimes(int fd, qint64 accessedNs, qint64 modifiedNs);
// The same on a path (following a symbolic link); a time not given is left as it is.
Result<void> setFileTimes(const QString& path, std::optional<qint64> accessedNs,
                          std::optional<qint64> modifiedNs);

// chmod and chown of a path.
Result<void> setFilePermissions(const QString& path, quint32 permissions);
Result<void> setFileOwner(const QString& path, quint32 owner, quint32 group);

} // namespace velarix
