#include "analysis/TrimSuggestion.h"

#include "analysis/FrameSignals.h"
#include "analysis/FreefallAnalysis.h"
#include "core/Log.h"

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

constexpr double kMargin = 10.0;         // kept before the exit and after the opening
constexpr double kMinimumRemoved = 15.0; // a suggestion saving less is not worth offering
constexpr double kFrameWidening = 8.0;   // frames are sampled this far around the opening stretch

} // namespace

std::optional<TrimRange> trimRangeFor(double exitTime, double deploymentTime, double duration) {
    const double start0 = std::max(0.0, exitTime - kMargin);
    double end = std::min(duration, deploymentTime + kMargin);
    if (end <= start0)
        end = std::min(start0 + 1.0, duration);
    const double start = std::min(start0, std::max(0.0, duration - 1.0));
    if (end <= start + 1.0)
        end = start + 1.0;
    if (start + (duration - end) < kMinimumRemoved)
        return std::nullopt;
    return TrimRange{start, end};
}

Result<TrimSuggestion> suggestTrimRange(const std::vector<double>& levels, const QStringList& chapters,
                                        const std::vector<double>& chapterStarts, double duration,
                                        const TelemetryFinding& telemetry, const CancelToken* cancel) {
    TrimSuggestion suggestion;
    const auto finding = findFreefall(levels, duration);
    if (!finding) {
        suggestion.decision = decideTrim(AudioEvidence{}, telemetry);
        if (suggestion.decision.exit && suggestion.decision.opening)
            suggestion.range =
                trimRangeFor(*suggestion.decision.exit, *suggestion.decision.opening, duration);
        return suggestion;
    }
    suggestion.exitTime = finding->exitIndex * kWindowSeconds;
    suggestion.audioOpeningTime = finding->audioDeploymentTime;

    const double from = std::max(0.0, finding->searchStart * kWindowSeconds - kFrameWidening);
    const double to = std::min(duration, finding->searchEnd * kWindowSeconds + kFrameWidening);
    auto signals = sampleFrameSignals(chapters, chapterStarts, from, to, cancel);
    if (signals.isCancelled())
        return Error::cancellation();
    if (!signals)
        qCDebug(lcApp, "Video frame analysis skipped: %s", qUtf8Printable(signals.error().message));
    else
        suggestion.frameOpeningTime = findFrameDeployment(*signals, *finding);

    suggestion.decision = decideTrim(audioEvidence(suggestion.exitTime, finding->spread,
                                                   suggestion.audioOpeningTime, suggestion.frameOpeningTime),
                                     telemetry);
    if (suggestion.decision.exit && suggestion.decision.opening)
        suggestion.range = trimRangeFor(*suggestion.decision.exit, *suggestion.decision.opening, duration);
    return suggestion;
}

QString formatClock(double seconds) {
    // A duration read from a file can be absurd; past this the whole seconds would not fit (and NaN is 0).
    constexpr double kLongestClock = 1e15;
    const auto total = static_cast<long long>(std::floor(std::min(std::max(0.0, seconds), kLongestClock)));
    const long long minutes = total / 60;
    return QString::asprintf("%02lld:%02lld", minutes, total - 60 * minutes);
}

} // namespace velarix
