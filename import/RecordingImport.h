#pragma once

#include "import/FileCopy.h"

#include <QStringList>

namespace velarix {

// Imports a recording the camera split into chapters as one file: the chapters are joined without
// re-encoding into a hidden temporary file in the destination folder, which is flushed, read back
// from the disk and checked packet by packet against what was read from the card, and only then
// named like a copy (A.MP4, A - 1.MP4, …; nothing is ever replaced). It gets the last chapter's
// modification time, as a single file of the whole recording would have. A failed or cancelled
// import leaves nothing behind. Gives the path the joined file ended up at.
Result<QString> importRecording(const QStringList& chapters, const QString& destination,
                                const CopyControl& control);

// The name a chapter is imported under when chapters are not joined: the planned name of its
// recording with the first chapter's name replaced by its own.
QString chapterDestination(const QString& plannedName, const QString& firstChapter, const QString& chapter);

} // namespace velarix
