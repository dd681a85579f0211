#include "import/CardScan.h"

#include "import/CardIdentity.h"
#include "media/RecordingFiles.h"

#include "core/Log.h"
#include "media/ContentTypes.h"
#include "storage/DirectoryWalk.h"

#include <QFileInfo>
#include <QUrl>

namespace velarix {

Result<std::optional<QString>> findSDCardVolume(const VolumeProvider& volumes) {
    auto cards = findCardVolumes(volumes);
    if (!cards)
        return cards.error();
    if (cards->isEmpty())
        return std::optional<QString>();
    return std::optional<QString>(cards->first());
}

Result<QList<ScanCandidate>> scanVideoFiles(const QString& volume,
                                            const std::function<void(qint64)>& progress,
                                            const CancelToken* cancel, QList<ScanCandidate>* companions) {
    QList<ScanCandidate> candidates;
    qint64 lastReported = 0;
    WalkHandlers handlers;
    handlers.folderError = [](const QString& path, const Error& error) {
        qCCritical(lcApp, "Enumeration error at %s: %s", qUtf8Printable(QUrl::fromLocalFile(path).toString()),
                   qUtf8Printable(error.message));
    };
    handlers.entry = [&](const WalkEntry& entry) {
        if (isCancelled(cancel))
            return false;
        if (entry.status.type != FileStatus::Type::regular)
            return true;
        const QDateTime created = entry.status.creationDate();
        const ScanCandidate found{entry.path, created.isValid() ? std::optional(created) : std::nullopt,
                                  entry.status.size};
        if (isCompanionFileName(entry.path)) {
            if (companions)
                companions->append(found);
            return true;
        }
        if (!isMovieFileName(entry.path))
            return true;
        candidates.append(found);
        const qint64 count = candidates.size();
        if (count == 1 || count - lastReported >= 10) {
            if (progress)
                progress(count);
            lastReported = count;
        }
        return true;
    };
    for (const QString& folder : presentCameraFolders(volume)) {
        if (auto walked = walkDirectory(volume + u'/' + folder, handlers); !walked)
            return walked.error();
        if (isCancelled(cancel))
            break;
    }
    // Folders of proxies: only their companions count, never a video of its own.
    WalkHandlers companionHandlers = handlers;
    companionHandlers.entry = [&](const WalkEntry& entry) {
        if (isCancelled(cancel))
            return false;
        if (entry.status.type == FileStatus::Type::regular && isCompanionFileName(entry.path)) {
            const QDateTime created = entry.status.creationDate();
            companions->append(ScanCandidate{
                entry.path, created.isValid() ? std::optional(created) : std::nullopt, entry.status.size});
        }
        return true;
    };
    for (const QString& folder :
         companions ? presentFolders(volume, cameraCompanionFolders()) : QStringList()) {
        if (isCancelled(cancel))
            break;
        if (auto walked = walkDirectory(volume + u'/' + folder, companionHandlers); !walked)
            return walked.error();
    }
    if (isCancelled(cancel))
        return Error::cancellation();
    return candidates;
}

} // namespace velarix
