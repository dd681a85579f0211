#include "media/StreamCopy.h"

#include <QFileInfo>

#include <cstring>

namespace velarix {

namespace {

// The source's codec tag (`hvc1` rather than the muxer's `hev1`, say) where the muxer's table pairs
// it with the codec; players on phones and TVs refuse some of the alternatives.
uint32_t keptCodecTag(const AVOutputFormat* format, const AVCodecParameters* parameters) {
    if (!parameters->codec_tag || !format->codec_tag)
        return 0;
    return av_codec_get_id(format->codec_tag, parameters->codec_tag) == parameters->codec_id
               ? parameters->codec_tag
               : 0;
}

} // namespace

const char* streamCopyFormatName(const QString& sourcePath) {
    return QFileInfo(sourcePath).suffix().compare(QLatin1String("mov"), Qt::CaseInsensitive) == 0 ? "mov"
                                                                                                  : "mp4";
}

bool isQuickTimeOutput(const AVFormatContext* output) {
    return std::strcmp(output->oformat->name, "mov") == 0;
}

bool carriedUnderOwnTag(const AVFormatContext* output, const AVCodecParameters* parameters) {
    return isQuickTimeOutput(output) && parameters->codec_type == AVMEDIA_TYPE_DATA &&
           parameters->codec_id == AV_CODEC_ID_BIN_DATA && parameters->codec_tag != 0;
}

AVStream* addCopiedStream(AVFormatContext* output, const AVStream* input) {
    AVStream* stream = avformat_new_stream(output, nullptr);
    if (!stream || avcodec_parameters_copy(stream->codecpar, input->codecpar) < 0)
        return nullptr;
    stream->codecpar->codec_tag = carriedUnderOwnTag(output, input->codecpar)
                                      ? input->codecpar->codec_tag
                                      : keptCodecTag(output->oformat, input->codecpar);
    stream->time_base = input->time_base;
    return stream;
}

void copyStreamProperties(const AVStream* input, AVStream* output) {
    av_dict_copy(&output->metadata, input->metadata, 0);
    output->disposition = input->disposition;
    output->avg_frame_rate = input->avg_frame_rate;
    output->r_frame_rate = input->r_frame_rate;
    output->sample_aspect_ratio = input->sample_aspect_ratio;
    for (int i = 0; i < input->nb_side_data; ++i) {
        const AVPacketSideData& data = input->side_data[i];
        if (uint8_t* copy = av_stream_new_side_data(output, data.type, data.size))
            memcpy(copy, data.data, data.size);
    }
}

bool isTimecodeTrack(const AVCodecParameters* parameters) {
    return parameters->codec_type == AVMEDIA_TYPE_DATA && parameters->codec_id == AV_CODEC_ID_NONE &&
           parameters->codec_tag == MKTAG('t', 'm', 'c', 'd');
}

} // namespace velarix
