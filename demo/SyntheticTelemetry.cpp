#include "demo/SyntheticTelemetry.h"

#include "media/AvPtr.h"
#include "media/Gpmf.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace velarix {

namespace {

using gpmf::fourCC;

constexpr double kGravity = 9.80665;
constexpr double kClimbRate = 7;         // m/s, the aircraft on its way up
constexpr double kAircraftSpeed = 35;    // m/s of air over the jumper at the door
constexpr double kCanopyForward = 9;     // m/s
constexpr int kAccelerometerScale = 418; // raw units per m/s², as cameras write
constexpr int kGyroscopeScale = 3755;    // raw units per rad/s

double horizontalSpeedAt(const JumpTelemetry& jump, double t) {
    if (t < jump.exitTime)
        return kAircraftSpeed;
    if (t < jump.openingTime)
        return kAircraftSpeed * std::exp(-(t - jump.exitTime) / 2.5); // the forward throw dies away
    return kCanopyForward;
}

QByteArray text(const char* value) {
    return QByteArray(value);
}

QByteArray stream(const QByteArray& children) {
    return gpmf::nested(fourCC("STRM"), children);
}

int16_t raw16(double value) {
    return int16_t(std::clamp(std::lround(value), -32768L, 32767L));
}

} // namespace

JumpTrajectory::JumpTrajectory(const JumpTelemetry& jump) {
    const double dt = 1.0 / kSyntheticAccelerometerRate;
    const auto count = size_t(std::ceil(std::max(0.0, jump.duration) * kSyntheticAccelerometerRate)) + 1;
    m_states.reserve(count);
    const double jumpRunStart = jump.exitTime - jump.jumpRunSeconds;
    double altitude = jump.exitAltitude - kClimbRate * std::max(0.0, jumpRunStart);
    const double vt = jump.terminalSpeed;
    const auto freefallSpeed = [&](double t) { // down is negative
        return -vt * std::tanh(kGravity * std::max(0.0, t - jump.exitTime) / vt);
    };
    // The opening: the deceleration rises within a fraction of a second (the snatch) and dies away
    // slowly as the canopy inflates: rate × (1 − e^(−τ/rise)) × e^(−τ/tail). A hard opening is a high,
    // short pulse, a soft one a low, long one; both take the freefall speed down to the canopy's.
    constexpr double rise = 0.3;
    const double slowing = std::max(1.0, -freefallSpeed(jump.openingTime) - jump.canopyDescent);
    const double peakDeceleration = std::max(0.3, jump.openingShock - 1.0) * kGravity;
    const auto shapePeak = [&](double tail) {
        const double at = rise * std::log(1 + tail / rise);
        return (1 - std::exp(-at / rise)) * std::exp(-at / tail);
    };
    double tail = 0.2;
    while (tail < 30 && peakDeceleration / shapePeak(tail) * tail * tail / (rise + tail) < slowing)
        tail += 0.01;
    const double rate = peakDeceleration / shapePeak(tail);
    bool underCanopy = false;
    double speed = 0; // vertical, up positive, while the canopy opens
    m_landing = jump.duration;
    bool landed = false;
    double landedAt = 0;

    for (size_t i = 0; i < count; ++i) {
        const double t = double(i) * dt;
        JumpState s;
        if (landed) {
            s.verticalSpeed = 0;
            s.specificForce = t - landedAt < 0.3 ? 1.8 : 1.0;
        } else if (t < jumpRunStart) {
            s.verticalSpeed = kClimbRate;
        } else if (t < jump.exitTime) {
            s.verticalSpeed = 0;
        } else if (t < jump.openingTime) {
            s.verticalSpeed = freefallSpeed(t);
            const double horizontal = horizontalSpeedAt(jump, t);
            // Drag alone holds the jumper: it grows with the square of the airspeed.
            s.specificForce = (s.verticalSpeed * s.verticalSpeed + horizontal * horizontal) / (vt * vt);
        } else if (!underCanopy) {
            const double x = t - jump.openingTime;
            if (x < dt)
                speed = freefallSpeed(jump.openingTime);
            const double deceleration = rate * (1 - std::exp(-x / rise)) * std::exp(-x / tail);
            speed += deceleration * dt;
            underCanopy = speed >= -jump.canopyDescent;
            s.verticalSpeed = speed;
            s.specificForce = 1.0 + deceleration / kGravity;
        } else {
            s.verticalSpeed = -jump.canopyDescent * (1 + 0.1 * std::sin(0.5 * t));
            s.specificForce = 1.0 + 0.05 * std::sin(0.9 * t);
        }
        altitude += s.verticalSpeed * dt;
        if (!landed && altitude <= jump.groundAltitude && t > jump.openingTime) {
            landed = true;
            landedAt = t;
            m_landing = t;
            altitude = jump.groundAltitude;
        }
        s.altitude = altitude;
        m_states.push_back(s);
    }
}

