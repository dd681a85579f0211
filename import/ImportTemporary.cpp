#include "import/ImportTemporary.h"

#include "storage/FileStatus.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>

namespace velarix {

namespace {
const QByteArray kTemporaryPrefix = ".velarix-import-";
const QByteArray kTemporarySuffix = ".tmp";
} // namespace

TemporaryFile::~TemporaryFile() {
    m_fd = UniqueFd();
    if (!m_published)
        (void)removeNameAt(m_dirFd, m_name);
}

bool isTemporaryName(const QByteArray& name) {
    return name.startsWith(kTemporaryPrefix) && name.endsWith(kTemporarySuffix);
}

Result<std::unique_ptr<TemporaryFile>> createTemporary(int dirFd) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray name = kTemporaryPrefix +
                                QByteArray::number(QRandomGenerator::global()->generate64(), 16) +
                                kTemporarySuffix;
        auto fd = openAt(dirFd, name, O_RDWR | O_CREAT | O_EXCL, 0666);
        if (!fd) {
            if (fd.error().code != EEXIST)
                return fd.error();
            continue;
        }
        // A sweep may have taken the new file for a dead one between open and lock.
        if (lockExclusive(fd->get(), true)) {
            if (auto status = fileStatus(fd->get()); status && status->links == 0)
                continue;
        }
        return std::make_unique<TemporaryFile>(dirFd, name, std::move(*fd));
    }
    return errnoError(EEXIST);
}

} // namespace velarix
