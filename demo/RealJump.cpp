#include "demo/RealJump.h"

#include "media/Gpmf.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <random>

namespace velarix {

namespace {

using gpmf::fourCC;

constexpr double kGravity = 9.80665;
constexpr int kGpsRate = 18;
constexpr int kAccelerometerRate = 200;
constexpr int kAccelerometerScale = 418; // raw units per m/s², as cameras write
constexpr double kGpsLag = 0.3;          // s: a camera's receiver reports late

Error logError(const QString& path, const QString& why) {
    return Error::make(QStringLiteral("RealJump"), 1, QStringLiteral("%1: %2").arg(path, why));
}

// The rows of a CSV with two header lines, each with `columns` numbers.
Result<std::vector<std::vector<double>>> readRows(const QString& path, int columns) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return logError(path, file.errorString());
    std::vector<std::vector<double>> rows;
    int line = 0;
    while (!file.atEnd()) {
        const QByteArray text = file.readLine().trimmed();
        if (++line <= 2 || text.isEmpty())
            continue;
        const QList<QByteArray> fields = text.split(',');
        if (fields.size() < columns)
            return logError(path, QStringLiteral("line %1 has too few fields").arg(line));
        std::vector<double> row;
        for (int i = 0; i < columns; ++i) {
            bool ok = false;
            row.push_back(fields[i].toDouble(&ok));
            if (!ok)
                return logError(path, QStringLiteral("line %1 is not a number").arg(line));
        }
        if (!rows.empty() && row[0] <= rows.back()[0])
            continue; // a repeated time
        rows.push_back(std::move(row));
    }
    return rows;
}

// Linear interpolation of a time-ordered sequence at `t`, held at its ends.
template <class T, class Field> double interpolate(const std::vector<T>& samples, double t, Field field) {
    const auto after = std::lower_bound(samples.begin(), samples.end(), t,
                                        [](const T& s, double time) { return s.t < time; });
    if (after == samples.begin())
        return field(samples.front());
    if (after == samples.end())
        return field(samples.back());
    const T& b = *after;
    const T& a = *(after - 1);
    const double w = (t - a.t) / (b.t - a.t);
    return field(a) + (field(b) - field(a)) * w;
}

double speed(const GnssFix& f) {
    return std::sqrt(f.north * f.north + f.east * f.east + f.down * f.down);
}

// Specific force from the GNSS velocities: their change over ±0.4 s, minus gravity.
std::vector<ImuSample> forceFromVelocities(const std::vector<GnssFix>& gnss) {
    std::vector<ImuSample> out;
    for (const GnssFix& f : gnss) {
        const double from = f.t - 0.4;
        const double to = f.t + 0.4;
        const auto v = [&](double t, auto field) {
            return interpolate(gnss, t, field);
        };
        const double span = to - from;
        const double n = (v(to, [](const GnssFix& g) { return g.north; }) -
                          v(from, [](const GnssFix& g) { return g.north; })) /
                         span;
        const double e = (v(to, [](const GnssFix& g) { return g.east; }) -
                          v(from, [](const GnssFix& g) { return g.east; })) /
                         span;
        const double d = (v(to, [](const GnssFix& g) { return g.down; }) -
                          v(from, [](const GnssFix& g) { return g.down; })) /
                         span;
        out.push_back({f.t, n / kGravity, e / kGravity, (d - kGravity) / kGravity});
    }
    return out;
}

QByteArray stream(const QByteArray& children) {
    return gpmf::nested(fourCC("STRM"), children);
}

} // namespace

Result<JumpLog> readJumpLog(const QString& trackPath, const QString& sensorPath) {
    JumpLog log;
    auto track = readRows(trackPath, 5);
    if (!track)
        return track.error();
    for (const auto& r : *track)
        log.gnss.push_back({r[0], r[1], r[2], r[3], r[4]});
    if (log.gnss.size() < 20)
        return logError(trackPath, QStringLiteral("fewer than 20 fixes"));
    if (!sensorPath.isEmpty()) {
        auto sensor = readRows(sensorPath, 4);
        if (!sensor)
            return sensor.error();
        for (const auto& r : *sensor)
            log.imu.push_back({r[0], r[1], r[2], r[3]});
    }
    return log;
}

std::optional<JumpTruth> jumpTruth(const JumpLog& log) {
    const auto& g = log.gnss;
    // The first run of 2 s at 20 m/s or more: a hop-and-pop may never reach 25 m/s, and a canopy
    // spiral comes after the freefall.
    size_t bestStart = 0;
    size_t bestEnd = 0;
    for (size_t i = 0; i < g.size();) {
        if (g[i].down < 20) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < g.size() && g[j].down >= 20)
            ++j;
        if (g[j - 1].t - g[i].t >= 2) {
            bestStart = i;
            bestEnd = j;
            break;
        }
        i = j;
    }
    if (bestEnd == bestStart)
        return std::nullopt;
    size_t canopy = bestEnd;
    while (canopy < g.size() && g[canopy].down >= 12)
        ++canopy;
    if (canopy == g.size())
        return std::nullopt;

    // The aircraft's rate over the 15 s to 7 s before the descent reached 25 m/s (20 m/s for a
    // hop-and-pop that never did).
    size_t fast = bestStart;
    while (fast < bestEnd && g[fast].down < 25)
        ++fast;
    const double anchor = g[fast < bestEnd ? fast : bestStart].t;
    std::vector<double> aircraft;
    for (const GnssFix& f : g)
        if (f.t >= anchor - 15 && f.t <= anchor - 7)
            aircraft.push_back(f.down);
    if (aircraft.empty())
        return std::nullopt;
    std::nth_element(aircraft.begin(), aircraft.begin() + long(aircraft.size() / 2), aircraft.end());
    const double threshold = aircraft[aircraft.size() / 2] + 2;
    size_t i = bestStart;
    while (i > 0 && g[i - 1].down > threshold)
        --i;
    if (i == 0)
        return std::nullopt;
    JumpTruth truth;
    const GnssFix& a = g[i - 1];
    const GnssFix& b = g[i];
    truth.exit = a.t + (b.t - a.t) * (threshold - a.down) / (b.down - a.down);

    // The total speed smoothed over 1 s; the deceleration over 0.4 s.
    const auto smoothed = [&](double t) {
        double sum = 0;
        int n = 0;
        for (double dt = -0.5; dt <= 0.5001; dt += 0.1, ++n)
            sum += interpolate(g, t + dt, speed);
        return sum / n;
    };
    const auto decelerating = [&](double at) {
        return (smoothed(at - 0.6) - smoothed(at - 0.2)) / 0.4 >= 0.6 * kGravity;
    };
    double t = g[canopy].t;
    const double limit = t - 10;
    while (t > limit + 5 && !decelerating(t)) // the canopy may have slowed before the fix
        t -= 0.1;
    while (t > limit && decelerating(t))
        t -= 0.1;
    truth.opening = t - 0.2;
    return truth;
}

