#pragma once

#include "core/Result.h"
#include "media/MediaOpen.h"

#include <QStringList>

#include <vector>

namespace velarix {

// Lays the chapters of one recording end to end. Each stream of a chapter goes on where the same
// stream of the previous chapter ended: the picture from its first frame on, sound and data from
// their first packet at or after the chapter's start (what a chapter's edit list hides before it would
// repeat the end of the previous chapter). A chapter's data ends with its picture: telemetry and
// timecode samples that run past it are cut short there (cameras state a full second for the last
// telemetry sample, however little of it was recorded), so the next chapter's data starts with its
// picture. Timestamps stay in each stream's time
// base, which chapters of one recording share; the first chapter's are left as they are.
class ChapterContinuation {
public:
    explicit ChapterContinuation(unsigned streamCount);

    // Before the packets of the next chapter, read from its start.
    void beginChapter(const AVFormatContext* chapter);
    // The next chapter, entered somewhere after its start (a seek) or passed over unread: where its
    // streams begin and end is taken from its header.
    void enterByHeader(const AVFormatContext* chapter);
    // Moves a packet of the current chapter onto the recording's timeline. False for a packet to be
    // left out (sound or data before a later chapter's start); an error when the timestamps go back.
    Result<bool> place(AVPacket* packet, const AVStream* stream, const QString& chapterPath);

    // Where the stream's presentation ends so far, in its time base; AV_NOPTS_VALUE before any packet.
    int64_t end(unsigned stream) const { return m_tracks[stream].end; }
    // Added to the current chapter's timestamps of the stream.
    int64_t offset(unsigned stream) const { return m_tracks[stream].offset; }
    int chapter() const { return m_chapter; }

private:
    void enter(const AVFormatContext* chapter);
    // The current chapter's end on the recording's timeline, in the stream's time base.
    int64_t chapterEnd(const AVStream* stream) const;

    struct Track {
        int64_t offset = 0;
        int64_t end = AV_NOPTS_VALUE;
        int64_t lastDts = AV_NOPTS_VALUE;
        bool awaitingStart = false; // the offset is set by this chapter's first packet at or after 0
    };
    std::vector<Track> m_tracks;
    int m_chapter = -1;
    int64_t m_chapterEndUs = INT64_MAX; // AV_TIME_BASE
};

// Where each chapter's picture begins on the recording's timeline, in seconds from the first
// chapter's start, read from the chapters' headers alone. A time t into chapter k (counted from its
// own start) is at starts[k] + t in the recording. The last element is where the recording ends.
Result<std::vector<double>> chapterStartTimes(const QStringList& chapters, const CancelToken* cancel);

} // namespace velarix
