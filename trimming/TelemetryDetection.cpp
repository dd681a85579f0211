#include "trimming/TelemetryDetection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velarix {

namespace {

using gpmf::fourCC;

constexpr double kGravity = 9.80665;
constexpr double kStep = kTelemetryCurveStep;
constexpr double kFreefallDescent = 30; // m/s: faster than any canopy flies straight down for long
constexpr int kFreefallBins = 16;       // 8 s
constexpr double kShockBin = 0.25;      // seconds per accelerometer bin
constexpr double kShockLevel = 1.6;     // g
constexpr double kShockPeak = 1.8;      // g
constexpr double kDipLevel = 0.75;      // g: below this the jumper is falling, not carried
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Sample {
    double t;
    double value;
};

// Means of the samples in bins of `step` seconds over the clip; NaN where a bin is empty.
std::vector<double> binMeans(const std::vector<Sample>& samples, double duration, double step) {
    const auto n = size_t(std::ceil(duration / step));
    std::vector<double> sum(n, 0.0);
    std::vector<int> count(n, 0);
    for (const Sample& s : samples) {
        const auto i = size_t(s.t / step);
        if (i < n) {
            sum[i] += s.value;
            ++count[i];
        }
    }
    for (size_t i = 0; i < n; ++i)
        sum[i] = count[i] > 0 ? sum[i] / count[i] : kNaN;
    return sum;
}

// Fills gaps of up to `longest` bins by straight lines between their neighbours.
void bridgeGaps(std::vector<double>& bins, size_t longest) {
    size_t last = SIZE_MAX;
    for (size_t i = 0; i < bins.size(); ++i) {
        if (std::isnan(bins[i]))
            continue;
        if (last != SIZE_MAX && i - last > 1 && i - last - 1 <= longest)
            for (size_t j = last + 1; j < i; ++j)
                bins[j] = bins[last] + (bins[i] - bins[last]) * double(j - last) / double(i - last);
        last = i;
    }
}

double median(std::vector<double> values) {
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return !std::isfinite(v); }),
                 values.end());
    if (values.empty())
        return kNaN;
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// The GPS altitudes worth fitting; `problem` says why there are none.
std::vector<Sample> usableAltitudes(const Telemetry& telemetry, double duration, QString& problem) {
    const TelemetrySeries* gps = telemetry.find(fourCC("GPS9"));
    if (!gps)
        gps = telemetry.find(fourCC("GPS5"));
    std::vector<Sample> out;
    if (!gps || gps->elements < 3)
        return out;
    size_t withoutFix = 0;
    size_t absurd = 0;
    for (size_t i = 0; i < gps->sampleCount(); ++i) {
        const int fix = i < gps->gpsFix.size() ? gps->gpsFix[i] : -1;
        const double t = gps->times[i];
        const double altitude = gps->value(i, 2);
        if (fix == 0 || fix == 1)
            ++withoutFix;
        else if (!std::isfinite(altitude) || altitude < -1000 || altitude > 15000 ||
                 !(t >= 0 && t <= duration))
            ++absurd;
        else
            out.push_back({t, altitude});
    }
    const size_t total = gps->sampleCount();
    if (out.size() < 20 || out.size() * 2 < total) {
        problem = withoutFix >= absurd ? QStringLiteral("the GPS has no fix")
                                       : QStringLiteral("the GPS altitudes are not usable");
        out.clear();
    }
    return out;
}

std::vector<Sample> accelerationMagnitudes(const Telemetry& telemetry, double duration) {
    std::vector<Sample> out;
    const TelemetrySeries* accl = telemetry.find(fourCC("ACCL"));
    if (!accl || accl->elements < 3)
        return out;
    out.reserve(accl->sampleCount());
    for (size_t i = 0; i < accl->sampleCount(); ++i) {
        const double g = std::hypot(accl->value(i, 0), accl->value(i, 1), accl->value(i, 2)) / kGravity;
        const double t = accl->times[i];
        if (std::isfinite(g) && g < 100 && t >= 0 && t <= duration)
            out.push_back({t, g});
    }
    return out;
}

