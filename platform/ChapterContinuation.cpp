#include "platform/ChapterContinuation.h"

#include "platform/MediaStreams.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace velarix {

namespace {

bool isVideo(const AVStream* stream) {
    return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
}

int64_t startOf(const AVStream* stream) {
    return stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
}

// The stream's presentation end in this chapter, by its header; the container's when it does not say.
int64_t headerEnd(const AVFormatContext* chapter, const AVStream* stream) {
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return startOf(stream) + stream->duration;
    const double seconds = containerDuration(chapter);
    return startOf(stream) + streamTimestamp(chapter, stream, seconds > 0 ? seconds : 0);
}

} // namespace

ChapterContinuation::ChapterContinuation(unsigned streamCount)
    : m_tracks(streamCount) {}

void ChapterContinuation::beginChapter(const AVFormatContext* chapter) {
    ++m_chapter;
    const unsigned count = std::min<unsigned>(chapter->nb_streams, unsigned(m_tracks.size()));
    for (unsigned i = 0; i < count; ++i) {
        Track& track = m_tracks[i];
        const AVStream* stream = chapter->streams[i];
        const bool continues = m_chapter > 0 && track.end != AV_NOPTS_VALUE;
        if (continues && isVideo(stream))
            track.offset = track.end - startOf(stream);
        track.awaitingStart = continues && !isVideo(stream);
    }
}

void ChapterContinuation::enterByHeader(const AVFormatContext* chapter) {
    ++m_chapter;
    const unsigned count = std::min<unsigned>(chapter->nb_streams, unsigned(m_tracks.size()));
    for (unsigned i = 0; i < count; ++i) {
        Track& track = m_tracks[i];
        const AVStream* stream = chapter->streams[i];
        // Sound and data go on from their first packet at or after the start: at the start, where
        // the header says the stream begins before it.
        if (m_chapter > 0 && track.end != AV_NOPTS_VALUE)
            track.offset =
                track.end - (isVideo(stream) ? startOf(stream) : std::max<int64_t>(0, startOf(stream)));
        track.awaitingStart = false;
        const int64_t end = track.offset + headerEnd(chapter, stream);
        track.end = track.end == AV_NOPTS_VALUE ? end : std::max(track.end, end);
    }
}

Result<bool> ChapterContinuation::place(AVPacket* packet, const AVStream* stream,
                                        const QString& chapterPath) {
    Track& track = m_tracks[size_t(packet->stream_index)];
    if (m_chapter > 0 && !isVideo(stream) && packet->pts != AV_NOPTS_VALUE) {
        if (packet->pts < 0)
            return false;
        if (track.awaitingStart) {
            track.offset = track.end - packet->pts;
            track.awaitingStart = false;
        }
    }
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts += track.offset;
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts += track.offset;
    if (packet->pts != AV_NOPTS_VALUE) {
        const int64_t end = packet->pts + std::max<int64_t>(packet->duration, 0);
        track.end = track.end == AV_NOPTS_VALUE ? end : std::max(track.end, end);
    }
    if (packet->dts != AV_NOPTS_VALUE && track.lastDts != AV_NOPTS_VALUE && packet->dts <= track.lastDts)
        return Error::make(QStringLiteral("ChapterJoin"), 5,
                           QStringLiteral("The chapter %1 does not continue the previous one (its "
                                          "timestamps go back); it cannot be joined.")
                               .arg(QFileInfo(chapterPath).fileName()));
    if (packet->dts != AV_NOPTS_VALUE)
        track.lastDts = packet->dts;
    return true;
}

Result<std::vector<double>> chapterStartTimes(const QStringList& chapters, const CancelToken* cancel) {
    std::vector<double> starts;
    std::optional<ChapterContinuation> timeline;
    double origin = 0;
    for (const QString& path : chapters) {
        auto input = openVideoAsset(path, OpenOptions{cancel, 0, false});
        if (!input)
            return input.error();
        const AVFormatContext* chapter = input->get();
        const int video = primaryVideoStream(chapter);
        if (video < 0)
            return Error::make(QStringLiteral("Media"), 1,
                               QStringLiteral("%1 has no video.").arg(QFileInfo(path).fileName()));
        const AVStream* stream = chapter->streams[video];
        if (!timeline) {
            timeline.emplace(chapter->nb_streams);
            origin = chapter->start_time != AV_NOPTS_VALUE ? double(chapter->start_time) / AV_TIME_BASE : 0;
        }
        const int64_t before = timeline->end(unsigned(video));
        starts.push_back(before == AV_NOPTS_VALUE ? 0 : double(before) * av_q2d(stream->time_base) - origin);
        timeline->enterByHeader(chapter);
        if (chapters.size() == qsizetype(starts.size()))
            starts.push_back(double(timeline->end(unsigned(video))) * av_q2d(stream->time_base) - origin);
    }
    return starts;
}

} // namespace velarix
