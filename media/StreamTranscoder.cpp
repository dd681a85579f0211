#include "media/StreamTranscoder.h"

#include "media/TrimErrors.h"

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/opt.h>
}

#include <QCoreApplication>
#include <QString>

#include <cmath>

namespace velarix {

namespace {

using AudioFifoPtr = std::unique_ptr<AVAudioFifo, av::Deleter<&av_audio_fifo_free>>;

Error codecError(const QString& what, int status) {
    return trimMediaError(status, QStringLiteral("%1: %2").arg(what, av::errorText(status)));
}

// The parts both kinds share: the decoder of the input, the encoder of the output, and the loop
// that moves frames from one to the other.
class TranscoderBase : public StreamTranscoder {
public:
    AVStream* outputStream() const override { return m_output; }
    void setRange(int64_t cutStart, int64_t cutEnd) {
        m_cutStart = cutStart;
        m_cutEnd = cutEnd;
    }

    Result<void> push(const AVPacket* packet, const WritePacket& write) override {
        int status = avcodec_send_packet(m_decoder.get(), packet);
        if (status < 0 && status != AVERROR(EAGAIN))
            return codecError(
                QCoreApplication::translate("TrimExport", "Could not decode the video for re-encoding"),
                status);
        return drainDecoder(write);
    }

    Result<void> flush(const WritePacket& write) override {
        avcodec_send_packet(m_decoder.get(), nullptr);
        if (auto drained = drainDecoder(write); !drained)
            return drained;
        if (auto finished = finishFrames(write); !finished)
            return finished;
        avcodec_send_frame(m_encoder.get(), nullptr);
        return drainEncoder(write);
    }

protected:
    // Takes one decoded frame (pts in the input time base).
    virtual Result<void> takeFrame(AVFrame* frame, const WritePacket& write) = 0;
    // Hands over what is still buffered before the encoder is drained.
    virtual Result<void> finishFrames(const WritePacket&) { return {}; }

    Result<void> encode(AVFrame* frame, const WritePacket& write) {
        const int status = avcodec_send_frame(m_encoder.get(), frame);
        if (status < 0)
            return codecError(QCoreApplication::translate("TrimExport", "Could not re-encode the video"),
                              status);
        return drainEncoder(write);
    }

    Result<void> drainEncoder(const WritePacket& write) {
        av::PacketPtr packet(av_packet_alloc());
        for (;;) {
            const int status = avcodec_receive_packet(m_encoder.get(), packet.get());
            if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
                return {};
            if (status < 0)
                return codecError(QCoreApplication::translate("TrimExport", "Could not re-encode the video"),
                                  status);
            av_packet_rescale_ts(packet.get(), m_encoder->time_base, m_output->time_base);
            packet->stream_index = m_output->index;
            auto written = write(packet.get());
            av_packet_unref(packet.get());
            if (!written)
                return written;
        }
    }

    Result<void> drainDecoder(const WritePacket& write) {
        for (;;) {
            const int status = avcodec_receive_frame(m_decoder.get(), m_frame.get());
            if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
                return {};
            if (status < 0)
                return codecError(
                    QCoreApplication::translate("TrimExport", "Could not decode the video for re-encoding"),
                    status);
            m_frame->pts = m_frame->best_effort_timestamp;
            auto taken = m_frame->pts == AV_NOPTS_VALUE ? Result<void>() : takeFrame(m_frame.get(), write);
            av_frame_unref(m_frame.get());
            if (!taken)
                return taken;
        }
    }

    Result<void> openDecoder(const AVStream* input) {
        const AVCodec* decoder = avcodec_find_decoder(input->codecpar->codec_id);
        if (!decoder)
            return trimMediaError(AVERROR_DECODER_NOT_FOUND,
                                  QCoreApplication::translate("TrimExport", "no decoder for its codec"));
        m_decoder.reset(avcodec_alloc_context3(decoder));
        int status = avcodec_parameters_to_context(m_decoder.get(), input->codecpar);
        m_decoder->pkt_timebase = input->time_base;
        if (status >= 0)
            status = avcodec_open2(m_decoder.get(), decoder, nullptr);
        if (status < 0)
            return codecError(QCoreApplication::translate("TrimExport", "the decoder could not be opened"),
                              status);
        return {};
    }

    Result<void> openEncoder(AVFormatContext* output, av::Dictionary options = {}) {
        if (output->oformat->flags & AVFMT_GLOBALHEADER)
            m_encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int status = avcodec_open2(m_encoder.get(), m_encoder->codec, options.address());
        if (status < 0)
            return codecError(QCoreApplication::translate("TrimExport", "the encoder could not be opened"),
                              status);
        m_output = avformat_new_stream(output, nullptr);
        if (!m_output)
            return codecError(QCoreApplication::translate("TrimExport", "no output stream"), AVERROR(ENOMEM));
        m_output->time_base = m_encoder->time_base;
        status = avcodec_parameters_from_context(m_output->codecpar, m_encoder.get());
        if (status < 0)
            return codecError(QCoreApplication::translate("TrimExport", "the encoder could not be set up"),
                              status);
        return {};
    }

