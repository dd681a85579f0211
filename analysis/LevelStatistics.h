#pragma once

#include <vector>

namespace velarix {

// The level of silence, and of an empty sequence: the floor of the level scale in dB.
inline constexpr double kSilenceLevel = -120.0;

// Mean over a window of radius r around each entry (fewer entries at the ends). Sequences of fewer
// than 3 entries, and radii below 1, come back unchanged.
std::vector<double> movingAverage(const std::vector<double>& levels, int radius);

// The entry at ⌊(n − 1) × clamp(p, 0, 1)⌋ of an ascending sequence, without interpolation; -120 for
// an empty one.
double percentile(const std::vector<double>& sortedLevels, double p);

// percentile() of an unsorted sequence.
double percentileOf(std::vector<double> levels, double p);

// Mean of levels[a, b) with the range pulled inside the sequence and never empty; -120 when empty.
double clampedMean(const std::vector<double>& levels, int a, int b);

} // namespace velarix
