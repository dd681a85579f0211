#pragma once

#include "trimming/VideoTrimExport.h"

#include <functional>
#include <optional>

namespace velarix {

// One file's cut in place, as the window and the command line both run it.
namespace TrimFlow {

using Export = std::function<Result<QUrl>(const VideoTrimExportRequest&, const CancelToken*,
                                          const std::function<void(double)>&)>;

// What one cut left.
struct Trimmed {
    QUrl url;
    // The bytes the recording gave back, measured on the disk around the cut: a header can claim a
    // duration the file does not hold, and an estimate from it would lie too. Empty where the file
    // could not be measured.
    std::optional<qint64> savedBytes;
};

// A cut of `url` (a recording's first chapter, the others in `laterChapters`) to [start, end] in
// place. The original is freed in the background (the caller waits for that before it quits), or
// with `keepOriginalInTrash` moved to the Trash.
VideoTrimExportRequest inPlaceRequest(const QUrl& url, std::optional<double> start, std::optional<double> end,
                                      bool keepOriginalInTrash, const QStringList& laterChapters);

// Cuts as `request` says (through `exportVideo`, trimVideoInPlace by default) and measures what it saved.
Result<Trimmed> trim(const VideoTrimExportRequest& request, const CancelToken* cancel,
                     const std::function<void(double)>& progress, const Export& exportVideo = {});

} // namespace TrimFlow

} // namespace velarix
