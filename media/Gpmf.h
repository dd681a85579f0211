#pragma once

// The camera's telemetry format (GPMF): big-endian KLV entries, 32-bit aligned, nested by entries of
// type 0 (DEVC holds STRM, STRM holds a sensor's samples and the properties that describe them).
// Header: four-character key, type character, size of one sample in bytes, repeat count (16 bits).

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace velarix::gpmf {

constexpr uint32_t fourCC(const char (&text)[5]) {
    return uint32_t(uint8_t(text[0])) << 24 | uint32_t(uint8_t(text[1])) << 16 |
           uint32_t(uint8_t(text[2])) << 8 | uint32_t(uint8_t(text[3]));
}
QString keyText(uint32_t key);

// The samples of one sensor entry (ACCL, GYRO, GPS5, …) of one payload, scaled by their SCAL.
struct SensorSamples {
    uint32_t key = 0;
    int elements = 0;                        // values per sample
    std::vector<double> values;              // sample after sample, `elements` values each
    QString streamName;                      // STNM
    QString units;                           // SIUN, else UNIT
    std::optional<uint32_t> totalSamples;    // TSMP: samples of this stream since the recording started
    std::optional<uint64_t> timestampMicros; // STMP: time of the first sample
    std::optional<uint32_t> gpsFix;          // GPSF: 0 none, 2 or 3 a 2D or 3D fix
    std::optional<uint32_t> gpsPrecision;    // GPSP: dilution of precision × 100

    int sampleCount() const { return elements > 0 ? int(values.size()) / elements : 0; }
};

struct Payload {
    std::vector<SensorSamples> sensors;
    // What was left out, in words: damaged entries end the reading of their container, unusable
    // scales or types drop one entry. Empty for a clean payload.
    QStringList problems;
};

// Parses one payload (the bytes of one telemetry packet). Any bytes are safe: sizes that run past
// their container, unknown types, scales of zero and deep nesting are left out and named in
// `problems`; what was read before stays. With `only`, samples of other keys are not decoded.
Payload parsePayload(const uint8_t* data, size_t size, const QSet<uint32_t>* only = nullptr);
inline Payload parsePayload(const QByteArray& bytes, const QSet<uint32_t>* only = nullptr) {
    return parsePayload(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), only);
}

// Writing, for the synthesised jumps and tests: one KLV entry, padded to 32 bits.
QByteArray entry(uint32_t key, char type, int sampleSize, int repeat, const QByteArray& packed);
QByteArray nested(uint32_t key, const QByteArray& children);
QByteArray bigEndian16(const std::vector<int16_t>& values);
QByteArray bigEndian32(const std::vector<int32_t>& values);
QByteArray bigEndianU32(uint32_t value);
QByteArray bigEndianU64(uint64_t value);

} // namespace velarix::gpmf
