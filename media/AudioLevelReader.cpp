#include "media/AudioLevelReader.h"

#include "media/MediaLog.h"
#include "media/TrimErrors.h"

#include <QCoreApplication>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <cmath>

namespace velarix {

namespace {

Error unableToPrepare() {
    return trimError(TrimErrorCode::audioReaderSetup,
                     QCoreApplication::translate("TrimAnalysis", "Unable to prepare the audio reader."));
}
Error failedToStart() {
    return trimError(TrimErrorCode::audioStart,
                     QCoreApplication::translate("TrimAnalysis", "Audio analysis failed to start."));
}
Error failed() {
    return trimError(TrimErrorCode::audioRead,
                     QCoreApplication::translate("TrimAnalysis", "Audio analysis failed."));
}

// Converts decoded frames of any layout and rate to mono float at the level rate. The converter is
// set up from the frames themselves (the header may not tell) and again if their format changes.
class MonoConverter {
public:
    MonoConverter() = default;
    MonoConverter(const MonoConverter&) = delete;
    MonoConverter& operator=(const MonoConverter&) = delete;
    ~MonoConverter() { av_channel_layout_uninit(&m_layout); }

    bool convert(const AVFrame* frame, LevelAccumulator& levels) {
        if (!m_context || !sameFormat(frame)) {
            if (m_context)
                drain(levels);
            if (!configure(frame))
                return false;
        }
        const int capacity = swr_get_out_samples(m_context.get(), frame->nb_samples);
        if (capacity < 0)
            return false;
        m_buffer.resize(size_t(capacity));
        auto* out = reinterpret_cast<uint8_t*>(m_buffer.data());
        const int produced =
            swr_convert(m_context.get(), &out, capacity, const_cast<const uint8_t**>(frame->extended_data),
                        frame->nb_samples);
        if (produced < 0)
            return false;
        levels.add(m_buffer.data(), produced);
        return true;
    }

    // Hands over what the resampler's filter still holds.
    void drain(LevelAccumulator& levels) {
        if (!m_context)
            return;
        m_buffer.resize(4096);
        auto* out = reinterpret_cast<uint8_t*>(m_buffer.data());
        int produced = 0;
        while ((produced = swr_convert(m_context.get(), &out, int(m_buffer.size()), nullptr, 0)) > 0)
            levels.add(m_buffer.data(), produced);
    }

private:
    bool sameFormat(const AVFrame* frame) const {
        return frame->format == m_format && frame->sample_rate == m_rate &&
               av_channel_layout_compare(&frame->ch_layout, &m_layout) == 0;
    }

    bool configure(const AVFrame* frame) {
        av_channel_layout_uninit(&m_layout);
        if (frame->ch_layout.nb_channels <= 0 || frame->sample_rate <= 0)
            return false;
        if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&m_layout, frame->ch_layout.nb_channels);
        else if (av_channel_layout_copy(&m_layout, &frame->ch_layout) < 0)
            return false;
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        SwrContext* context = nullptr;
        if (swr_alloc_set_opts2(&context, &mono, AV_SAMPLE_FMT_FLT, kLevelSampleRate, &m_layout,
                                AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr) < 0)
            return false;
        m_context.reset(context);
        if (swr_init(context) < 0)
            return false;
        m_format = frame->format;
        m_rate = frame->sample_rate;
        return true;
    }

    av::SwrContextPtr m_context;
    AVChannelLayout m_layout{};
    int m_format = -1;
    int m_rate = 0;
    std::vector<float> m_buffer;
};

} // namespace

double levelOfMeanSquare(double meanSquare) {
    return 20.0 * std::log10(std::max(1e-6, std::sqrt(meanSquare)));
}

void LevelAccumulator::add(const float* samples, qsizetype count) {
    for (qsizetype i = 0; i < count; ++i) {
        const double sample = samples[i];
        m_sumOfSquares += sample * sample;
        if (++m_count == kLevelWindowSamples) {
            m_levels.push_back(levelOfMeanSquare(m_sumOfSquares / m_count));
            m_sumOfSquares = 0;
            m_count = 0;
        }
    }
}

