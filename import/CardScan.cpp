#include "import/CardScan.h"

#include "import/CardIdentity.h"

#include "platform/ContentTypes.h"
#include "platform/DirectoryWalk.h"
#include "platform/Log.h"

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
                                            const CancelToken* cancel) {
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
        if (QFileInfo(entry.path).suffix().toLower() == QLatin1String("lrv"))
            return true;
        if (entry.status.type != FileStatus::Type::regular || !isMovieFileName(entry.path))
            return true;
        const QDateTime created = entry.status.creationDate();
        candidates.append(
            {entry.path, created.isValid() ? std::optional(created) : std::nullopt, entry.status.size});
        const qint64 count = candidates.size();
        if (count == 1 || count - lastReported >= 10) {
            if (progress)
                progress(count);
            lastReported = count;
        }
        return true;
    };
    const QString dcim = volume + QStringLiteral("/DCIM");
    if (auto walked = walkDirectory(dcim, handlers); !walked)
        return walked.error();
    if (isCancelled(cancel))
        return Error::cancellation();
    return candidates;
}

} // namespace velarix
