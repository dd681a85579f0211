#include "demo/SyntheticJump.h"

#include "media/AvPtr.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <random>
#include <vector>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("SyntheticJump");

Error avError(const QString& what, int code) {
    return Error::make(kDomain, code, QStringLiteral("%1: %2").arg(what, av::errorText(code)));
}

// Loudness of the wind for the whole clip: quiet cabin, loud freefall, quiet canopy.
double windLevel(const SyntheticJump& jump, double t) {
    if (jump.landing)
        return 0.05;
    const double cabin = 0.035;
    const double freefall = 0.55;
    const double canopy = 0.05;
    if (t < jump.exitTime)
        return cabin;
    if (t < jump.openingTime) {
        const double ramp = std::min(1.0, (t - std::max(0.0, jump.exitTime)) / 1.5);
        return jump.exitTime < 0 ? freefall : cabin + (freefall - cabin) * ramp;
    }
    const double decay = std::min(1.0, (t - jump.openingTime) / 1.2);
    return freefall + (canopy - freefall) * decay;
}

void drawSky(QPainter& p, const QRectF& r, double horizonY, double tilt, const QColor& ground) {
    p.save();
    p.translate(r.center());
    p.rotate(tilt);
    p.translate(-r.center());
    const QRectF big = r.adjusted(-r.width(), -r.height(), r.width(), r.height());
    QLinearGradient sky(0, big.top(), 0, horizonY);
    sky.setColorAt(0, QColor(18, 82, 180));
    sky.setColorAt(1, QColor(150, 200, 240));
    p.fillRect(QRectF(big.left(), big.top(), big.width(), horizonY - big.top()), sky);
    QLinearGradient earth(0, horizonY, 0, big.bottom());
    earth.setColorAt(0, ground.lighter(130));
    earth.setColorAt(1, ground.darker(140));
    p.fillRect(QRectF(big.left(), horizonY, big.width(), big.bottom() - horizonY), earth);
    p.restore();
}

// One picture of the jump at time t; `lens` shifts the view for a second camera.
void drawFrame(QImage& image, const SyntheticJump& jump, double t, int lens, std::mt19937& random) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = image.rect();
    const double w = r.width();
    const double h = r.height();
    std::normal_distribution<double> shake(0, 1);
    const QColor fields(70, 110, 50);

    if (jump.landing) {
        // Under canopy, the ground coming closer.
        const double progress = t / std::max(1.0, jump.duration);
        drawSky(p, r, h * (0.35 - 0.25 * progress), 2 * std::sin(t * 0.4), fields);
        p.setBrush(QColor(230, 120, 40));
        p.setPen(Qt::NoPen);
        p.drawChord(QRectF(w * 0.1, -h * 0.35, w * 0.8, h * 0.6), 0, 180 * 16);
        return;
    }
    if (t < jump.exitTime) {
        // The cabin: dark walls, the open door showing the sky.
        p.fillRect(r, QColor(38, 40, 44));
        const double jitter = shake(random) * 1.5;
        QRectF door(w * (0.55 - 0.1 * lens) + jitter, h * 0.18 + jitter, w * 0.3, h * 0.6);
        QLinearGradient outside(0, door.top(), 0, door.bottom());
        outside.setColorAt(0, QColor(120, 180, 235));
        outside.setColorAt(1, QColor(200, 225, 245));
        p.fillRect(door, outside);
        p.fillRect(QRectF(w * 0.05, h * 0.7, w * 0.4, h * 0.3), QColor(60, 62, 68));
        return;
    }
    const double sinceOpening = t - jump.openingTime;
    if (sinceOpening < 0) {
        // Freefall: the horizon turns slowly, clouds stream past.
        const double tilt = 25 * std::sin(t * 0.35 + lens * 1.7) + shake(random) * 1.5;
        drawSky(p, r, h * 0.45 + 10 * std::sin(t * 0.8), tilt, fields);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 170));
        for (int i = 0; i < 4; ++i) {
            const double y = std::fmod(h * 1.2 - (t * 90 + i * h * 0.37), h * 1.4) - h * 0.2;
            p.drawEllipse(QPointF(w * (0.15 + 0.23 * i), y), w * 0.08, h * 0.05);
        }
        return;
    }
    // The opening: a hard jolt of the picture, then a calm view up at the canopy.
    const double jolt = sinceOpening < 1.0 ? (1.0 - sinceOpening) : 0.0;
    p.translate(shake(random) * 40 * jolt, -h * 0.4 * jolt);
    p.rotate(30 * jolt * std::sin(sinceOpening * 20));
    drawSky(p, r.adjusted(-w, -h, w, h), h * 0.8, 3 * std::sin(t * 0.3), fields);
    p.setPen(QPen(QColor(240, 240, 240), 2));
    p.setBrush(QColor(230, 120, 40));
    QPainterPath canopy;
    canopy.moveTo(w * 0.12, h * 0.32);
    canopy.quadTo(w * 0.5, -h * 0.15, w * 0.88, h * 0.32);
    canopy.quadTo(w * 0.5, h * 0.18, w * 0.12, h * 0.32);
    p.drawPath(canopy);
    p.drawLine(QPointF(w * 0.14, h * 0.32), QPointF(w * 0.45, h));
    p.drawLine(QPointF(w * 0.86, h * 0.32), QPointF(w * 0.55, h));
}

