#pragma once

#include "core/Result.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <QByteArray>

#include <vector>

namespace velarix {

// The camera's sensors on a made-up jump, for demos and tests: the aircraft climbing, then flying
// level on jump run with the engine shaking the camera; the exit at `exitTime`, about ten seconds of
// acceleration to terminal speed, freefall; the opening at `openingTime` (the deceleration starts
// there and peaks at `openingShock` g), the canopy descending at about 5 m/s, the landing.
struct JumpTelemetry {
    double duration = 300;
    double exitTime = 60;
    double openingTime = 120;
    bool gps = true;            // GPS5 at 10 Hz
    bool accelerometer = true;  // the accelerometer and the gyroscope at 200 Hz
    int gpsFix = 3;             // what GPSF says: 0 no fix, 2 or 3 a 2D or 3D fix
    double exitAltitude = 4000; // metres above sea level
    double groundAltitude = 80;
    double jumpRunSeconds = 25; // level flight before the exit; before it the aircraft climbs
    double terminalSpeed = 52;  // m/s
    double openingShock = 3.5;  // peak specific force at the opening, g
    double canopyDescent = 5;   // m/s
    unsigned seed = 1;
};

// Where the jumper is at a time: altitude (m), vertical speed (m/s, up positive) and the magnitude of
// what an accelerometer measures (g), before noise.
struct JumpState {
    double altitude = 0;
    double verticalSpeed = 0;
    double specificForce = 1;
};

// The jump, integrated at the accelerometer's rate once; cheap to sample at any time afterwards.
class JumpTrajectory {
public:
    explicit JumpTrajectory(const JumpTelemetry& jump);
    JumpState at(double t) const;
    // When the canopy reaches the ground (or the clip's end).
    double landingTime() const { return m_landing; }

private:
    std::vector<JumpState> m_states; // one per accelerometer sample
    double m_landing = 0;
};

inline constexpr int kSyntheticAccelerometerRate = 200;
inline constexpr int kSyntheticGpsRate = 10;

// One telemetry payload per second of the clip, as cameras write them; payload k covers [k, k + 1) s
// (the last one the rest of the clip).
std::vector<QByteArray> synthesiseTelemetry(const JumpTelemetry& jump);

// A `gpmd` data stream in an MP4 being written; call before the header. Payload k is then written
// with writeTelemetryPayload at k seconds.
AVStream* addTelemetryStream(AVFormatContext* output);
Result<void> writeTelemetryPayload(AVFormatContext* output, AVStream* stream, const QByteArray& payload,
                                   double time, double duration);

} // namespace velarix
