#pragma once

#include "analysis/TrimDecision.h"
#include "media/MediaOpen.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velarix {

struct TrimRange {
    double start = 0; // seconds
    double end = 0;
};

// The suggestion for one clip with the evidence behind it; times in seconds, absent when unknown.
struct TrimSuggestion {
    std::optional<TrimRange> range; // absent when no confident suggestion exists
    std::optional<double> exitTime; // the sound's
    std::optional<double> audioOpeningTime;
    std::optional<double> frameOpeningTime;
    TrimDecision decision; // the exit and the opening the range was built on, and their sources
};

// The kept range from 10 s before the exit to 10 s after the canopy opening, at least 1 s long and
// inside the clip; nothing when it would remove less than 15 s.
std::optional<TrimRange> trimRangeFor(double exitTime, double deploymentTime, double duration);

// Finds the freefall in the levels, refines the opening with frames of the video (one file, or the
// chapters of a recording beginning at `chapterStarts`), weighs
// both against the telemetry and suggests a range. Empty levels (no audio track) leave the telemetry
// alone. Only a cancellation is returned as an error: frame sampling that fails is logged and leaves
// the audio evidence alone.
Result<TrimSuggestion> suggestTrimRange(const std::vector<double>& levels, const QStringList& chapters,
                                        const std::vector<double>& chapterStarts, double duration,
                                        const TelemetryFinding& telemetry, const CancelToken* cancel);

// Minutes and seconds as "%02d:%02d"; minutes are not capped at 59, negative times and NaN are
// 00:00, and times beyond 10^15 s are read as that.
QString formatClock(double seconds);

} // namespace velarix
