#include "trimming/TrimFlow.h"

#include "trimming/TrimInPlace.h"

#include <QFileInfo>

#include <algorithm>

namespace velarix::TrimFlow {

namespace {

// The size on the disk now; the cache would answer for a file replaced meanwhile.
qint64 sizeOnDisk(const QString& path) {
    QFileInfo info(path);
    info.setCaching(false);
    return info.exists() ? info.size() : -1;
}

} // namespace

VideoTrimExportRequest inPlaceRequest(const QUrl& url, std::optional<double> start, std::optional<double> end,
                                      bool keepOriginalInTrash, const QStringList& laterChapters) {
    VideoTrimExportRequest request{url, start, end, keepOriginalInTrash, OriginalDisposal{}, laterChapters};
    request.original.inBackground = true;
    return request;
}

Result<Trimmed> trim(const VideoTrimExportRequest& request, const CancelToken* cancel,
                     const std::function<void(double)>& progress, const Export& exportVideo) {
    const QString path = request.url.toLocalFile();
    qint64 sizeBefore = sizeOnDisk(path);
    if (sizeBefore >= 0)
        for (const QString& chapter : request.laterChapters)
            sizeBefore += std::max<qint64>(0, sizeOnDisk(chapter));
    auto result =
        exportVideo ? exportVideo(request, cancel, progress) : trimVideoInPlace(request, cancel, progress);
    if (!result)
        return result.error();
    Trimmed trimmed{*result, std::nullopt};
    if (const qint64 sizeAfter = sizeOnDisk(path); sizeBefore >= 0 && sizeAfter >= 0)
        trimmed.savedBytes = std::max<qint64>(0, sizeBefore - sizeAfter);
    return trimmed;
}

} // namespace velarix::TrimFlow
