#include "trimming/StreamCopyRemux.h"

#include "media/ChapterReader.h"
#include "media/DurableFileOutput.h"
#include "media/GpmfTrim.h"
#include "media/MediaLog.h"
#include "media/Mp4EditEnd.h"
#include "media/StreamCopy.h"
#include "media/StreamTranscoder.h"
#include "media/TrimErrors.h"

extern "C" {
#include <libavutil/intreadwrite.h>
#include <libavutil/timecode.h>
}

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace velarix {

namespace {

// The output context refers to the I/O context: it goes first.
struct OutputFile {
    std::unique_ptr<DurableFileOutput> file;
    av::OutputContextPtr context;
    ~OutputFile() { context.reset(); }
};

QString mediaTypeName(AVMediaType type) {
    const char* name = av_get_media_type_string(type);
    return name ? QString::fromLatin1(name) : QStringLiteral("unknown");
}

QString codecName(AVCodecID id) {
    return id == AV_CODEC_ID_NONE ? QStringLiteral("none") : QString::fromLatin1(avcodec_get_name(id));
}

// The timecode of the first kept frame: the source's timecode moved on by the cut's start.
void shiftTimecode(AVDictionary** metadata, AVRational frameRate, double start) {
    const AVDictionaryEntry* entry = av_dict_get(*metadata, "timecode", nullptr, 0);
    if (!entry || frameRate.num <= 0 || frameRate.den <= 0)
        return;
    AVTimecode timecode;
    if (av_timecode_init_from_string(&timecode, frameRate, entry->value, nullptr) < 0)
        return;
    char text[AV_TIMECODE_STR_SIZE];
    const int frames = int(std::llround(start * av_q2d(frameRate)));
    av_dict_set(metadata, "timecode", av_timecode_make_string(&timecode, text, frames), 0);
}

// The camera's telemetry (GPMF).
bool isTelemetry(const AVCodecParameters* parameters) {
    return parameters->codec_type == AVMEDIA_TYPE_DATA && parameters->codec_tag == MKTAG('g', 'p', 'm', 'd');
}

QString tagName(uint32_t tag) {
    char text[AV_FOURCC_MAX_STRING_SIZE] = {};
    return QString::fromLatin1(av_fourcc_make_string(text, tag));
}

QString handlerName(const AVStream* stream) {
    const AVDictionaryEntry* entry = av_dict_get(stream->metadata, "handler_name", nullptr, 0);
    return entry ? QString::fromUtf8(entry->value).trimmed() : QString();
}

// What becomes of one input stream.
struct StreamPlan {
    enum class Kind { drop, copy, transcode, timecode } kind = Kind::drop;
    AVStream* output = nullptr;
    std::unique_ptr<StreamTranscoder> transcoder;
    int64_t cutStart = 0; // the cut's start and end in the input stream's time base
    int64_t cutEnd = 0;
    bool sawKeyFrame = false;
    bool finished = false;
};

// Moves a timecode sample's frame number on by `elapsed` (in the track's time base), counted at the
// timecode's own rate (its time scale over its frame duration).
Result<void> advanceTimecode(AVPacket* packet, const AVStream* stream, int64_t elapsed) {
    if (packet->size < 4 || av_packet_make_writable(packet) < 0)
        return trimError(TrimErrorCode::noExportSession,
                         QCoreApplication::translate("TrimExport", "The timecode track could not be read."));
    const int64_t frames =
        av_rescale_q_rnd(elapsed, stream->time_base, av_inv_q(stream->avg_frame_rate), AV_ROUND_NEAR_INF);
    AV_WB32(packet->data, uint32_t(int64_t(AV_RB32(packet->data)) + frames));
    return {};
}

// A telemetry payload that the range cuts keeps only the samples inside it (see keepSamplesWithin);
// its time is cut to the range by fitSampleToRange.
Result<void> keepTelemetryWithin(AVPacket* packet, const StreamPlan& plan, AVRational timeBase) {
    const int64_t end = packet->pts + packet->duration;
    if (packet->duration <= 0 || end <= plan.cutStart || packet->pts >= plan.cutEnd ||
        (packet->pts >= plan.cutStart && end <= plan.cutEnd))
        return {};
    const QByteArray payload =
        QByteArray::fromRawData(reinterpret_cast<const char*>(packet->data), packet->size);
    const double unit = av_q2d(timeBase);
    const QByteArray kept = gpmf::keepSamplesWithin(payload, double(packet->duration) * unit,
                                                    double(plan.cutStart - packet->pts) * unit,
                                                    double(plan.cutEnd - packet->pts) * unit);
    if (kept.size() == packet->size)
        return {};
    if (av_packet_make_writable(packet) < 0)
        return trimSystemError(ENOMEM, QCoreApplication::translate("TrimExport", "Out of memory."));
    std::memcpy(packet->data, kept.constData(), size_t(kept.size()));
    av_shrink_packet(packet, int(kept.size()));
    return {};
}

Error writeError(const QString& outputPath, int status) {
    return trimMediaError(status,
                          QCoreApplication::translate("TrimExport", "Could not write the trimmed copy %1: %2")
                              .arg(QFileInfo(outputPath).fileName(), av::errorText(status)));
}

Error exportSessionError() {
    return trimError(TrimErrorCode::noExportSession,
                     QCoreApplication::translate("TrimExport", "Unable to create an export session."));
}

// A video key frame's timestamps, in its stream's time base.
struct KeyFrame {
    int64_t pts = AV_NOPTS_VALUE;
    int64_t dts = AV_NOPTS_VALUE;
};

// How many groups of pictures the copy steps back at most to find one shown at or before the start.
constexpr int kMaxStepsBack = 4;

// One range copy, in the steps of FFmpeg's remux example: choose the stream mapping, copy the
// packets, finish the output.
class RangeRemux {
public:
    RangeRemux(MediaInput& input, const RemuxRequest& request)
        : m_in(input.get())
        , m_request(request)
        , m_reader(input.get(), request.laterChapters, request.cancel) {
        // Times are counted from the container's start, as players show them.
        m_origin = m_in->start_time != AV_NOPTS_VALUE ? m_in->start_time : 0;
        m_startUs = m_origin + std::llround(request.start * AV_TIME_BASE);
        m_endUs = m_origin + std::llround(request.end * AV_TIME_BASE);
    }

    Result<void> mapStreams();
    Result<void> copyPackets();
    Result<void> finishOutput();
    RemuxOutcome takeOutcome() { return std::move(m_outcome); }

private:
    Result<void> createOutput();
    Result<void> mapStream(unsigned index);
    StreamPlan::Kind chooseKind(unsigned index) const;
    Result<AVStream*> addOutputStream(unsigned index, StreamPlan& plan);
    void copyContainerMetadata();
    Result<void> startOutput();
    Result<void> seekToStart();
    Result<std::optional<KeyFrame>> firstKeyFrame();
    Result<void> copyPacket(AVPacket* packet);
    void noteFirstVideoPacket(const AVPacket* packet, const StreamPlan& plan, int64_t ts);
    Result<bool> fitSampleToRange(AVPacket* packet, const StreamPlan& plan, const AVStream* stream);
    Result<void> write(AVPacket* packet);
    bool cancelled() const { return isCancelled(m_request.cancel); }
    Result<bool> nextPacket(AVPacket* packet);

    AVFormatContext* m_in;
    const RemuxRequest& m_request;
    ChapterReader m_reader; // the input, or the chapters of its recording
    int64_t m_origin = 0;
    int64_t m_startUs = 0; // the range in AV_TIME_BASE, from the file's time zero
    int64_t m_endUs = 0;
    OutputFile m_output;
    AVFormatContext* m_out = nullptr;
    std::vector<StreamPlan> m_plans;
    RemuxOutcome m_outcome;
    int m_firstVideo = -1;               // the input stream whose packets measure progress
    int64_t m_firstKey = AV_NOPTS_VALUE; // its first key frame copied
    int m_remaining = 0;                 // streams still before their end
};

Result<void> RangeRemux::createOutput() {
    AVFormatContext* context = nullptr;
    const QByteArray outputName = QFile::encodeName(m_request.outputPath);
    // A QuickTime source is written as QuickTime: its writer keeps the tracks and tags that format has.
    if (avformat_alloc_output_context2(&context, nullptr, streamCopyFormatName(m_request.outputPath),
                                       outputName.constData()) < 0 ||
        !context)
        return exportSessionError();
    m_output.context.reset(context);
    m_out = context;
    watchCancellation(m_out, m_request.cancel);
    return {};
}

Result<void> RangeRemux::mapStreams() {
    if (auto created = createOutput(); !created)
        return created;
    m_plans.resize(m_in->nb_streams);
    for (unsigned i = 0; i < m_in->nb_streams; ++i) {
        if (auto mapped = mapStream(i); !mapped)
            return mapped;
        if (m_plans[i].kind == StreamPlan::Kind::drop)
            continue;
        ++m_remaining;
        if (m_firstVideo < 0 && m_in->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            m_firstVideo = int(i);
    }
    if (m_outcome.videoStreamCount == 0)
        return exportSessionError();
    copyContainerMetadata();
    return startOutput();
}

// Copied as it is where MP4 carries the codec; the timecode track as data; other video and sound
// re-encoded; the rest dropped with a line in the log.
StreamPlan::Kind RangeRemux::chooseKind(unsigned index) const {
    const AVStream* stream = m_in->streams[index];
    const AVCodecParameters* parameters = stream->codecpar;
    if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
        qCInfo(lcMedia, "Trimming drops stream %d (a cover picture), which an MP4 file cannot carry",
               int(index));
        return StreamPlan::Kind::drop;
    }
    if (parameters->codec_id != AV_CODEC_ID_NONE &&
        avformat_query_codec(m_out->oformat, parameters->codec_id, FF_COMPLIANCE_NORMAL) == 1)
        return StreamPlan::Kind::copy;
    // The QuickTime writer has no data track to carry the timecode through; it writes its own from the
    // video's timecode, which the cut moves on. Telemetry it writes under the source's own tag.
    if (isQuickTimeOutput(m_out) && isTimecodeTrack(parameters))
        return StreamPlan::Kind::drop;
    if (carriedUnderOwnTag(m_out, parameters))
        return StreamPlan::Kind::copy;
    if (isTimecodeTrack(parameters) && stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0)
        return StreamPlan::Kind::timecode;
    if (parameters->codec_type == AVMEDIA_TYPE_VIDEO || parameters->codec_type == AVMEDIA_TYPE_AUDIO)
        return StreamPlan::Kind::transcode;
    qCInfo(lcMedia,
           "Trimming drops stream %d (%s track '%s' \"%s\", codec %s): the MP4 writer cannot "
           "describe a track of a kind it does not know",
           int(index), qPrintable(mediaTypeName(parameters->codec_type)),
           qPrintable(tagName(parameters->codec_tag)), qPrintable(handlerName(stream)),
           qPrintable(codecName(parameters->codec_id)));
    return StreamPlan::Kind::drop;
}

// The output stream of a stream to be kept; none (the stream is dropped) when it cannot be re-encoded.
Result<AVStream*> RangeRemux::addOutputStream(unsigned index, StreamPlan& plan) {
    AVStream* stream = m_in->streams[index];
    const AVCodecParameters* parameters = stream->codecpar;
    AVStream* output = nullptr;
    switch (plan.kind) {
    case StreamPlan::Kind::copy:
        output = addCopiedStream(m_out, stream);
        if (!output)
            return exportSessionError();
        return output;
    case StreamPlan::Kind::timecode:
        // Written as a data track the muxer knows, with the source's description put back
        // afterwards: the muxer's own timecode track would take the video's average frame rate
        // and time scale instead of the timecode's.
        output = avformat_new_stream(m_out, nullptr);
        if (!output)
            return exportSessionError();
        output->codecpar->codec_type = AVMEDIA_TYPE_DATA;
        output->codecpar->codec_id = AV_CODEC_ID_BIN_DATA;
        output->time_base = stream->time_base;
        m_outcome.carriedTracks.push_back(CarriedTrack{quint32(output->index + 1), quint32(stream->id)});
        return output;
    case StreamPlan::Kind::transcode: {
        auto transcoder = StreamTranscoder::create(stream, m_out, m_origin, m_request.start, m_request.end);
        if (!transcoder) {
            qCInfo(lcMedia, "Trimming drops stream %d (%s, codec %s): %s", int(index),
                   qPrintable(mediaTypeName(parameters->codec_type)),
                   qPrintable(codecName(parameters->codec_id)), qPrintable(transcoder.error().message));
            return nullptr;
        }
        plan.transcoder = std::move(transcoder.value());
        ++m_outcome.reencodedStreamCount;
        return plan.transcoder->outputStream();
    }
    case StreamPlan::Kind::drop:
        break;
    }
    return nullptr;
}

Result<void> RangeRemux::mapStream(unsigned index) {
    AVStream* stream = m_in->streams[index];
    StreamPlan& plan = m_plans[index];
    plan.kind = chooseKind(index);
    auto output =
        plan.kind == StreamPlan::Kind::drop ? Result<AVStream*>(nullptr) : addOutputStream(index, plan);
    if (!output)
        return output.error();
    if (!*output) {
        plan.kind = StreamPlan::Kind::drop;
        stream->discard = AVDISCARD_ALL;
        return {};
    }
    plan.output = *output;
    plan.cutStart = av_rescale_q(m_startUs, AV_TIME_BASE_Q, stream->time_base);
    plan.cutEnd = av_rescale_q(m_endUs, AV_TIME_BASE_Q, stream->time_base);
    copyStreamProperties(stream, plan.output);
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        shiftTimecode(&plan.output->metadata, stream->avg_frame_rate, m_request.start);
        ++m_outcome.videoStreamCount;
    }
    ++m_outcome.streamCount;
    return {};
}

void RangeRemux::copyContainerMetadata() {
    // The container's metadata (creation time among it) is only kept when copied over.
    av_dict_copy(&m_out->metadata, m_in->metadata, 0);
    if (!m_outcome.carriedTracks.empty()) {
        // The copied timecode track says it all; the muxer would add a second one from these.
        av_dict_set(&m_out->metadata, "timecode", nullptr, 0);
        for (const StreamPlan& plan : m_plans)
            if (plan.output && plan.output->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
                av_dict_set(&plan.output->metadata, "timecode", nullptr, 0);
    }
    for (const StreamPlan& plan : m_plans) {
        if (plan.output && plan.output->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            shiftTimecode(&m_out->metadata, plan.output->avg_frame_rate, m_request.start);
            break;
        }
    }
}

Result<void> RangeRemux::startOutput() {
    auto file = DurableFileOutput::create(m_request.outputPath);
    if (!file)
        return file.error();
    m_output.file = std::move(file.value());
    m_output.file->attach(m_out);
    // The muxer's defaults matter: negative timestamps are kept and become an edit list, and the movie
    // header goes last (no fast start), where the user data box is appended afterwards.
    if (const int status = avformat_write_header(m_out, nullptr); status < 0) {
        if (cancelled())
            return Error::cancellation();
        return trimError(TrimErrorCode::noExportSession,
                         QCoreApplication::translate("TrimExport", "Unable to create an export session. (%1)")
                             .arg(av::errorText(status)),
                         avErrorKind(status));
    }
    m_reader.setEnd(m_endUs);
    return seekToStart();
}

// Every stream steps back to the key frame at or before the start (the MOV demuxer aligns the others
// to the chosen video sample). Seeking goes by decoding time, so it can land on a key frame that is
// shown after the start: the frames shown before it but decoded after it (the leading pictures of an
// open group of pictures, x265's default) refer to the group before, and would be lost. Then the copy
// starts one key frame earlier.
Result<void> RangeRemux::seekToStart() {
    int64_t target = m_startUs;
    if (m_firstVideo >= 0) {
        const AVStream* video = m_in->streams[m_firstVideo];
        const int64_t start = m_plans[size_t(m_firstVideo)].cutStart;
        for (int step = 0; step < kMaxStepsBack; ++step) {
            if (auto sought = m_reader.seek(target); !sought)
                return sought;
            auto key = firstKeyFrame();
            if (!key)
                return key.error();
            if (!*key || (*key)->pts == AV_NOPTS_VALUE || (*key)->dts == AV_NOPTS_VALUE ||
                (*key)->pts <= start)
                break;
            const int64_t earlier =
                std::min(target, av_rescale_q((*key)->dts, video->time_base, AV_TIME_BASE_Q)) - 1;
            if (earlier < m_origin) // no key frame before it
                break;
            target = earlier;
        }
    }
    return m_reader.seek(target);
}

// The reader's next packet: false at the end; a cancellation stops it first.
Result<bool> RangeRemux::nextPacket(AVPacket* packet) {
    if (cancelled())
        return Error::cancellation();
    return m_reader.read(packet);
}

// The first key frame of the picture that the reader gives from where it stands.
Result<std::optional<KeyFrame>> RangeRemux::firstKeyFrame() {
    av::PacketPtr packet(av_packet_alloc());
    for (;;) {
        auto read = nextPacket(packet.get());
        if (!read)
            return read.error();
        if (!*read)
            return std::optional<KeyFrame>();
        const bool key = packet->stream_index == m_firstVideo && (packet->flags & AV_PKT_FLAG_KEY);
        const KeyFrame frame{packet->pts, packet->dts};
        av_packet_unref(packet.get());
        if (key)
            return std::optional<KeyFrame>(frame);
    }
}

Result<void> RangeRemux::copyPackets() {
    av::PacketPtr packet(av_packet_alloc());
    while (m_remaining > 0) {
        auto read = nextPacket(packet.get());
        if (!read)
            return read.error();
        if (!*read)
            break;
        auto copied = copyPacket(packet.get());
        av_packet_unref(packet.get());
        if (!copied)
            return copied;
    }
    const auto write = [this](AVPacket* ready) {
        return this->write(ready);
    };
    for (StreamPlan& plan : m_plans) {
        if (plan.kind == StreamPlan::Kind::transcode) {
            if (auto flushed = plan.transcoder->flush(write); !flushed)
                return flushed;
        }
    }
    return {};
}

Result<void> RangeRemux::copyPacket(AVPacket* packet) {
    const int index = packet->stream_index;
    StreamPlan& plan = m_plans[size_t(index)];
    const AVStream* stream = m_in->streams[index];
    const int64_t ts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (plan.kind == StreamPlan::Kind::drop || plan.finished || ts == AV_NOPTS_VALUE)
        return {};
    // Cut by decoding time, as ffmpeg does: the references of every kept frame stay in.
    if (ts >= plan.cutEnd) {
        plan.finished = true;
        --m_remaining;
        return {};
    }
    const bool video = stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    if (video && !plan.sawKeyFrame && !(packet->flags & AV_PKT_FLAG_KEY))
        return {};
    plan.sawKeyFrame = true;
    if (index == m_firstVideo)
        noteFirstVideoPacket(packet, plan, ts);

    if (plan.kind == StreamPlan::Kind::transcode)
        return plan.transcoder->push(packet, [this](AVPacket* ready) { return write(ready); });
    auto kept = fitSampleToRange(packet, plan, stream);
    if (!kept)
        return kept.error();
    if (!*kept)
        return {};
    // Timestamps relative to the start: the pre-roll becomes negative and the muxer hides it.
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts -= plan.cutStart;
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts -= plan.cutStart;
    av_packet_rescale_ts(packet, stream->time_base, plan.output->time_base);
    packet->stream_index = plan.output->index;
    packet->pos = -1;
    return write(packet);
}

// The first video stream measures the key-frame interval (for the check of the copy) and progress.
void RangeRemux::noteFirstVideoPacket(const AVPacket* packet, const StreamPlan& plan, int64_t ts) {
    if ((packet->flags & AV_PKT_FLAG_KEY) && packet->pts != AV_NOPTS_VALUE) {
        if (m_firstKey == AV_NOPTS_VALUE)
            m_firstKey = packet->pts;
        else if (m_outcome.keyFrameInterval == 0 && packet->pts > m_firstKey)
            m_outcome.keyFrameInterval =
                double(packet->pts - m_firstKey) * av_q2d(m_in->streams[packet->stream_index]->time_base);
    }
    if (m_request.progress && plan.cutEnd > plan.cutStart)
        m_request.progress(
            std::clamp(double(ts - plan.cutStart) / double(plan.cutEnd - plan.cutStart), 0.0, 1.0));
}

// Sound and data samples are made to lie within the range; false for one wholly before it.
Result<bool> RangeRemux::fitSampleToRange(AVPacket* packet, const StreamPlan& plan, const AVStream* stream) {
    // A data sample (telemetry, timecode) that began before the cut starts at the cut instead,
    // shortened: readers of telemetry mostly ignore edit lists, and a pre-roll sample would shift
    // all of it against the picture for them. Samples wholly before the cut are left out.
    const bool data = stream->codecpar->codec_type == AVMEDIA_TYPE_DATA;
    if (isTelemetry(stream->codecpar) && packet->pts != AV_NOPTS_VALUE) {
        if (auto kept = keepTelemetryWithin(packet, plan, stream->time_base); !kept)
            return kept.error();
    }
    if (data && packet->pts != AV_NOPTS_VALUE && packet->pts < plan.cutStart) {
        if (packet->duration <= 0 || packet->pts + packet->duration <= plan.cutStart)
            return false;
        if (plan.kind == StreamPlan::Kind::timecode) {
            if (auto advanced = advanceTimecode(packet, stream, plan.cutStart - packet->pts); !advanced)
                return advanced.error();
        }
        packet->duration -= plan.cutStart - packet->pts;
        packet->pts = packet->dts = plan.cutStart;
    }
    // A sound or data sample that runs past the end is cut short there, so that the track
    // (and the movie) ends with the range rather than with the sample.
    const bool video = stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    if (!video && packet->pts != AV_NOPTS_VALUE && packet->duration > 0 &&
        packet->pts + packet->duration > plan.cutEnd)
        packet->duration = std::max<int64_t>(1, plan.cutEnd - packet->pts);
    return true;
}

Result<void> RangeRemux::write(AVPacket* packet) {
    const int written = av_interleaved_write_frame(m_out, packet);
    if (written < 0)
        return cancelled() ? Error::cancellation() : writeError(m_request.outputPath, written);
    if (m_out->pb->error < 0)
        return writeError(m_request.outputPath, m_out->pb->error);
    return {};
}

Result<void> RangeRemux::finishOutput() {
    if (cancelled())
        return Error::cancellation();
    if (const int status = av_write_trailer(m_out); status < 0)
        return cancelled() ? Error::cancellation() : writeError(m_request.outputPath, status);
    if (m_out->pb->error < 0)
        return writeError(m_request.outputPath, m_out->pb->error);
    // Frames after the end that kept B-frames refer to are in the copy; they are not shown.
    if (auto ended = endVideoEditsAt(m_request.outputPath, m_request.end - m_request.start); !ended)
        return ended;
    // On the disk before the copy may replace anything.
    if (auto finished = m_output.file->finish(); !finished)
        return finished;
    if (m_request.progress)
        m_request.progress(1.0);
    return {};
}

} // namespace

Result<RemuxOutcome> remuxTimeRange(MediaInput& input, const RemuxRequest& request) {
    RangeRemux remux(input, request);
    if (auto mapped = remux.mapStreams(); !mapped)
        return mapped.error();
    if (auto copied = remux.copyPackets(); !copied)
        return copied.error();
    if (auto finished = remux.finishOutput(); !finished)
        return finished.error();
    return remux.takeOutcome();
}

} // namespace velarix
