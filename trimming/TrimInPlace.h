#pragma once

#include "trimming/VideoTrimExport.h"

namespace velarix {

// A trim as the window and the command line run it. With `keepOriginalInTrash` the place in the
// Trash is claimed first, so that a file system without a usable Trash is reported before any work
// and the file is left as it is.
Result<QUrl> trimVideoInPlace(VideoTrimExportRequest request, const CancelToken* cancel = nullptr,
                              const std::function<void(double)>& progress = {});

} // namespace velarix
