#include "media/ChapterReader.h"

#include "media/MediaStreams.h"
#include "media/StreamSignature.h"
#include "media/TrimErrors.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velarix {

namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

ChapterReader::ChapterReader(AVFormatContext* first, QStringList laterChapters, const CancelToken* cancel)
    : m_first(first)
    , m_chapters(QStringList{QString::fromUtf8(first->url)} + laterChapters)
    , m_cancel(cancel)
    , m_timeline(first->nb_streams)
    , m_current(first)
    , m_video(primaryVideoStream(first)) {}

int64_t ChapterReader::videoEndUs(const ChapterContinuation& timeline) const {
    const int64_t end = timeline.end(unsigned(m_video));
    if (end == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    return av_rescale_q(end, m_first->streams[m_video]->time_base, AV_TIME_BASE_Q);
}

Result<void> ChapterReader::open(int index) {
    const QString& path = m_chapters[index];
    auto opened = openVideoAsset(path, OpenOptions{m_cancel, 0, false});
    if (!opened)
        return opened.error();
    if (auto known = ensureStreamsKnown(*opened, path, m_cancel); !known)
        return known.error();
    AVFormatContext* chapter = opened->get();
    // Compared as read from the headers alone: probing the first chapter's packets fills in more.
    if (m_firstSignature.isEmpty()) {
        auto first = streamSignature(m_chapters.first());
        if (!first)
            return first.error();
        m_firstSignature = *first;
    }
    if (streamSignature(chapter) != m_firstSignature)
        return trimError(
            TrimErrorCode::failed,
            QCoreApplication::translate("TrimExport",
                                        "The chapter %1 has other streams or codec parameters than the first "
                                        "chapter, %2; the recording cannot be trimmed as one video.")
                .arg(fileName(path), fileName(m_chapters.first())));
    // The streams left out of the first chapter are left out of every one.
    for (unsigned i = 0; i < chapter->nb_streams; ++i)
        chapter->streams[i]->discard = m_first->streams[i]->discard;
    m_opened = std::move(*opened);
    m_current = chapter;
    m_index = index;
    return {};
}

Result<void> ChapterReader::seek(int64_t timeUs) {
    if (m_chapters.size() == 1) {
        const int status = av_seek_frame(m_first, -1, timeUs, AVSEEK_FLAG_BACKWARD);
        if (status < 0 && timeUs > (m_first->start_time != AV_NOPTS_VALUE ? m_first->start_time : 0))
            return trimMediaError(status, QCoreApplication::translate(
                                              "TrimExport", "Could not seek to the start of the range: %1")
                                              .arg(av::errorText(status)));
        return {};
    }
    if (m_video < 0)
        return trimError(TrimErrorCode::noExportSession,
                         QCoreApplication::translate("TrimExport", "Unable to create an export session."));
    // Sought again (further back): the timeline starts over from the first chapter.
    m_timeline = ChapterContinuation(m_first->nb_streams);
    m_current = m_first;
    m_index = 0;
    m_opened = MediaInput();
    for (int index = 0;; ++index) {
        if (index > 0) {
            if (auto opened = open(index); !opened)
                return opened;
        }
        ChapterContinuation entered = m_timeline;
        entered.enterByHeader(m_current);
        const bool last = index + 1 == m_chapters.size();
        if (last || timeUs < videoEndUs(entered)) {
            m_timeline.enterByHeader(m_current);
            const AVStream* video = m_current->streams[m_video];
            const int64_t local =
                timeUs - av_rescale_q(m_timeline.offset(unsigned(m_video)), video->time_base, AV_TIME_BASE_Q);
            const int status = av_seek_frame(m_current, -1, local, AVSEEK_FLAG_BACKWARD);
            if (status < 0 && local > 0)
                return trimMediaError(
                    status, QCoreApplication::translate("TrimExport",
                                                        "Could not seek to the start of the range in %1: %2")
                                .arg(fileName(m_chapters[index]), av::errorText(status)));
            return {};
        }
        // Wholly before the range: only its header was read.
        m_timeline = std::move(entered);
    }
}

Result<bool> ChapterReader::read(AVPacket* packet) {
    for (;;) {
        const int status = av_read_frame(m_current, packet);
        if (m_chapters.size() == 1) {
            if (status == AVERROR_EOF)
                return false;
            if (status < 0 && isCancelled(m_cancel))
                return Error::cancellation();
            if (status < 0)
                return trimMediaError(
                    status, QCoreApplication::translate("TrimExport", "Could not read the video: %1")
                                .arg(av::errorText(status)));
            return true;
        }
        if (status == AVERROR_EOF) {
            // The next chapter's picture begins where this one's ends.
            if (m_index + 1 >= m_chapters.size() || videoEndUs(m_timeline) >= m_endUs)
                return false;
            if (auto opened = open(m_index + 1); !opened)
                return opened.error();
            m_timeline.beginChapter(m_current);
            continue;
        }
        const QString& path = m_chapters[m_index];
        if (status < 0) {
            if (isCancelled(m_cancel))
                return Error::cancellation();
            return trimMediaError(status, QCoreApplication::translate("TrimExport", "Could not read %1: %2")
                                              .arg(fileName(path), av::errorText(status)));
        }
        if (packet->flags & AV_PKT_FLAG_CORRUPT) {
            av_packet_unref(packet);
            return trimError(TrimErrorCode::failed,
                             QCoreApplication::translate(
                                 "TrimExport", "Could not read %1: the file is cut short or damaged.")
                                 .arg(fileName(path)));
        }
        auto placed = m_timeline.place(packet, m_current->streams[packet->stream_index], path);
        if (!placed) {
            av_packet_unref(packet);
            return placed.error();
        }
        if (*placed)
            return true;
        av_packet_unref(packet);
    }
}

} // namespace velarix
