// Arbitrary level sequences through the audio stages: levels come from decoding an untrusted file, so
// NaN, infinities and absurd values must neither crash the stages nor push a time outside the clip.
//
// Input: one mode byte, the clip's duration as a little-endian float, then the levels: with an even
// mode byte each level is a little-endian float (any value at all), with an odd one a signed byte in
// dB (compact, so that the fuzzer easily shapes a jump).
#include "FuzzSupport.h"
#include "analysis/FrameDeployment.h"
#include "analysis/FreefallAnalysis.h"
#include "analysis/LevelStatistics.h"
#include "analysis/TrimSuggestion.h"

#include <cmath>
#include <cstring>

using namespace velarix;

namespace {

float floatAt(const uint8_t* data) {
    float value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

void checkRange(const std::optional<TrimRange>& range, double duration) {
    if (!range)
        return;
    if (!(range->start >= 0 && range->start < range->end && range->end <= duration))
        fuzz::fail("a trim range outside the clip");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5)
        return 0;
    const bool compact = data[0] % 2 == 1;
    const double duration = floatAt(data + 1);
    std::vector<double> levels;
    for (size_t i = 5; compact ? i < size : i + 4 <= size; i += compact ? 1 : 4)
        levels.push_back(compact ? double(int8_t(data[i])) : double(floatAt(data + i)));

    const std::vector<double> smoothed = movingAverage(levels, 2);
    if (smoothed.size() != levels.size())
        fuzz::fail("smoothing changed the length");
    (void)percentileOf(levels, 0.5);
    (void)clampedMean(levels, int(levels.size()) - 3, int(levels.size()) + 5);

    const auto finding = findFreefall(levels, duration);
    if (finding) {
        const int n = int(levels.size());
        if (int(finding->levels.size()) != n || finding->prefixLength > n || finding->exitIndex < 0 ||
            finding->exitIndex >= finding->prefixLength || finding->searchStart < 0 ||
            finding->searchStart > finding->searchEnd || finding->searchEnd >= n)
            fuzz::fail("a finding with indexes outside the levels");
        const auto opening = finding->audioDeploymentTime;
        if (opening && !(*opening >= finding->searchStart * kWindowSeconds &&
                         *opening <= finding->searchEnd * kWindowSeconds))
            fuzz::fail("an audio opening outside its search stretch");
        if (opening)
            checkRange(trimRangeFor(finding->exitIndex * kWindowSeconds, *opening, duration), duration);
        // A frame at every second of the search stretch, the loud ones moving most.
        std::vector<VideoFrameSignal> signals;
        for (int i = finding->searchStart; i <= finding->searchEnd; i += 2)
            signals.push_back(
                {i * kWindowSeconds, std::clamp(std::abs(smoothed[size_t(i)]) / 120.0, 0.0, 1.0)});
        const auto frame = findFrameDeployment(signals, *finding);
        if (frame && !(*frame >= finding->searchStart * kWindowSeconds &&
                       *frame <= finding->searchEnd * kWindowSeconds))
            fuzz::fail("a frame opening outside its search stretch");
    }

    // The range for raw times. Callers pass window times and frame times inside the search stretch,
    // far below 2^53 s where adding a second still counts, and the container's finite duration.
    const auto plausible = [](double t) {
        return std::abs(t) < 1e12;
    };
    if (levels.size() >= 2 && plausible(levels[0]) && plausible(levels[1]) && std::isfinite(duration))
        checkRange(trimRangeFor(levels[0], levels[1], duration), duration);
    // The clock text is drawn from any duration a file claims.
    for (double seconds : levels)
        (void)formatClock(seconds);
    (void)formatClock(duration);
    return 0;
}
