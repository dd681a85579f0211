#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"
#include "desktop/Volumes.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace velarix {

// A video (or a companion of one) found in a card's video folders, in enumeration order.
struct ScanCandidate {
    QString path;
    std::optional<QDateTime> created;
    std::optional<qint64> fileSize;
};

// The first volume, in listing order, that is a camera card; absent when there is none.
Result<std::optional<QString>> findSDCardVolume(const VolumeProvider& volumes);

// Every movie file below the card's video folders (presentCameraFolders: DCIM first), depth first:
// hidden entries and symbolic links are left out, and so are the files that belong to a video
// (isCompanionFileName: proxies, thumbnails, sidecars), which go to `companions` when given, with the
// proxies of cameraCompanionFolders().
// `progress` gets the running count of videos after the first find and after every tenth one since
// the last report. Fails when a file's details cannot be read; stops with a cancellation once
// `cancel` is set.
Result<QList<ScanCandidate>> scanVideoFiles(const QString& volume,
                                            const std::function<void(qint64)>& progress,
                                            const CancelToken* cancel = nullptr,
                                            QList<ScanCandidate>* companions = nullptr);

} // namespace velarix
