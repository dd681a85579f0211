#include "import/FileCopy.h"

#include "import/ImportTemporary.h"

#include "platform/FileHash.h"
#include "platform/FileStatus.h"
#include "platform/Log.h"
#include "platform/PosixFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velarix {

namespace {

Error cancelled() {
    return Error::cancellation();
}

// Keeps the disk writing while the copy goes on. Every 8 MiB written is sent to the disk at once;
// then the copy waits for the 8 MiB before to be on the disk and drops them from the page cache. So
// at most 16 MiB are dirty at a time, the final fsync has little left to do, the read-back finds
// nothing cached, and a large import does not push everything else out of memory.
class WritebackWindow {
public:
    explicit WritebackWindow(int fd)
        : m_fd(fd) {}

    // `total` bytes of the file are written.
    Result<void> written(qint64 total) {
        if (total - m_started < kStep)
            return {};
        ::sync_file_range(m_fd, m_started, total - m_started, SYNC_FILE_RANGE_WRITE);
        auto settled = settle(m_started);
        m_started = total;
        return settled;
    }

    // Starts what is left; fsync waits for it.
    Result<void> finish(qint64 total) {
        if (total > m_started)
            ::sync_file_range(m_fd, m_started, total - m_started, SYNC_FILE_RANGE_WRITE);
        return settle(m_started);
    }

private:
    static constexpr qint64 kStep = 8 * 1024 * 1024;

    // Waiting here reports a write error, and then fsync would no longer see it: so it is kept.
    Result<void> settle(qint64 upTo) {
        if (upTo <= m_settled)
            return {};
        const qint64 length = upTo - m_settled;
        if (::sync_file_range(m_fd, m_settled, length,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                  SYNC_FILE_RANGE_WAIT_AFTER) != 0)
            return errnoError(errno);
        ::posix_fadvise(m_fd, m_settled, length, POSIX_FADV_DONTNEED);
        m_settled = upTo;
        return {};
    }

    int m_fd;
    qint64 m_started = 0; // writeback was started for the bytes before this
    qint64 m_settled = 0; // the bytes before this are on the disk and dropped
};

} // namespace

void removeStaleTemporaries(const QString& folder) {
    const auto dirFd = openPath(folder, O_RDONLY | O_DIRECTORY);
    if (!dirFd)
        return;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        const QByteArray name = QFile::encodeName(entry);
        if (!isTemporaryName(name))
            continue;
        const auto fd = openAt(dirFd->get(), name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
        if (!fd)
            continue;
        const auto status = fileStatus(fd->get());
        // Locked means a copy is still writing it.
        if (!status || status->type != FileStatus::Type::regular || !lockExclusive(fd->get(), false))
            continue;
        if (removeNameAt(dirFd->get(), name))
            qCDebug(lcApp, "Removed the temporary file %s of an interrupted import",
                    qUtf8Printable(folder + u'/' + entry));
    }
}

QString numberedName(const QString& fileName, int n) {
    if (n == 0)
        return fileName;
    const QFileInfo info(fileName);
    const QString numbered = info.completeBaseName() + QStringLiteral(" - %1").arg(n);
    return info.suffix().isEmpty() && !fileName.endsWith(u'.') ? numbered : numbered + u'.' + info.suffix();
}

struct PendingCopy {
    QString folder;
    QString fileName; // the wanted name in `folder`
    qint64 size = 0;
    UniqueFd dir;
    std::unique_ptr<TemporaryFile> temporary;
    std::optional<quint64> sourceHash; // when verifying
};

void PendingCopyDeleter::operator()(PendingCopy* copy) const {
    delete copy;
}

