#include "trimming/VideoTrimAnalysis.h"

#include "platform/AudioLevelReader.h"
#include "platform/ChapterContinuation.h"
#include "platform/MediaStreams.h"
#include "platform/TelemetryKinds.h"
#include "platform/TelemetryReader.h"
#include "trimming/TrimSuggestion.h"

#include "trimming/TrimmingLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cmath>

namespace velarix {

namespace {

constexpr double kMinimumDuration = 90.0;

QString durationSummary(double duration) {
    return QCoreApplication::translate("velarix::VideoTrimAnalysis", "Duration %1")
        .arg(formatClock(duration));
}

const QString kNoAudioTrack = QStringLiteral("No audio track found, so no trim suggestion was generated.");

// The audio pass is this share of an analysis; the frames around the opening take the rest.
constexpr double kAudioShare = 0.85;

// The recording's telemetry: every chapter's packets on the recording's time. A failure to read it
// leaves the sound and the picture to decide.
Result<TelemetryFinding> detectInTelemetry(std::vector<TelemetryPacket> packets, bool hasTrack,
                                           const QStringList& problems, double duration) {
    if (!hasTrack)
        return detectJump(Telemetry{}, duration);
    Telemetry telemetry = assembleTelemetry(packets, analysisSensors());
    for (const QString& problem : problems)
        if (!telemetry.problems.contains(problem))
            telemetry.problems.append(problem);
    return detectJump(telemetry, duration);
}

// The header, the audio levels and the telemetry of each chapter in turn. One input per chapter
// serves all: it reads through a small buffer so that each pass skips the other streams' bytes.
// Levels run on across the chapters' boundaries. Levels stay absent when the clip cannot have a
// suggestion, and are empty when it has no audio track (the telemetry may still suggest a range).
Result<VideoTrimAnalysisResult> readHeaderAndLevels(const QStringList& chapters,
                                                    const std::vector<double>& starts,
                                                    TelemetryFinding& telemetry, const CancelToken* cancel,
                                                    const std::function<void(double)>& progress) {
    VideoTrimAnalysisResult result;
    LevelAccumulator levels;
    bool hasAudio = true;
    std::vector<TelemetryPacket> packets;
    bool hasTelemetry = false;
    QStringList problems;
    for (qsizetype c = 0; c < chapters.size(); ++c) {
        const QString& path = chapters[c];
        auto input = openVideoAsset(path, audioReadingOptions(cancel));
        if (!input)
            return input.error();
        if (auto known = ensureStreamsKnown(*input, path, cancel); !known)
            return known.error();
        result.fileSize += QFileInfo(path).size();
        const double begin = starts[size_t(c)];
        if (c == 0) {
            const double firstDuration = containerDuration(input->get());
            result.duration = chapters.size() == 1 ? firstDuration : starts.back();
            if (!(result.duration > 0)) {
                result.summary =
                    QCoreApplication::translate("velarix::VideoTrimAnalysis", "Unable to read duration");
                result.error = QCoreApplication::translate("velarix::VideoTrimAnalysis",
                                                           "The file duration could not be loaded.");
                return result;
            }
            if (result.duration < kMinimumDuration) {
                result.summary = durationSummary(result.duration);
                result.error = QCoreApplication::translate(
                                   "velarix::VideoTrimAnalysis",
                                   "Clip is shorter than %1, so no trim suggestion was generated.")
                                   .arg(formatClock(kMinimumDuration));
                return result;
            }
        }
        const QList<int> audio = audioStreams(input->get());
        hasAudio = hasAudio && !audio.isEmpty();
        if (hasAudio) {
            const double share = kAudioShare / double(chapters.size());
            auto added = addAudioLevels(*input, audio.first(), levels, cancel, [&](double fraction) {
                if (progress)
                    progress(share * (double(c) + fraction));
            });
            if (!added)
                return added.error();
        }
        auto read = readTelemetryPackets(*input, cancel);
        if (read.isCancelled())
            return read.error();
        if (!read) {
            qCWarning(lcTrimming, "Reading the telemetry of %s failed: %s", qUtf8Printable(path),
                      qUtf8Printable(read.error().message));
            continue;
        }
        hasTelemetry = hasTelemetry || read->hasTrack;
        if (!read->problem.isEmpty())
            problems.append(read->problem);
        for (TelemetryPacket& packet : read->packets) {
            packet.time += begin;
            packets.push_back(std::move(packet));
        }
    }
    if (hasAudio) {
        result.levels = levels.finish();
    } else {
        result.summary = durationSummary(result.duration);
        result.error = kNoAudioTrack;
        result.levels = std::vector<double>();
    }
    auto sensors = detectInTelemetry(std::move(packets), hasTelemetry, problems, result.duration);
    if (!sensors)
        return sensors.error();
    telemetry = std::move(*sensors);
    return result;
}

} // namespace

Result<VideoTrimAnalysisResult> analyzeVideo(const QString& path, const CancelToken* cancel,
                                             const std::function<void(double)>& progress) {
    return analyzeRecording({path}, cancel, progress);
}

Result<VideoTrimAnalysisResult> analyzeRecording(const QStringList& chapters, const CancelToken* cancel,
                                                 const std::function<void(double)>& progress) {
    if (chapters.isEmpty())
        return Error::make(QStringLiteral("Media"), 1, QStringLiteral("There is no video to analyse."));
    const QString& path = chapters.first();
    QElapsedTimer timer;
    timer.start();
    std::vector<double> starts{0};
    if (chapters.size() > 1) {
        auto read = chapterStartTimes(chapters, cancel);
        if (!read)
            return read.error();
        starts = std::move(*read);
    }
    TelemetryFinding telemetry;
    auto read = readHeaderAndLevels(chapters, starts, telemetry, cancel, progress);
    // Named even when there is nothing to suggest: the user sees what the camera recorded.
    const TelemetryKinds kinds = telemetryKinds(path);
    const auto nameTelemetry = [&kinds](VideoTrimAnalysisResult& result) {
        result.telemetryKinds = kinds.used + kinds.unused;
        if (const QString carried = kinds.sentence(); !carried.isEmpty())
            result.explanation += (result.explanation.isEmpty() ? QString() : QStringLiteral("\n")) + carried;
    };
    if (read && !read->levels)
        nameTelemetry(*read);
    if (!read || !read->levels)
        return read;
    VideoTrimAnalysisResult result = std::move(*read);
    const qint64 readMs = timer.elapsed();
    const bool hasAudio = result.error != kNoAudioTrack;
    if (!telemetry.problem.isEmpty())
        qCInfo(lcTrimming, "%s: %s telemetry: %s", qUtf8Printable(path),
               telemetry.usable() ? "partly usable" : "no usable", qUtf8Printable(telemetry.problem));

    auto suggestion = suggestTrimRange(*result.levels, chapters, starts, result.duration, telemetry, cancel);
    if (!suggestion)
        return suggestion.error();
    if (progress)
        progress(1.0);
    qCDebug(lcTrimming, "Analysed %s: audio and telemetry %lld ms, frames and suggestion %lld ms",
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
    qCDebug(lcTrimming, "Decided %s: exit %.2f s (%s), opening %.2f s (%s), %s", qUtf8Printable(path),
            decision.exit.value_or(-1), qUtf8Printable(decision.exitSource), decision.opening.value_or(-1),
            qUtf8Printable(decision.openingSource), suggestion->range ? "a range to keep" : "no range");
    result.decidedExitTime = decision.exit;
    result.decidedOpeningTime = decision.opening;
    result.exitSource = decision.exitSource;
    result.openingSource = decision.openingSource;
    result.explanation = decision.explanation;
    nameTelemetry(result);
    if (!suggestion->range) {
        result.summary = durationSummary(result.duration);
        result.error = hasAudio ? QCoreApplication::translate("velarix::VideoTrimAnalysis",
                                                              "No confident trim suggestion found.")
                                : kNoAudioTrack;
        return result;
    }
    result.suggestedStart = suggestion->range->start;
    result.suggestedEnd = suggestion->range->end;
    result.error.reset();
    result.summary = QCoreApplication::translate("velarix::VideoTrimAnalysis", "Keep %1-%2")
                         .arg(formatClock(suggestion->range->start), formatClock(suggestion->range->end));
    result.review = decision.review;
    if (!result.review.isEmpty()) {
        result.summary += QStringLiteral(" (%1)").arg(kCheckBeforeTrimming);
        qCInfo(lcTrimming, "%s: check before trimming: %s", qUtf8Printable(path),
               qUtf8Printable(result.review));
    }
    return result;
}

} // namespace velarix