struct Encoder {
    AVStream* stream = nullptr;
    av::CodecContextPtr codec;
    av::FramePtr frame;
    int64_t nextPts = 0;
};

Result<void> drain(AVFormatContext* output, Encoder& encoder, bool flush) {
    if (flush) {
        if (const int status = avcodec_send_frame(encoder.codec.get(), nullptr);
            status < 0 && status != AVERROR_EOF)
            return avError(QStringLiteral("Could not finish encoding"), status);
    }
    av::PacketPtr packet(av_packet_alloc());
    while (true) {
        const int status = avcodec_receive_packet(encoder.codec.get(), packet.get());
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
            return {};
        if (status < 0)
            return avError(QStringLiteral("Could not encode"), status);
        av_packet_rescale_ts(packet.get(), encoder.codec->time_base, encoder.stream->time_base);
        packet->stream_index = encoder.stream->index;
        if (const int written = av_interleaved_write_frame(output, packet.get()); written < 0)
            return avError(QStringLiteral("Could not write the video"), written);
    }
}

Result<void> send(AVFormatContext* output, Encoder& encoder) {
    if (const int status = avcodec_send_frame(encoder.codec.get(), encoder.frame.get()); status < 0)
        return avError(QStringLiteral("Could not encode"), status);
    return drain(output, encoder, false);
}

// A stream of `output` with a context for `codec`, to be set up and then opened by openEncoder.
Result<Encoder> newEncoder(AVFormatContext* output, const AVCodec* codec, const QString& kind) {
    if (!codec)
        return Error::make(kDomain, AVERROR_ENCODER_NOT_FOUND,
                           QStringLiteral("No %1 encoder is available.").arg(kind));
    Encoder encoder;
    encoder.stream = avformat_new_stream(output, nullptr);
    encoder.codec.reset(avcodec_alloc_context3(codec));
    if (!encoder.stream || !encoder.codec)
        return avError(QStringLiteral("Out of memory"), AVERROR(ENOMEM));
    if (output->oformat->flags & AVFMT_GLOBALHEADER)
        encoder.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return encoder;
}

// Opens the set-up codec, describes the stream by it and makes the frame its input is drawn into.
Result<void> openEncoder(Encoder& encoder, av::Dictionary& options) {
    AVCodecContext* c = encoder.codec.get();
    if (const int status = avcodec_open2(c, c->codec, options.address()); status < 0)
        return avError(QStringLiteral("Could not start the %1 encoder")
                           .arg(QString::fromLatin1(av_get_media_type_string(c->codec_type))),
                       status);
    avcodec_parameters_from_context(encoder.stream->codecpar, c);
    encoder.stream->time_base = c->time_base;
    encoder.frame.reset(av_frame_alloc());
    AVFrame* frame = encoder.frame.get();
    if (c->codec_type == AVMEDIA_TYPE_VIDEO) {
        frame->format = c->pix_fmt;
        frame->width = c->width;
        frame->height = c->height;
    } else {
        frame->format = c->sample_fmt;
        frame->sample_rate = c->sample_rate;
        frame->nb_samples = c->frame_size;
        av_channel_layout_copy(&frame->ch_layout, &c->ch_layout);
    }
    if (const int allocated = av_frame_get_buffer(frame, 0); allocated < 0)
        return avError(QStringLiteral("Out of memory"), allocated);
    return {};
}

