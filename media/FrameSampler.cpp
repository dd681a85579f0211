#include "media/FrameSampler.h"

#include "media/FrameMotion.h"
#include "media/MediaLog.h"
#include "media/MediaStreams.h"

extern "C" {
#include <libavutil/display.h>
}

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velarix {

namespace {

// How much later than its decoding time a key frame may be shown (B-frame reordering).
constexpr double kReorderAllowance = 0.5;

// Degrees to turn decoded pictures clockwise so that they stand upright.
int uprightRotation(const AVStream* stream) {
    const auto* matrix =
        reinterpret_cast<const int32_t*>(av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr));
    if (!matrix)
        return 0;
    const double angle = -av_display_rotation_get(matrix);
    if (std::isnan(angle))
        return 0;
    const int quarter = int(std::lround(angle / 90.0));
    return ((quarter % 4) + 4) % 4 * 90;
}

// Frames of one video stream in presentation order, read packet by packet.
class FrameSource {
public:
    FrameSource(AVFormatContext* format, int streamIndex, AVCodecContext* decoder, const CancelToken* cancel)
        : m_format(format)
        , m_stream(format->streams[streamIndex])
        , m_decoder(decoder)
        , m_cancel(cancel)
        , m_packet(av_packet_alloc()) {}

    // Starts afresh after a seek. Packets after stopAfter (seconds) are not decoded.
    void restart(double stopAfter = std::numeric_limits<double>::infinity()) {
        avcodec_flush_buffers(m_decoder);
        m_inputDone = false;
        m_atEnd = false;
        m_stopAfter = stopAfter;
    }

    bool atEnd() const { return m_atEnd; }

    // The next frame into `frame`: true, false at the end, or a cancellation.
    Result<bool> next(AVFrame* frame) {
        for (;;) {
            if (receive(frame))
                return true;
            if (m_atEnd)
                return false;
            if (isCancelled(m_cancel))
                return Error::cancellation();
            if (auto fed = feed(); !fed)
                return fed.error();
        }
    }

    // A frame the decoder has ready, without feeding it: false when it needs more input or is done.
    bool receive(AVFrame* frame) {
        for (;;) {
            const int received = avcodec_receive_frame(m_decoder, frame);
            if (received == 0) {
                if (frame->best_effort_timestamp == AV_NOPTS_VALUE) {
                    av_frame_unref(frame);
                    continue;
                }
                return true;
            }
            if (received == AVERROR_EOF || (received == AVERROR(EAGAIN) && m_inputDone)) {
                m_atEnd = true;
                return false;
            }
            if (received == AVERROR(EAGAIN))
                return false;
            // A damaged frame: the next may decode.
        }
    }

    // Reads until one packet of the stream went to the decoder: false at the end of the input.
    Result<bool> feedOne() {
        while (!m_inputDone) {
            auto sent = feed();
            if (!sent)
                return sent.error();
            if (*sent)
                return true;
        }
        return false;
    }

    // Flushing hands over the frames a threaded decoder still holds.
    void finishInput() {
        if (m_inputDone)
            return;
        avcodec_send_packet(m_decoder, nullptr);
        m_inputDone = true;
    }

    double seconds(const AVFrame* frame) const {
        return streamSeconds(m_format, m_stream, frame->best_effort_timestamp);
    }

private:
    // One packet from the file: true when it went to the decoder.
    Result<bool> feed() {
        const int status = av_read_frame(m_format, m_packet.get());
        if (status == AVERROR(EAGAIN))
            return false;
        if (status < 0) {
            if (isCancelled(m_cancel))
                return Error::cancellation();
            finishInput();
            return false;
        }
        bool sent = false;
        if (m_packet->stream_index == m_stream->index) {
            const int64_t stamp = m_packet->pts != AV_NOPTS_VALUE ? m_packet->pts : m_packet->dts;
            if (stamp != AV_NOPTS_VALUE && streamSeconds(m_format, m_stream, stamp) > m_stopAfter) {
                av_packet_unref(m_packet.get());
                finishInput();
                return false;
            }
            const int accepted = avcodec_send_packet(m_decoder, m_packet.get());
            if (accepted < 0 && accepted != AVERROR(EAGAIN))
                qCDebug(lcMedia, "Skipped a video packet: %s", qUtf8Printable(av::errorText(accepted)));
            sent = accepted >= 0;
        }
        av_packet_unref(m_packet.get());
        return sent;
    }

    AVFormatContext* m_format;
    AVStream* m_stream;
    AVCodecContext* m_decoder;
    const CancelToken* m_cancel;
    av::PacketPtr m_packet;
    bool m_inputDone = false;
    bool m_atEnd = false;
    double m_stopAfter = std::numeric_limits<double>::infinity();
};

class Sampler {
public:
    Sampler(const QString& path, const std::vector<double>& times, const CancelToken* cancel,
            double tolerance)
        : m_path(path)
        , m_cancel(cancel)
        , m_tolerance(tolerance) {
        for (double t : times)
            m_slots.push_back(SampledFrame{t, std::nullopt, {}, {}});
    }

    Result<std::vector<SampledFrame>> run() {
        if (m_slots.empty())
            return std::move(m_slots);
        if (auto opened = open(); !opened)
            return opened.error();
        if (auto keys = keyFramePass(); !keys)
            return keys.error();
        if (auto decoded = seekAndDecodePass(); !decoded)
            return decoded.error();
        for (auto& slot : m_slots)
            if (!slot.time && slot.failure.isEmpty())
                slot.failure = QCoreApplication::translate("Media", "No frame within %1 s.").arg(m_tolerance);
        return std::move(m_slots);
    }

private:
    Result<void> open() {
        auto input = openVideoAsset(m_path, OpenOptions{m_cancel, 16384, false});
        if (!input)
            return input.error();
        m_input = std::move(*input);
        if (auto known = ensureStreamsKnown(m_input, m_path, m_cancel); !known)
            return known.error();
        AVFormatContext* format = m_input.get();
        const int index = primaryVideoStream(format);
        if (index < 0)
            return Error::make(QStringLiteral("Media"), AVERROR_STREAM_NOT_FOUND,
                               QCoreApplication::translate("Media", "The file has no video stream."));
        for (unsigned i = 0; i < format->nb_streams; ++i)
            format->streams[i]->discard = int(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        m_stream = format->streams[index];
        m_rotation = uprightRotation(m_stream);

        const AVCodec* codec = avcodec_find_decoder(m_stream->codecpar->codec_id);
        if (!codec)
            return Error::make(QStringLiteral("Media"), AVERROR_DECODER_NOT_FOUND,
                               QCoreApplication::translate("Media", "The video's format cannot be decoded."));
        m_decoder.reset(avcodec_alloc_context3(codec));
        if (!m_decoder || avcodec_parameters_to_context(m_decoder.get(), m_stream->codecpar) < 0)
            return Error::make(QStringLiteral("Media"), AVERROR(ENOMEM),
                               QCoreApplication::translate("Media", "Out of memory."));
        m_decoder->pkt_timebase = m_stream->time_base;
        m_decoder->thread_count = 2;
        m_decoder->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        // Deblocking is invisible at 96 pixels and costs a good part of the decoding.
        m_decoder->skip_loop_filter = AVDISCARD_ALL;
        if (const int status = avcodec_open2(m_decoder.get(), codec, nullptr); status < 0)
            return Error::make(
                QStringLiteral("Media"), status,
                QCoreApplication::translate("Media", "The video decoder could not be opened: %1")
                    .arg(av::errorText(status)));

        const int entries = avformat_index_get_entries_count(m_stream);
        for (int i = 0; i < entries; ++i) {
            const AVIndexEntry* entry = avformat_index_get_entry(m_stream, i);
            if (entry && (entry->flags & AVINDEX_KEYFRAME))
                m_keyStamps.push_back(entry->timestamp);
        }
        std::sort(m_keyStamps.begin(), m_keyStamps.end());
        for (const int64_t stamp : m_keyStamps)
            m_keys.push_back(streamSeconds(format, m_stream, stamp));
        m_source.emplace(format, index, m_decoder.get(), m_cancel);
        return {};
    }

    // The index holds decoding times; a key frame is shown up to kReorderAllowance later.
    bool keyFrameNear(double t) const {
        auto it = std::lower_bound(m_keys.begin(), m_keys.end(), t - m_tolerance - kReorderAllowance);
        return it != m_keys.end() && *it <= t + m_tolerance;
    }

    // The last key frame at or before t, or -infinity.
    double keyFrameBefore(double t) const {
        auto it = std::upper_bound(m_keys.begin(), m_keys.end(), t);
        return it == m_keys.begin() ? -std::numeric_limits<double>::infinity() : *std::prev(it);
    }

    Result<bool> seek(double t) {
        const int64_t target = streamTimestamp(m_input.get(), m_stream, t);
        int status = avformat_seek_file(m_input.get(), m_stream->index, INT64_MIN, target, target, 0);
        if (status < 0) // before the first key frame: take the first one after
            status = avformat_seek_file(m_input.get(), m_stream->index, INT64_MIN, target, INT64_MAX, 0);
        if (isCancelled(m_cancel))
            return Error::cancellation();
        if (status < 0) {
            qCDebug(lcMedia, "Seeking to %fs failed: %s", t, qUtf8Printable(av::errorText(status)));
            return false;
        }
        return true;
    }

    void take(SampledFrame& slot, const AVFrame* frame, double time) {
        if (!m_lastImage.isNull() && m_lastImageTime == time) {
            slot.image = m_lastImage;
        } else {
            slot.image = thumbnail(frame);
            m_lastImage = slot.image;
            m_lastImageTime = time;
        }
        if (slot.image.isNull()) {
            slot.failure = QCoreApplication::translate("Media", "The frame could not be converted.");
            return;
        }
        slot.time = time;
        slot.failure.clear();
    }

    QImage thumbnail(const AVFrame* frame) {
        int displayWidth = frame->width;
        if (frame->sample_aspect_ratio.num > 0 && frame->sample_aspect_ratio.den > 0)
            displayWidth = int(std::lround(frame->width * av_q2d(frame->sample_aspect_ratio)));
        const QSize size = thumbnailSize(displayWidth, frame->height);
        m_scaler.reset(sws_getCachedContext(m_scaler.release(), frame->width, frame->height,
                                            AVPixelFormat(frame->format), size.width(), size.height(),
                                            AV_PIX_FMT_RGBA, SWS_AREA, nullptr, nullptr, nullptr));
        if (!m_scaler)
            return {};
        QImage image(size, QImage::Format_RGBA8888);
        uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
        const int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
        if (sws_scale(m_scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides) <= 0)
            return {};
        if (m_rotation != 0)
            image = image.transformed(QTransform().rotate(m_rotation));
        return image;
    }

    // Serves the times that have a key frame near them from key frames alone. Each key frame is
    // sought by its index entry: reading on from one key frame to the next with the others
    // discarded, the MP4 demuxer gives the key packets the presentation offsets of other samples,
    // so B-frame video came out up to a few frames off. A seek sets them right.
    Result<void> keyFramePass() {
        std::vector<size_t> wanted;
        for (size_t i = 0; i < m_slots.size(); ++i)
            if (keyFrameNear(m_slots[i].requestedTime))
                wanted.push_back(i);
        if (wanted.empty())
            return {};
        std::vector<size_t> keys; // into m_keys, ascending, each once
        for (const size_t i : wanted) {
            const double t = m_slots[i].requestedTime;
            auto it = std::lower_bound(m_keys.begin(), m_keys.end(), t - m_tolerance - kReorderAllowance);
            for (; it != m_keys.end() && *it <= t + m_tolerance; ++it) {
                const auto k = size_t(it - m_keys.begin());
                if (keys.empty() || keys.back() < k)
                    keys.push_back(k);
            }
        }

        m_stream->discard = AVDISCARD_NONKEY;
        m_decoder->skip_frame = AVDISCARD_NONKEY;
        auto restore = qScopeGuard([this] {
            m_stream->discard = AVDISCARD_DEFAULT;
            m_decoder->skip_frame = AVDISCARD_DEFAULT;
        });
        m_source->restart();
        m_positioned = false;
        av::FramePtr frame(av_frame_alloc());
        size_t from = 0;
        const auto match = [&](double time) {
            while (from < wanted.size() && m_slots[wanted[from]].requestedTime + m_tolerance < time)
                ++from;
            for (size_t k = from; k < wanted.size(); ++k) {
                SampledFrame& slot = m_slots[wanted[k]];
                if (slot.requestedTime - m_tolerance > time)
                    break;
                if (!slot.time ||
                    std::abs(time - slot.requestedTime) < std::abs(*slot.time - slot.requestedTime))
                    take(slot, frame.get(), time);
            }
            av_frame_unref(frame.get());
        };
        for (const size_t k : keys) {
            if (isCancelled(m_cancel))
                return Error::cancellation();
            const int64_t stamp = m_keyStamps[k];
            if (const int status = avformat_seek_file(m_input.get(), m_stream->index, stamp, stamp, stamp, 0);
                status < 0) {
                qCDebug(lcMedia, "Seeking to the key frame at %fs failed: %s", m_keys[k],
                        qUtf8Printable(av::errorText(status)));
                continue;
            }
            auto fed = m_source->feedOne();
            if (!fed)
                return fed.error();
            if (!*fed)
                break;
            // Drained and flushed after each one: an open group of pictures' key frame stays a
            // reference for the frames after it, and HEVC decoders kept every one of them (with their
            // threads' copies) alive across the pass, over 250 MiB at 4K.
            m_source->finishInput();
            if (auto drained = drain(frame.get(), match); !drained)
                return drained;
            m_source->restart();
        }
        m_source->finishInput();
        return drain(frame.get(), match);
    }

    template <class Match> Result<void> drain(AVFrame* frame, const Match& match) {
        for (;;) {
            auto got = m_source->next(frame);
            if (!got)
                return got.error();
            if (!*got)
                return {};
            match(m_source->seconds(frame));
        }
    }

    // Decodes every frame up to each remaining time, seeking only where that saves decoding.
    Result<void> seekAndDecodePass() {
        av::FramePtr best(av_frame_alloc());
        av::FramePtr pending(av_frame_alloc());
        bool hasPending = false;
        double pendingTime = 0;
        double lastTime = -std::numeric_limits<double>::infinity();

        for (auto& slot : m_slots) {
            if (slot.time)
                continue;
            const double t = slot.requestedTime;
            const bool keyAhead = keyFrameBefore(t) > lastTime + 1e-3;
            const bool farAhead = m_keys.empty() && t - lastTime > 2.0;
            if (!m_positioned || (hasPending && pendingTime > t + m_tolerance) || keyAhead || farAhead) {
                auto sought = seek(t);
                if (!sought)
                    return sought.error();
                if (!*sought) {
                    slot.failure = QCoreApplication::translate("Media", "Seeking to the frame failed.");
                    continue;
                }
                m_source->restart();
                m_positioned = true;
                hasPending = false;
                lastTime = -std::numeric_limits<double>::infinity();
            }

            bool hasBest = false;
            double bestTime = 0;
            for (;;) {
                double time = 0;
                if (hasPending) { // the frame that ended the previous time is still in `pending`
                    time = pendingTime;
                    hasPending = false;
                } else {
                    auto got = m_source->next(pending.get());
                    if (!got)
                        return got.error();
                    if (!*got)
                        break;
                    time = m_source->seconds(pending.get());
                    lastTime = time;
                }
                if (time < t - m_tolerance) {
                    av_frame_unref(pending.get());
                    continue;
                }
                if (time <= t) {
                    av_frame_unref(best.get());
                    av_frame_move_ref(best.get(), pending.get());
                    hasBest = true;
                    bestTime = time;
                    continue;
                }
                if (time <= t + m_tolerance && (!hasBest || time - t < t - bestTime)) {
                    take(slot, pending.get(), time);
                    hasBest = false;
                }
                hasPending = true; // it may serve the next time too
                pendingTime = time;
                break;
            }
            if (hasBest)
                take(slot, best.get(), bestTime);
            av_frame_unref(best.get());
        }
        return {};
    }

    QString m_path;
    const CancelToken* m_cancel;
    double m_tolerance;
    std::vector<SampledFrame> m_slots;
    MediaInput m_input;
    AVStream* m_stream = nullptr;
    av::CodecContextPtr m_decoder;
    av::SwsContextPtr m_scaler;
    std::optional<FrameSource> m_source;
    std::vector<int64_t> m_keyStamps; // key frames' index timestamps, ascending
    std::vector<double> m_keys;       // the same in seconds
    int m_rotation = 0;
    bool m_positioned = false;
    QImage m_lastImage;
    double m_lastImageTime = -1;
};

} // namespace

Result<std::vector<SampledFrame>> sampleFrames(const QString& path, const std::vector<double>& times,
                                               const CancelToken* cancel, double tolerance) {
    Sampler sampler(path, times, cancel, tolerance);
    return sampler.run();
}

} // namespace velarix