    av::CodecContextPtr m_decoder;
    av::CodecContextPtr m_encoder;
    av::FramePtr m_frame{av_frame_alloc()};
    AVStream* m_output = nullptr;
    int64_t m_cutStart = 0; // input time base
    int64_t m_cutEnd = 0;
};

class VideoTranscoder final : public TranscoderBase {
public:
    Result<void> open(AVStream* input, AVFormatContext* output) {
        if (auto opened = openDecoder(input); !opened)
            return opened;
        const AVCodec* encoder = avcodec_find_encoder_by_name("libx264");
        if (!encoder)
            return trimMediaError(AVERROR_ENCODER_NOT_FOUND,
                                  QCoreApplication::translate("TrimExport", "libx264 is not available"));
        m_encoder.reset(avcodec_alloc_context3(encoder));
        m_encoder->width = m_decoder->width;
        m_encoder->height = m_decoder->height;
        m_encoder->sample_aspect_ratio = m_decoder->sample_aspect_ratio;
        m_encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        m_encoder->time_base = input->time_base;
        m_encoder->framerate = input->avg_frame_rate;
        m_encoder->color_range = m_decoder->color_range;
        m_encoder->colorspace = m_decoder->colorspace;
        m_encoder->color_primaries = m_decoder->color_primaries;
        m_encoder->color_trc = m_decoder->color_trc;
        av::Dictionary options;
        options.set("crf", "18");
        options.set("preset", "medium");
        return openEncoder(output, std::move(options));
    }

private:
    Result<void> takeFrame(AVFrame* frame, const WritePacket& write) override {
        if (frame->pts < m_cutStart || frame->pts >= m_cutEnd)
            return {};
        AVFrame* source = frame;
        if (frame->format != AV_PIX_FMT_YUV420P) {
            m_scaler.reset(sws_getCachedContext(m_scaler.release(), frame->width, frame->height,
                                                AVPixelFormat(frame->format), m_encoder->width,
                                                m_encoder->height, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr,
                                                nullptr, nullptr));
            av_frame_unref(m_scaled.get());
            m_scaled->format = AV_PIX_FMT_YUV420P;
            m_scaled->width = m_encoder->width;
            m_scaled->height = m_encoder->height;
            if (!m_scaler || av_frame_get_buffer(m_scaled.get(), 0) < 0)
                return codecError(QCoreApplication::translate("TrimExport", "Could not convert the picture"),
                                  AVERROR(ENOMEM));
            sws_scale(m_scaler.get(), frame->data, frame->linesize, 0, frame->height, m_scaled->data,
                      m_scaled->linesize);
            source = m_scaled.get();
        }
        source->pts = frame->pts - m_cutStart;
        source->pict_type = AV_PICTURE_TYPE_NONE;
        return encode(source, write);
    }

