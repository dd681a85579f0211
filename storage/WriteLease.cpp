#include "storage/WriteLease.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>

namespace velarix {

ReadLease ReadLease::take(const QString& path) {
    ReadLease lease;
    // Opened for reading only: a descriptor of our own open for writing would refuse the lease too.
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.valid()) {
        lease.m_unknownReason = errnoText(errno);
        return lease;
    }
    // A writer arriving while the lease is held makes the kernel signal us, with SIGIO unless told
    // otherwise, and SIGIO ends a process. SIGURG is ignored unless handled, and nothing here does.
    if (::fcntl(fd.get(), F_SETSIG, SIGURG) != 0 || ::fcntl(fd.get(), F_SETLEASE, F_RDLCK) != 0) {
        const int error = errno;
        if (error == EAGAIN || error == EBUSY)
            lease.m_beingWritten = true;
        else
            lease.m_unknownReason = errnoText(error);
        return lease;
    }
    lease.m_fd = std::move(fd);
    return lease;
}

bool ReadLease::broken() const {
    // While a writer waits for it, the lease reads as the type it is being broken to.
    return held() && ::fcntl(m_fd.get(), F_GETLEASE) != F_RDLCK;
}

void ReadLease::release() {
    if (held())
        ::fcntl(m_fd.get(), F_SETLEASE, F_UNLCK);
    m_fd = UniqueFd();
}

ReadLease::~ReadLease() {
    release();
}

} // namespace velarix