// The samples within [from, to] of a time-ordered sequence.
std::vector<Sample> within(const std::vector<Sample>& samples, double from, double to) {
    const auto first = std::lower_bound(samples.begin(), samples.end(), from,
                                        [](const Sample& s, double t) { return s.t < t; });
    const auto last =
        std::upper_bound(first, samples.end(), to, [](double t, const Sample& s) { return t < s.t; });
    return {first, last};
}

// How far the altitudes are from a model of the height fallen (m, as a function of time): the
// model's reference altitude is free, the rest is its shape. Gives the root mean square of the
// residuals, infinity for fewer than 10 samples.
template <class Drop> double residual(const std::vector<Sample>& altitudes, Drop drop) {
    if (altitudes.size() < 10)
        return std::numeric_limits<double>::infinity();
    double sum = 0;
    double squares = 0;
    for (const Sample& s : altitudes) {
        const double x = s.value + drop(s.t); // the reference altitude this sample implies
        sum += x;
        squares += x * x;
    }
    const double n = double(altitudes.size());
    return std::sqrt(std::max(0.0, squares / n - (sum / n) * (sum / n)));
}

struct Fit {
    double time = kNaN;
    double rms = std::numeric_limits<double>::infinity();
};

// The exit: level flight, then the fall of a body under gravity and drag towards terminal speed.
Fit fitExit(const std::vector<Sample>& altitudes, double runStart, double terminal) {
    Fit best;
    const double vt = std::max(terminal, 20.0);
    const std::vector<Sample> near = within(altitudes, runStart - 20, runStart + 6);
    for (double exit = runStart - 12; exit <= runStart + 2; exit += 0.05) {
        const auto drop = [&](double t) {
            return t <= exit ? 0.0 : vt * vt / kGravity * std::log(std::cosh(kGravity * (t - exit) / vt));
        };
        const double rms = residual(near, drop);
        if (rms < best.rms)
            best = {exit, rms};
    }
    return best;
}

// The opening: freefall at a steady rate, then the rate falling to the canopy's, in a straight line
// over a few seconds or exponentially.
Fit fitOpening(const std::vector<Sample>& altitudes, double runEnd, double freefall, double canopy) {
    Fit best;
    const std::vector<Sample> near = within(altitudes, runEnd - 18, runEnd + 15);
    for (double slowing : {1.5, 2.5, 3.5, 5.0, 7.0, 9.0, 12.0}) {
        for (double opening = runEnd - 8; opening <= runEnd + 3; opening += 0.05) {
            const auto drop = [&](double t) { // metres fallen since the opening (negative before it)
                const double x = t - opening;
                if (x <= 0)
                    return freefall * x;
                if (x <= slowing)
                    return freefall * x - (freefall - canopy) * x * x / (2 * slowing);
                return freefall * slowing - (freefall - canopy) * slowing / 2 + canopy * (x - slowing);
            };
            const double rms = residual(near, drop);
            if (rms < best.rms)
                best = {opening, rms};
        }
    }
    // Or the rate falling off as a canopy inflating slowly lets it: exponentially.
    for (double constant : {0.7, 1.5, 2.5, 4.0}) {
        for (double opening = runEnd - 8; opening <= runEnd + 3; opening += 0.05) {
            const auto drop = [&](double t) {
                const double x = t - opening;
                if (x <= 0)
                    return freefall * x;
                return canopy * x + (freefall - canopy) * constant * (1 - std::exp(-x / constant));
            };
            const double rms = residual(near, drop);
            if (rms < best.rms)
                best = {opening, rms};
        }
    }
    return best;
}

double fitConfidence(double rms, double high) {
    return rms <= 5 ? high : rms <= 10 ? high - 0.2 : high - 0.35;
}

struct GpsFinding {
    std::optional<TelemetryEvent> exit;
    std::optional<TelemetryEvent> opening;
};

