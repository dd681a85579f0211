#include "trimming/VideoTrimAnalysis.h"

#include "platform/AudioLevelReader.h"
#include "platform/MediaStreams.h"
#include "platform/TelemetryReader.h"
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

const QString kNoAudioTrack = QStringLiteral("No audio track found, so no trim suggestion was generated.");

// The header and the audio levels. One input serves both: it reads through a small buffer so that
// the audio pass skips the video's bytes. Levels stay absent when the clip cannot have a suggestion,
// and are empty when it has no audio track (the telemetry may still suggest a range).
Result<VideoTrimAnalysisResult> readHeaderAndLevels(const QString& path, const CancelFlag* cancel) {
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
        result.error = kNoAudioTrack;
        result.levels = std::vector<double>();
        return result;
    }
    auto levels = readAudioLevels(*input, audio.first(), cancel);
    if (!levels)
        return levels.error();
    result.levels = std::move(*levels);
    return result;
}

} // namespace

Result<VideoTrimAnalysisResult> analyzeVideo(const QString& path, const CancelFlag* cancel) {
    QElapsedTimer timer;
    timer.start();
    auto read = readHeaderAndLevels(path, cancel);
    if (!read || !read->levels)
        return read;
    VideoTrimAnalysisResult result = std::move(*read);
    const qint64 audioMs = timer.elapsed();

    const bool hasAudio = result.error != kNoAudioTrack;

    // The telemetry track, read on its own: only its packets' bytes. A failure to read it leaves the
    // sound and the picture to decide.
    TelemetryFinding telemetry;
    auto sensors = readTelemetry(path, analysisSensors(), cancel);
    if (sensors.isCancelled())
        return sensors.error();
    if (!sensors)
        qCWarning(lcApp, "Reading the telemetry of %s failed: %s", qUtf8Printable(path),
                  qUtf8Printable(sensors.error().message));
    else
        telemetry = detectJump(*sensors, result.duration);
    if (!telemetry.problem.isEmpty())
        qCInfo(lcApp, "%s: %s telemetry: %s", qUtf8Printable(path),
               telemetry.usable() ? "partly usable" : "no usable", qUtf8Printable(telemetry.problem));
    const qint64 telemetryMs = timer.elapsed() - audioMs;

    auto suggestion = suggestTrimRange(*result.levels, path, result.duration, telemetry, cancel);
    if (!suggestion)
        return suggestion.error();
    qCDebug(lcApp, "Analysed %s: audio %lld ms, telemetry %lld ms, frames and suggestion %lld ms",
            qUtf8Printable(path), audioMs, telemetryMs, timer.elapsed() - audioMs - telemetryMs);
    if (!hasAudio)
        result.levels.reset();
    result.exitTime = suggestion->exitTime;
    result.audioOpeningTime = suggestion->audioOpeningTime;
    result.frameOpeningTime = suggestion->frameOpeningTime;
    if (telemetry.exit)
        result.telemetryExitTime = telemetry.exit->time;
    if (telemetry.opening)
        result.telemetryOpeningTime = telemetry.opening->time;
    result.telemetrySource = telemetry.source;
    result.telemetryProblem = telemetry.problem;
    result.telemetryCurveKind = telemetry.curveKind;
    result.telemetryCurve = std::move(telemetry.curve);
    const TrimDecision& decision = suggestion->decision;
    result.decidedExitTime = decision.exit;
    result.decidedOpeningTime = decision.opening;
    result.exitSource = decision.exitSource;
    result.openingSource = decision.openingSource;
    result.explanation = decision.explanation;
    if (!suggestion->range) {
        result.summary = durationSummary(result.duration);
        result.error = hasAudio ? QStringLiteral("No confident trim suggestion found.") : kNoAudioTrack;
        return result;
    }
    result.suggestedStart = suggestion->range->start;
    result.suggestedEnd = suggestion->range->end;
    result.error.reset();
    result.summary = QStringLiteral("Keep %1-%2")
                         .arg(formatClock(suggestion->range->start), formatClock(suggestion->range->end));
    return result;
}

} // namespace velarix
