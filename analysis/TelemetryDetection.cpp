#include "analysis/TelemetryDetection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velarix {

namespace {

AnalysisText said(const char* source) {
    return analysisText("velarix::TelemetryDetection", source);
}

using gpmf::fourCC;

constexpr double kGravity = 9.80665;
constexpr double kStep = kTelemetryCurveStep;
constexpr double kFreefallDescent = 30;      // m/s: faster than any canopy flies straight down for long
constexpr int kFreefallBins = 16;            // 8 s
constexpr double kShockBin = 0.25;           // seconds per accelerometer bin
constexpr double kShockLevel = 1.6;          // g
constexpr double kShockPeak = 1.8;           // g
constexpr double kDipLevel = 0.75;           // g: below this the jumper is falling, not carried
constexpr double kCanopyLimit = 20;          // m/s: a run of freefall lasts while the descent stays above
constexpr double kCanopyDescent = 12;        // m/s: below this the canopy is flying
constexpr size_t kFlareBins = 24;            // 12 s
constexpr size_t kShortFreefallBins = 4;     // 2 s above 20 m/s: a hop-and-pop may peak at 25 m/s
constexpr double kAircraftForward = 25;      // m/s: an aircraft's ground speed, not a canopy's
constexpr double kOpeningToCanopy = 1.0;     // s from the opening's start to a descent below 20 m/s, at least
constexpr size_t kImpulseBins = 32;          // 8 s
constexpr size_t kOnsetBins = 6;             // 1.5 s: the deceleration's own rise, not the freefall before
constexpr double kShortestFreefall = 4;      // s
constexpr double kLongestFreefall = 120;     // s: a tracking jump from 4,500 m
constexpr double kOpeningImpulse = 4.5;      // g·s
constexpr double kOpeningPeak = 2.5;         // g
constexpr double kFreefallShockGap = 22;     // s
constexpr double kBriefOpeningImpulse = 3.5; // g·s
constexpr double kWeakRival = 0.6;           // of the opening's impulse
constexpr double kLongestOpeningImpulse = 8; // g·s: more is a spiral's sustained turn
constexpr double kShortDelay = 15;           // s from the exit: a hop-and-pop or a low jump has opened
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
std::vector<Sample> usableAltitudes(const Telemetry& telemetry, double duration, AnalysisText& problem) {
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
        problem =
            withoutFix >= absurd
                ? said(QT_TRANSLATE_NOOP("velarix::TelemetryDetection", "the GPS has no fix"))
                : said(QT_TRANSLATE_NOOP("velarix::TelemetryDetection", "the GPS altitudes are not usable"));
        out.clear();
    }
    return out;
}