std::vector<double> LevelAccumulator::finish() {
    if (m_count > 0)
        m_levels.push_back(levelOfMeanSquare(m_sumOfSquares / m_count));
    m_sumOfSquares = 0;
    m_count = 0;
    return std::move(m_levels);
}

OpenOptions audioReadingOptions(const CancelToken* cancel) {
    return OpenOptions{cancel, 4096, false};
}

Result<std::vector<double>> readAudioLevels(MediaInput& input, int streamIndex, const CancelToken* cancel,
                                            const std::function<void(double)>& progress) {
    LevelAccumulator levels;
    if (auto added = addAudioLevels(input, streamIndex, levels, cancel, progress); !added)
        return added.error();
    return levels.finish();
}

Result<void> addAudioLevels(MediaInput& input, int streamIndex, LevelAccumulator& levels,
                            const CancelToken* cancel, const std::function<void(double)>& progress,
                            const AlongsideStream& alongside) {
    AVFormatContext* format = input.get();
    if (streamIndex < 0 || unsigned(streamIndex) >= format->nb_streams)
        return unableToPrepare();
    AVStream* stream = format->streams[streamIndex];
    // Discarded streams are skipped by the demuxer without reading their bytes.
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard =
            int(i) == streamIndex || int(i) == alongside.index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return unableToPrepare();
    av::CodecContextPtr decoder(avcodec_alloc_context3(codec));
    av::PacketPtr packet(av_packet_alloc());
    av::FramePtr frame(av_frame_alloc());
    if (!decoder || !packet || !frame || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
        return unableToPrepare();
    decoder->pkt_timebase = stream->time_base;
    if (const int status = avcodec_open2(decoder.get(), codec, nullptr); status < 0) {
        qCWarning(lcMedia, "Opening the audio decoder failed: %s", qUtf8Printable(av::errorText(status)));
        return failedToStart();
    }

    MonoConverter converter;
    bool convertedAny = false;

    // Decoded frames are taken out after every packet, so the cancel flag is seen once per buffer.
    auto receiveFrames = [&]() -> Result<void> {
        for (;;) {
            const int status = avcodec_receive_frame(decoder.get(), frame.get());
            if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
                return {};
            if (status < 0) {
                // A damaged buffer: leave it out, as the packets around it may still decode.
                qCDebug(lcMedia, "Skipped an audio buffer: %s", qUtf8Printable(av::errorText(status)));
                return {};
            }
            if (isCancelled(cancel))
                return Error::cancellation();
            if (!converter.convert(frame.get(), levels)) {
                av_frame_unref(frame.get());
                return unableToPrepare();
            }
            convertedAny = true;
            av_frame_unref(frame.get());
        }
    };

    for (;;) {
        const auto read = readNextPacket(format, packet.get(), cancel);
        if (!read)
            return read.error();
        if (const int status = *read; status < 0) {
            if (status != AVERROR_EOF) {
                // A file cut short ends in a read error: what was read before it still counts.
                if (!convertedAny) {
                    qCWarning(lcMedia, "Reading audio failed: %s", qUtf8Printable(av::errorText(status)));
                    return failed();
                }
                qCDebug(lcMedia, "Audio ends early: %s", qUtf8Printable(av::errorText(status)));
            }
            break;
        }
        if (packet->stream_index == streamIndex) {
            if (progress && format->duration > 0 && packet->pts != AV_NOPTS_VALUE)
                progress(double(av_rescale_q(packet->pts, stream->time_base, AV_TIME_BASE_Q)) /
                         double(format->duration));
            const int sent = avcodec_send_packet(decoder.get(), packet.get());
            if (sent < 0 && sent != AVERROR(EAGAIN))
                qCDebug(lcMedia, "Skipped an audio packet: %s", qUtf8Printable(av::errorText(sent)));
        } else if (packet->stream_index == alongside.index && alongside.take)
            alongside.take(packet.get());
        av_packet_unref(packet.get());
        if (auto received = receiveFrames(); !received)
            return received.error();
    }

    avcodec_send_packet(decoder.get(), nullptr);
    if (auto received = receiveFrames(); !received)
        return received.error();
    converter.drain(levels);
    return {};
}

} // namespace velarix
