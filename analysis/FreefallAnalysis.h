#pragma once

#include <optional>
#include <vector>

namespace velarix {

// A level window counts as exactly half a second wherever window indexes and times meet.
inline constexpr double kWindowSeconds = 0.5;

// What the audio levels say about a jump. Indexes are windows of `levels`.
struct FreefallFinding {
    std::vector<double> levels; // the smoothed levels of the whole clip
    int prefixLength = 0;       // windows before the quiet tail (at least 8): the freefall lies there
    int exitIndex = 0;          // first window of the freefall
    int searchStart = 0;        // the canopy opening is looked for in [searchStart, searchEnd]
    int searchEnd = 0;
    double low20 = 0;                          // 20th percentile of `levels`
    double spread = 0;                         // 90th percentile minus low20
    std::optional<double> audioDeploymentTime; // seconds, where the audio alone shows the opening
};

// Finds the freefall in the raw half-second levels of a clip of `duration` seconds: the loudest long
// loud run, its exit extended backwards, the stretch where the canopy must open and, if the level
// drops there for good, the opening. Nothing when the clip is too short or too even to tell.
// Levels are taken within -120 to +120 dB, and a level that is not a number as silence.
//
// A long quiet tail (canopy ride, landing) is left out of the level statistics and of the freefall
// search. The opening search still looks past it: the tail starts a few windows before the level
// drops, so cutting the search there would hide every opening followed by such a tail.
std::optional<FreefallFinding> findFreefall(const std::vector<double>& levels, double duration);

} // namespace velarix
