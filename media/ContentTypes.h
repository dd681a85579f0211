#pragma once

#include <QString>

namespace velarix {

// Whether a file name names a movie: a type under video/ by its extension, or the extension
// "360" (any case), which we declare as MPEG-4 video. Safe from any thread.
bool isMovieFileName(const QString& fileName);

} // namespace velarix
