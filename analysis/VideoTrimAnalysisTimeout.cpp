#include "analysis/VideoTrimAnalysis.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velarix {

QString VideoTrimAnalysisTimeoutError::description() const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout).count();
    return QCoreApplication::translate("TrimAnalysis", "Audio analysis for %1 exceeded %2 seconds.")
        .arg(QFileInfo(path).fileName())
        .arg(seconds);
}

Error VideoTrimAnalysisTimeoutError::toError() const {
    return Error::make(kDomain, kCode, description());
}

Result<VideoTrimAnalysisResult> runWithTimeout(const AnalysisFunction& analysis, const QString& path,
                                               const CancelToken* cancel, std::chrono::milliseconds timeout) {
    // The deadline lives in the token the analysis polls, so no thread has to keep the time.
    const CancelToken stop(cancel, timeout);
    auto result = analysis(&stop);
    if (stop.timedOut())
        return VideoTrimAnalysisTimeoutError{path, timeout}.toError();
    if (stop.isCancelled() || result.isCancelled())
        return Error::cancellation();
    return result;
}

Result<VideoTrimAnalysisResult> analyzeVideoWithTimeout(const QString& path, const CancelToken* cancel,
                                                        std::chrono::milliseconds timeout,
                                                        const std::function<void(double)>& progress) {
    return runWithTimeout(
        [&path, &progress](const CancelToken* stop) { return analyzeVideo(path, stop, progress); }, path,
        cancel, timeout);
}

Result<VideoTrimAnalysisResult> analyzeRecordingWithTimeout(const QStringList& chapters,
                                                            const CancelToken* cancel,
                                                            const std::function<void(double)>& progress) {
    const QString path = chapters.value(0);
    return runWithTimeout([&chapters, &progress](
                              const CancelToken* stop) { return analyzeRecording(chapters, stop, progress); },
                          path, cancel, kAnalysisTimeout * std::max<qsizetype>(1, chapters.size()));
}

} // namespace velarix