Result<Encoder> addVideo(AVFormatContext* output, const SyntheticJump& jump) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    auto encoder = newEncoder(output, codec, QStringLiteral("video"));
    if (!encoder)
        return encoder;
    AVCodecContext* c = encoder->codec.get();
    c->width = jump.width;
    c->height = jump.height;
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->time_base = AVRational{1, jump.framesPerSecond};
    c->framerate = AVRational{jump.framesPerSecond, 1};
    c->gop_size = jump.framesPerSecond; // a key frame every second, as action cameras do
    c->max_b_frames = 0;
    av::Dictionary options;
    if (QByteArray(codec->name) == "libx264") {
        options.set("preset", "veryfast");
        options.set("crf", "26");
    } else {
        c->bit_rate = 1'500'000;
    }
    if (auto opened = openEncoder(*encoder, options); !opened)
        return opened.error();
    return encoder;
}

Result<Encoder> addAudio(AVFormatContext* output, int sampleRate) {
    auto encoder = newEncoder(output, avcodec_find_encoder(AV_CODEC_ID_AAC), QStringLiteral("AAC"));
    if (!encoder)
        return encoder;
    AVCodecContext* c = encoder->codec.get();
    c->sample_fmt = AV_SAMPLE_FMT_FLTP;
    c->sample_rate = sampleRate;
    av_channel_layout_default(&c->ch_layout, 1);
    c->bit_rate = 96'000;
    c->time_base = AVRational{1, sampleRate};
    av::Dictionary options;
    if (auto opened = openEncoder(*encoder, options); !opened)
        return opened.error();
    return encoder;
}

// The output file's I/O is closed after the context that writes to it is freed.
struct OutputFile {
    av::FileIoPtr io;
    av::OutputContextPtr context;
};

// One sample of the soundtrack; `lowPass` is the wind's filter state, `random` its noise.
float soundAt(const SyntheticJump& jump, double t, float& lowPass, std::mt19937& random) {
    std::uniform_real_distribution<float> white(-1.f, 1.f);
    // Wind is a rumble: white noise through a one-pole low-pass filter.
    lowPass += 0.25f * (white(random) - lowPass);
    switch (jump.audio) {
    case JumpAudio::Silent:
    case JumpAudio::None:
        return 0.f;
    case JumpAudio::Muffled:
        // The case lets a trace of the wind through, under the camera's own steady hiss.
        return float(0.02 * windLevel(jump, t) * 2.2 * lowPass + 0.03 * white(random));
    case JumpAudio::Music: {
        // A chord with a beat, at the same loudness from the first second to the last.
        const double chord =
            std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 277.2 * t) + std::sin(2 * M_PI * 329.6 * t);
        const double beat = 0.75 + 0.25 * std::cos(2 * M_PI * 2 * t);
        return float(0.12 * chord * beat);
    }
    case JumpAudio::Wind:
        break;
    }
    const double hum = 0.3 * std::sin(2 * M_PI * 110 * t);
    return float(windLevel(jump, t) * (2.2 * lowPass + (t < jump.exitTime ? hum : 0.0)));
}

} // namespace

