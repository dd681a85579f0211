#include "media/TelemetryReader.h"

#include "core/Log.h"
#include "media/MediaStreams.h"

#include <QHash>

#include <cmath>

namespace velarix {

namespace {

using gpmf::fourCC;

struct TimedPayload {
    double time = 0;
    double duration = 0; // 0 until known
    gpmf::Payload payload;
};

void note(Telemetry& telemetry, const QString& problem) {
    if (!telemetry.problems.contains(problem))
        telemetry.problems.append(problem);
}

bool isGps(uint32_t key) {
    return key == fourCC("GPS5") || key == fourCC("GPS9");
}

// Appends the payloads' samples to one series per sensor, spread over each packet's span. Entries of
// one sensor within a payload (a camera may split them) share that span in their order.
void collect(Telemetry& telemetry, std::vector<TimedPayload>& payloads, const QSet<uint32_t>& sensors) {
    QHash<uint32_t, size_t> index;
    QHash<uint32_t, uint32_t> lastTotal;
    QHash<uint32_t, uint64_t> lastStamp;
    for (const TimedPayload& timed : payloads) {
        for (const QString& problem : timed.payload.problems)
            note(telemetry, problem);
        std::vector<const gpmf::SensorSamples*> accepted;
        QHash<uint32_t, int> counts;
        for (const gpmf::SensorSamples& sensor : timed.payload.sensors) {
            if (!sensors.contains(sensor.key) || sensor.elements <= 0 || sensor.sampleCount() == 0)
                continue;
            const QString name = gpmf::keyText(sensor.key);
            if (sensor.totalSamples) {
                if (lastTotal.contains(sensor.key) && *sensor.totalSamples < lastTotal.value(sensor.key)) {
                    note(telemetry, QStringLiteral("%1 sample counts go backwards").arg(name));
                    continue;
                }
                lastTotal.insert(sensor.key, *sensor.totalSamples);
            }
            if (sensor.timestampMicros) {
                if (lastStamp.contains(sensor.key) && *sensor.timestampMicros < lastStamp.value(sensor.key)) {
                    note(telemetry, QStringLiteral("%1 time stamps go backwards").arg(name));
                    continue;
                }
                lastStamp.insert(sensor.key, *sensor.timestampMicros);
            }
            auto found = index.find(sensor.key);
            if (found == index.end()) {
                found = index.insert(sensor.key, telemetry.series.size());
                telemetry.series.push_back(TelemetrySeries{sensor.key, sensor.elements, {}, {}, {}});
            }
            if (telemetry.series[*found].elements != sensor.elements) {
                note(telemetry, QStringLiteral("%1 changes its layout").arg(name));
                continue;
            }
            accepted.push_back(&sensor);
            counts[sensor.key] += sensor.sampleCount();
        }
        QHash<uint32_t, int> done;
        for (const gpmf::SensorSamples* sensor : accepted) {
            TelemetrySeries& series = telemetry.series[index.value(sensor->key)];
            const int total = counts.value(sensor->key);
            int& first = done[sensor->key];
            series.values.insert(series.values.end(), sensor->values.begin(), sensor->values.end());
            for (int i = 0; i < sensor->sampleCount(); ++i) {
                series.times.push_back(timed.time + timed.duration * (first + i) / total);
                if (isGps(sensor->key)) {
                    int fix = sensor->gpsFix ? int(*sensor->gpsFix) : -1;
                    if (sensor->key == fourCC("GPS9") && sensor->elements >= 9) {
                        const double own = sensor->values[size_t(i) * size_t(sensor->elements) + 8];
                        fix = std::isfinite(own) && own >= 0 && own < 256 ? int(own) : 0;
                    }
                    series.gpsFix.push_back(fix);
                }
            }
            first += sensor->sampleCount();
        }
    }
}

} // namespace

const TelemetrySeries* Telemetry::find(uint32_t key) const {
    for (const TelemetrySeries& s : series)
        if (s.key == key)
            return &s;
    return nullptr;
}

QSet<uint32_t> analysisSensors() {
    return {fourCC("ACCL"), fourCC("GPS5"), fourCC("GPS9")};
}

int telemetryStream(const AVFormatContext* context) {
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodecParameters* parameters = context->streams[i]->codecpar;
        if (parameters->codec_tag == MKTAG('g', 'p', 'm', 'd'))
            return int(i);
    }
    return -1;
}

