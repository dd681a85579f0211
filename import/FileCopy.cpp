#include "import/FileCopy.h"

#include "platform/FileHash.h"
#include "platform/FileStatus.h"
#include "platform/Log.h"
#include "platform/PosixFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velarix {

namespace {

// The temporary file; removed unless it was given its final name.
class TemporaryFile {
public:
    TemporaryFile(int dirFd, QByteArray name, UniqueFd fd)
        : m_dirFd(dirFd)
        , m_name(std::move(name))
        , m_fd(std::move(fd)) {}
    ~TemporaryFile() {
        m_fd = UniqueFd();
        if (!m_published)
            ::unlinkat(m_dirFd, m_name.constData(), 0);
    }
    int fd() const { return m_fd.get(); }
    const QByteArray& name() const { return m_name; }
    Result<void> close() { return m_fd.close(); }
    void published() { m_published = true; }

private:
    int m_dirFd;
    QByteArray m_name;
    UniqueFd m_fd;
    bool m_published = false;
};

const QByteArray kTemporaryPrefix = ".velarix-import-";
const QByteArray kTemporarySuffix = ".tmp";

bool isTemporaryName(const QByteArray& name) {
    return name.startsWith(kTemporaryPrefix) && name.endsWith(kTemporarySuffix);
}

// The file stays locked while it is written, so that removeStaleTemporaries (in this or another
// process) can tell a live copy from one whose process died.
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

Error cancelled() {
    return Error::cancellation();
}

} // namespace

void removeStaleTemporaries(const QString& folder) {
    UniqueFd dirFd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd.valid())
        return;
    std::vector<QByteArray> names;
    if (DIR* dir = ::fdopendir(::dup(dirFd.get()))) {
        while (const dirent* entry = ::readdir(dir)) {
            if (isTemporaryName(entry->d_name))
                names.emplace_back(entry->d_name);
        }
        ::closedir(dir);
    }
    for (const QByteArray& name : names) {
        UniqueFd fd(::openat(dirFd.get(), name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        // Locked means a copy is still writing it.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::unlinkat(dirFd.get(), name.constData(), 0) == 0)
            qCDebug(lcApp, "Removed the temporary file %s of an interrupted import",
                    qUtf8Printable(folder + u'/' + QFile::decodeName(name)));
    }
}

QString numberedName(const QString& fileName, int n) {
    if (n == 0)
        return fileName;
    const QFileInfo info(fileName);
    const QString numbered = info.completeBaseName() + QStringLiteral(" - %1").arg(n);
    return info.suffix().isEmpty() && !fileName.endsWith(u'.') ? numbered : numbered + u'.' + info.suffix();
}

Result<QString> copyFile(const QString& source, const QString& destination, const CopyControl& control) {
    const auto isCancelled = [&] {
        return control.isCancelled && control.isCancelled();
    };
    if (isCancelled())
        return cancelled();

    auto status = fileStatus(source);
    if (!status)
        return status.error();
    if (status->type != FileStatus::Type::regular || status->size < 1)
        return Error::make(kCopyErrorDomain, 1, QStringLiteral("Invalid file size"));
    const qint64 size = status->size;

    UniqueFd in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.valid())
        return errnoError(errno);
    ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    const QFileInfo target(destination);
    const QString folder = target.absolutePath();
    UniqueFd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return errnoError(errno);
    auto created = createTemporary(dir.get());
    if (!created)
        return created.error();
    const std::unique_ptr<TemporaryFile> temporary = std::move(*created);

    StreamHasher sourceHash;
    std::vector<char> buffer(static_cast<size_t>(kCopyChunkSize));
    qint64 copied = 0;
    qint64 nextReport = kCopyProgressStep;
    for (;;) {
        auto n = readSome(in.get(), buffer.data(), kCopyChunkSize);
        if (!n)
            return n.error();
        if (*n == 0)
            break;
        sourceHash.update(buffer.data(), *n);
        if (auto written = writeAll(temporary->fd(), buffer.data(), *n); !written)
            return written.error();
        copied += *n;
        if (control.afterChunk)
            control.afterChunk(copied);
        if (isCancelled())
            return cancelled();
        if (copied >= nextReport) {
            if (control.progress)
                control.progress(copied, size);
            nextReport += kCopyProgressStep;
        }
        // What we have written is flushed by the final fsync; the source need not stay cached.
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

    if (auto kept = setFileTimes(temporary->fd(), status->accessedNs, status->modifiedNs); !kept)
        qCCritical(lcApp, "Failed to preserve file attributes for %s: %s", qUtf8Printable(destination),
                   qUtf8Printable(kept.error().message));
    if (::fsync(temporary->fd()) != 0)
        return errnoError(errno);

    if (control.verify) {
        // The written pages are clean after fsync, so they can be dropped and read back from the disk.
        auto copyHash = checksumFromDisk(temporary->fd(), kCopyChunkSize, isCancelled);
        if (!copyHash)
            return copyHash.error();
        if (*copyHash != sourceHash.digest())
            return Error::make(kCopyErrorDomain, 3,
                               QStringLiteral("The copy does not match the original (checksum mismatch)."));
        if (isCancelled())
            return cancelled();
    }
    if (auto closed = temporary->close(); !closed)
        return closed.error();

    const QString fileName = target.fileName();
    for (int n = 0;; ++n) {
        const QString candidate = numberedName(fileName, n);
        auto renamed = renameNoReplace(dir.get(), temporary->name(), QFile::encodeName(candidate));
        if (renamed) {
            temporary->published();
            ::fsync(dir.get());
            return folder + u'/' + candidate;
        }
        if (renamed.error().code != EEXIST)
            return renamed.error();
    }
}

} // namespace velarix