// The GPS's ground speed (its fourth value), where the altitude is usable.
std::vector<Sample> groundSpeeds(const Telemetry& telemetry, double duration) {
    const TelemetrySeries* gps = telemetry.find(fourCC("GPS9"));
    if (!gps)
        gps = telemetry.find(fourCC("GPS5"));
    std::vector<Sample> out;
    if (!gps || gps->elements < 4)
        return out;
    for (size_t i = 0; i < gps->sampleCount(); ++i) {
        const int fix = i < gps->gpsFix.size() ? gps->gpsFix[i] : -1;
        const double v = gps->value(i, 3);
        if (fix != 0 && fix != 1 && std::isfinite(v) && v >= 0 && v < 500 && gps->times[i] >= 0 &&
            gps->times[i] <= duration)
            out.push_back({gps->times[i], v});
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

// The opening: freefall at a steady rate, then the rate falling to the canopy's, in a straight line
// over a few seconds or exponentially.
Fit fitOpening(const std::vector<Sample>& altitudes, double runStart, double runEnd, double freefall,
               double canopy) {
    Fit best;
    // Close to the opening only: speed skydivers and freeflyers slow down some seconds before it. A
    // hop-and-pop's run is shorter than that, and its opening lies within it.
    const double from = std::max(runEnd - 10, runStart);
    const std::vector<Sample> near = within(altitudes, from, runEnd + 12);
    const double earliest = std::max(runEnd - 8, runStart);
    for (double slowing : {1.5, 2.5, 3.5, 5.0, 7.0, 9.0, 12.0}) {
        for (double opening = earliest; opening <= runEnd + 3; opening += 0.05) {
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
        for (double opening = earliest; opening <= runEnd + 3; opening += 0.05) {
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

// The fall from the aircraft, which may still climb or descend: the exit fit starts at its rate.
double fallen(double t, double v0, double vt) {
    const double a = std::atanh(std::clamp(v0 / vt, -0.95, 0.95));
    return vt * vt / kGravity * (std::log(std::cosh(kGravity * t / vt + a)) - std::log(std::cosh(a)));
}

// The exit: the aircraft's steady climb or descent, then the fall of a body under gravity and drag
// towards terminal speed.
Fit fitExit(const std::vector<Sample>& altitudes, double runStart, double terminal, double aircraft) {
    Fit best;
    const double vt = std::max(terminal, 20.0);
    const std::vector<Sample> near = within(altitudes, runStart - 20, runStart + 6);
    for (double exit = runStart - 12; exit <= runStart + 2; exit += 0.05) {
        const auto drop = [&](double t) {
            return t <= exit ? aircraft * (t - exit) : fallen(t - exit, aircraft, vt);
        };
        const double rms = residual(near, drop);
        if (rms < best.rms)
            best = {exit, rms};
    }
    return best;
}

struct GpsFinding {
    std::optional<TelemetryEvent> exit;
    std::optional<TelemetryEvent> opening;
    double runStart = 0;
    double runEnd = 0; // where the descent fell below freefall speed for good: the canopy flies
};

// A run of freefall in the descent rates (half-second bins).
struct Run {
    size_t start = 0;
    size_t end = 0; // exclusive
    int fast = 0;   // bins at 30 m/s or more
    bool fromAircraft = false;
};

GpsFinding fromAltitude(const std::vector<Sample>& altitudes, const std::vector<double>& horizontal,
                        double duration, std::vector<double>& curve) {
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

    // Runs above canopy speed. Trackers flare below 20 m/s and dive again: a run goes on through a
    // slower stretch of up to 12 s that never falls to canopy speed.
    std::vector<Run> runs;
    for (size_t i = 0; i < n;) {
        if (!(descent[i] >= kCanopyLimit)) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < n && descent[end] >= kCanopyLimit)
            ++end;
        if (!runs.empty() && i - runs.back().end <= kFlareBins &&
            std::all_of(descent.begin() + long(runs.back().end), descent.begin() + long(i),
                        [](double d) { return d >= kCanopyDescent; }))
            runs.back().end = end;
        else
            runs.push_back({i, end, 0, false});
        i = end;
    }
    // A long one at freefall speed is freefall; a short, slower one too when it starts from the
    // aircraft's forward speed (a hop-and-pop), never from a canopy's.
    std::optional<Run> best;
    for (Run run : runs) {
        for (size_t i = run.start; i < run.end; ++i) {
            run.fast += descent[i] >= kFreefallDescent;
        }
        const size_t before = run.start >= 6 ? run.start - 6 : 0;
        const double forward = median({horizontal.begin() + long(std::min(before, horizontal.size())),
                                       horizontal.begin() + long(std::min(run.start, horizontal.size()))});
        run.fromAircraft = forward >= kAircraftForward;
        if (run.fast < kFreefallBins && !(run.fromAircraft && run.end - run.start >= kShortFreefallBins))
            continue;
        // The first from the aircraft wins over anything later; otherwise the longest.
        if (!best || (run.fromAircraft && !best->fromAircraft) ||
            (run.fromAircraft == best->fromAircraft && !best->fromAircraft && run.fast > best->fast))
            best = run;
    }
    if (!best)
        return found;
    const size_t bestStart = best->start;
    const size_t bestEnd = best->end;
    const double runStart = double(bestStart) * kStep;
    const double runEnd = double(bestEnd) * kStep;
    found.runStart = runStart;
    found.runEnd = runEnd;
    // The rate the opening slows from: the freefall's last seconds before it (freeflyers slow to
    // belly first).
    const size_t lateFrom = bestEnd > bestStart + 16 ? bestEnd - 16 : bestStart;
    const size_t lateTo = bestEnd > lateFrom + 8 ? bestEnd - 8 : bestEnd;
    const double freefall = median({descent.begin() + long(lateFrom), descent.begin() + long(lateTo)});
    const double terminal = median({descent.begin() + long(bestStart), descent.begin() + long(bestEnd)});
    const size_t canopyFrom = std::min(n, bestEnd + 20);
    const size_t canopyTo = std::min(n, bestEnd + 50);
    double canopy = median({descent.begin() + long(canopyFrom), descent.begin() + long(canopyTo)});
    if (!std::isfinite(canopy) || canopy < 0 || canopy > 20)
        canopy = 6;
    // The aircraft's climb or descent over the 25 s to 8 s before the run.
    const size_t airFrom = bestStart >= 50 ? bestStart - 50 : 0;
    const size_t airTo = bestStart >= 16 ? bestStart - 16 : 0;
    double aircraft = median({descent.begin() + long(airFrom), descent.begin() + long(airTo)});
    if (!std::isfinite(aircraft))
        aircraft = 0;
    aircraft = std::clamp(aircraft, -12.0, 12.0);

    // A clip that starts in freefall has no exit to fit; one that ends in it no opening.
    if (runStart > 6) {
        const Fit exit = fitExit(altitudes, runStart, terminal, aircraft);
        if (std::isfinite(exit.time))
            found.exit = TelemetryEvent{std::max(0.0, exit.time), fitConfidence(exit.rms, 0.9)};
    }
    if (runEnd < duration - 6) {
        Fit opening = fitOpening(altitudes, runStart, runEnd, freefall, canopy);
        if (std::isfinite(opening.time)) {
            // However well it fits, the canopy was open by the time the descent fell to its speed.
            opening.time = std::min(opening.time, runEnd - kOpeningToCanopy);
            found.opening =
                TelemetryEvent{std::clamp(opening.time, 0.0, duration), fitConfidence(opening.rms, 0.85)};
        }
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

double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

struct Shock {
    double onset;
    double peak;
    double impulse; // g·s above 1 g over the 8 s from its start
};

std::vector<Shock> shocks(const std::vector<double>& bins) {
    std::vector<Shock> out;
    for (const Stretch& s : stretches(bins, [](double g) { return g >= kShockLevel; })) {
        double peak = 0;
        for (size_t i = s.start; i < s.end; ++i)
            peak = std::max(peak, finiteOr(bins[i], 0.0));
        if (s.end - s.start < 2 || peak < kShockPeak)
            continue;
        double impulse = 0;
        for (size_t i = s.start; i < std::min(bins.size(), s.start + kImpulseBins); ++i)
            impulse += std::max(0.0, finiteOr(bins[i], 1.0) - 1.0) * kShockBin;
        const size_t start = onset(bins, s.start, kOnsetBins, [](double g) { return g > 1.15; });
        out.push_back({double(start) * kShockBin, peak, impulse});
    }
    return out;
}

struct Dip {
    double time;    // where the support ended
    double deficit; // g·s below 1 g: the speed gained, in g·s
};

// Falls away from the aircraft: at least 2 s below 0.75 g; the exit is where the support ended.
std::vector<Dip> dips(const std::vector<double>& bins) {
    std::vector<Dip> out;
    for (const Stretch& s : stretches(bins, [](double g) { return g < kDipLevel; })) {
        if (s.end - s.start < 8)
            continue;
        const size_t start = onset(bins, s.start, 8, [](double g) { return g < 0.9; });
        double deficit = 0;
        for (size_t i = start; i < bins.size() && (i < s.end || finiteOr(bins[i], 1.0) < 0.9); ++i)
            deficit += std::max(0.0, 1.0 - finiteOr(bins[i], 1.0)) * kShockBin;
        out.push_back({double(start) * kShockBin, deficit});
    }
    return out;
}

struct AccelerometerJump {
    std::optional<Dip> exit;
    std::optional<Shock> opening;
    bool doubtful = false; // another shock could as well be the opening
};

// An opening from freefall speed: 4.8–7.7 g·s, or a brief one peaking at 2.5 g or more. A turn or a
// grip in freefall is briefer; a hop-and-pop's opening from 25 m/s is weaker too.
bool strongShock(const Shock& shock) {
    return shock.impulse >= kOpeningImpulse ||
           (shock.peak >= kOpeningPeak && shock.impulse >= kBriefOpeningImpulse);
}

// Without the altitude: the exit is the deepest fall away from the aircraft (freeflyers' speed-ups
// are dips too, but gain less speed than the exit); the opening the last strong shock of the freefall.
AccelerometerJump fromAccelerometer(const std::vector<Dip>& allDips, const std::vector<Shock>& allShocks) {
    AccelerometerJump found;
    for (const Dip& dip : allDips) {
        bool followed = false;
        for (const Shock& shock : allShocks)
            followed = followed || (shock.onset >= dip.time + kShortestFreefall &&
                                    shock.onset <= dip.time + kLongestFreefall);
        if (followed && (!found.exit || dip.deficit > found.exit->deficit * 1.2))
            found.exit = dip;
    }
    if (!found.exit)
        return found;
    std::vector<Shock> candidates;
    for (const Shock& shock : allShocks)
        if (shock.onset >= found.exit->time + kShortestFreefall &&
            shock.onset <= found.exit->time + kLongestFreefall)
            candidates.push_back(shock);
    const auto firstStrong = std::find_if(candidates.begin(), candidates.end(), strongShock);
    // A hop-and-pop opens within seconds of the exit, from a speed that gives a weaker shock.
    const double shortDelay = found.exit->time + kShortDelay;
    if (firstStrong == candidates.end()) {
        // Only weak shocks: the one with the most impulse, in doubt when another comes close to it.
        // One soon after the exit is a hop-and-pop's opening, and the weak ones after it the canopy's
        // turns (from freefall speed an opening is strong); a tracker slows gently before opening.
        const bool hop = std::any_of(candidates.begin(), candidates.end(),
                                     [&](const Shock& shock) { return shock.onset <= shortDelay; });
        const auto counts = [&](const Shock& shock) {
            return !hop || shock.onset <= shortDelay;
        };
        for (const Shock& shock : candidates)
            if (counts(shock) && (!found.opening || shock.impulse > found.opening->impulse))
                found.opening = shock;
        for (const Shock& shock : candidates)
            found.doubtful = found.doubtful || (counts(shock) && shock.onset != found.opening->onset &&
                                                shock.impulse >= kWeakRival * found.opening->impulse);
        return found;
    }
    // A weak shock soon after the exit and a strong one later: a hop-and-pop and a spiral under the
    // canopy, or a flip after the exit and the opening. The later one keeps the jump either way.
    found.doubtful = firstStrong->onset > shortDelay &&
                     std::any_of(candidates.begin(), firstStrong,
                                 [&](const Shock& shock) { return shock.onset <= shortDelay; });
    // Freefall goes on from the first strong shock to the next (freeflyers' swings, a speed skydiver's
    // slow-down to belly) while they come within 22 s of each other; the canopy's turns come later.
    // Quiet belly freefall before it may last a minute. The opening is the last strong shock of that
    // chain: once freefall speed is reached an opening is strong, so the weaker shocks after it are
    // the canopy surging. One nearly as strong as the opening, or an opening longer than any
    // (a spiral), leaves it in doubt.
    double last = firstStrong->onset;
    found.opening = *firstStrong;
    auto shock = firstStrong + 1;
    for (; shock != candidates.end() && shock->onset - last <= kFreefallShockGap; ++shock) {
        last = shock->onset;
        if (strongShock(*shock))
            found.opening = *shock;
    }
    for (auto after = firstStrong; after != shock; ++after)
        found.doubtful = found.doubtful || (after->onset > found.opening->onset &&
                                            after->impulse >= kWeakRival * found.opening->impulse);
    found.doubtful = found.doubtful || found.opening->impulse > kLongestOpeningImpulse;
    // A strong shock long after it is a spiral under the canopy, or the opening after a long quiet
    // stretch: never cut it off, and say so.
    for (; shock != candidates.end(); ++shock)
        if (strongShock(*shock)) {
            found.opening = *shock;
            found.doubtful = true;
        }
    return found;
}

} // namespace

TelemetryFinding detectJump(const Telemetry& telemetry, double duration) {
    TelemetryFinding finding;
    if (!telemetry.hasTrack || !(duration > 0) || duration > 1e6)
        return finding;
    AnalysisText gpsProblem;
    const std::vector<Sample> altitudes = usableAltitudes(telemetry, duration, gpsProblem);
    const std::vector<Sample> magnitudes = accelerationMagnitudes(telemetry, duration);
    const std::vector<double> accel = binMeans(magnitudes, duration, kShockBin);
    const std::vector<Shock> allShocks = shocks(accel);
    const std::vector<Dip> allDips = dips(accel);

    if (!altitudes.empty()) {
        std::vector<double> curve;
        const std::vector<double> horizontal = binMeans(groundSpeeds(telemetry, duration), duration, kStep);
        const GpsFinding gps = fromAltitude(altitudes, horizontal, duration, curve);
        finding.curveKind = TelemetryCurveKind::Altitude;
        finding.curve = std::move(curve);
        finding.exit = gps.exit;
        finding.opening = gps.opening;
        if (gps.opening)
            finding.canopyFrom = gps.runEnd;
        // The accelerometer times what the altitude found more sharply.
        if (finding.exit) {
            for (const Dip& dip : allDips)
                if (std::abs(dip.time - finding.exit->time) <= 3) {
                    finding.exit = TelemetryEvent{dip.time, std::max(finding.exit->confidence, 0.95)};
                    break;
                }
        }
        if (finding.opening) {
            // The strongest shock near the fitted opening that the canopy's descent follows: freeflyers'
            // slow-downs before it are shocks too.
            const Shock* best = nullptr;
            for (const Shock& shock : allShocks)
                if (shock.onset >= finding.opening->time - 4 && shock.onset <= finding.opening->time + 6 &&
                    shock.onset <= gps.runEnd && (!best || shock.impulse > best->impulse))
                    best = &shock;
            if (best)
                finding.opening = TelemetryEvent{best->onset, std::max(finding.opening->confidence, 0.95)};
            else if (!magnitudes.empty())
                finding.doubt =
                    said(QT_TRANSLATE_NOOP("velarix::TelemetryDetection",
                                           "the accelerometer shows no opening shock where the GPS altitude "
                                           "shows the canopy"));
        }
        if (finding.exit || finding.opening) {
            finding.source = QStringLiteral("gps");
            return finding;
        }
        finding.problem =
            said(QT_TRANSLATE_NOOP("velarix::TelemetryDetection", "the GPS altitude shows no freefall"));
        const AccelerometerJump jump = fromAccelerometer(allDips, allShocks);
        if (!jump.exit || !jump.opening)
            return finding;
        gpsProblem = finding.problem; // the accelerometer shows the jump the altitude missed
        finding.doubt = said(
            QT_TRANSLATE_NOOP("velarix::TelemetryDetection",
                              "the GPS altitude shows no freefall where the accelerometer shows a jump"));
    }

    if (!magnitudes.empty()) {
        finding.curveKind = TelemetryCurveKind::Acceleration;
        finding.curve.assign(accel.size() / 2 + accel.size() % 2, kNaN);
        for (size_t i = 0; i < accel.size(); ++i)
            if (std::isfinite(accel[i]) && !(finding.curve[i / 2] >= accel[i]))
                finding.curve[i / 2] = accel[i];
        const AccelerometerJump jump = fromAccelerometer(allDips, allShocks);
        if (jump.exit && jump.opening) {
            finding.exit = TelemetryEvent{jump.exit->time, 0.6};
            finding.opening = TelemetryEvent{jump.opening->onset, jump.opening->peak >= 2.5 ? 0.8 : 0.75};
            finding.source = QStringLiteral("accelerometer");
            if (jump.doubtful && finding.doubt.isEmpty())
                finding.doubt = said(QT_TRANSLATE_NOOP(
                    "velarix::TelemetryDetection",
                    "the accelerometer shows more than one shock that could be the opening"));
        }
        if (!finding.usable())
            finding.problem = said(QT_TRANSLATE_NOOP("velarix::TelemetryDetection",
                                                     "the accelerometer shows no exit and opening"));
        if (!gpsProblem.isEmpty())
            finding.problem = finding.usable()
                                  ? gpsProblem
                                  : said(QT_TRANSLATE_NOOP("velarix::TelemetryDetection", "%1, and %2"))
                                        .arg(gpsProblem, finding.problem);
        return finding;
    }

    if (!gpsProblem.isEmpty())
        finding.problem = gpsProblem;
    else if (!telemetry.problems.isEmpty())
        finding.problem = AnalysisText::verbatim(telemetry.problems.first());
    else
        finding.problem =
            said(QT_TRANSLATE_NOOP("velarix::TelemetryDetection", "the track holds no accelerometer or GPS"));
    return finding;
}

} // namespace velarix
