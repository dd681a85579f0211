#include "analysis/VideoTrimAnalysis.h"

#include "analysis/TrimSuggestion.h"
#include "media/AudioLevelReader.h"
#include "media/ChapterContinuation.h"
#include "media/MediaStreams.h"
#include "media/TelemetryKinds.h"
#include "media/TelemetryReader.h"

#include "analysis/AnalysisLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cmath>

namespace velarix {

namespace {

constexpr double kMinimumDuration = 90.0;

AnalysisText said(const char* source) {
    return analysisText("velarix::VideoTrimAnalysis", source);
}

AnalysisText durationSummary(double duration) {
    return said(QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis", "Duration %1")).arg(formatClock(duration));
}

AnalysisText noAudioTrack() {
    return said(QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis",
                                  "No audio track found, so no trim suggestion was generated."));
}

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
// Where that pass reads a chapter from, and the chapter's size; by default the files themselves.
// `onePass` reads the sound and the telemetry in the same pass, for inputs that only go forward.
struct ChapterInputs {
    std::function<Result<MediaInput>(qsizetype chapter)> open;
    std::function<qint64(qsizetype chapter)> size;
    bool onePass = false;
};

ChapterInputs chapterFiles(const QStringList& chapters, const CancelToken* cancel) {
    return {
        [&chapters, cancel](qsizetype c) { return openVideoAsset(chapters[c], audioReadingOptions(cancel)); },
        [&chapters](qsizetype c) { return QFileInfo(chapters[c]).size(); }, false};
}

Result<VideoTrimAnalysisResult> readHeaderAndLevels(const QStringList& chapters,
                                                    const std::vector<double>& starts,
                                                    const ChapterInputs& inputs, TelemetryFinding& telemetry,
                                                    const CancelToken* cancel,
                                                    const std::function<void(double)>& progress) {
    VideoTrimAnalysisResult result;
    LevelAccumulator levels;
    bool hasAudio = true;
    std::vector<TelemetryPacket> packets;
    bool hasTelemetry = false;
    QStringList problems;
    for (qsizetype c = 0; c < chapters.size(); ++c) {
        const QString& path = chapters[c];
        auto input = inputs.open(c);
        if (!input)
            return input.error();
        if (auto known = ensureStreamsKnown(*input, path, cancel); !known)
            return known.error();
        result.fileSize += inputs.size(c);
        const double begin = starts[size_t(c)];
        if (c == 0) {
            const double firstDuration = containerDuration(input->get());
            result.duration = chapters.size() == 1 ? firstDuration : starts.back();
            if (!(result.duration > 0)) {
                result.setSummary(
                    said(QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis", "Unable to read duration")));
                result.setError(said(QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis",
                                                       "The file duration could not be loaded.")));
                return result;
            }
            if (result.duration < kMinimumDuration) {
                result.setSummary(durationSummary(result.duration));
                result.setError(said(QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis",
                                                       "Clip is shorter than %1, so no trim suggestion was "
                                                       "generated."))
                                    .arg(formatClock(kMinimumDuration)));
                return result;
            }
        }
        const QList<int> audio = audioStreams(input->get());
        hasAudio = hasAudio && !audio.isEmpty();
        // Gathered alongside the sound when the input is read only once.
        std::optional<TelemetryPackets> alongside;
        if (hasAudio) {
            const double share = kAudioShare / double(chapters.size());
            AlongsideStream telemetryStreamToo;
            if (inputs.onePass) {
                telemetryStreamToo.index = telemetryStream(input->get());
                alongside.emplace().hasTrack = telemetryStreamToo.index >= 0;
                telemetryStreamToo.take = [&alongside, format = input->get(),
                                           index = telemetryStreamToo.index](const AVPacket* packet) {
                    alongside->packets.push_back(telemetryPacket(format, format->streams[index], packet));
                };
            }
            auto added = addAudioLevels(
                *input, audio.first(), levels, cancel,
                [&](double fraction) {
                    if (progress)
                        progress(share * (double(c) + fraction));
                },
                telemetryStreamToo);
            if (!added)
                return added.error();
        }
        auto read = alongside ? Result<TelemetryPackets>(std::move(*alongside))
                              : readTelemetryPackets(*input, cancel);
        if (read.isCancelled())
            return read.error();
        if (!read) {
            qCWarning(lcAnalysis, "Reading the telemetry of %s failed: %s", qUtf8Printable(path),
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
        result.setSummary(durationSummary(result.duration));
        result.setError(noAudioTrack());
        result.levels = std::vector<double>();
    }
    auto sensors = detectInTelemetry(std::move(packets), hasTelemetry, problems, result.duration);
    if (!sensors)
        return sensors.error();
    telemetry = std::move(*sensors);
    return result;
}

// The header's, the sound's and the telemetry's findings (`read`) turned into the result: the pictures
// around the opening are read from the files, and the range is suggested.
Result<VideoTrimAnalysisResult>
completeAnalysis(const QStringList& chapters, const std::vector<double>& starts,
                 Result<VideoTrimAnalysisResult> read, TelemetryFinding telemetry, const QElapsedTimer& timer,
                 const CancelToken* cancel, const std::function<void(double)>& progress);

} // namespace

Result<VideoTrimAnalysisResult> analyzeVideo(const QString& path, const CancelToken* cancel,
                                             const std::function<void(double)>& progress) {
    return analyzeRecording({path}, cancel, progress);
}

Result<VideoTrimAnalysisResult> analyzeRecording(const QStringList& chapters, const CancelToken* cancel,
                                                 const std::function<void(double)>& progress) {
    if (chapters.isEmpty())
        return Error::make(QStringLiteral("Media"), 1, QStringLiteral("There is no video to analyse."));
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
    auto read =
        readHeaderAndLevels(chapters, starts, chapterFiles(chapters, cancel), telemetry, cancel, progress);
    return completeAnalysis(chapters, starts, std::move(read), std::move(telemetry), timer, cancel, progress);
}

Result<AnalysisReading> readForAnalysis(MediaInput input, const QString& name, qint64 size,
                                        const CancelToken* cancel,
                                        const std::function<void(double)>& progress) {
    const ChapterInputs inputs{[&input](qsizetype) -> Result<MediaInput> { return std::move(input); },
                               [size](qsizetype) { return size; }, true};
    AnalysisReading reading;
    auto read = readHeaderAndLevels({name}, {0}, inputs, reading.telemetry, cancel, progress);
    if (!read)
        return read.error();
    reading.result = std::move(*read);
    return reading;
}

Result<VideoTrimAnalysisResult> analyzeVideo(const QString& path, AnalysisReading reading,
                                             const CancelToken* cancel,
                                             const std::function<void(double)>& progress) {
    QElapsedTimer timer;
    timer.start();
    if (progress)
        progress(kAudioShare);
    return completeAnalysis({path}, {0}, std::move(reading.result), std::move(reading.telemetry), timer,
                            cancel, progress);
}

namespace {

Result<VideoTrimAnalysisResult>
completeAnalysis(const QStringList& chapters, const std::vector<double>& starts,
                 Result<VideoTrimAnalysisResult> read, TelemetryFinding telemetry, const QElapsedTimer& timer,
                 const CancelToken* cancel, const std::function<void(double)>& progress) {
    const QString& path = chapters.first();
    // Named even when there is nothing to suggest: the user sees what the camera recorded.
    const TelemetryKinds kinds = telemetryKinds(path);
    const auto nameTelemetry = [&kinds](VideoTrimAnalysisResult& result) {
        result.telemetryKinds = kinds.used + kinds.unused;
        const AnalysisText explained = joinedText(
            {{result.explanation, result.shown.explanation}, kinds.sentence()}, QStringLiteral("\n"));
        result.explanation = explained.english;
        result.shown.explanation = explained.shown;
    };
    if (read && !read->levels)
        nameTelemetry(*read);
    if (!read || !read->levels)
        return read;
    VideoTrimAnalysisResult result = std::move(*read);
    const qint64 readMs = timer.elapsed();
    const bool hasAudio = result.error != noAudioTrack().english;
    if (!telemetry.problem.isEmpty())
        qCInfo(lcAnalysis, "%s: %s telemetry: %s", qUtf8Printable(path),
               telemetry.usable() ? "partly usable" : "no usable", qUtf8Printable(telemetry.problem.english));

    auto suggestion = suggestTrimRange(*result.levels, chapters, starts, result.duration, telemetry, cancel);
    if (!suggestion)
        return suggestion.error();
    if (progress)
        progress(1.0);
    qCDebug(lcAnalysis, "Analysed %s: audio and telemetry %lld ms, frames and suggestion %lld ms",
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
    result.telemetryProblem = telemetry.problem.english;
    result.shown.telemetryProblem = telemetry.problem.shown;
    result.telemetryCurveKind = telemetry.curveKind;
    result.telemetryCurve = std::move(telemetry.curve);
    const TrimDecision& decision = suggestion->decision;
    qCDebug(lcAnalysis, "Decided %s: exit %.2f s (%s), opening %.2f s (%s), %s", qUtf8Printable(path),
            decision.exit.value_or(-1), qUtf8Printable(decision.exitSource), decision.opening.value_or(-1),
            qUtf8Printable(decision.openingSource), suggestion->range ? "a range to keep" : "no range");
    result.decidedExitTime = decision.exit;
    result.decidedOpeningTime = decision.opening;
    result.exitSource = decision.exitSource;
    result.openingSource = decision.openingSource;
    result.explanation = decision.explanation.english;
    result.shown.explanation = decision.explanation.shown;
    nameTelemetry(result);
    if (!suggestion->range) {
        result.setSummary(durationSummary(result.duration));
        result.setError(hasAudio ? said(QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis",
                                                          "No confident trim suggestion found."))
                                 : noAudioTrack());
        return result;
    }
    result.suggestedStart = suggestion->range->start;
    result.suggestedEnd = suggestion->range->end;
    result.clearError();
    AnalysisText summary =
        said(QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis", "Keep %1-%2"))
            .arg(formatClock(suggestion->range->start), formatClock(suggestion->range->end));
    result.review = decision.review.english;
    result.shown.review = decision.review.shown;
    if (!result.review.isEmpty()) {
        //: A suggested range and what it needs: "Keep 00:40-02:30 (check before trimming)".
        summary = said(QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis", "%1 (%2)"))
                      .arg(summary, said(kCheckBeforeTrimmingSource));
        qCInfo(lcAnalysis, "%s: check before trimming: %s", qUtf8Printable(path),
               qUtf8Printable(result.review));
    }
    result.setSummary(summary);
    return result;
}

} // namespace

} // namespace velarix
