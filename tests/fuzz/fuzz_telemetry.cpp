// Arbitrary telemetry tracks through the KLV parser, the assembly of the samples and the detection of
// the exit and the opening: the track comes from an untrusted file, so sizes that lie, scales of
// zero, NaN, times going backwards and deep nesting must neither crash nor hang nor put a moment
// outside the clip.
//
// Input: the clip's duration in seconds (little-endian 16 bits), then packets, each a signed byte
// (the time step from the previous packet in quarter seconds), a little-endian 16-bit length and
// that many payload bytes.
#include "FuzzSupport.h"
#include "analysis/TelemetryDetection.h"
#include "analysis/TrimDecision.h"
#include "media/Gpmf.h"
#include "media/GpmfTrim.h"
#include "media/TelemetryReader.h"

#include <cmath>

using namespace velarix;
using gpmf::fourCC;

namespace {

void checkSeries(const Telemetry& telemetry) {
    for (const TelemetrySeries& series : telemetry.series) {
        if (series.elements <= 0 || series.values.size() != series.times.size() * size_t(series.elements))
            fuzz::fail("a series whose values do not match its samples");
        for (size_t i = 1; i < series.times.size(); ++i)
            if (!(series.times[i] >= series.times[i - 1]))
                fuzz::fail("sample times going backwards");
        if (!series.gpsFix.empty() && series.gpsFix.size() != series.times.size())
            fuzz::fail("a GPS fix for some samples only");
    }
}

void checkMoment(const std::optional<double>& time, double duration, const char* what) {
    if (time && !(*time >= 0 && *time <= duration))
        fuzz::fail(what);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const double duration = double(data[0] | data[1] << 8);
    const QSet<uint32_t> sensors{fourCC("ACCL"), fourCC("GPS5"), fourCC("GPS9"), fourCC("GYRO")};

    // The whole input as one payload, too.
    const gpmf::Payload whole = gpmf::parsePayload(data, size);
    for (const gpmf::SensorSamples& sensor : whole.sensors)
        if (sensor.elements <= 0 || sensor.values.size() % size_t(sensor.elements) != 0)
            fuzz::fail("a sensor with a partial sample");

    // Cut as a trim cuts a payload: never longer, and kept whole it is the payload as it was.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const double from = data[0] / 255.0;
    if (gpmf::keepSamplesWithin(bytes, 1.0, from, from + data[1] / 255.0).size() > bytes.size())
        fuzz::fail("a cut payload longer than the payload");
    if (gpmf::keepSamplesWithin(bytes, 1.0, 0, 1.0) != bytes)
        fuzz::fail("a payload kept whole that changed");

    std::vector<TelemetryPacket> packets;
    double time = 0;
    for (size_t at = 2; at + 3 <= size;) {
        time += int8_t(data[at]) / 4.0;
        const size_t length = std::min<size_t>(data[at + 1] | data[at + 2] << 8, size - at - 3);
        packets.push_back(
            {time, 0, QByteArray(reinterpret_cast<const char*>(data + at + 3), qsizetype(length))});
        at += 3 + length;
    }
    const Telemetry telemetry = assembleTelemetry(packets, sensors);
    checkSeries(telemetry);

    const TelemetryFinding finding = detectJump(telemetry, duration);
    for (const auto& event : {finding.exit, finding.opening}) {
        if (!event)
            continue;
        checkMoment(event->time, duration, "a telemetry moment outside the clip");
        if (!(event->confidence >= 0 && event->confidence <= 1))
            fuzz::fail("a confidence outside 0 to 1");
    }
    if (finding.usable() != (finding.exit || finding.opening))
        fuzz::fail("a source without a moment, or a moment without a source");
    if (finding.curveKind != TelemetryCurveKind::None &&
        finding.curve.size() > size_t(duration / kTelemetryCurveStep) + 2)
        fuzz::fail("a curve longer than the clip");

    const TrimDecision decision =
        decideTrim(audioEvidence(duration / 3, 10, duration / 2, std::nullopt), finding);
    checkMoment(decision.exit, duration, "a decided exit outside the clip");
    checkMoment(decision.opening, duration, "a decided opening outside the clip");
    return 0;
}
