#include "import/ImportTemporary.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {
const QByteArray kTemporaryPrefix = ".velarix-import-";
const QByteArray kTemporarySuffix = ".tmp";
} // namespace

TemporaryFile::~TemporaryFile() {
    m_fd = UniqueFd();
    if (!m_published)
        ::unlinkat(m_dirFd, m_name.constData(), 0);
}

bool isTemporaryName(const QByteArray& name) {
    return name.startsWith(kTemporaryPrefix) && name.endsWith(kTemporarySuffix);
}

Result<std::unique_ptr<TemporaryFile>> createTemporary(int dirFd) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray name = kTemporaryPrefix +
                                QByteArray::number(QRandomGenerator::global()->generate64(), 16) +
                                kTemporarySuffix;
        UniqueFd fd(::openat(dirFd, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.valid()) {
            if (errno != EEXIST)
                return errnoError(errno);
            continue;
        }
        // A sweep may have taken the new file for a dead one between open and lock.
        struct stat info {};
        if (::flock(fd.get(), LOCK_EX) == 0 && ::fstat(fd.get(), &info) == 0 && info.st_nlink == 0)
            continue;
        return std::make_unique<TemporaryFile>(dirFd, name, std::move(fd));
    }
    return errnoError(EEXIST);
}

} // namespace velarix