JumpState JumpTrajectory::at(double t) const {
    if (m_states.empty())
        return {};
    const auto i =
        size_t(std::clamp(std::lround(t * kSyntheticAccelerometerRate), 0L, long(m_states.size() - 1)));
    return m_states[i];
}

std::vector<QByteArray> synthesiseTelemetry(const JumpTelemetry& jump) {
    const JumpTrajectory trajectory(jump);
    std::mt19937 random(jump.seed * 2654435761u + 7);
    std::normal_distribution<double> gauss(0, 1);
    std::vector<QByteArray> payloads;
    uint32_t accelerometerTotal = 0;
    uint32_t gpsTotal = 0;
    double north = 0;
    double gpsBias = 0;
    const int seconds = int(std::ceil(jump.duration));
    for (int k = 0; k < seconds; ++k) {
        const double end = std::min(double(k + 1), jump.duration);
        std::vector<int16_t> accelerometer;
        std::vector<int16_t> gyroscope;
        int samples = 0;
        for (int i = 0;; ++i) {
            const double t = k + double(i) / kSyntheticAccelerometerRate;
            if (t >= end)
                break;
            const JumpState s = trajectory.at(t);
            // The camera turns slowly with the head; gravity and drag move across its axes.
            double axis[3] = {0.3 * std::sin(0.3 * t), 1.0, 0.3 * std::cos(0.2 * t)};
            const double norm = std::hypot(axis[0], axis[1], axis[2]);
            double shake = 0.03;
            double engine = 0;
            if (t < jump.exitTime) {
                shake = 0.05;
                engine = 0.25 * std::sin(2 * M_PI * 43 * t);
            } else if (t < jump.openingTime) {
                shake = 0.1; // turbulent air
            }
            for (int a = 0; a < 3; ++a) {
                const double g =
                    s.specificForce * axis[a] / norm + engine * std::cos(a * 1.3) + shake * gauss(random);
                accelerometer.push_back(raw16(g * kGravity * kAccelerometerScale));
                gyroscope.push_back(
                    raw16((t < jump.exitTime ? 0.02 : 0.3) * gauss(random) * kGyroscopeScale));
            }
            ++samples;
        }
        accelerometerTotal += uint32_t(samples);
        const auto stamp = gpmf::bigEndianU64(uint64_t(k) * 1'000'000);
        QByteArray device = gpmf::entry(fourCC("DVID"), 'L', 4, 1, gpmf::bigEndianU32(1)) +
                            gpmf::entry(fourCC("DVNM"), 'c', 6, 1, text("Camera"));
        if (jump.accelerometer) {
            device +=
                stream(gpmf::entry(fourCC("STMP"), 'J', 8, 1, stamp) +
                       gpmf::entry(fourCC("TSMP"), 'L', 4, 1, gpmf::bigEndianU32(accelerometerTotal)) +
                       gpmf::entry(fourCC("STNM"), 'c', 13, 1, text("Accelerometer")) +
                       gpmf::entry(fourCC("SIUN"), 'c', 4, 1, QByteArray("m/s\xb2", 4)) +
                       gpmf::entry(fourCC("SCAL"), 's', 2, 1, gpmf::bigEndian16({kAccelerometerScale})) +
                       gpmf::entry(fourCC("ACCL"), 's', 6, samples, gpmf::bigEndian16(accelerometer)));
            device += stream(gpmf::entry(fourCC("STMP"), 'J', 8, 1, stamp) +
                             gpmf::entry(fourCC("TSMP"), 'L', 4, 1, gpmf::bigEndianU32(accelerometerTotal)) +
                             gpmf::entry(fourCC("STNM"), 'c', 9, 1, text("Gyroscope")) +
                             gpmf::entry(fourCC("SIUN"), 'c', 5, 1, text("rad/s")) +
                             gpmf::entry(fourCC("SCAL"), 's', 2, 1, gpmf::bigEndian16({kGyroscopeScale})) +
                             gpmf::entry(fourCC("GYRO"), 's', 6, samples, gpmf::bigEndian16(gyroscope)));
        }
        if (jump.gps) {
            std::vector<int32_t> gps;
            int fixes = 0;
            for (int i = 0;; ++i) {
                const double t = k + double(i) / kSyntheticGpsRate;
                if (t >= end)
                    break;
                const JumpState s = trajectory.at(t);
                const double horizontal = horizontalSpeedAt(jump, t);
                north += horizontal / kSyntheticGpsRate;
                gpsBias = 0.98 * gpsBias + 0.2 * gauss(random); // a slowly wandering error
                const double altitude = s.altitude + gpsBias + 0.8 * gauss(random);
                const double latitude = 51.95 + north / 111'320.0;
                gps.insert(gps.end(),
                           {int32_t(std::lround(latitude * 1e7)), int32_t(std::lround(5.23 * 1e7)),
                            int32_t(std::lround(altitude * 1000)), int32_t(std::lround(horizontal * 1000)),
                            int32_t(std::lround(std::hypot(horizontal, s.verticalSpeed) * 100))});
                ++fixes;
            }
            gpsTotal += uint32_t(fixes);
            device +=
                stream(gpmf::entry(fourCC("STMP"), 'J', 8, 1, stamp) +
                       gpmf::entry(fourCC("TSMP"), 'L', 4, 1, gpmf::bigEndianU32(gpsTotal)) +
                       gpmf::entry(fourCC("STNM"), 'c', 6, 1, text("GPS 5D")) +
                       gpmf::entry(fourCC("GPSF"), 'L', 4, 1, gpmf::bigEndianU32(uint32_t(jump.gpsFix))) +
                       gpmf::entry(fourCC("GPSU"), 'U', 16, 1, text("240501101500.000")) +
                       gpmf::entry(fourCC("GPSP"), 'S', 2, 1,
                                   gpmf::bigEndian16({int16_t(jump.gpsFix ? 150 : 9999)})) +
                       gpmf::entry(fourCC("UNIT"), 'c', 3, 5, QByteArray("degdegm\0\0m/sm/s", 15)) +
                       gpmf::entry(fourCC("SCAL"), 'l', 4, 5,
                                   gpmf::bigEndian32({10'000'000, 10'000'000, 1000, 1000, 100})) +
                       gpmf::entry(fourCC("GPS5"), 'l', 20, fixes, gpmf::bigEndian32(gps)));
        }
        payloads.push_back(gpmf::nested(fourCC("DEVC"), device));
    }
    return payloads;
}

