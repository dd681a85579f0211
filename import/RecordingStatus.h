#pragma once

#include "history/ImportState.h"
#include "import/VideoFileRow.h"

namespace velarix {

// How the history sees one chapter of a row (the first, or the only file, by default).
ImportState::Video stateVideo(const VideoFileRow& row, qsizetype chapter = 0);

// A row's import state: a recording in chapters counts as imported only when every chapter is, and
// a dual-file 360 clip only when both lenses are.
ImportStatus recordingStatus(const ImportState& state, const VideoFileRow& row);

} // namespace velarix
