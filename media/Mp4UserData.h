#pragma once

#include "core/Result.h"

#include <QString>

#include <vector>

namespace velarix {

// A track the muxer wrote for a source track it cannot describe itself (a timecode track): the
// samples are the source's, and the description (handler, media header, sample description) is put
// back from the source's track afterwards.
struct CarriedTrack {
    quint32 outputTrackId = 0;
    quint32 sourceTrackId = 0;
};

// Carries over what the muxer does not write from the movie header of `sourcePath` into the MP4 file
// at `outputPath`:
// - the user data box (`moov/udta`): cameras keep data there that their players need (GoPro's GPMF
//   and FIRM, the lens data of 360 files). The source's `meta` replaces the muxer's own, so that a
//   phone's keys (location, make, model) survive with their values;
// - a movie-level `meta` box (phones write their keys there);
// - the descriptions of `carried` tracks; a carried timecode track is referenced by every video
//   track, and by the tracks of the kinds that referenced it in the source (the sound, with cameras).
// The output's `moov` must be its last top-level box, so that it can be rewritten in place.
Result<void> carryOverMovieUserData(const QString& sourcePath, const QString& outputPath,
                                    const std::vector<CarriedTrack>& carried = {});

} // namespace velarix
