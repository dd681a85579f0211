#include "media/MediaStreams.h"

#include <QCoreApplication>

#include <cmath>

namespace velarix {

bool streamsNeedProbing(const AVFormatContext* context) {
    if (context->ctx_flags & AVFMTCTX_NOHEADER)
        return true;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodecParameters* parameters = context->streams[i]->codecpar;
        if ((parameters->codec_type == AVMEDIA_TYPE_AUDIO || parameters->codec_type == AVMEDIA_TYPE_VIDEO) &&
            parameters->codec_id == AV_CODEC_ID_NONE)
            return true;
    }
    return false;
}

namespace {

double startSeconds(const AVFormatContext* context) {
    return context->start_time != AV_NOPTS_VALUE ? double(context->start_time) / AV_TIME_BASE : 0.0;
}

} // namespace

QList<int> audioStreams(const AVFormatContext* context) {
    QList<int> streams;
    for (unsigned i = 0; i < context->nb_streams; ++i)
        if (context->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            streams.append(int(i));
    return streams;
}

int primaryVideoStream(const AVFormatContext* context) {
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return int(i);
    }
    return -1;
}

double containerDuration(const AVFormatContext* context) {
    double longest = 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
            longest = std::max(longest, double(stream->duration) * av_q2d(stream->time_base));
    }
    if (context->duration == AV_NOPTS_VALUE || context->duration <= 0)
        return longest;
    const double header = double(context->duration) / AV_TIME_BASE;
    // A header claiming far more than any stream holds (a damaged or hostile file) is not believed:
    // ranges, estimates and clocks would follow it into the absurd.
    if (longest > 0 && header > 2 * longest + 10)
        return longest;
    return header;
}

Result<void> ensureStreamsKnown(MediaInput& input, const QString& path, const CancelToken* cancel) {
    if (!streamsNeedProbing(input.get()))
        return {};
    const int status = avformat_find_stream_info(input.get(), nullptr);
    if (isCancelled(cancel))
        return Error::cancellation();
    if (status < 0)
        return Error::make(QStringLiteral("Media"), status,
                           QCoreApplication::translate("Media", "%1 could not be read as a video: %2")
                               .arg(path, av::reasonText(status)),
                           avErrorKind(status));
    return {};
}

double streamSeconds(const AVFormatContext* context, const AVStream* stream, int64_t timestamp) {
    return double(timestamp) * av_q2d(stream->time_base) - startSeconds(context);
}

int64_t streamTimestamp(const AVFormatContext* context, const AVStream* stream, double seconds) {
    return std::llround((seconds + startSeconds(context)) / av_q2d(stream->time_base));
}

} // namespace velarix
