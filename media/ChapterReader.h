#pragma once

#include "core/Result.h"
#include "media/ChapterContinuation.h"
#include "media/MediaOpen.h"

#include <QStringList>

namespace velarix {

// Reads an opened video and the further chapters of its recording as one input, on the timeline the
// chapters make end to end (ChapterContinuation): from a seek on, chapter after chapter, opening each
// only when the reading reaches it. Chapters before the seek point and from the end on are never
// read; one chapter is open at a time. Without further chapters it is the plain input.
class ChapterReader {
public:
    ChapterReader(AVFormatContext* first, QStringList laterChapters, const CancelToken* cancel);

    // To the key frame at or before `timeUs` (AV_TIME_BASE, on the first chapter's clock), in the
    // chapter that holds it; the chapters before it are passed over by their headers.
    Result<void> seek(int64_t timeUs);
    // Reading ends with the chapter in which the recording reaches `timeUs`.
    void setEnd(int64_t timeUs) { m_endUs = timeUs; }
    // The next packet, its stream index that of the first chapter's stream; false at the end.
    Result<bool> read(AVPacket* packet);

private:
    Result<void> open(int index);
    int64_t videoEndUs(const ChapterContinuation& timeline) const;

    AVFormatContext* m_first;
    QStringList m_chapters; // every chapter's path, the first's from its context
    const CancelToken* m_cancel;
    ChapterContinuation m_timeline;
    MediaInput m_opened; // the current chapter when it is not the first
    AVFormatContext* m_current;
    int m_index = 0;
    int m_video = -1;
    int64_t m_endUs = INT64_MAX;
    QString m_firstSignature;
};

} // namespace velarix