    av::SwsContextPtr m_scaler;
    av::FramePtr m_scaled{av_frame_alloc()};
};

class AudioTranscoder final : public TranscoderBase {
public:
    Result<void> open(AVStream* input, AVFormatContext* output) {
        if (auto opened = openDecoder(input); !opened)
            return opened;
        const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!encoder)
            return trimMediaError(AVERROR_ENCODER_NOT_FOUND,
                                  QCoreApplication::translate("TrimExport", "no AAC encoder"));
        m_encoder.reset(avcodec_alloc_context3(encoder));
        m_encoder->sample_rate = m_decoder->sample_rate;
        m_encoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
        m_encoder->bit_rate = 256'000;
        if (av_channel_layout_copy(&m_encoder->ch_layout, &m_decoder->ch_layout) < 0 ||
            m_encoder->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&m_encoder->ch_layout, m_decoder->ch_layout.nb_channels);
        m_encoder->time_base = AVRational{1, m_encoder->sample_rate};
        if (auto opened = openEncoder(output); !opened)
            return opened;
        SwrContext* resampler = nullptr;
        int status = swr_alloc_set_opts2(&resampler, &m_encoder->ch_layout, m_encoder->sample_fmt,
                                         m_encoder->sample_rate, &m_decoder->ch_layout, m_decoder->sample_fmt,
                                         m_decoder->sample_rate, 0, nullptr);
        m_resampler.reset(resampler);
        if (status >= 0)
            status = swr_init(m_resampler.get());
        if (status < 0)
            return codecError(QCoreApplication::translate("TrimExport", "the resampler could not be set up"),
                              status);
        m_fifo.reset(av_audio_fifo_alloc(m_encoder->sample_fmt, m_encoder->ch_layout.nb_channels,
                                         m_encoder->frame_size > 0 ? m_encoder->frame_size : 1024));
        m_inputTimeBase = input->time_base;
        return {};
    }

private:
    Result<void> takeFrame(AVFrame* frame, const WritePacket& write) override {
        // Sample-exact cut: the samples before the start and from the end on are left out.
        const int rate = m_decoder->sample_rate;
        const int64_t first = av_rescale_q(frame->pts, m_inputTimeBase, AVRational{1, rate});
        const int64_t cutStart = av_rescale_q(m_cutStart, m_inputTimeBase, AVRational{1, rate});
        const int64_t cutEnd = av_rescale_q(m_cutEnd, m_inputTimeBase, AVRational{1, rate});
        const int64_t skip = std::clamp<int64_t>(cutStart - first, 0, frame->nb_samples);
        const int64_t keep = std::clamp<int64_t>(cutEnd - first, 0, frame->nb_samples) - skip;
        if (keep <= 0)
            return {};
        av::FramePtr converted(av_frame_alloc());
        converted->format = m_encoder->sample_fmt;
        converted->sample_rate = m_encoder->sample_rate;
        converted->nb_samples = int(swr_get_out_samples(m_resampler.get(), frame->nb_samples));
        if (av_channel_layout_copy(&converted->ch_layout, &m_encoder->ch_layout) < 0 ||
            av_frame_get_buffer(converted.get(), 0) < 0)
            return codecError(QCoreApplication::translate("TrimExport", "Could not convert the sound"),
                              AVERROR(ENOMEM));
        const int samples = swr_convert(m_resampler.get(), converted->data, converted->nb_samples,
                                        const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
        if (samples < 0)
            return codecError(QCoreApplication::translate("TrimExport", "Could not convert the sound"),
                              samples);
        const int from = int(std::min<int64_t>(skip, samples));
        const int count = int(std::min<int64_t>(keep, samples - from));
        if (count > 0) {
            void* planes[AV_NUM_DATA_POINTERS];
            const int bytes = av_get_bytes_per_sample(m_encoder->sample_fmt);
            for (int c = 0; c < m_encoder->ch_layout.nb_channels; ++c)
                planes[c] = converted->extended_data[c] + from * bytes;
            av_audio_fifo_write(m_fifo.get(), planes, count);
        }
        return encodeWhole(write, false);
    }

    Result<void> finishFrames(const WritePacket& write) override { return encodeWhole(write, true); }

    // The encoder takes frames of its fixed size, the last one may be shorter.
    Result<void> encodeWhole(const WritePacket& write, bool last) {
        const int size = m_encoder->frame_size > 0 ? m_encoder->frame_size : 1024;
        while (av_audio_fifo_size(m_fifo.get()) >= size || (last && av_audio_fifo_size(m_fifo.get()) > 0)) {
            av::FramePtr frame(av_frame_alloc());
            frame->nb_samples = std::min(size, av_audio_fifo_size(m_fifo.get()));
            frame->format = m_encoder->sample_fmt;
            frame->sample_rate = m_encoder->sample_rate;
            if (av_channel_layout_copy(&frame->ch_layout, &m_encoder->ch_layout) < 0 ||
                av_frame_get_buffer(frame.get(), 0) < 0)
                return codecError(QCoreApplication::translate("TrimExport", "Could not convert the sound"),
                                  AVERROR(ENOMEM));
            av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(frame->data), frame->nb_samples);
            frame->pts = m_samplesEncoded;
            m_samplesEncoded += frame->nb_samples;
            if (auto encoded = encode(frame.get(), write); !encoded)
                return encoded;
        }
        return {};
    }

    av::SwrContextPtr m_resampler;
    AudioFifoPtr m_fifo;
    AVRational m_inputTimeBase{1, 1};
    int64_t m_samplesEncoded = 0;
};

} // namespace

Result<std::unique_ptr<StreamTranscoder>> StreamTranscoder::create(AVStream* input, AVFormatContext* output,
                                                                   int64_t originUs, double start,
                                                                   double end) {
    const int64_t cutStart =
        av_rescale_q(originUs + std::llround(start * AV_TIME_BASE), AV_TIME_BASE_Q, input->time_base);
    const int64_t cutEnd =
        av_rescale_q(originUs + std::llround(end * AV_TIME_BASE), AV_TIME_BASE_Q, input->time_base);
    if (input->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        auto transcoder = std::make_unique<VideoTranscoder>();
        transcoder->setRange(cutStart, cutEnd);
        if (auto opened = transcoder->open(input, output); !opened)
            return opened.error();
        return std::unique_ptr<StreamTranscoder>(std::move(transcoder));
    }
    if (input->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
        auto transcoder = std::make_unique<AudioTranscoder>();
        transcoder->setRange(cutStart, cutEnd);
        if (auto opened = transcoder->open(input, output); !opened)
            return opened.error();
        return std::unique_ptr<StreamTranscoder>(std::move(transcoder));
    }
    return trimSystemError(
        EINVAL, QCoreApplication::translate("TrimExport", "only video and sound can be re-encoded"));
}

} // namespace velarix
