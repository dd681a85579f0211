#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace velarix {

// A real jump as a dedicated logger recorded it, cut to the jump (see bench/analysis-accuracy):
// GNSS fixes and, where the logger had one, its accelerometer. Times in seconds from the log's start.
struct GnssFix {
    double t = 0;
    double altitude = 0; // m above sea level
    double north = 0;    // velocity, m/s
    double east = 0;
    double down = 0;
};

struct ImuSample {
    double t = 0;
    double x = 0; // specific force, g
    double y = 0;
    double z = 0;
};

struct JumpLog {
    std::vector<GnssFix> gnss;
    std::vector<ImuSample> imu; // empty when the logger had none
    double duration() const { return gnss.empty() ? 0 : gnss.back().t; }
};

// Reads a cut log: a CSV of time, hMSL, velN, velE, velD (two header lines) and, when `sensorPath`
// is not empty, one of time, ax, ay, az on the same clock.
Result<JumpLog> readJumpLog(const QString& trackPath, const QString& sensorPath = {});

// The true exit and opening of a logged jump, from the raw GNSS velocities:
// - freefall is the first run of fixes descending at 20 m/s or more for 2 s; the canopy the first fix
//   after it below 12 m/s;
// - the exit is where the descent first rises 2 m/s above the aircraft's (its median over the 15 s
//   to 7 s before the descent reached 25 m/s, or 20 m/s if it never did), interpolated between fixes;
// - the opening is where the deceleration to canopy speed began: walking back from the canopy fix
//   while the total speed, smoothed over 1 s, falls by at least 0.6 g (at most 10 s).
struct JumpTruth {
    double exit = 0;
    double opening = 0;
};
std::optional<JumpTruth> jumpTruth(const JumpLog& log);

// How a camera would have written the log beside its picture, for a clip from `start` lasting
// `duration` seconds of the log: GPS5 at 18 Hz from the GNSS (with the lag and noise of a camera's
// receiver), ACCL at 200 Hz from the logger's accelerometer, or from the GNSS velocities where it had
// none (specific force = acceleration − gravity). One payload a second, as synthesiseTelemetry.
struct CameraTelemetryOptions {
    bool gps = true;
    bool accelerometer = true;
    unsigned seed = 1;
};
std::vector<QByteArray> cameraTelemetry(const JumpLog& log, double start, double duration,
                                        const CameraTelemetryOptions& options);

} // namespace velarix
