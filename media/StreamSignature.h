#pragma once

#include "core/Result.h"
#include "media/AvPtr.h"

#include <QString>

namespace velarix {

// The streams of a video file and their codec parameters as text, read from the container header:
// files with the same signature can be joined by stream copy. Frame rates and durations are left
// out (they depend on a file's length); resolution, formats, time bases and the codec's setup bytes
// are in.
Result<QString> streamSignature(const QString& path);
QString streamSignature(const AVFormatContext* context);

} // namespace velarix
