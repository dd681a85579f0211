#include "trimming/VideoTrimAnalysis.h"

#include "platform/AudioLevelReader.h"
#include "platform/MediaStreams.h"
#include "trimming/TrimSuggestion.h"

#include "platform/Log.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cmath>

namespace velarix {

namespace {

constexpr double kMinimumDuration = 90.0;

QString durationSummary(double duration) {
    return QStringLiteral("Duration ") + formatClock(duration);
}

// The header and the audio levels. One input serves both: it reads through a small buffer so that
// the audio pass skips the video's bytes. Levels stay absent when the clip cannot have a suggestion.
// The audio pass is this share of an analysis; the frames around the opening take the rest.
constexpr double kAudioShare = 0.85;

Result<VideoTrimAnalysisResult> readHeaderAndLevels(const QString& path, const CancelFlag* cancel,
                                                    const std::function<void(double)>& progress) {
    auto input = openVideoAsset(path, audioReadingOptions(cancel));
    if (!input)
        return input.error();
    if (auto known = ensureStreamsKnown(*input, path, cancel); !known)
        return known.error();

    VideoTrimAnalysisResult result;
    result.duration = containerDuration(input->get());
    result.fileSize = QFileInfo(path).size();

    if (!(result.duration > 0)) {
        result.summary = QStringLiteral("Unable to read duration");
        result.error = QStringLiteral("The file duration could not be loaded.");
        return result;
    }
    if (result.duration < kMinimumDuration) {
        result.summary = durationSummary(result.duration);
        result.error = QStringLiteral("Clip is shorter than %1, so no trim suggestion was generated.")
                           .arg(formatClock(kMinimumDuration));
        return result;
    }
    const QList<int> audio = audioStreams(input->get());
    if (audio.isEmpty()) {
        result.summary = durationSummary(result.duration);
        result.error = QStringLiteral("No audio track found, so no trim suggestion was generated.");
        return result;
    }
    auto levels = readAudioLevels(*input, audio.first(), cancel, [&progress](double fraction) {
        if (progress)
            progress(fraction * kAudioShare);
    });
    if (!levels)
        return levels.error();
    result.levels = std::move(*levels);
    return result;
}

} // namespace

Result<VideoTrimAnalysisResult> analyzeVideo(const QString& path, const CancelFlag* cancel,
                                             const std::function<void(double)>& progress) {
    QElapsedTimer timer;
    timer.start();
    auto read = readHeaderAndLevels(path, cancel, progress);
    if (!read || !read->levels)
        return read;
    VideoTrimAnalysisResult result = std::move(*read);
    const qint64 audioMs = timer.elapsed();

    auto suggestion = suggestTrimRange(*result.levels, path, result.duration, cancel);
    if (!suggestion)
        return suggestion.error();
    if (progress)
        progress(1.0);
    qCDebug(lcApp, "Analysed %s: audio %lld ms, frames and suggestion %lld ms", qUtf8Printable(path), audioMs,
            timer.elapsed() - audioMs);
    result.exitTime = suggestion->exitTime;
    result.audioOpeningTime = suggestion->audioOpeningTime;
    result.frameOpeningTime = suggestion->frameOpeningTime;
    if (!suggestion->range) {
        result.summary = durationSummary(result.duration);
        result.error = QStringLiteral("No confident trim suggestion found.");
        return result;
    }
    result.suggestedStart = suggestion->range->start;
    result.suggestedEnd = suggestion->range->end;
    result.summary = QStringLiteral("Keep %1-%2")
                         .arg(formatClock(suggestion->range->start), formatClock(suggestion->range->end));
    return result;
}

} // namespace velarix
