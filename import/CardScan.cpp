#include "import/CardScan.h"

#include "platform/ContentTypes.h"
#include "platform/DirectoryWalk.h"
#include "platform/Log.h"

#include <QFileInfo>

namespace velarix {

Result<std::optional<QString>> findSDCardVolume(const VolumeProvider& volumes) {
    auto list = volumes.mountedVolumes();
    if (!list)
        return list.error();
    for (const QString& volume : *list) {
        if (hasDcimFolder(volume))
            return std::optional<QString>(volume);
    }
    return std::optional<QString>();
}

Result<QList<ScanCandidate>> scanVideoFiles(const QString& volume,
                                            const std::function<void(qint64)>& progress) {
    QList<ScanCandidate> candidates;
    qint64 lastReported = 0;
    WalkHandlers handlers;
    handlers.folderError = [](const QString& path, const Error& error) {
        qCCritical(lcApp, "Enumeration error at %s: %s", qUtf8Printable(path), qUtf8Printable(error.message));
    };
    handlers.entry = [&](const WalkEntry& entry) {
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
    return candidates;
}

} // namespace velarix
