#include "trimming/VideoTrimAnalysis.h"

#include <QFileInfo>

#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

namespace velarix {

namespace {

// How often the watchdog looks at the caller's cancel flag.
constexpr std::chrono::milliseconds kCancelPoll{50};

} // namespace

QString VideoTrimAnalysisTimeoutError::description() const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout).count();
    return QStringLiteral("Audio analysis for %1 exceeded %2 seconds.")
        .arg(QFileInfo(path).fileName())
        .arg(seconds);
}

Error VideoTrimAnalysisTimeoutError::toError() const {
    return Error::make(kDomain, kCode, description());
}

Result<VideoTrimAnalysisResult> runWithTimeout(const AnalysisFunction& analysis, const QString& path,
                                               const CancelFlag* cancel, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    CancelFlag stop{false};
    std::atomic<bool> timedOut{false};

    // The analysis runs on this thread (a pool thread already); a plain thread keeps the time, so
    // that a full pool can never hold back the time-out.
    std::jthread watchdog([&](std::stop_token token) {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        while (!token.stop_requested()) {
            if (cancel && cancel->load()) {
                stop = true;
                return;
            }
            const auto now = Clock::now();
            if (now >= deadline) {
                timedOut = true;
                stop = true;
                return;
            }
            wake.wait_until(lock, token, std::min(deadline, now + kCancelPoll), [] { return false; });
        }
    });

    auto result = analysis(&stop);
    watchdog.request_stop();
    watchdog.join();
    if (timedOut)
        return VideoTrimAnalysisTimeoutError{path, timeout}.toError();
    if (stop || result.isCancelled())
        return Error::cancellation();
    return result;
}

Result<VideoTrimAnalysisResult> analyzeVideoWithTimeout(const QString& path, const CancelFlag* cancel,
                                                        std::chrono::milliseconds timeout,
                                                        const std::function<void(double)>& progress) {
    return runWithTimeout(
        [&path, &progress](const CancelFlag* stop) { return analyzeVideo(path, stop, progress); }, path,
        cancel, timeout);
}

Result<VideoTrimAnalysisResult> analyzeRecordingWithTimeout(const QStringList& chapters,
                                                            const CancelFlag* cancel,
                                                            const std::function<void(double)>& progress) {
    const QString path = chapters.value(0);
    return runWithTimeout(
        [&chapters, &progress](const CancelFlag* stop) { return analyzeRecording(chapters, stop, progress); },
        path, cancel, kAnalysisTimeout * std::max<qsizetype>(1, chapters.size()));
}

} // namespace velarix
