#pragma once

#include "core/Result.h"
#include "media/MediaOpen.h"
#include "storage/FileStatus.h"
#include "trimming/ReplacedOriginal.h"

#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace velarix {

struct VideoTrimExportRequest {
    QUrl url; // the source video; replaced in place
    std::optional<double> trimStart;
    std::optional<double> trimEnd;
    // The replaced original goes to the Trash of its file system instead of being deleted
    // (trimVideoInPlace claims the place in the Trash before the cut).
    bool keepOriginalInTrash = false;
    // What becomes of the original after the swap; by default it is deleted before the call returns.
    OriginalDisposal original = {};
    // The further chapters of the recording `url` is the first chapter of, in order: the range is in
    // the recording's time, the cut of the joined chapters replaces the first, and these are removed
    // (or moved to the Trash) once it has.
    QStringList laterChapters = {};
    // Called right after the trimmed copy took the source's place, before the originals are
    // disposed of: where a crash there would leave things (tests stop the process here).
    std::function<void()> afterSwap = {};
};

// The dates of the source that outlive the replace. Linux sets no birth time, so the creation date
// is kept as far as it can be: as the modification time it is derived from.
struct PreservedAttributes {
    std::optional<qint64> accessedNs; // nanoseconds since the epoch
    std::optional<qint64> modifiedNs;
    bool isEmpty() const { return !accessedNs && !modifiedNs; }
};

// Refuses a file the user made read-only (a trim replaces it, which the folder would allow).
Result<void> checkNotReadOnly(const QString& path, const FileStatus& state);

PreservedAttributes readPreservedAttributes(const QUrl& url);
void applyPreservedAttributes(const PreservedAttributes& attributes, const QUrl& url);

// Replaces the source video by a stream copy of its kept range, at the same path and name, keeping
// its dates. For a recording in chapters the copy runs across them, in one pass over the chapters the
// range covers. The copy is checked (it opens, its duration is the kept range) before it replaces the
// source; until that rename the source is not touched. Blocking: run it off the GUI thread.
// `cancel` stops it at the next packet or blocked read; `progress` gets the copied fraction.
Result<QUrl> exportTrimmedVideo(const VideoTrimExportRequest& request, const CancelToken* cancel = nullptr,
                                const std::function<void(double)>& progress = {});

} // namespace velarix
