#include "media/ChapterContinuation.h"

#include "media/MediaStreams.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace velarix {

namespace {

bool isVideo(const AVStream* stream) {
    return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
}

// Telemetry and timecode: their samples' durations are stated, not counted as sound's are.
bool isData(const AVStream* stream) {
    return stream->codecpar->codec_type == AVMEDIA_TYPE_DATA;
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

// Where the chapter's picture ends by its header (the video's stated duration, else the movie's), in
// AV_TIME_BASE on the chapter's own clock; INT64_MAX without a picture.
int64_t pictureEndUs(const AVFormatContext* chapter) {
    const int video = primaryVideoStream(chapter);
    if (video < 0)
        return INT64_MAX;
    const AVStream* stream = chapter->streams[video];
    return av_rescale_q(headerEnd(chapter, stream), stream->time_base, AV_TIME_BASE_Q);
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
    enter(chapter);
}

void ChapterContinuation::enter(const AVFormatContext* chapter) {
    m_chapterEndUs = INT64_MAX;
    const int video = primaryVideoStream(chapter);
    const int64_t end = pictureEndUs(chapter);
    if (video < 0 || unsigned(video) >= m_tracks.size() || end == INT64_MAX)
        return;
    const AVStream* stream = chapter->streams[video];
    m_chapterEndUs = end + av_rescale_q(m_tracks[size_t(video)].offset, stream->time_base, AV_TIME_BASE_Q);
}

int64_t ChapterContinuation::chapterEnd(const AVStream* stream) const {
    return m_chapterEndUs == INT64_MAX ? INT64_MAX
                                       : av_rescale_q(m_chapterEndUs, AV_TIME_BASE_Q, stream->time_base);
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
    }
    enter(chapter);
    for (unsigned i = 0; i < count; ++i) {
        Track& track = m_tracks[i];
        const AVStream* stream = chapter->streams[i];
        int64_t end = track.offset + headerEnd(chapter, stream);
        if (isData(stream))
            end = std::min(end, chapterEnd(stream));
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
    if (isData(stream) && packet->pts != AV_NOPTS_VALUE && packet->duration > 0) {
        const int64_t end = chapterEnd(stream);
        if (packet->pts < end && packet->pts + packet->duration > end)
            packet->duration = end - packet->pts;
    }
    if (packet->pts != AV_NOPTS_VALUE) {
        const int64_t end = packet->pts + std::max<int64_t>(packet->duration, 0);
        track.end = track.end == AV_NOPTS_VALUE ? end : std::max(track.end, end);
    }
    if (packet->dts != AV_NOPTS_VALUE && track.lastDts != AV_NOPTS_VALUE && packet->dts <= track.lastDts)
        return Error::make(QStringLiteral("ChapterJoin"), 5,
                           QCoreApplication::translate(
                               "ChapterJoin", "The chapter %1 does not continue the previous one (its "
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
                               QCoreApplication::translate("ChapterJoin", "%1 has no video.")
                                   .arg(QFileInfo(path).fileName()));
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
