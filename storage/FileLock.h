#pragma once

#include "core/Result.h"
#include "storage/PosixFile.h"

#include <QString>

namespace velarix {

// An exclusive advisory lock (flock) on a file, held while the object lives. The kernel drops it
// when the process ends in any way, so a killed process never leaves a card locked. The file is
// removed on release; a taker checks that the file it locked is still the one at the path.
class FileLock {
public:
    // The error code when another holder has the lock.
    static constexpr int kHeldElsewhere = 1;

    // Creates `path` (and its folder, private to the user) when missing and takes the lock without
    // waiting. Fails with code kHeldElsewhere when someone else holds it.
    static Result<FileLock> tryLock(const QString& path);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    // Removes the file, then lets go of the lock.
    ~FileLock();

    const QString& path() const { return m_path; }

private:
    FileLock(UniqueFd fd, QString path)
        : m_fd(std::move(fd))
        , m_path(std::move(path)) {}

    UniqueFd m_fd;
    QString m_path;
};

} // namespace velarix
