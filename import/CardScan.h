#pragma once

#include "platform/CancelToken.h"
#include "platform/Result.h"
#include "platform/Volumes.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace velarix {

// A video found below DCIM, in enumeration order.
struct ScanCandidate {
    QString path;
    std::optional<QDateTime> created;
    std::optional<qint64> fileSize;
};

// The first volume, in listing order, with a DCIM folder; absent when there is none.
Result<std::optional<QString>> findSDCardVolume(const VolumeProvider& volumes);

// Every movie file below volume/DCIM, depth first: hidden entries, symbolic links and camera proxy
// files (LRV) are left out. `progress` gets the running count after the first find and after every
// tenth one since the last report. Fails when a file's details cannot be read; stops with a
// cancellation once `cancel` is set.
Result<QList<ScanCandidate>> scanVideoFiles(const QString& volume,
                                            const std::function<void(qint64)>& progress,
                                            const CancelToken* cancel = nullptr);

} // namespace velarix
