#pragma once

#include "history/ImportState.h"
#include "import/VideoFileRow.h"

namespace velarix {

// A row's import mark: a recording in chapters counts as imported only when every chapter is.
ImportStatus recordingStatus(const ImportState& state, const VideoFileRow& row);

} // namespace velarix
