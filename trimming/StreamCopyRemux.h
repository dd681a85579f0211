#pragma once

#include "core/Result.h"
#include "media/MediaOpen.h"
#include "media/Mp4UserData.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace velarix {

// A time range of a video to copy into a new MP4 file, seconds from the start of the clip.
struct RemuxRequest {
    double start = 0;
    double end = 0;
    QString outputPath;
    const CancelToken* cancel = nullptr;  // also seen by the output's I/O
    std::function<void(double)> progress; // fraction 0…1, called from the copying thread
    // The recording's further chapters when the input is its first: the range is then in the
    // recording's time, and only the chapters it covers are read.
    QStringList laterChapters = {};
};

struct RemuxOutcome {
    int streamCount = 0; // streams written (the timecode track the muxer adds not counted)
    int videoStreamCount = 0;
    int reencodedStreamCount = 0;
    double keyFrameInterval = 0;             // seconds between the first two key frames copied, 0 if unknown
    std::vector<CarriedTrack> carriedTracks; // to be described anew by carryOverMovieUserData
};

// Copies the range of every stream MP4 can carry into `outputPath` without re-encoding, with the
// source's codec tags. Streams whose codec MP4 cannot hold are re-encoded when they are video (H.264)
// or audio (AAC); a timecode track is copied with its frame number moved on by `start`; others are
// dropped with a log line. Video and audio packets before the start stay in as pre-roll with negative
// timestamps, so the muxer's edit list makes playback begin exactly at `start`; a data sample (telemetry)
// running across the start begins at it instead. Metadata and side data (rotation) are kept. The
// movie's user data box and the timecode track's description are not: see Mp4UserData.h.
Result<RemuxOutcome> remuxTimeRange(MediaInput& input, const RemuxRequest& request);

} // namespace velarix
