#include "trimming/ReplacedOriginal.h"

#include "core/Background.h"
#include "desktop/Trash.h"
#include "storage/DetachedRemoval.h"
#include "storage/PosixFile.h"
#include "trimming/TrimmingLog.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>

#include <atomic>
#include <cerrno>
#include <fcntl.h>

namespace velarix {

namespace {

// One thread: frees are disk-bound, and in order they finish soonest one after another. Never
// destroyed, so that a process that ends without waiting does not wait in a static destructor (the
// working folder's registry entry lets the next start finish the removal).
QThreadPool& freeingPool() {
    static QThreadPool* pool = [] {
        auto* created = new QThreadPool;
        created->setMaxThreadCount(1);
        created->setExpiryTimeout(-1);
        return created;
    }();
    return *pool;
}

std::atomic<int> gPending{0};
std::atomic<bool> gDetached{false};

// The swap must be on the disk before the original can go: a crash must not leave the source's
// name without either file. The source's folder holds both names the swap changed.
Result<void> syncFolderOf(const QString& sourcePath) {
    auto folder = openPath(QFileInfo(sourcePath).absolutePath(), O_RDONLY | O_DIRECTORY);
    if (!folder)
        return folder.error();
    return syncToDisk(folder->get());
}

// True when a detached process took the folder over; the folder object then forgets it.
bool handToDetachedProcess(TrimWorkingFolder& folder, const QString& sourcePath) {
    if (auto synced = syncFolderOf(sourcePath); !synced) {
        qCInfo(lcTrimming, "Could not flush the folder of %s, so its original is freed here: %s",
               qPrintable(sourcePath), qPrintable(synced.error().message));
        return false;
    }
    auto started =
        removeInDetachedProcess(folder.path(), folder.registryEntryPath(), folder.lockDescriptor());
    if (!started) {
        qCInfo(lcTrimming, "Could not start a process to free the original of %s, so it is freed here: %s",
               qPrintable(sourcePath), qPrintable(started.error().message));
        return false;
    }
    folder.release();
    return true;
}

} // namespace

Result<QString> keepBesideSource(const QString& originalPath, const QString& sourcePath) {
    const QFileInfo source(sourcePath);
    const QString suffix = source.suffix().isEmpty() ? QString() : u'.' + source.suffix();
    for (int n = 1; n < 100; ++n) {
        const QString name =
            source.completeBaseName() +
            (n == 1 ? QStringLiteral(" (original)") : QStringLiteral(" (original %1)").arg(n)) + suffix;
        const QString target = source.absoluteDir().filePath(name);
        // Never over a file of the user's, even one made since the look-up.
        auto kept = renameNoReplace(AT_FDCWD, QFile::encodeName(originalPath), QFile::encodeName(target));
        if (!kept && kept.error().code == EEXIST)
            continue;
        if (!kept)
            return kept.error();
        qCCritical(lcTrimming, "Kept the original of %s as %s", qPrintable(sourcePath), qPrintable(target));
        return target;
    }
    return errnoError(EEXIST);
}

void disposeOfReplacedOriginal(TrimWorkingFolder folder, const QString& originalPath,
                               const QString& sourcePath, const OriginalDisposal& disposal) {
    if (disposal.trash) {
        if (auto moved = disposal.trash->commit(originalPath); !moved) {
            qCCritical(lcTrimming, "%s", qPrintable(moved.error().message));
            if (auto kept = keepBesideSource(originalPath, sourcePath); !kept)
                qCCritical(lcTrimming, "Could not keep the original of %s beside it: %s",
                           qPrintable(sourcePath), qPrintable(kept.error().message));
        }
    }
    if (!disposal.inBackground)
        return; // the folder, with the original if it is still there, goes with `folder` now
    if (gDetached && handToDetachedProcess(folder, sourcePath))
        return;
    ++gPending;
    auto held = std::make_shared<TrimWorkingFolder>(std::move(folder));
    runInBackground(
        [held]() mutable {
            held.reset();
            --gPending;
        },
        &freeingPool());
}

void disposeOfLaterChapters(const TrimWorkingFolder& folder, const QStringList& chapters,
                            const OriginalDisposal& disposal) {
    for (qsizetype i = 0; i < chapters.size(); ++i) {
        const QString& chapter = chapters[i];
        if (size_t(i) < disposal.laterChapterTrash.size() && disposal.laterChapterTrash[size_t(i)]) {
            if (auto moved = disposal.laterChapterTrash[size_t(i)]->commit(chapter); !moved)
                qCCritical(lcTrimming, "%s; %s stays where it is", qPrintable(moved.error().message),
                           qPrintable(chapter));
            continue;
        }
        // Moved beside the original, it is freed with it (on the background thread, where that is asked).
        const QString target =
            folder.filePath(QStringLiteral("chapter-%1-").arg(i + 2) + QFileInfo(chapter).fileName());
        if (renameReplacing(chapter, target))
            continue;
        if (!QFile::remove(chapter))
            qCCritical(lcTrimming, "Could not remove %s, a chapter of the trimmed recording",
                       qPrintable(chapter));
    }
}

void freeInDetachedProcesses(bool on) {
    gDetached = on;
}

void waitForPendingFrees() {
    freeingPool().waitForDone();
}

int pendingFreeCount() {
    return gPending.load();
}

} // namespace velarix
