#pragma once

#include "history/ImportState.h"
#include "import/VideoFileRow.h"

namespace velarix {

// How the history sees one chapter of a row (the first, or the only file, by default).
ImportState::Video stateVideo(const VideoFileRow& row, qsizetype chapter = 0);

// A row's import state: a recording in chapters counts as imported only when every chapter is, and
// a dual-file 360 clip only when both lenses are.
ImportStatus recordingStatus(const ImportState& state, const VideoFileRow& row);

// Of an imported row: false when a chapter of it was copied only without verification, true when
// every chapter's copy was verified, absent when the history does not say.
std::optional<bool> recordingVerified(const ImportState& state, const VideoFileRow& row);

// What the State column's tooltip says of an imported row whose verification is known.
QString verificationText(bool verified);
// What "Select All New" and --new say of the `count` imported rows they left out whose copies were
// not verified.
QString unverifiedNotSelectedText(qsizetype count);

} // namespace velarix
