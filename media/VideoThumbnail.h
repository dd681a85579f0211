#pragma once

#include "core/Result.h"
#include "media/MediaOpen.h"

#include <QImage>
#include <QSize>

namespace velarix {

// One representative frame of a video, decoded and scaled to fit `maxSize` (pixels) with its display
// aspect ratio kept. The frame is the key frame at or before a second into the clip (or a tenth of
// a shorter clip), so the first black frames of a recording are usually skipped. Blocking: call it
// off the GUI thread. Errors say why in words; a set cancel flag ends it as a cancellation.
Result<QImage> makeVideoThumbnail(const QString& path, QSize maxSize, const CancelToken* cancel = nullptr);

} // namespace velarix
