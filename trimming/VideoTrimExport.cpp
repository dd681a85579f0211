#include "trimming/VideoTrimExport.h"

#include "core/Log.h"
#include "media/ChapterContinuation.h"
#include "media/MediaStreams.h"
#include "media/Mp4Trailer.h"
#include "media/Mp4UserData.h"
#include "media/TrimErrors.h"
#include "storage/ExtendedAttributes.h"
#include "storage/FileStatus.h"
#include "storage/PosixFile.h"
#include "storage/WriteLease.h"
#include "trimming/StreamCopyRemux.h"
#include "trimming/TrimRecovery.h"
#include "trimming/TrimWorkingFolder.h"
#include "trimming/TrimmingLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cmath>
#include <unistd.h>

namespace velarix {

namespace {

// A file with data a cut cannot carry is refused rather than cut without it.
Result<void> keepableWhole(const QString& sourcePath, const QString& sourceName) {
    if (const auto trailer = readMp4Trailer(sourcePath)) {
        return trimError(
            TrimErrorCode::failed,
            trailer->threeSixtyCamera
                ? QCoreApplication::translate(
                      "TrimExport", "%1 ends in the 360 camera's own data (%2 bytes after the video: "
                                    "its sensors and what its software needs to stitch the lenses). "
                                    "A cut cannot keep it, so %1 is left as it is.")
                      .arg(sourceName)
                      .arg(trailer->size)
                : QCoreApplication::translate(
                      "TrimExport", "%1 holds %2 bytes of the camera's own data after the video, which "
                                    "a cut cannot keep, so it is left as it is.")
                      .arg(sourceName)
                      .arg(trailer->size));
    }
    // The two lenses of a dual-file 360 clip must stay the same length.
    static const QRegularExpression firstLens(QStringLiteral("^(VID_.+)_00_([0-9]+)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QFileInfo info(sourcePath);
    if (const auto match = firstLens.match(info.completeBaseName()); match.hasMatch()) {
        const QString other =
            QStringLiteral("%1_10_%2.%3").arg(match.captured(1), match.captured(2), info.suffix());
        if (QFileInfo::exists(info.dir().filePath(other)))
            return trimError(TrimErrorCode::failed,
                             QCoreApplication::translate(
                                 "TrimExport",
                                 "%1 is one lens of a 360 clip whose other lens is %2; cutting one "
                                 "alone would put them out of step, so it is left as it is.")
                                 .arg(sourceName, other));
    }
    return {};
}

bool sameFileUnchanged(const FileStatus& a, const FileStatus& b) {
    return a.sameFile(b) && a.size == b.size && a.modifiedNs == b.modifiedNs;
}

QString seconds(double value) {
    return QString::number(value, 'f', 2) + QStringLiteral(" s");
}

// A trim must never replace a video by a broken one: the copy has to open as a video with every
// video stream written, and last as long as the kept range. Copying starts at a key frame and ends
// by decoding time, so a tolerance of a second, or one key-frame interval where they are sparser.
Result<void> verifyTrimmedCopy(const QString& path, const QString& sourceName, double expected,
                               const RemuxOutcome& outcome, const CancelToken* cancel) {
    auto opened = openVideoAsset(path, OpenOptions{cancel, 0, true});
    if (!opened) {
        if (opened.isCancelled())
            return Error::cancellation();
        return trimError(
            TrimErrorCode::failed,
            QCoreApplication::translate("TrimExport",
                                        "The trimmed copy of %1 could not be read back, so %1 was left as it "
                                        "is: %2")
                .arg(sourceName, opened.error().message));
    }
    const AVFormatContext* context = opened->get();
    int videoStreams = 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            ++videoStreams;
    }
    const double duration =
        context->duration != AV_NOPTS_VALUE ? double(context->duration) / AV_TIME_BASE : std::nan("");
    const double tolerance = std::max(1.0, outcome.keyFrameInterval);
    if (videoStreams != outcome.videoStreamCount || !(std::abs(duration - expected) <= tolerance)) {
        return trimError(
            TrimErrorCode::failed,
            QCoreApplication::translate("TrimExport",
                                        "The trimmed copy of %1 came out wrong (%2 instead of %3 long, %4 of "
                                        "%5 video streams), so %1 was left as it is.")
                .arg(sourceName, std::isnan(duration) ? QStringLiteral("unknown") : seconds(duration),
                     seconds(expected))
                .arg(videoStreams)
                .arg(outcome.videoStreamCount));
    }
    return {};
}

Error beingWritten(const QString& sourceName) {
    return trimSystemError(
        EBUSY, QCoreApplication::translate(
                   "TrimExport", "%1 is still being written by another program, so it was left as it is. "
                                 "Trim it once that program is done with it.")
                   .arg(sourceName));
}

Error sourceVanished(const QString& sourceName) {
    return trimSystemError(ENOENT, QCoreApplication::translate(
                                       "TrimExport", "%1 was deleted or moved while it was being trimmed.")
                                       .arg(sourceName));
}

// A file another program still writes (a copy under way, a recorder) would lose those last bytes
// to the replaced original. The lease is held (writers opening it wait) until it goes.
Result<ReadLease> noWriters(const QString& sourcePath, const QString& sourceName) {
    ReadLease lease = ReadLease::take(sourcePath);
    if (lease.beingWritten())
        return beingWritten(sourceName);
    if (!lease.unknownReason().isEmpty())
        qCInfo(lcTrimming, "Could not tell whether %s is still being written: %s", qPrintable(sourceName),
               qPrintable(lease.unknownReason()));
    return lease;
}

Error sourceChanged(const QString& sourceName) {
    return trimSystemError(
        EBUSY, QCoreApplication::translate(
                   "TrimExport", "%1 was changed while it was being trimmed, so it was left as it is.")
                   .arg(sourceName));
}

// Puts the copy in the source's place. Swapping the two, rather than renaming over, shows what was
// replaced: when it is not the file that was trimmed (another one was put there since the last
// check), it is swapped back. The trimmed original is left in the working folder, which goes later.
// File systems without the swap (FAT cards) get a plain rename after the earlier checks.
Result<void> replaceSource(const QString& outputPath, const QString& sourcePath, const FileStatus& trimmed,
                           const QString& sourceName) {
    const auto failure = [&](const Error& error) {
        return trimErrorFrom(
            error, QCoreApplication::translate("TrimExport", "Could not replace %1 by its trimmed copy: %2")
                       .arg(sourceName, error.message));
    };
    auto exchanged = exchangePaths(outputPath, sourcePath);
    if (exchanged) {
        if (auto swapped = fileStatus(outputPath); swapped && swapped->sameFile(trimmed))
            return {};
        if (auto undone = exchangePaths(outputPath, sourcePath); !undone)
            return failure(undone.error());
        return sourceChanged(sourceName);
    }
    const int error = exchanged.error().code;
    if (error == ENOENT)
        return sourceVanished(sourceName);
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
        return failure(exchanged.error());
    if (auto renamed = renameReplacing(outputPath, sourcePath); !renamed)
        return failure(renamed.error());
    return {};
}

// The recording's further chapters as they were when the trim began: each must still be that file,
// unchanged and not being written, when the trimmed recording takes the first one's place.
struct LaterChapter {
    QString path;
    FileStatus state;
};

Result<std::vector<LaterChapter>> laterChapterStates(const QStringList& chapters) {
    std::vector<LaterChapter> states;
    for (const QString& path : chapters) {
        const QString name = QFileInfo(path).fileName();
        const auto state = fileStatus(path);
        if (!state)
            return trimErrorFrom(state.error(),
                                 QCoreApplication::translate("TrimExport", "%1 could not be read: %2")
                                     .arg(name, state.error().message));
        if (auto unwritten = noWriters(path, name); !unwritten)
            return unwritten.error();
        states.push_back({path, *state});
    }
    return states;
}

Result<void> laterChaptersUnchanged(const std::vector<LaterChapter>& chapters) {
    for (const LaterChapter& chapter : chapters) {
        const QString name = QFileInfo(chapter.path).fileName();
        const auto current = fileStatus(chapter.path);
        if (!current)
            return sourceVanished(name);
        if (!sameFileUnchanged(chapter.state, *current))
            return sourceChanged(name);
        if (ReadLease::take(chapter.path).beingWritten())
            return beingWritten(name);
    }
    return {};
}

} // namespace

Result<void> checkNotReadOnly(const QString& path, const FileStatus& state) {
    // The owner's write bit for the owner; the system's answer for anyone else (root may write).
    const bool writable = state.owner == ::getuid()
                              ? (state.permissions & 0200) != 0
                              : ::access(QFile::encodeName(path).constData(), W_OK) == 0;
    if (writable)
        return {};
    return trimSystemError(
        EACCES, QCoreApplication::translate("TrimExport",
                                            "%1 is read-only, so it was left as it is. Make it writable "
                                            "(in its properties, or chmod u+w) to trim it.")
                    .arg(QFileInfo(path).fileName()));
}

PreservedAttributes readPreservedAttributes(const QUrl& url) {
    const QString path = url.toLocalFile();
    auto status = fileStatus(path);
    if (!status) {
        qCCritical(lcApp, "Failed to read trimmed video source attributes for %s: %s", qPrintable(path),
                   qPrintable(status.error().message));
        return {};
    }
    return PreservedAttributes{status->accessedNs, status->modifiedNs};
}

void applyPreservedAttributes(const PreservedAttributes& attributes, const QUrl& url) {
    if (attributes.isEmpty())
        return;
    const QString path = url.toLocalFile();
    if (auto set = setFileTimes(path, attributes.accessedNs, attributes.modifiedNs); !set)
        qCCritical(lcApp, "Failed to preserve trimmed video file attributes for %s: %s", qPrintable(path),
                   qPrintable(set.error().message));
}

Result<QUrl> exportTrimmedVideo(const VideoTrimExportRequest& request, const CancelToken* cancel,
                                const std::function<void(double)>& progress) {
    if (!request.trimStart || !request.trimEnd)
        return trimError(TrimErrorCode::noRange,
                         QCoreApplication::translate("TrimExport", "No trim range available."));
    // Through a symbolic link the file it names is trimmed; the link stays.
    const QFileInfo requested(request.url.toLocalFile());
    const QString sourcePath =
        requested.isSymLink() && requested.exists() ? requested.canonicalFilePath() : requested.filePath();
    const QString sourceName = QFileInfo(sourcePath).fileName();
    const double start = *request.trimStart;
    double end = *request.trimEnd;

    auto input = openVideoAsset(sourcePath, OpenOptions{cancel, 0, true});
    if (!input)
        return input.error();
    const auto sourceState = fileStatus(sourcePath);
    if (!sourceState)
        return trimErrorFrom(sourceState.error(),
                             QCoreApplication::translate("TrimExport", "%1 could not be read: %2")
                                 .arg(sourceName, sourceState.error().message));

    // Someone made it read-only to keep it as it is; replacing it would undo that without a word.
    if (auto writable = checkNotReadOnly(sourcePath, *sourceState); !writable)
        return writable.error();
    const AVFormatContext* context = input->get();
    if (primaryVideoStream(context) < 0)
        return trimError(
            TrimErrorCode::noExportSession,
            QCoreApplication::translate("TrimExport",
                                        "%1 has no video, only sound or data, so there is nothing to trim.")
                .arg(sourceName));
    if (auto unwritten = noWriters(sourcePath, sourceName); !unwritten)
        return unwritten.error();
    auto laterStates = laterChapterStates(request.laterChapters);
    if (!laterStates)
        return laterStates.error();
    double duration = containerDuration(context);
    if (!request.laterChapters.isEmpty()) {
        // The recording's length: where its last chapter's picture ends.
        auto starts = chapterStartTimes(QStringList{sourcePath} + request.laterChapters, cancel);
        if (!starts)
            return starts.error();
        duration = starts->back();
    }
    if (duration <= 0)
        return trimError(TrimErrorCode::rangeOutsideClip,
                         QCoreApplication::translate("TrimExport", "The duration of %1 could not be read.")
                             .arg(sourceName));
    // A hair past the end is rounding (times are shown in whole seconds); more is a wrong range.
    if (end > duration && end - duration < 0.05)
        end = duration;
    if (!(start >= 0) || !(end > start) || end > duration) {
        return trimError(TrimErrorCode::rangeOutsideClip,
                         QCoreApplication::translate(
                             "TrimExport", "The range %1 to %2 does not lie within %3, which is %4 long.")
                             .arg(seconds(start), seconds(end), sourceName, seconds(duration)));
    }

    if (auto whole = keepableWhole(sourcePath, sourceName); !whole)
        return whole.error();

    auto folder = TrimWorkingFolder::create(sourcePath);
    if (!folder)
        return folder.error();
    // The extension chooses the writer: clip.360 and clip.insv are written as clip.mp4, clip.MOV as
    // a QuickTime file, then renamed over the source.
    const bool quickTime =
        QFileInfo(sourcePath).suffix().compare(QLatin1String("mov"), Qt::CaseInsensitive) == 0;
    const QString outputName = QFileInfo(sourcePath).completeBaseName() +
                               (quickTime ? QStringLiteral(".mov") : QStringLiteral(".mp4"));
    const QString outputPath = folder->filePath(outputName);
    // A crash after the swap must not take the original with the folder.
    recordTrimPlan(*folder, sourcePath, outputName, sourceState->device, sourceState->inode,
                   request.laterChapters, request.original);

    auto remuxed =
        remuxTimeRange(*input, RemuxRequest{start, end, outputPath, cancel, progress, request.laterChapters});
    if (!remuxed)
        return remuxed.error();
    // The rename would bring back a file deleted meanwhile, or undo someone else's change to it.
    const auto sourceUnchanged = [&]() -> Result<void> {
        const auto current = fileStatus(sourcePath);
        if (!current)
            return sourceVanished(sourceName);
        if (!sameFileUnchanged(*sourceState, *current))
            return sourceChanged(sourceName);
        return {};
    };
    if (auto unchanged = sourceUnchanged(); !unchanged)
        return unchanged.error();
    if (auto unchanged = laterChaptersUnchanged(*laterStates); !unchanged)
        return unchanged.error();
    if (auto carried = carryOverMovieUserData(sourcePath, outputPath, remuxed->carriedTracks); !carried)
        return carried.error();
    if (auto verified = verifyTrimmedCopy(outputPath, sourceName, end - start, *remuxed, cancel); !verified)
        return verified.error();

    // A cancelled trim stops here, before the source is touched.
    if (isCancelled(cancel))
        return Error::cancellation();

    const PreservedAttributes attributes = readPreservedAttributes(QUrl::fromLocalFile(sourcePath));
    if (auto unchanged = sourceUnchanged(); !unchanged)
        return unchanged.error();
    // Again just before the swap, held through it: a writer may have opened it while the copy was made.
    auto lease = noWriters(sourcePath, sourceName);
    if (!lease)
        return lease.error();
    if (auto unchanged = laterChaptersUnchanged(*laterStates); !unchanged)
        return unchanged.error();
    for (const QByteArray& name : applyUserAttributes(readUserAttributes(sourcePath), outputPath))
        qCInfo(lcTrimming, "Could not keep the attribute %s of the trimmed %s", name.constData(),
               qPrintable(sourceName));

    // The copy takes over the source's permissions, and its owner where we may set it.
    if (auto permitted = setFilePermissions(outputPath, sourceState->permissions); !permitted)
        qCInfo(lcTrimming, "Could not give the trimmed %s its permissions back: %s", qPrintable(sourceName),
               qPrintable(permitted.error().message));
    if (auto owned = setFileOwner(outputPath, sourceState->owner, sourceState->group); !owned)
        qCInfo(lcTrimming, "Could not give the trimmed %s its owner back: %s", qPrintable(sourceName),
               qPrintable(owned.error().message));

    if (auto replaced = replaceSource(outputPath, sourcePath, *sourceState, sourceName); !replaced)
        return replaced.error();
    // A writer that came during the swap is waiting to open the original: it gets it back.
    if (lease->broken() && exchangePaths(outputPath, sourcePath))
        return beingWritten(sourceName);
    lease->release();
    if (request.afterSwap)
        request.afterSwap();
    applyPreservedAttributes(attributes, QUrl::fromLocalFile(sourcePath));
    // Only now, with the trimmed recording in the first chapter's place, do the others go.
    disposeOfLaterChapters(*folder, request.laterChapters, request.original);
    // After the swap the original lies at the copy's path in the working folder.
    disposeOfReplacedOriginal(std::move(*folder), outputPath, sourcePath, request.original);
    return request.url;
}

} // namespace velarix