Result<PendingCopyPtr> writeCopy(const QString& source, const QString& destination,
                                 const CopyControl& control) {
    const auto isCancelled = [&] {
        return velarix::isCancelled(control.cancel);
    };
    if (isCancelled())
        return cancelled();

    auto status = fileStatus(source);
    if (!status)
        return status.error();
    if (status->type != FileStatus::Type::regular || status->size < 1)
        return Error::make(kCopyErrorDomain, 1, QStringLiteral("Invalid file size"));
    const qint64 size = status->size;

    auto opened = openPath(source, O_RDONLY | O_NOFOLLOW);
    if (!opened)
        return opened.error();
    const UniqueFd in = std::move(*opened);
    ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    PendingCopyPtr copy(new PendingCopy);
    const QFileInfo target(destination);
    copy->folder = target.absolutePath();
    copy->fileName = target.fileName();
    copy->size = size;
    auto folder = openPath(copy->folder, O_RDONLY | O_DIRECTORY);
    if (!folder)
        return folder.error();
    copy->dir = std::move(*folder);
    auto created = createTemporary(copy->dir.get());
    if (!created)
        return created.error();
    copy->temporary = std::move(*created);
    const int out = copy->temporary->fd();

    std::optional<StreamHasher> sourceHash;
    if (control.verify)
        sourceHash.emplace();
    WritebackWindow writeback(out);
    std::vector<char> buffer(static_cast<size_t>(kCopyChunkSize));
    qint64 copied = 0;
    qint64 nextReport = kCopyProgressStep;
    for (;;) {
        auto n = readSome(in.get(), buffer.data(), kCopyChunkSize);
        if (!n)
            return n.error();
        if (*n == 0)
            break;
        if (sourceHash)
            sourceHash->update(buffer.data(), *n);
        if (auto written = writeAll(out, buffer.data(), *n); !written)
            return written.error();
        copied += *n;
        if (auto flowing = writeback.written(copied); !flowing)
            return flowing.error();
        if (control.afterChunk)
            control.afterChunk(copied);
        if (isCancelled())
            return cancelled();
        if (copied >= nextReport) {
            if (control.progress)
                control.progress(copied, size);
            nextReport += kCopyProgressStep;
        }
        // The source need not stay cached either.
        ::posix_fadvise(in.get(), copied - *n, *n, POSIX_FADV_DONTNEED);
    }
    if (control.progress)
        control.progress(copied, size);
    if (copied != size)
        return Error::make(
            kCopyErrorDomain, 2,
            QStringLiteral("The file changed while it was copied (%1 of %2 bytes read); was the "
                           "card removed?")
                .arg(copied)
                .arg(size));
    if (auto flowing = writeback.finish(copied); !flowing)
        return flowing.error();

    if (auto kept = setFileTimes(out, status->accessedNs, status->modifiedNs); !kept)
        qCCritical(lcApp, "Failed to preserve file attributes for %s: %s", qUtf8Printable(destination),
                   qUtf8Printable(kept.error().message));
    if (sourceHash)
        copy->sourceHash = sourceHash->digest();
    return copy;
}

Result<QString> completeCopy(PendingCopyPtr copy, const CopyControl& control) {
    const auto isCancelled = [&] {
        return velarix::isCancelled(control.cancel);
    };
    if (isCancelled())
        return cancelled();
    TemporaryFile& temporary = *copy->temporary;
    if (auto synced = syncToDisk(temporary.fd()); !synced)
        return synced.error();

    if (copy->sourceHash) {
        const qint64 size = copy->size;
        std::function<void(qint64)> progress;
        if (control.verifyProgress)
            progress = [&control, size](qint64 checked) {
                control.verifyProgress(checked, size);
            };
        // The written pages are clean after fsync, so they can be dropped and read back from the disk.
        auto copyHash = checksumFromDisk(temporary.fd(), kCopyChunkSize, control.cancel, progress);
        if (!copyHash)
            return copyHash.error();
        if (*copyHash != *copy->sourceHash)
            return Error::make(kCopyErrorDomain, 3,
                               QStringLiteral("The copy does not match the original (checksum mismatch)."));
        if (isCancelled())
            return cancelled();
    }
    if (auto closed = temporary.close(); !closed)
        return closed.error();

    auto named = nameWithoutReplacing(copy->dir.get(), temporary.name(), copy->folder, copy->fileName);
    if (named)
        temporary.published();
    return named;
}

Result<QString> nameWithoutReplacing(int dirFd, const QByteArray& temporaryName, const QString& folder,
                                     const QString& fileName) {
    for (int n = 0; n <= kMaxNumberedName; ++n) {
        const QString candidate = numberedName(fileName, n);
        auto renamed = renameNoReplace(dirFd, temporaryName, QFile::encodeName(candidate));
        if (renamed) {
            // The new name is as durable as the folder; a failure here loses no data already written.
            (void)syncToDisk(dirFd);
            return folder + u'/' + candidate;
        }
        if (renamed.error().code != EEXIST)
            return renamed.error();
    }
    return Error::make(
        kCopyErrorDomain, 4,
        QStringLiteral("No free name for %1 in %2: %3 up to %4 are all taken.")
            .arg(fileName, folder, numberedName(fileName, 1), numberedName(fileName, kMaxNumberedName)));
}

Result<QString> copyFile(const QString& source, const QString& destination, const CopyControl& control) {
    auto written = writeCopy(source, destination, control);
    if (!written)
        return written.error();
    return completeCopy(std::move(*written), control);
}

} // namespace velarix