GpsFinding fromAltitude(const std::vector<Sample>& altitudes, double duration, std::vector<double>& curve) {
    GpsFinding found;
    curve = binMeans(altitudes, duration, kStep);
    bridgeGaps(curve, 6);
    const size_t n = curve.size();
    // Smoothed over 2.5 s, the descent rate over 2 s.
    std::vector<double> smooth(n, kNaN);
    for (size_t i = 2; i + 2 < n; ++i) {
        double sum = 0;
        for (size_t j = i - 2; j <= i + 2; ++j)
            sum += curve[j];
        smooth[i] = sum / 5; // NaN stays NaN
    }
    std::vector<double> descent(n, kNaN);
    for (size_t i = 2; i + 2 < n; ++i)
        descent[i] = -(smooth[i + 2] - smooth[i - 2]) / (4 * kStep);

    size_t bestStart = 0;
    size_t bestLength = 0;
    for (size_t i = 0; i < n;) {
        if (!(descent[i] >= kFreefallDescent)) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < n && descent[j] >= kFreefallDescent)
            ++j;
        if (j - i > bestLength) {
            bestStart = i;
            bestLength = j - i;
        }
        i = j;
    }
    if (bestLength < kFreefallBins)
        return found;
    const double runStart = double(bestStart) * kStep;
    const double runEnd = double(bestStart + bestLength) * kStep;
    const double freefall =
        median({descent.begin() + long(bestStart), descent.begin() + long(bestStart + bestLength)});
    const size_t canopyFrom = std::min(n, bestStart + bestLength + 20);
    const size_t canopyTo = std::min(n, bestStart + bestLength + 50);
    double canopy = median({descent.begin() + long(canopyFrom), descent.begin() + long(canopyTo)});
    if (!std::isfinite(canopy) || canopy < 0 || canopy > 20)
        canopy = 6;

    // A clip that starts in freefall has no exit to fit; one that ends in it no opening.
    if (runStart > 6) {
        const Fit exit = fitExit(altitudes, runStart, freefall);
        if (std::isfinite(exit.time))
            found.exit = TelemetryEvent{std::max(0.0, exit.time), fitConfidence(exit.rms, 0.9)};
    }
    if (runEnd < duration - 6) {
        const Fit opening = fitOpening(altitudes, runEnd, freefall, canopy);
        if (std::isfinite(opening.time))
            found.opening =
                TelemetryEvent{std::min(duration, opening.time), fitConfidence(opening.rms, 0.85)};
    }
    return found;
}

struct Stretch {
    size_t start;
    size_t end; // exclusive
};

// Stretches of bins that satisfy `inside`, bridging single bins that do not.
template <class Inside> std::vector<Stretch> stretches(const std::vector<double>& bins, Inside inside) {
    std::vector<Stretch> out;
    for (size_t i = 0; i < bins.size();) {
        if (!inside(bins[i])) {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < bins.size() && (inside(bins[j]) || (j + 1 < bins.size() && inside(bins[j + 1]))))
            ++j;
        out.push_back({i, j});
        i = j;
    }
    return out;
}

// Walks back from bin `from` while `before` holds, at most `limit` bins; gives the first bin of the walk.
template <class Before>
size_t onset(const std::vector<double>& bins, size_t from, size_t limit, Before before) {
    size_t i = from;
    while (i > 0 && from - i < limit && std::isfinite(bins[i - 1]) && before(bins[i - 1]))
        --i;
    return i;
}

struct Shock {
    double onset;
    double peak;
};

std::vector<Shock> shocks(const std::vector<double>& bins) {
    std::vector<Shock> out;
    for (const Stretch& s : stretches(bins, [](double g) { return g >= kShockLevel; })) {
        double peak = 0;
        for (size_t i = s.start; i < s.end; ++i)
            peak = std::max(peak, std::isfinite(bins[i]) ? bins[i] : 0.0);
        if (s.end - s.start >= 2 && peak >= kShockPeak)
            out.push_back(
                {double(onset(bins, s.start, 12, [](double g) { return g > 1.15; })) * kShockBin, peak});
    }
    return out;
}

