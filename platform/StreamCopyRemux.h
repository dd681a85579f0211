#pragma once

#include "platform/MediaOpen.h"
#include "platform/Result.h"

#include <QString>

#include <functional>

namespace velarix {

// A time range of a video to copy into a new MP4 file, seconds from the start of the clip.
struct RemuxRequest {
    double start = 0;
    double end = 0;
    QString outputPath;
    const CancelFlag* cancel = nullptr;   // also seen by the output's I/O
    std::function<void(double)> progress; // fraction 0…1, called from the copying thread
};

struct RemuxOutcome {
    int streamCount = 0; // streams written (the timecode track the muxer adds not counted)
    int videoStreamCount = 0;
    int reencodedStreamCount = 0;
    double keyFrameInterval = 0; // seconds between the first two key frames copied, 0 if unknown
};

// Copies the range of every stream MP4 can carry into `outputPath` without re-encoding. Streams whose
// codec MP4 cannot hold are re-encoded when they are video (H.264) or audio (AAC); others are dropped
// with a log line. Packets before the start stay in as pre-roll with negative timestamps, so the
// muxer's edit list makes playback begin exactly at `start`. Metadata, side data (rotation) and the
// timecode (moved on by `start`) are kept. The movie's user data box is not: see Mp4UserData.h.
Result<RemuxOutcome> remuxTimeRange(MediaInput& input, const RemuxRequest& request);

} // namespace velarix