TelemetryPacket telemetryPacket(const AVFormatContext* context, const AVStream* stream,
                                const AVPacket* packet) {
    const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    TelemetryPacket timed;
    timed.time = stamp == AV_NOPTS_VALUE ? NAN : streamSeconds(context, stream, stamp);
    timed.duration = packet->duration > 0 ? double(packet->duration) * av_q2d(stream->time_base) : 0;
    timed.payload = QByteArray(reinterpret_cast<const char*>(packet->data), packet->size);
    return timed;
}

Telemetry assembleTelemetry(const std::vector<TelemetryPacket>& packets, const QSet<uint32_t>& sensors) {
    Telemetry telemetry;
    telemetry.hasTrack = true;
    std::vector<TimedPayload> payloads;
    for (const TelemetryPacket& packet : packets) {
        if (!std::isfinite(packet.time) || (!payloads.empty() && packet.time <= payloads.back().time)) {
            note(telemetry, QStringLiteral("packet times go backwards"));
            continue;
        }
        TimedPayload timed;
        timed.time = packet.time;
        timed.duration = std::isfinite(packet.duration) ? packet.duration : 0;
        timed.payload = gpmf::parsePayload(packet.payload, &sensors);
        payloads.push_back(std::move(timed));
    }
    // A packet's samples end where the next packet starts; the last one lasts as long as its
    // predecessor when it does not say (or says something absurd).
    for (size_t i = 0; i + 1 < payloads.size(); ++i) {
        const double gap = payloads[i + 1].time - payloads[i].time;
        if (payloads[i].duration <= 0 || payloads[i].duration > gap)
            payloads[i].duration = gap;
    }
    if (!payloads.empty()) {
        const double before = payloads.size() >= 2 ? payloads[payloads.size() - 2].duration : 1.0;
        double& last = payloads.back().duration;
        if (!(last > 0 && last <= 4 * before))
            last = before;
    }
    telemetry.packets = int(payloads.size());
    collect(telemetry, payloads, sensors);
    return telemetry;
}

Result<Telemetry> readTelemetry(const QString& path, const QSet<uint32_t>& sensors,
                                const CancelToken* cancel) {
    // A small buffer, so that skipping the video between telemetry packets really skips it.
    auto input = openVideoAsset(path, OpenOptions{cancel, 4096, false});
    if (!input)
        return input.error();
    return readTelemetry(*input, sensors, cancel);
}

Result<TelemetryPackets> readTelemetryPackets(MediaInput& input, const CancelToken* cancel) {
    AVFormatContext* format = input.get();
    TelemetryPackets read;
    const int streamIndex = telemetryStream(format);
    if (streamIndex < 0)
        return read;
    read.hasTrack = true;
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    AVStream* stream = format->streams[streamIndex];
    // The audio may have been read to the end: start again where the track starts.
    const int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    if (av_seek_frame(format, streamIndex, start, AVSEEK_FLAG_BACKWARD) < 0) {
        if (isCancelled(cancel))
            return Error::cancellation();
        read.problem = QStringLiteral("the telemetry track cannot be read from its start");
        read.unreadable = true;
        return read;
    }
    av::PacketPtr packet(av_packet_alloc());
    for (;;) {
        const auto status = readNextPacket(format, packet.get(), cancel);
        if (!status)
            return status.error();
        if (*status < 0) {
            if (*status != AVERROR_EOF)
                read.problem = QStringLiteral("the file ends early");
            break;
        }
        if (packet->stream_index == streamIndex)
            read.packets.push_back(telemetryPacket(format, stream, packet.get()));
        av_packet_unref(packet.get());
    }
    return read;
}

Result<Telemetry> readTelemetry(MediaInput& input, const QSet<uint32_t>& sensors, const CancelToken* cancel) {
    auto read = readTelemetryPackets(input, cancel);
    if (!read)
        return read.error();
    if (!read->hasTrack)
        return Telemetry{};
    if (read->unreadable) {
        Telemetry unreadable;
        unreadable.hasTrack = true;
        unreadable.problems.append(read->problem);
        return unreadable;
    }
    Telemetry telemetry = assembleTelemetry(read->packets, sensors);
    if (!read->problem.isEmpty())
        note(telemetry, read->problem);
    return telemetry;
}

} // namespace velarix
