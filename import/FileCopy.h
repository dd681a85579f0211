#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"
#include "media/CopyFeed.h"
#include "media/JoinedSamples.h"

#include <QString>

#include <functional>
#include <memory>

namespace velarix {

constexpr qint64 kCopyProgressStep = 4 * 1024 * 1024; // report progress at most every 4 MiB
inline const QString kCopyErrorDomain = QStringLiteral("CopyError");

// How a copy is watched and steered; every callback is called on the thread doing that step.
struct CopyControl {
    const CancelToken* cancel = nullptr; // outlives the copy
    // Bytes copied so far and the file's size: every 4 MiB and once at the end of the file.
    std::function<void(qint64 copied, qint64 total)> progress;
    // Bytes read back so far and the file's size, likewise, while the copy is verified.
    std::function<void(qint64 checked, qint64 total)> verifyProgress;
    // Read the flushed copy back from the disk and compare checksums.
    bool verify = true;
    // Called after each chunk is written (tests use it to pull the card out mid-copy).
    std::function<void(qint64 copied)> afterChunk;
    // Also gets the copy's bytes as they are written, and its outcome (a single file's copy only).
    std::shared_ptr<CopyFeed> feed;
    // Keeps a recording's sound and telemetry as its join writes them (a recording's join only).
    std::shared_ptr<JoinedSamples> samples;
};

// A copy whose bytes are all in its hidden temporary file, not yet durable, verified or named.
// Destroying it removes the temporary file.
struct PendingCopy;
struct PendingCopyDeleter {
    void operator()(PendingCopy* copy) const;
};
using PendingCopyPtr = std::unique_ptr<PendingCopy, PendingCopyDeleter>;

// The first step of copyFile: the bytes go to a hidden temporary file in the destination folder,
// with the disk kept writing as they go.
Result<PendingCopyPtr> writeCopy(const QString& source, const QString& destination,
                                 const CopyControl& control);
// The second step: makes the copy durable, reads it back and compares (when verifying), and gives it
// the first free name. Can run on another thread than writeCopy, while the next file is written.
Result<QString> completeCopy(PendingCopyPtr copy, const CopyControl& control);

// Copies `source` to `destination` without ever replacing a file: the bytes go to a hidden temporary
// file in the destination folder, which is flushed, verified, and then given the first free name of
// A.MP4, A - 1.MP4, … A - 9999.MP4. The source's access and modification times are kept. A failed or
// cancelled copy leaves nothing behind. Gives the path the copy ended up at.
Result<QString> copyFile(const QString& source, const QString& destination, const CopyControl& control);

// Removes the hidden temporary files that copies into `folder` left behind when their process died
// (killed, crashed, power cut). Temporaries of copies still running, here or in another process, stay.
void removeStaleTemporaries(const QString& folder);

// The candidate names for `destination`: n = 0 is the name itself, then "A - n.ext".
QString numberedName(const QString& fileName, int n);
// Past "A - 9999.ext" a copy fails rather than trying on.
constexpr int kMaxNumberedName = 9999;

// Gives the finished temporary file `temporaryName` in the folder open as `dirFd` the first free name
// of `fileName`, "fileName - 1", … (never replacing a file) and makes the name durable. Gives the path.
Result<QString> nameWithoutReplacing(int dirFd, const QByteArray& temporaryName, const QString& folder,
                                     const QString& fileName);

} // namespace velarix
