#include "platform/WriteLease.h"

#include "platform/PosixFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace velarix {

WriterCheck checkForWriters(const QString& path) {
    // Opened for reading only: a descriptor of our own open for writing would refuse the lease too.
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.valid())
        return WriterCheck{false, QString::fromLocal8Bit(std::strerror(errno))};
    if (::fcntl(fd.get(), F_SETLEASE, F_RDLCK) != 0) {
        const int error = errno;
        if (error == EAGAIN || error == EBUSY)
            return WriterCheck{true, {}};
        return WriterCheck{false, QString::fromLocal8Bit(std::strerror(error))};
    }
    // Held for no longer than this check: a writer opening meanwhile waits for us to give it back.
    ::fcntl(fd.get(), F_SETLEASE, F_UNLCK);
    return {};
}

} // namespace velarix
