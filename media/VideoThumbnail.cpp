#include "media/VideoThumbnail.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("Thumbnail");
constexpr int kNoThumbnail = 1; // other codes are libav's

Error failure(const QString& path, const QString& why) {
    return Error::make(kDomain, kNoThumbnail,
                       QCoreApplication::translate("Media", "No thumbnail for %1: %2").arg(path, why));
}

// The first decodable frame from the current read position.
Result<av::FramePtr> decodeOneFrame(AVFormatContext* format, AVCodecContext* codec, int streamIndex,
                                    const CancelToken* cancel) {
    av::PacketPtr packet(av_packet_alloc());
    av::FramePtr frame(av_frame_alloc());
    if (!packet || !frame)
        return Error::make(kDomain, AVERROR(ENOMEM), QCoreApplication::translate("Media", "Out of memory."));
    bool draining = false;
    // A camera file's first GOP decodes within a few dozen packets; the cap keeps a broken file from
    // being read to its end.
    for (int packets = 0; packets < 2000; ++packets) {
        if (isCancelled(cancel))
            return Error::cancellation();
        if (!draining) {
            const int read = av_read_frame(format, packet.get());
            if (read < 0) {
                draining = true;
                avcodec_send_packet(codec, nullptr);
            } else {
                if (packet->stream_index == streamIndex)
                    avcodec_send_packet(codec, packet.get());
                av_packet_unref(packet.get());
            }
        }
        const int received = avcodec_receive_frame(codec, frame.get());
        if (received == 0)
            return frame;
        if (received == AVERROR_EOF || (draining && received != AVERROR(EAGAIN)))
            break;
        if (received != AVERROR(EAGAIN))
            return Error::make(kDomain, received, av::errorText(received));
    }
    return Error::make(kDomain, AVERROR_EOF,
                       QCoreApplication::translate("Media", "the video has no decodable frame"));
}

} // namespace

Result<QImage> makeVideoThumbnail(const QString& path, QSize maxSize, const CancelToken* cancel) {
    if (maxSize.isEmpty())
        return failure(path, QCoreApplication::translate("Media", "the requested size is empty"));
    auto input = openVideoAsset(path, OpenOptions{cancel, 0, true});
    if (!input)
        return input.error();
    AVFormatContext* format = input->get();

    const AVCodec* decoder = nullptr;
    const int streamIndex = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (streamIndex < 0 || !decoder)
        return failure(path,
                       QCoreApplication::translate("Media", "it has no video stream that can be decoded"));
    AVStream* stream = format->streams[streamIndex];
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    av::CodecContextPtr codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0)
        return failure(path, QCoreApplication::translate("Media", "the decoder could not be set up"));
    // One frame is wanted: frame threading would only add latency and memory.
    codec->thread_count = 1;
    if (const int status = avcodec_open2(codec.get(), decoder, nullptr); status < 0)
        return failure(path, av::errorText(status));

    const double duration = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0.0;
    const double at = std::min(1.0, duration / 10.0);
    if (at > 0) {
        const int64_t target = av_rescale_q(int64_t(at * AV_TIME_BASE), AV_TIME_BASE_Q, stream->time_base);
        const int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
        // A failed seek leaves the position at the start, which is still a fine frame.
        av_seek_frame(format, streamIndex, start + target, AVSEEK_FLAG_BACKWARD);
    }

    auto frame = decodeOneFrame(format, codec.get(), streamIndex, cancel);
    if (!frame)
        return frame.error().cancelled() ? frame.error() : failure(path, frame.error().message);
    const AVFrame* picture = frame->get();
    if (picture->width <= 0 || picture->height <= 0)
        return failure(path, QCoreApplication::translate("Media", "the frame has no size"));

    // Fit the display size (sample aspect applied) into the box.
    AVRational sar = av_guess_sample_aspect_ratio(format, stream, frame->get());
    const double pixelAspect = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
    const QSizeF display(picture->width * pixelAspect, picture->height);
    const QSize fitted =
        display.scaled(QSizeF(maxSize), Qt::KeepAspectRatio).toSize().expandedTo(QSize(1, 1));

    av::SwsContextPtr scaler(sws_getContext(picture->width, picture->height, AVPixelFormat(picture->format),
                                            fitted.width(), fitted.height(), AV_PIX_FMT_RGBA, SWS_AREA,
                                            nullptr, nullptr, nullptr));
    if (!scaler)
        return failure(path,
                       QCoreApplication::translate("Media", "the frame's pixel format cannot be converted"));
    QImage image(fitted, QImage::Format_RGBA8888);
    if (image.isNull())
        return Error::make(kDomain, AVERROR(ENOMEM), QCoreApplication::translate("Media", "Out of memory."));
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler.get(), picture->data, picture->linesize, 0, picture->height, planes, strides) <= 0)
        return failure(path, QCoreApplication::translate("Media", "the frame could not be scaled"));
    return image;
}

} // namespace velarix
