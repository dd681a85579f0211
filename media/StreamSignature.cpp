#include "media/StreamSignature.h"

#include "media/MediaStreams.h"

#include <QCryptographicHash>
#include <QStringList>

namespace velarix {

Result<QString> streamSignature(const QString& path) {
    // The header is enough for MP4 files; other containers probe a few packets.
    auto input = openVideoAsset(path, OpenOptions{nullptr, 0, false});
    if (!input)
        return input.error();
    if (auto known = ensureStreamsKnown(*input, path, nullptr); !known)
        return known.error();
    return streamSignature(input->get());
}

QString streamSignature(const AVFormatContext* context) {
    QStringList streams;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVCodecParameters* p = stream->codecpar;
        const char* type = av_get_media_type_string(p->codec_type);
        QString text = QStringLiteral("%1 %2").arg(QLatin1String(type ? type : "unknown"),
                                                   QLatin1String(avcodec_get_name(p->codec_id)));
        if (p->codec_tag) {
            char tag[AV_FOURCC_MAX_STRING_SIZE] = {};
            av_fourcc_make_string(tag, p->codec_tag);
            text += QStringLiteral(" [%1]").arg(QLatin1String(tag));
        }
        if (p->codec_type == AVMEDIA_TYPE_VIDEO)
            text += QStringLiteral(" %1x%2 format %3 profile %4 level %5")
                        .arg(p->width)
                        .arg(p->height)
                        .arg(p->format)
                        .arg(p->profile)
                        .arg(p->level);
        else if (p->codec_type == AVMEDIA_TYPE_AUDIO)
            text += QStringLiteral(" %1 Hz %2 channels format %3 profile %4")
                        .arg(p->sample_rate)
                        .arg(p->ch_layout.nb_channels)
                        .arg(p->format)
                        .arg(p->profile);
        text += QStringLiteral(" time base %1/%2").arg(stream->time_base.num).arg(stream->time_base.den);
        if (p->extradata_size > 0)
            text += QStringLiteral(" setup %1")
                        .arg(QString::fromLatin1(
                            QCryptographicHash::hash(QByteArrayView(p->extradata, p->extradata_size),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(12)));
        streams.append(text);
    }
    return streams.join(QStringLiteral("; "));
}

} // namespace velarix
