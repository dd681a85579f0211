#include "analysis/LevelStatistics.h"

#include <algorithm>
#include <numeric>

namespace velarix {

std::vector<double> movingAverage(const std::vector<double>& levels, int radius) {
    const int n = int(levels.size());
    if (radius < 1 || n < 3)
        return levels;
    std::vector<double> smoothed(levels.size());
    for (int i = 0; i < n; ++i) {
        const int from = std::max(0, i - radius);
        const int to = std::min(n - 1, i + radius);
        double sum = 0;
        for (int j = from; j <= to; ++j)
            sum += levels[size_t(j)];
        smoothed[size_t(i)] = sum / (to - from + 1);
    }
    return smoothed;
}

double percentile(const std::vector<double>& sortedLevels, double p) {
    if (sortedLevels.empty())
        return kSilenceLevel;
    if (sortedLevels.size() == 1)
        return sortedLevels.front();
    const auto index = size_t(double(sortedLevels.size() - 1) * std::clamp(p, 0.0, 1.0));
    return sortedLevels[index];
}

double percentileOf(std::vector<double> levels, double p) {
    std::sort(levels.begin(), levels.end());
    return percentile(levels, p);
}

double clampedMean(const std::vector<double>& levels, int a, int b) {
    const int n = int(levels.size());
    if (n == 0)
        return kSilenceLevel;
    const int lower = std::min(std::max(a, 0), n - 1);
    const int upper = std::min(std::max(b, lower + 1), n);
    const double sum = std::accumulate(levels.begin() + lower, levels.begin() + upper, 0.0);
    return sum / (upper - lower);
}

} // namespace velarix
