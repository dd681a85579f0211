#include "import/FileCopy.h"

#include "import/ImportTemporary.h"

#include "core/Log.h"
#include "import/ImportLog.h"
#include "storage/DirectFileWriter.h"
#include "storage/FileStatus.h"
#include "storage/PosixFile.h"
#include "storage/ReadAhead.h"
#include "storage/RegionVerifier.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace velarix {

namespace {

constexpr qint64 kSourceDropStep = 32 * 1024 * 1024;
constexpr qint64 kMappedPiece = 4 * 1024 * 1024;

Error cancelled() {
    return Error::cancellation();
}

// Marks a failed read of the source, which writeCopy words as the card's failure.
const QString kSourceReadDomain = QStringLiteral("SourceRead");

Error sourceReadError(int code) {
    return Error::make(kSourceReadDomain, code, errnoText(code), errnoKind(code));
}

// A read of the card failed: the user needs to hear that, not a system call's "Bad address", and
// whether the card is still there (a pulled card's file is gone, or its block device left the system).
Error cardReadFailure(const QString& source, int code) {
    // A mapped page that cannot be read fails the write as an address fault.
    const QString reason = errnoText(code == EFAULT ? EIO : code);
    const auto status = fileStatus(source);
    const int statusError = status ? 0 : status.error().code;
    const quint64 device = status ? status->device : 0;
    const bool deviceGone =
        ::major(dev_t(device)) != 0 &&
        !QFileInfo::exists(
            QStringLiteral("/sys/dev/block/%1:%2").arg(::major(dev_t(device))).arg(::minor(dev_t(device))));
    QString message;
    if (deviceGone || statusError == ENOENT || statusError == ENODEV || statusError == ENXIO)
        message =
            QCoreApplication::translate("Import", "Reading the card failed (%1): the card was removed.");
    else if (statusError != 0)
        message = QCoreApplication::translate(
            "Import", "Reading the card failed (%1), and the card no longer answers: check that "
                      "it is still in, then try again.");
    else
        message = QCoreApplication::translate(
            "Import", "Reading the card failed (%1). The card is still in, so it may be damaged: "
                      "try again, or copy the file with another card reader.");
    return Error::make(kCopyErrorDomain, code, message.arg(reason), ErrorKind::io);
}

// What both ways of copying do after each piece: the test hook, cancellation and progress. The last
// piece is left to the caller, which reports it once it is in the file.
struct PieceReport {
    const CopyControl& control;
    qint64 size;
    ReadAhead* ahead;
    qint64 nextReport = kCopyProgressStep;