std::vector<QByteArray> cameraTelemetry(const JumpLog& log, double start, double duration,
                                        const CameraTelemetryOptions& options) {
    std::mt19937 random(options.seed * 2654435761u + 11);
    std::normal_distribution<double> gauss(0, 1);
    const std::vector<ImuSample> force = log.imu.empty() ? forceFromVelocities(log.gnss) : log.imu;
    std::vector<QByteArray> payloads;
    uint32_t accelerometerTotal = 0;
    uint32_t gpsTotal = 0;
    double bias = 0;
    const int seconds = int(std::ceil(duration));
    for (int k = 0; k < seconds; ++k) {
        const double end = std::min(double(k + 1), duration);
        const auto stamp = gpmf::bigEndianU64(uint64_t(k) * 1'000'000);
        QByteArray device = gpmf::entry(fourCC("DVID"), 'L', 4, 1, gpmf::bigEndianU32(1)) +
                            gpmf::entry(fourCC("DVNM"), 'c', 6, 1, QByteArray("Camera"));
        if (options.accelerometer) {
            std::vector<int16_t> samples;
            int count = 0;
            for (int i = 0;; ++i) {
                const double t = k + double(i) / kAccelerometerRate;
                if (t >= end)
                    break;
                const double at = start + t;
                const double axes[3] = {interpolate(force, at, [](const ImuSample& s) { return s.x; }),
                                        interpolate(force, at, [](const ImuSample& s) { return s.y; }),
                                        interpolate(force, at, [](const ImuSample& s) { return s.z; })};
                for (double g : axes)
                    samples.push_back(int16_t(
                        std::clamp(std::lround((g + 0.03 * gauss(random)) * kGravity * kAccelerometerScale),
                                   -32768L, 32767L)));
                ++count;
            }
            accelerometerTotal += uint32_t(count);
            device +=
                stream(gpmf::entry(fourCC("STMP"), 'J', 8, 1, stamp) +
                       gpmf::entry(fourCC("TSMP"), 'L', 4, 1, gpmf::bigEndianU32(accelerometerTotal)) +
                       gpmf::entry(fourCC("SCAL"), 's', 2, 1, gpmf::bigEndian16({kAccelerometerScale})) +
                       gpmf::entry(fourCC("ACCL"), 's', 6, count, gpmf::bigEndian16(samples)));
        }
        if (options.gps) {
            std::vector<int32_t> samples;
            int count = 0;
            for (int i = 0;; ++i) {
                const double t = k + double(i) / kGpsRate;
                if (t >= end)
                    break;
                const double at = start + t - kGpsLag;
                bias = 0.98 * bias + 0.3 * gauss(random); // a slowly wandering error of about 1.5 m
                const double altitude =
                    interpolate(log.gnss, at, [](const GnssFix& f) { return f.altitude; }) + bias +
                    1.0 * gauss(random);
                const double north = interpolate(log.gnss, at, [](const GnssFix& f) { return f.north; });
                const double east = interpolate(log.gnss, at, [](const GnssFix& f) { return f.east; });
                const double down = interpolate(log.gnss, at, [](const GnssFix& f) { return f.down; });
                const double horizontal = std::hypot(north, east);
                samples.insert(samples.end(),
                               {int32_t(519500000), int32_t(52300000), int32_t(std::lround(altitude * 1000)),
                                int32_t(std::lround(horizontal * 1000)),
                                int32_t(std::lround(std::hypot(horizontal, down) * 100))});
                ++count;
            }
            gpsTotal += uint32_t(count);
            device += stream(gpmf::entry(fourCC("STMP"), 'J', 8, 1, stamp) +
                             gpmf::entry(fourCC("TSMP"), 'L', 4, 1, gpmf::bigEndianU32(gpsTotal)) +
                             gpmf::entry(fourCC("GPSF"), 'L', 4, 1, gpmf::bigEndianU32(3)) +
                             gpmf::entry(fourCC("SCAL"), 'l', 4, 5,
                                         gpmf::bigEndian32({10'000'000, 10'000'000, 1000, 1000, 100})) +
                             gpmf::entry(fourCC("GPS5"), 'l', 20, count, gpmf::bigEndian32(samples)));
        }
        payloads.push_back(gpmf::nested(fourCC("DEVC"), device));
    }
    return payloads;
}

} // namespace velarix