// Falls away from the aircraft: at least 2 s below 0.75 g; the exit is where the support ended.
std::vector<double> dips(const std::vector<double>& bins) {
    std::vector<double> out;
    for (const Stretch& s : stretches(bins, [](double g) { return g < kDipLevel; }))
        if (s.end - s.start >= 8)
            out.push_back(double(onset(bins, s.start, 8, [](double g) { return g < 0.9; })) * kShockBin);
    return out;
}

} // namespace

TelemetryFinding detectJump(const Telemetry& telemetry, double duration) {
    TelemetryFinding finding;
    if (!telemetry.hasTrack || !(duration > 0) || duration > 1e6)
        return finding;
    QString gpsProblem;
    const std::vector<Sample> altitudes = usableAltitudes(telemetry, duration, gpsProblem);
    const std::vector<Sample> magnitudes = accelerationMagnitudes(telemetry, duration);
    const std::vector<double> accel = binMeans(magnitudes, duration, kShockBin);
    const std::vector<Shock> allShocks = shocks(accel);
    const std::vector<double> allDips = dips(accel);

    if (!altitudes.empty()) {
        std::vector<double> curve;
        const GpsFinding gps = fromAltitude(altitudes, duration, curve);
        finding.curveKind = TelemetryCurveKind::Altitude;
        finding.curve = std::move(curve);
        finding.exit = gps.exit;
        finding.opening = gps.opening;
        // The accelerometer times what the altitude found more sharply.
        if (finding.exit) {
            for (double dip : allDips)
                if (std::abs(dip - finding.exit->time) <= 3) {
                    finding.exit = TelemetryEvent{dip, std::max(finding.exit->confidence, 0.95)};
                    break;
                }
        }
        if (finding.opening) {
            for (const Shock& shock : allShocks)
                if (shock.onset >= finding.opening->time - 4 && shock.onset <= finding.opening->time + 6) {
                    finding.opening =
                        TelemetryEvent{shock.onset, std::max(finding.opening->confidence, 0.95)};
                    break;
                }
        }
        if (finding.exit || finding.opening)
            finding.source = QStringLiteral("gps");
        else
            finding.problem = QStringLiteral("the GPS altitude shows no freefall");
        return finding;
    }

    if (!magnitudes.empty()) {
        finding.curveKind = TelemetryCurveKind::Acceleration;
        finding.curve.assign(accel.size() / 2 + accel.size() % 2, kNaN);
        for (size_t i = 0; i < accel.size(); ++i)
            if (std::isfinite(accel[i]) && !(finding.curve[i / 2] >= accel[i]))
                finding.curve[i / 2] = accel[i];
        // The first shock that follows a fall away from the aircraft, 10 s to 200 s before it.
        for (const Shock& shock : allShocks) {
            std::optional<double> exit;
            for (double dip : allDips)
                if (dip >= shock.onset - 200 && dip <= shock.onset - 10)
                    exit = dip; // the last one: the aircraft may have bumped before
            if (!exit)
                continue;
            finding.exit = TelemetryEvent{*exit, 0.6};
            finding.opening = TelemetryEvent{shock.onset, shock.peak >= 2.5 ? 0.8 : 0.75};
            finding.source = QStringLiteral("accelerometer");
            break;
        }
        if (!finding.usable())
            finding.problem = QStringLiteral("the accelerometer shows no exit and opening");
        if (!gpsProblem.isEmpty())
            finding.problem =
                finding.usable() ? gpsProblem : gpsProblem + QStringLiteral(", and ") + finding.problem;
        return finding;
    }

    if (!gpsProblem.isEmpty())
        finding.problem = gpsProblem;
    else if (!telemetry.problems.isEmpty())
        finding.problem = telemetry.problems.first();
    else
        finding.problem = QStringLiteral("the track holds no accelerometer or GPS");
    return finding;
}

} // namespace velarix