AVStream* addTelemetryStream(AVFormatContext* output) {
    AVStream* stream = avformat_new_stream(output, nullptr);
    if (!stream)
        return nullptr;
    stream->codecpar->codec_type = AVMEDIA_TYPE_DATA;
    stream->codecpar->codec_id = AV_CODEC_ID_BIN_DATA;
    stream->codecpar->codec_tag = MKTAG('g', 'p', 'm', 'd');
    stream->time_base = AVRational{1, 1000};
    return stream;
}

Result<void> writeTelemetryPayload(AVFormatContext* output, AVStream* stream, const QByteArray& payload,
                                   double time, double duration) {
    av::PacketPtr packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), int(payload.size())) < 0)
        return Error::make(QStringLiteral("SyntheticJump"), AVERROR(ENOMEM), QStringLiteral("Out of memory"));
    memcpy(packet->data, payload.constData(), size_t(payload.size()));
    packet->pts = packet->dts =
        av_rescale_q(std::llround(time * 1000), AVRational{1, 1000}, stream->time_base);
    packet->duration = av_rescale_q(std::llround(duration * 1000), AVRational{1, 1000}, stream->time_base);
    packet->stream_index = stream->index;
    packet->flags |= AV_PKT_FLAG_KEY;
    if (const int status = av_interleaved_write_frame(output, packet.get()); status < 0)
        return Error::make(QStringLiteral("SyntheticJump"), status,
                           QStringLiteral("Could not write the telemetry: %1").arg(av::errorText(status)));
    return {};
}

} // namespace velarix
