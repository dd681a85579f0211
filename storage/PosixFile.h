#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace velarix {

// Owns a file descriptor and closes it on every path.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd)
        : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept
        : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();
    // Closes now and reports the close error (which can carry a delayed write error).
    Result<void> close();

private:
    int m_fd = -1;
};

// The system's words for an errno value, e.g. "No space left on device".
QString errnoText(int error);
// The same as an error in the domain "POSIX", with the errno value as its code.
Error errnoError(int error);

// open(2) of a path, or of a name inside the folder `dirFd`; close-on-exec is always added.
Result<UniqueFd> openPath(const QString& path, int flags, unsigned mode = 0);
Result<UniqueFd> openAt(int dirFd, const QByteArray& name, int flags, unsigned mode = 0);
// Takes an exclusive flock on an open file or folder; without `wait` it fails at once with
// EWOULDBLOCK while another descriptor holds it.
Result<void> lockExclusive(int fd, bool wait);
// Creates one folder (not its parents); EEXIST when something has the name already.
Result<void> makeFolder(const QString& path, unsigned mode);
// Flushes a file's data and metadata to the disk (fsync).
Result<void> syncToDisk(int fd);
// Removes a name inside the folder `dirFd` (unlinkat).
Result<void> removeNameAt(int dirFd, const QByteArray& name);
// Creates a symbolic link at `linkPath` pointing at `target`.
Result<void> makeSymlink(const QString& target, const QString& linkPath);

// Read up to `size` bytes, retrying on EINTR; 0 means end of file.
Result<qint64> readSome(int fd, char* buffer, qint64 size);
// Writes all of `size` bytes, retrying on short writes and EINTR.
Result<void> writeAll(int fd, const char* buffer, qint64 size);

// Gives `from` the name `to` unless `to` already exists (then the error code is EEXIST). Uses
// renameat2(RENAME_NOREPLACE), or link and unlink where the file system lacks it. Both in `dirFd`.
Result<void> renameNoReplace(int dirFd, const QByteArray& from, const QByteArray& to);
// Swaps the two paths' files atomically (renameat2(RENAME_EXCHANGE)); both must exist. File systems
// without the swap (FAT, exFAT) fail with EINVAL, ENOSYS or EOPNOTSUPP.
Result<void> exchangePaths(const QString& first, const QString& second);
// Gives the file at `from` the path `to`, replacing what was there (rename).
Result<void> renameReplacing(const QString& from, const QString& to);

// Whether this process may make files in the folder (access(W_OK | X_OK)); the error says why not.
Result<void> checkWritableFolder(const QString& path);
// Whether the descriptor does direct I/O (O_DIRECT), and turning it on or off; false where refused.
bool hasDirectIo(int fd);
bool setDirectIo(int fd, bool direct);
// Tells the kernel the file is read from start to end, so that it reads ahead further.
void adviseSequential(int fd);
// Allocates the blocks of a file of `size` bytes (and gives it that size) before it is written, so
// that a full disk fails now rather than halfway. Fails only when the space or the size is refused:
// where the file system cannot allocate ahead, the writes allocate as they go.
Result<void> reserveSpace(int fd, qint64 size);
// Starts writing the range's dirty pages to the disk and returns at once (length 0: to the end).
void startWriteback(int fd, qint64 offset, qint64 length);
// Drops the file's clean cached pages in the range (length 0: to the end); dirty ones stay.
void dropCachedPages(int fd, qint64 offset, qint64 length);

} // namespace velarix
