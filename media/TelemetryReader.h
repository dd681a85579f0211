#pragma once

#include "media/Gpmf.h"
#include "media/MediaOpen.h"

#include <QSet>
#include <QStringList>

#include <vector>

namespace velarix {

// One sensor's samples over the whole clip. A payload's samples are spread evenly over its packet's
// time span, so sample i of n in a packet at T lasting D is at T + i × D / n.
struct TelemetrySeries {
    uint32_t key = 0;
    int elements = 0;
    std::vector<double> times;  // seconds from the start of the clip, one per sample, never decreasing
    std::vector<double> values; // `elements` per sample, scaled
    std::vector<int> gpsFix;    // GPS only: the fix of each sample (-1 when the camera did not say)

    size_t sampleCount() const { return times.size(); }
    double value(size_t sample, int element) const {
        return values[sample * size_t(elements) + size_t(element)];
    }
};

struct Telemetry {
    bool hasTrack = false; // the clip has a `gpmd` track at all
    int packets = 0;       // payloads read
    std::vector<TelemetrySeries> series;
    QStringList problems; // what was left out and why, in words; each distinct text once

    const TelemetrySeries* find(uint32_t key) const;
};

// The sensors the trim analysis uses: the accelerometer and both GPS layouts.
QSet<uint32_t> analysisSensors();

// One telemetry packet as the container gives it: its time and length in seconds (a length of 0 or
// less: until the next packet) and its payload.
struct TelemetryPacket {
    double time = 0;
    double duration = 0;
    QByteArray payload;
};

// The sensors' samples of packets in container order. Packets whose time goes backwards, and
// sensors whose sample count (TSMP) or time stamp (STMP) goes backwards, are left out and named in
// `problems`. Pure; any bytes and times are safe.
Telemetry assembleTelemetry(const std::vector<TelemetryPacket>& packets, const QSet<uint32_t>& sensors);

// The index of the telemetry (`gpmd`) stream of an input, or -1.
int telemetryStream(const AVFormatContext* context);
// One packet of the telemetry stream `stream`, on the input's time.
TelemetryPacket telemetryPacket(const AVFormatContext* context, const AVStream* stream,
                                const AVPacket* packet);

// The telemetry track's packets of an input, from the track's start. `hasTrack` is false without a
// track; `problem` says why the packets may be incomplete.
struct TelemetryPackets {
    bool hasTrack = false;
    std::vector<TelemetryPacket> packets;
    QString problem;
    bool unreadable = false; // the track could not be read at all
};
Result<TelemetryPackets> readTelemetryPackets(MediaInput& input, const CancelToken* cancel);

// Reads the chosen sensors of the telemetry track (see assembleTelemetry): only that track's bytes
// are read. A clip without one gives an empty result (hasTrack false). Errors: the file cannot be
// opened, or a cancellation.
Result<Telemetry> readTelemetry(const QString& path, const QSet<uint32_t>& sensors,
                                const CancelToken* cancel);
// The same on an input already open (and maybe read to its end, as after the audio): it starts again
// at the track's beginning. A clip without a telemetry track costs no reading at all.
Result<Telemetry> readTelemetry(MediaInput& input, const QSet<uint32_t>& sensors, const CancelToken* cancel);

} // namespace velarix
