#pragma once

// The trim analysis of one video file, as the trimming job queue runs it.
//
// Both entry points block and are meant to run on a worker thread (e.g. inside QtConcurrent::run).
// They take a shared cancel flag: setting it from any thread makes the call return a cancellation
// (Error::cancelled) within about a second, also when it is blocked in file I/O. A cancellation is
// never a result. Each call opens its own demuxers and decoders and releases them before it returns,
// so any number of calls may run at once.

#include "analysis/TelemetryDetection.h"
#include "core/AnalysisText.h"
#include "media/MediaOpen.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace velarix {

// The outcome of an analysis that ran to the end. A result with `error` set is still a successful
// analysis: it explains why no range is suggested.
struct VideoTrimAnalysisResult {
    double duration = 0;                  // seconds; 0 when the file does not say
    qint64 fileSize = 0;                  // bytes; 0 when unreadable
    std::optional<double> suggestedStart; // seconds; both present or both absent
    std::optional<double> suggestedEnd;
    QString summary;              // one line for the item row, e.g. "Keep 00:40-02:30"
    std::optional<QString> error; // why there is no suggestion

    // The evidence, for drawing and for the command line; absent when the stage did not run.
    std::optional<std::vector<double>> levels; // raw half-second levels in dB
    std::optional<double> exitTime;            // seconds
    std::optional<double> audioOpeningTime;
    std::optional<double> frameOpeningTime;

    // The camera's sensors: their exit and opening, "gps" or "accelerometer" (empty when there is
    // no usable telemetry) and the curve to draw.
    std::optional<double> telemetryExitTime;
    std::optional<double> telemetryOpeningTime;
    QString telemetrySource;
    QString telemetryProblem; // why (part of) the telemetry was not usable, e.g. "the GPS has no fix"
    TelemetryCurveKind telemetryCurveKind = TelemetryCurveKind::None;
    std::vector<double> telemetryCurve;

    // What the suggestion was built on: the exit and the opening, the source of each ("audio",
    // "frames" or "telemetry") and, for the summary's tooltip, the explanation in words.
    std::optional<double> decidedExitTime;
    std::optional<double> decidedOpeningTime;
    QString exitSource;
    QString openingSource;
    QString explanation;
    // Why the suggested range should be checked before trimming ("the accelerometer shows more than one
    // shock that could be the opening"); empty when there is no range or no doubt. Trimming to the
    // suggestion without a look skips such files.
    QString review;
    // The kinds of telemetry the clip carries, used or not (see TelemetryKinds.h); also named in the
    // explanation.
    QStringList telemetryKinds;

    // The texts above are English, as the machine output and the logs keep them; these are the same
    // in the user's language, for display. A field left empty (a result made by hand) shows the
    // English one.
    struct Shown {
        QString summary;
        std::optional<QString> error;
        QString explanation;
        QString review;
        QString telemetryProblem;
    } shown;

    QString shownSummary() const { return shown.summary.isEmpty() ? summary : shown.summary; }
    std::optional<QString> shownError() const { return shown.error ? shown.error : error; }
    QString shownExplanation() const { return shown.explanation.isEmpty() ? explanation : shown.explanation; }
    QString shownReview() const { return shown.review.isEmpty() ? review : shown.review; }
    QString shownTelemetryProblem() const {
        return shown.telemetryProblem.isEmpty() ? telemetryProblem : shown.telemetryProblem;
    }
    // Sets a text field and its display twin together.
    void setSummary(const AnalysisText& text) {
        summary = text.english;
        shown.summary = text.shown;
    }
    void setError(const AnalysisText& text) {
        error = text.english;
        shown.error = text.shown;
    }
    void clearError() {
        error.reset();
        shown.error.reset();
    }
};

// The words that mark a suggestion to check, in its summary and row.
inline const char* const kCheckBeforeTrimmingSource =
    QT_TRANSLATE_NOOP("velarix::VideoTrimAnalysis", "check before trimming");
