#pragma once

#include "trimming/TrimWorkingFolder.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace velarix {

class TrashClaim;

// What becomes of a trimmed video's original once the copy has taken its place. After the swap the
// original lies in the trim's working folder; deleting it there is the slow part of a trim (the file
// system frees, and on SSDs discards, every block of a large file), so it can be left to a thread of
// its own.
struct OriginalDisposal {
    // Freed on the background thread: the trim is done at the swap. Callers wait for pending frees
    // (waitForPendingFrees) before the process ends.
    bool inBackground = false;
    // Moved to this place in the Trash instead of being deleted.
    std::shared_ptr<TrashClaim> trash;
    // For a recording in chapters: the places in the Trash of its further chapters, in order.
    std::vector<std::shared_ptr<TrashClaim>> laterChapterTrash;
};

// After the first chapter of a recording was replaced by the trimmed recording: its further
// chapters go to their places in the Trash, or into `folder` to be freed with the original.
void disposeOfLaterChapters(const TrimWorkingFolder& folder, const QStringList& chapters,
                            const OriginalDisposal& disposal);

// Called by the export right after the swap, with the original's path inside `folder`.
void disposeOfReplacedOriginal(TrimWorkingFolder folder, const QString& originalPath,
                               const QString& sourcePath, const OriginalDisposal& disposal);

// When the Trash cannot take an original, it is not deleted: it is moved beside `sourcePath` under a
// name that says what it is ("clip (original).mp4", "clip (original 2).mp4", …) and replaces nothing.
// Returns that path.
Result<QString> keepBesideSource(const QString& originalPath, const QString& sourcePath);

// For a program that must not wait for a large free before it ends (the command line): frees asked
// for in the background go to a detached process that finishes them after the program has ended,
// instead of this process's thread. Where that process cannot be started, the thread frees it.
void freeInDetachedProcesses(bool on);

// Waits until every original handed to the background thread is freed.
void waitForPendingFrees();
int pendingFreeCount();

} // namespace velarix
