#pragma once

#include "core/AnalysisText.h"
#include "media/TelemetryReader.h"

#include <QString>

#include <optional>
#include <vector>

namespace velarix {

// One moment the telemetry found, with how sure it is (0 to 1).
struct TelemetryEvent {
    double time = 0; // seconds from the start of the clip
    double confidence = 0;
};

// The half-second curve the range editor draws under the levels.
enum class TelemetryCurveKind { None, Altitude, Acceleration };
inline constexpr double kTelemetryCurveStep = 0.5; // seconds per value

// What the camera's sensors say about a jump.
struct TelemetryFinding {
    // "gps" when the altitude decided (the accelerometer may have sharpened it), "accelerometer"
    // when it had to do alone; empty when nothing was usable.
    QString source;
    std::optional<TelemetryEvent> exit;    // the end of level flight: the acceleration into freefall
    std::optional<TelemetryEvent> opening; // the start of the deceleration under the opening canopy
    // When the altitude shows the canopy flying: the descent has fallen below freefall speed for good.
    std::optional<double> canopyFrom;
    // Why the finding may be wrong, in words ("the accelerometer shows more than one shock that could be
    // the opening"); empty when the sensors agree.
    AnalysisText doubt;
    // Why nothing (or only part) was usable, in words, e.g. "the GPS has no fix"; empty when clean.
    AnalysisText problem;
    TelemetryCurveKind curveKind = TelemetryCurveKind::None;
    std::vector<double>
        curve; // altitude in m or acceleration in g, one value per half second, NaN where unknown

    bool usable() const { return !source.isEmpty(); }
};

// Finds the exit and the opening in the sensors of a clip of `duration` seconds. From the GPS
// altitude: freefall is a smoothed descent of 30 m/s or more for at least 8 s (or above 20 m/s for
// 2 s straight from the aircraft's forward speed: a hop-and-pop); the exit and the opening are fitted
// to the altitudes around its ends. From the accelerometer: the exit is the deepest drop below 0.75 g,
// the opening the last strong shock of the freefall that follows it (a weak one soon after the exit
// for a hop-and-pop).
// Pure; any input is safe (NaN, times outside the clip, a GPS without fix are left out).
TelemetryFinding detectJump(const Telemetry& telemetry, double duration);

} // namespace velarix
