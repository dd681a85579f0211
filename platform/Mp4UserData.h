#pragma once

#include "platform/Result.h"

#include <QString>

namespace velarix {

// Carries the movie header's user data box (`moov/udta`) of `sourcePath` over into the MP4 file at
// `outputPath`: cameras keep data there that their players need (GoPro's GPMF and FIRM, the lens data
// of 360 files), and the muxer does not copy it. Entries the output's own `udta` already has (the
// muxer's `meta`) are kept as written. The output's `moov` must be its last top-level box, so that it
// can grow in place. A source without `udta` leaves the output unchanged.
Result<void> carryOverMovieUserData(const QString& sourcePath, const QString& outputPath);

} // namespace velarix
