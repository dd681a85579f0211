#include "analysis/FreefallAnalysis.h"

#include "analysis/LevelStatistics.h"

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

constexpr int kMinimumLevels = 8;
constexpr double kMinimumDuration = 90.0;
constexpr double kMinimumRange = 2.5;
constexpr int kTailBlock = 60;     // 30 s
constexpr int kMinimumRun = 8;     // 4 s of loud wind
constexpr int kOpeningFrom = 60;   // the canopy opens 30 s …
constexpr int kOpeningTo = 240;    // … to 120 s after the exit
constexpr int kBeforeWindows = 16; // 8 s
constexpr int kAfterWindows = 20;  // 10 s
constexpr double kLoudestLevel = 120.0;

// The start of a quiet stretch of at least 30 s that runs to the end of the clip (the canopy ride
// and the landing), or n when there is none; the freefall is looked for before it.
int prefixLength(const std::vector<double>& s, double p20, double range) {
    const int n = int(s.size());
    if (n < kTailBlock)
        return n;
    const double quiet = p20 + std::max(0.22 * range, 1.25);
    const double loud = p20 + std::max(0.38 * range, 2.0);
    std::vector<int> quietSums(size_t(n) + 1, 0), loudSums(size_t(n) + 1, 0);
    for (int i = 0; i < n; ++i) {
        quietSums[size_t(i) + 1] = quietSums[size_t(i)] + (s[size_t(i)] <= quiet ? 1 : 0);
        loudSums[size_t(i) + 1] = loudSums[size_t(i)] + (s[size_t(i)] >= loud ? 1 : 0);
    }
    auto qualifies = [&](int k) {
        const int quietCount = quietSums[size_t(k + kTailBlock)] - quietSums[size_t(k)];
        const int loudCount = loudSums[size_t(k + kTailBlock)] - loudSums[size_t(k)];
        return quietCount / double(kTailBlock) >= 0.75 && loudCount / double(kTailBlock) <= 0.1;
    };
    bool inRun = false;
    int earliest = -1;
    for (int k = n - kTailBlock; k >= n / 2; --k) {
        if (qualifies(k)) {
            inRun = true;
            earliest = k;
        } else if (inRun) {
            // The quiet run ended here: it started at its earliest block.
            return earliest >= std::max(kMinimumLevels, n / 2) ? earliest : n;
        }
    }
    return n; // no quiet tail, or one reaching into the first half
}

int extendExit(const std::vector<double>& p, int runStart, double threshold) {
    int i = runStart;
    if (i == 0)
        return 0;
    int gap = 0;
    for (;;) {
        if (p[size_t(i - 1)] >= threshold) {
            gap = 0;
            if (i < 2)
                return 0;
            --i;
        } else {
            if (gap == 2)
                return i;
            if (i < 2)
                return 0;
            ++gap;
            --i;
        }
    }
}

std::optional<double> audioOpening(const std::vector<double>& p, int exitIndex, int searchStart,
                                   int searchEnd, double low, double spread) {
    const int n = int(p.size());
    const double lo = low + std::max(0.16 * spread, 0.75);
    const double hi = low + std::max(0.28 * spread, 1.5);
    const double drop = std::max(hi - lo, 1.5);
    const int first = std::min(std::max(exitIndex + 1, searchStart), n);
    if (first >= n || searchEnd < first)
        return std::nullopt;
    for (int c = first; c <= searchEnd; ++c) {
        const double before = clampedMean(p, c - kBeforeWindows, c);
        const double after = clampedMean(p, c, c + kAfterWindows);
        if (before - after < drop)
            continue;
        const double quietLevel = before - 0.5 * drop;
        const int afterEnd = std::min(c + kAfterWindows, n);
        const int afterLength = afterEnd - c;
        const auto quietCount = std::count_if(p.begin() + c, p.begin() + afterEnd,
                                              [&](double level) { return level <= quietLevel; });
        // Wind that comes back after the drop was a pause in the freefall, not the canopy.
        bool rebound = false;
        if (c + kAfterWindows < n) {
            const double reboundLevel = std::min(hi, quietLevel);
            const int last = std::min(std::max(searchEnd, c + kAfterWindows), n - 1);
            int consecutive = 0;
            for (int j = c + kAfterWindows; j <= last && !rebound; ++j) {
                consecutive = p[size_t(j)] >= reboundLevel ? consecutive + 1 : 0;
                rebound = consecutive >= 8;
            }
        }
        if (afterLength < 10)
            continue;
        if (quietCount >= std::max(2, int(0.7 * afterLength)) && !rebound)
            return c * kWindowSeconds;
    }
    return std::nullopt;
}

} // namespace

std::optional<FreefallFinding> findFreefall(const std::vector<double>& levels, double duration) {
    const int n = int(levels.size());
    if (n < kMinimumLevels || !(duration >= kMinimumDuration))
        return std::nullopt;
    // Levels beyond any real sound (NaN, infinities) would break the ordering and the sums below.
    std::vector<double> clean(levels.size());
    std::transform(levels.begin(), levels.end(), clean.begin(), [](double level) {
        return std::isnan(level) ? kSilenceLevel : std::clamp(level, kSilenceLevel, kLoudestLevel);
    });
    std::vector<double> s = movingAverage(clean, 2);

    std::vector<double> sorted = s;
    std::sort(sorted.begin(), sorted.end());
    const double p20 = percentile(sorted, 0.2);
    const double range = percentile(sorted, 0.9) - p20;
    if (range < kMinimumRange)
        return std::nullopt;

    const int length = prefixLength(s, p20, range);
    if (length < kMinimumLevels)
        return std::nullopt;
    const std::vector<double> p(s.begin(), s.begin() + length);
    sorted = p;
    std::sort(sorted.begin(), sorted.end());
    const double low = percentile(sorted, 0.2);
    const double spread = percentile(sorted, 0.9) - low;
    if (spread < kMinimumRange)
        return std::nullopt;
    FreefallFinding finding;
    finding.low20 = low;
    finding.spread = spread;
    finding.prefixLength = length;

    // The freefall: the loud run of at least 4 s that rises most above the threshold.
    const double freefall = low + std::max(0.42 * spread, 2.0);
    int bestStart = -1;
    double bestScore = 0;
    for (int i = 0; i < length;) {
        if (p[size_t(i)] < freefall) {
            ++i;
            continue;
        }
        const int start = i;
        double score = 0;
        for (; i < length && p[size_t(i)] >= freefall; ++i)
            score += p[size_t(i)] - freefall;
        if (i - start >= kMinimumRun && (bestStart < 0 || score > bestScore)) {
            bestStart = start;
            bestScore = score;
        }
    }
    if (bestStart < 0)
        return std::nullopt;

    finding.exitIndex = extendExit(p, bestStart, low + std::max(0.24 * spread, 1.0));
    finding.searchStart = std::min(finding.exitIndex + kOpeningFrom, n - 1);
    finding.searchEnd = std::min(std::max(finding.exitIndex + kOpeningTo, finding.searchStart), n - 1);
    finding.audioDeploymentTime =
        audioOpening(s, finding.exitIndex, finding.searchStart, finding.searchEnd, low, spread);
    finding.levels = std::move(s);
    return finding;
}

} // namespace velarix