    // False once the copy is cancelled.
    bool after(qint64 copied) {
        ahead->consumed(copied);
        if (copied == size)
            return true;
        if (control.afterChunk)
            control.afterChunk(copied);
        if (isCancelled(control.cancel))
            return false;
        if (copied >= nextReport) {
            if (control.progress)
                control.progress(copied, size);
            nextReport += kCopyProgressStep;
        }
        return true;
    }
};

// The source's size now, where it differs from what was measured: a file that grew or shrank while
// it was copied changed (or its card went).
std::optional<qint64> changedSize(int in, qint64 size) {
    if (auto now = fileStatus(in); now && now->size != size)
        return now->size;
    return std::nullopt;
}

// The source is read straight into the writer's buffers, which go to the disk as they fill; with a
// `verifier`, each region is read back behind the writer.
Result<qint64> copyThroughBuffers(int in, int out, qint64 size, RegionVerifier* verifier, CopyFeed* feed,
                                  PieceReport& report) {
    DirectFileWriter writer(out);
    writer.setVerifier(verifier);
    qint64 copied = 0;
    qint64 dropped = 0;
    while (copied < size) {
        qint64 room = 0;
        auto space = writer.space(&room);
        if (!space)
            return space.error();
        auto n = readSome(in, *space, room);
        if (!n)
            return sourceReadError(n.error().code);
        if (*n == 0)
            break;
        if (auto written = writer.commit(*n); !written)
            return written.error();
        if (feed)
            feed->append(*space, *n);
        copied += *n;
        // The source need not stay cached either; dropped in large steps, as each drop waits for
        // every processor to hand back its page lists, which takes long on a busy machine.
        if (copied - dropped >= kSourceDropStep || copied == size) {
            dropCachedPages(in, dropped, copied - dropped);
            dropped = copied;
        }
        if (!report.after(copied))
            return cancelled();
    }
    if (copied == size)
        if (auto finished = writer.finish(); !finished)
            return finished.error();
    return copied;
}

// Without verification nothing needs to see the bytes: the writer hands the source's mapped pages
// straight to the disk, so they are never copied through this process. Of the ways measured (reading
// into our buffers, the kernel's sendfile with writeback started as it went) this was the fastest.
Result<qint64> copyMapped(int in, int out, qint64 size, PieceReport& report) {
    qint64 copied = 0;
    {
        DirectFileWriter writer(out);
        while (copied < size) {
            const qint64 piece = std::min(kMappedPiece, size - copied);
            if (auto queued = writer.appendFrom(in, copied, piece); !queued) {
                if (copied > 0)
                    return queued.error().code == EFAULT ? sourceReadError(EFAULT) : queued.error();
                break; // a source that cannot be mapped (some FUSE file systems): read below
            }
            copied += piece;
            if (!report.after(copied))
                return cancelled();
        }
        if (copied == size)
            if (auto finished = writer.finish(); !finished)
                return finished.error().code == EFAULT ? sourceReadError(EFAULT) : finished.error();
    }
    if (copied == 0)
        return copyThroughBuffers(in, out, size, nullptr, nullptr, report);
    return copied;
}

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
            qCDebug(lcImport, "Removed the temporary file %s of an interrupted import",
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
    QElapsedTimer started; // for the rate in the debug log
    UniqueFd dir;
    std::unique_ptr<TemporaryFile> temporary;
    // Reads the copy back while it is written; when verifying. Declared last: stopped before the
    // file goes.
    std::unique_ptr<RegionVerifier> verifier;
    std::shared_ptr<CopyFeed> feed;
};

void PendingCopyDeleter::operator()(PendingCopy* copy) const {
    // A copy given up before it was named (a completed one told the feed its name already).
    if (copy->feed)
        copy->feed->end(Error::make(kCopyErrorDomain, 2, QStringLiteral("The copy was not completed.")));
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
        return Error::make(kCopyErrorDomain, 1, QCoreApplication::translate("Import", "Invalid file size"));
    const qint64 size = status->size;
    qCDebug(lcImport, "Copying %s (%lld bytes) to %s", qUtf8Printable(source), static_cast<long long>(size),
            qUtf8Printable(destination));

    auto opened = openPath(source, O_RDONLY | O_NOFOLLOW);
    if (!opened)
        return opened.error();
    const UniqueFd in = std::move(*opened);
    adviseSequential(in.get());
    // Before anything of the destination, which may wait on the flush of the copy before this one.
    ReadAhead ahead(in.get(), size);

    PendingCopyPtr copy(new PendingCopy);
    copy->started.start();
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

    if (auto reserved = reserveSpace(out, size); !reserved)
        return reserved.error();
    if (control.feed) {
        copy->feed = control.feed;
        copy->feed->begin(source, out, size, control.cancel);
    }
    // Only a verified or fed copy passes through us, and only a verified one is read back.
    if (control.verify) {
        std::function<void(qint64)> checked;
        if (control.verifyProgress)
            checked = [progress = control.verifyProgress, size](qint64 done) {
                progress(done, size);
            };
        copy->verifier = std::make_unique<RegionVerifier>(out, control.cancel, std::move(checked));
    }
    PieceReport report{control, size, &ahead};
    Result<qint64> moved =
        control.verify || copy->feed
            ? copyThroughBuffers(in.get(), out, size, copy->verifier.get(), copy->feed.get(), report)
            : copyMapped(in.get(), out, size, report);
    // A source cut short fails the mapped copy as an address fault: what the user needs to hear is
    // that the file changed.
    const std::optional<qint64> changed = changedSize(in.get(), size);
    if (!moved && !changed)
        return moved.error().domain == kSourceReadDomain ? cardReadFailure(source, moved.error().code)
                                                         : moved.error();
    const qint64 copied = changed ? *changed : *moved;
    if (!changed) {
        if (control.afterChunk)
            control.afterChunk(copied);
        if (isCancelled())
            return cancelled();
    }
    if (control.progress)
        control.progress(copied, size);
    if (changed || copied != size)
        return Error::make(
            kCopyErrorDomain, 2,
            QCoreApplication::translate("Import",
                                        "The file changed while it was copied (%1 of %2 bytes read); was the "
                                        "card removed?")
                .arg(copied)
                .arg(size));

    if (auto kept = setFileTimes(out, status->accessedNs, status->modifiedNs); !kept)
        qCCritical(lcApp, "Failed to preserve file attributes for %s: %s", qUtf8Printable(destination),
                   qUtf8Printable(kept.error().message));
    return copy;
}

Result<QString> completeCopy(PendingCopyPtr copy, const CopyControl& control) {
    const auto isCancelled = [&] {
        return velarix::isCancelled(control.cancel);
    };
    if (isCancelled())
        return cancelled();
    TemporaryFile& temporary = *copy->temporary;
    if (!copy->verifier) {
        if (auto synced = syncToDisk(temporary.fd()); !synced)
            return synced.error();
    } else {
        // Every region but the last was read back while the file was written; what is left needs the
        // data durable first.
        if (::fdatasync(temporary.fd()) != 0)
            return errnoError(errno);
        auto verdict = copy->verifier->finish();
        if (!verdict)
            return verdict.error();
        const auto status = fileStatus(temporary.fd());
        if (*verdict != RegionVerifier::Verdict::matches || !status || status->size != copy->size)
            return Error::make(kCopyErrorDomain, 3,
                               QCoreApplication::translate(
                                   "Import", "The copy does not match the original (checksum mismatch)."));
        if (isCancelled())
            return cancelled();
    }
    if (auto closed = temporary.close(); !closed)
        return closed.error();

    auto named = nameWithoutReplacing(copy->dir.get(), temporary.name(), copy->folder, copy->fileName);
    if (named) {
        temporary.published();
        const double seconds = std::max<qint64>(copy->started.elapsed(), 1) / 1000.0;
        qCDebug(lcImport, "Copied %s: %lld bytes in %.2f s (%.1f MB/s)", qUtf8Printable(*named),
                static_cast<long long>(copy->size), seconds, double(copy->size) / seconds / 1e6);
    }
    if (copy->feed)
        copy->feed->end(named);
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
        QCoreApplication::translate("Import", "No free name for %1 in %2: %3 up to %4 are all taken.")
            .arg(fileName, folder, numberedName(fileName, 1), numberedName(fileName, kMaxNumberedName)));
}

Result<QString> copyFile(const QString& source, const QString& destination, const CopyControl& control) {
    auto written = writeCopy(source, destination, control);
    if (!written)
        return written.error();
    return completeCopy(std::move(*written), control);
}

} // namespace velarix
