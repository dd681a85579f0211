#pragma once

#include "core/Result.h"

#include <QString>

namespace velarix {

// Ends the presentation of every video track of the MP4 file at `seconds` of movie time, by shortening
// its edit list (and the track's and movie's durations with it). A cut by decoding time keeps the
// frames that the last kept B-frames refer to, and those are shown after them: the muxer's edit runs
// on to the last of them. Edits are only ever shortened. The file's `moov` must be its last box;
// only durations change, so nothing moves.
Result<void> endVideoEditsAt(const QString& path, double seconds);

} // namespace velarix