Result<void> writeSyntheticJump(const QString& path, const SyntheticJump& jump, const CancelToken* cancel) {
    OutputFile file;
    AVFormatContext* raw = nullptr;
    const QByteArray encodedPath = QFile::encodeName(path);
    if (const int status = avformat_alloc_output_context2(&raw, av_guess_format("mp4", nullptr, nullptr),
                                                          nullptr, encodedPath.constData());
        status < 0)
        return avError(QStringLiteral("Could not create %1").arg(path), status);
    file.context.reset(raw);
    if (jump.creationTime.isValid())
        av_dict_set(&raw->metadata, "creation_time",
                    jump.creationTime.toUTC().toString(Qt::ISODateWithMs).toUtf8().constData(), 0);

    std::vector<Encoder> videos;
    for (int i = 0; i < std::max(1, jump.videoStreams); ++i) {
        auto video = addVideo(raw, jump);
        if (!video)
            return video.error();
        videos.push_back(std::move(*video));
    }
    std::optional<Encoder> audio;
    if (jump.audio != JumpAudio::None) {
        auto added = addAudio(raw, jump.audioSampleRate);
        if (!added)
            return added.error();
        audio = std::move(*added);
    }
    std::vector<QByteArray> telemetry;
    AVStream* telemetryStream = nullptr;
    if (jump.telemetry || !jump.telemetryPayloads.empty()) {
        telemetry = jump.telemetryPayloads;
        if (telemetry.empty()) {
            JumpTelemetry sensors = *jump.telemetry;
            sensors.duration = jump.duration;
            sensors.exitTime = jump.exitTime;
            sensors.openingTime = jump.openingTime;
            sensors.seed = jump.seed;
            telemetry = synthesiseTelemetry(sensors);
        }
        telemetryStream = addTelemetryStream(raw);
        if (!telemetryStream)
            return Error::make(kDomain, AVERROR(ENOMEM), QStringLiteral("Out of memory"));
    }

    if (const int status = avio_open(&raw->pb, encodedPath.constData(), AVIO_FLAG_WRITE); status < 0)
        return avError(QStringLiteral("Could not create %1").arg(path), status);
    file.io.reset(raw->pb);
    if (const int status = avformat_write_header(raw, nullptr); status < 0)
        return avError(QStringLiteral("Could not write %1").arg(path), status);

    QImage image(jump.width, jump.height, QImage::Format_RGB32);
    av::SwsContextPtr scaler(sws_getContext(jump.width, jump.height, AV_PIX_FMT_BGRA, jump.width, jump.height,
                                            AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
    std::mt19937 pictureRandom(jump.seed);
    std::mt19937 soundRandom(jump.seed * 7919u + 1);
    float lowPass = 0;

    const int sampleRate = jump.audioSampleRate;
    const int64_t totalFrames = int64_t(jump.duration * jump.framesPerSecond);
    const int64_t totalSamples = audio ? int64_t(jump.duration * sampleRate) : 0;
    Encoder silence; // stands in for the missing audio track: it never has samples left
    Encoder& sound = audio ? *audio : silence;
    size_t nextPayload = 0;
    while (true) {
        if (isCancelled(cancel))
            return Error::cancellation();
        const double videoTime = double(videos.front().nextPts) / jump.framesPerSecond;
        const double audioTime = double(sound.nextPts) / sampleRate;
        const bool videoLeft = videos.front().nextPts < totalFrames;
        const bool audioLeft = sound.nextPts < totalSamples;
        // Telemetry goes in once a second, ahead of the pictures and sound of that second.
        const double mediaTime =
            std::min(videoLeft ? videoTime : jump.duration, audioLeft ? audioTime : jump.duration);
        while (nextPayload < telemetry.size() && double(nextPayload) <= mediaTime) {
            const double start = double(nextPayload);
            const double length = std::min(1.0, jump.duration - start);
            if (auto written =
                    writeTelemetryPayload(raw, telemetryStream, telemetry[nextPayload], start, length);
                !written)
                return written;
            ++nextPayload;
        }
        if (!videoLeft && !audioLeft)
            break;
        if (videoLeft && (!audioLeft || videoTime <= audioTime)) {
            for (int lens = 0; lens < int(videos.size()); ++lens) {
                Encoder& video = videos[size_t(lens)];
                drawFrame(image, jump, videoTime, lens, pictureRandom);
                if (const int writable = av_frame_make_writable(video.frame.get()); writable < 0)
                    return avError(QStringLiteral("Out of memory"), writable);
                const uint8_t* source[] = {image.constBits()};
                const int stride[] = {int(image.bytesPerLine())};
                sws_scale(scaler.get(), source, stride, 0, jump.height, video.frame->data,
                          video.frame->linesize);
                video.frame->pts = video.nextPts++;
                if (auto sent = send(raw, video); !sent)
                    return sent;
            }
        } else {
            if (const int writable = av_frame_make_writable(sound.frame.get()); writable < 0)
                return avError(QStringLiteral("Out of memory"), writable);
            auto* samples = reinterpret_cast<float*>(sound.frame->data[0]);
            for (int i = 0; i < sound.frame->nb_samples; ++i)
                samples[i] = soundAt(jump, double(sound.nextPts + i) / sampleRate, lowPass, soundRandom);
            sound.frame->pts = sound.nextPts;
            sound.nextPts += sound.frame->nb_samples;
            if (auto sent = send(raw, sound); !sent)
                return sent;
        }
    }
    for (auto& video : videos) {
        if (auto drained = drain(raw, video, true); !drained)
            return drained;
    }
    if (audio) {
        if (auto drained = drain(raw, *audio, true); !drained)
            return drained;
    }
    if (const int status = av_write_trailer(raw); status < 0)
        return avError(QStringLiteral("Could not finish %1").arg(path), status);
    return {};
}

} // namespace velarix
