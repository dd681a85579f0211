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

// The telemetry track, read from the input the audio was read from: only its packets' bytes. A
// failure to read it leaves the sound and the picture to decide.
Result<TelemetryFinding> readSensors(MediaInput& input, const QString& path, double duration,
                                     const CancelToken* cancel) {
    auto sensors = readTelemetry(input, analysisSensors(), cancel);
    if (sensors.isCancelled())
        return sensors.error();
    if (!sensors) {
        qCWarning(lcApp, "Reading the telemetry of %s failed: %s", qUtf8Printable(path),
                  qUtf8Printable(sensors.error().message));
        return TelemetryFinding{};
    }
    return detectJump(*sensors, duration);
}

// The header, the audio levels and the telemetry. One input serves all: it reads through a small
// buffer so that each pass skips the other streams' bytes. Levels stay absent when the clip cannot
// have a suggestion, and are empty when it has no audio track (the telemetry may still suggest a
// range).
// The audio pass is this share of an analysis; the frames around the opening take the rest.
constexpr double kAudioShare = 0.85;

Result<VideoTrimAnalysisResult> readHeaderAndLevels(const QString& path, TelemetryFinding& telemetry,
                                                    const CancelToken* cancel,
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
        result.error = kNoAudioTrack;
        result.levels = std::vector<double>();
    } else {
        auto levels = readAudioLevels(*input, audio.first(), cancel, [&progress](double fraction) {
            if (progress)
                progress(fraction * kAudioShare);
        });
        if (!levels)
            return levels.error();
        result.levels = std::move(*levels);
    }
    auto sensors = readSensors(*input, path, result.duration, cancel);
    if (!sensors)
        return sensors.error();
    telemetry = std::move(*sensors);
    return result;
}

} // namespace

Result<VideoTrimAnalysisResult> analyzeVideo(const QString& path, const CancelToken* cancel,
                                             const std::function<void(double)>& progress) {
    QElapsedTimer timer;
    timer.start();
    TelemetryFinding telemetry;
    auto read = readHeaderAndLevels(path, telemetry, cancel, progress);
    if (!read || !read->levels)
        return read;
    VideoTrimAnalysisResult result = std::move(*read);
    const qint64 readMs = timer.elapsed();
    const bool hasAudio = result.error != kNoAudioTrack;
    if (!telemetry.problem.isEmpty())
        qCInfo(lcApp, "%s: %s telemetry: %s", qUtf8Printable(path),
               telemetry.usable() ? "partly usable" : "no usable", qUtf8Printable(telemetry.problem));

    auto suggestion = suggestTrimRange(*result.levels, path, result.duration, telemetry, cancel);
    if (!suggestion)
        return suggestion.error();
    if (progress)
        progress(1.0);
    qCDebug(lcApp, "Analysed %s: audio and telemetry %lld ms, frames and suggestion %lld ms",
            qUtf8Printable(path), readMs, timer.elapsed() - readMs);
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