inline const QString kCheckBeforeTrimming = QString::fromLatin1(kCheckBeforeTrimmingSource);

// Analyses the file at `path`. Errors: the file cannot be opened or read (domain "Media"), the
// audio reader fails (domain "VideoTrimming", codes 1 to 3), or a cancellation.
// `progress` gets how far it is, 0…1 (the audio pass is most of the work).
Result<VideoTrimAnalysisResult> analyzeVideo(const QString& path, const CancelToken* cancel = nullptr,
                                             const std::function<void(double)>& progress = {});

// The same for the chapters of one recording, analysed as one video: sound, pictures and telemetry
// run on across the chapters' boundaries, and every time is the recording's (chapter 2 begins where
// chapter 1 ends). One chapter is an ordinary file. The duration and size are the recording's.
Result<VideoTrimAnalysisResult> analyzeRecording(const QStringList& chapters,
                                                 const CancelToken* cancel = nullptr,
                                                 const std::function<void(double)>& progress = {});

// What the pass over every byte of a video finds: its header, its sound's levels and its telemetry.
struct AnalysisReading {
    VideoTrimAnalysisResult result;
    TelemetryFinding telemetry;
};

// That pass on an input opened elsewhere (the bytes of a copy as the import writes them), reading
// the sound and the telemetry in one forward pass. `size` is the file's; `name` names it in errors.
Result<AnalysisReading> readForAnalysis(MediaInput input, const QString& name, qint64 size,
                                        const CancelToken* cancel = nullptr,
                                        const std::function<void(double)>& progress = {});

// The rest of the analysis of the file at `path`, given what that pass found in its bytes: the few
// key frames around the opening are read from the file, and the range is suggested. The result is
// analyzeVideo(path)'s.
Result<VideoTrimAnalysisResult> analyzeVideo(const QString& path, AnalysisReading reading,
                                             const CancelToken* cancel = nullptr,
                                             const std::function<void(double)>& progress = {});

// Per file; a recording of several chapters gets this for each of them.
inline constexpr std::chrono::seconds kAnalysisTimeout{90};

// An analysis that took longer than its time-out.
struct VideoTrimAnalysisTimeoutError {
    static inline const QString kDomain = QStringLiteral("VideoTrimAnalysisTimeoutError");
    static constexpr int kCode = 1; // the domain's only code

    QString path;
    std::chrono::milliseconds timeout = kAnalysisTimeout;

    // "Audio analysis for clip.mp4 exceeded 90 seconds."
    QString description() const;
    Error toError() const;
    static bool matches(const Error& error) { return error.domain == kDomain; }
};

// analyzeVideo raced against a time-out on a monotonic clock: whichever ends first decides. When the
// time-out wins, the analysis is cancelled and the error is a VideoTrimAnalysisTimeoutError (see
// matches()), even if a result arrives meanwhile; the call returns once the analysis has stopped.
Result<VideoTrimAnalysisResult> analyzeVideoWithTimeout(const QString& path,
                                                        const CancelToken* cancel = nullptr,
                                                        std::chrono::milliseconds timeout = kAnalysisTimeout,
                                                        const std::function<void(double)>& progress = {});

// analyzeRecording raced against kAnalysisTimeout for each chapter; the error names the first chapter.
Result<VideoTrimAnalysisResult> analyzeRecordingWithTimeout(const QStringList& chapters,
                                                            const CancelToken* cancel = nullptr,
                                                            const std::function<void(double)>& progress = {});

// The race itself, for any analysis: `analysis` gets a token that `cancel` and the time-out both set.
using AnalysisFunction = std::function<Result<VideoTrimAnalysisResult>(const CancelToken*)>;
Result<VideoTrimAnalysisResult> runWithTimeout(const AnalysisFunction& analysis, const QString& path,
                                               const CancelToken* cancel, std::chrono::milliseconds timeout);

} // namespace velarix
