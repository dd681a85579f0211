#include "storage/FileLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace velarix {

Result<FileLock> FileLock::tryLock(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
        return errnoError(errno);
    const QByteArray name = QFile::encodeName(path);
    for (;;) {
        UniqueFd fd(::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd.valid())
            return errnoError(errno);
        // flock belongs to the open file description: a second open in this process conflicts too.
        while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno == EWOULDBLOCK)
                return Error::make(
                    QStringLiteral("FileLock"), kHeldElsewhere,
                    QCoreApplication::translate("Files", "%1 is locked by another process.").arg(path));
            return errnoError(errno);
        }
        // The holder before us may have removed the file between our open and our lock: then we
        // hold a lock nobody else can see, and must take the file that is there now.
        struct stat locked {};
        struct stat current {};
        if (::fstat(fd.get(), &locked) == 0 && ::stat(name.constData(), &current) == 0 &&
            locked.st_dev == current.st_dev && locked.st_ino == current.st_ino)
            return FileLock(std::move(fd), path);
    }
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::move(other.m_fd))
    , m_path(std::exchange(other.m_path, QString())) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (m_fd.valid())
            ::unlink(QFile::encodeName(m_path).constData());
        m_fd = std::move(other.m_fd);
        m_path = std::exchange(other.m_path, QString());
    }
    return *this;
}

FileLock::~FileLock() {
    // Removed while still locked, so that no one can lock the old file after we let go.
    if (m_fd.valid())
        ::unlink(QFile::encodeName(m_path).constData());
}

} // namespace velarix
