#include "analysis/FrameDeployment.h"

#include "analysis/LevelStatistics.h"

#include <algorithm>
#include <limits>

namespace velarix {

std::optional<double> findFrameDeployment(const std::vector<VideoFrameSignal>& signals,
                                          const FreefallFinding& finding) {
    if (signals.size() < 4)
        return std::nullopt;
    std::vector<double> motions;
    motions.reserve(signals.size());
    for (const auto& signal : signals)
        motions.push_back(signal.motion);
    std::sort(motions.begin(), motions.end());
    const double m25 = percentile(motions, 0.25);
    const double m90 = percentile(motions, 0.9);
    const double threshold = std::max(m25 + 0.65 * (m90 - m25), 0.08);

    const int before = int(8.0 / kWindowSeconds);
    const int after = int(10.0 / kWindowSeconds);
    const double from = finding.searchStart * kWindowSeconds;
    const double to = finding.searchEnd * kWindowSeconds;
    const int n = int(finding.levels.size());

    std::optional<double> answer;
    double bestScore = -std::numeric_limits<double>::infinity();
    for (const auto& signal : signals) {
        if (signal.time < from || signal.time > to || signal.motion < threshold)
            continue;
        const int index = std::clamp(int(signal.time / kWindowSeconds), 0, std::max(n - 1, 0));
        const double drop = clampedMean(finding.levels, index - before, index) -
                            clampedMean(finding.levels, index, index + after);
        if (drop < 1.5)
            continue;
        const double score = signal.motion + drop / 20.0;
        if (score > bestScore) {
            bestScore = score;
            answer = signal.time;
        }
    }
    return answer;
}

std::optional<double> combineDeployment(std::optional<double> audioTime, std::optional<double> frameTime) {
    if (audioTime && frameTime)
        return std::max(*audioTime, *frameTime);
    return audioTime ? audioTime : frameTime;
}

} // namespace velarix
