#pragma once

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace velarix {

// A file name in the camera's chapter convention: two letters, a two-digit chapter number, a
// four-digit recording number and an extension, e.g. GX020042.MP4 is chapter 2 of recording 0042.
struct ChapterName {
    QString letters;
    int chapter = 0;
    QString recording;
    QString extension;
};
std::optional<ChapterName> parseChapterName(const QString& fileName);

// What a file's streams and codec parameters are, as text: chapters of one recording have the same.
using StreamSignatureProbe = std::function<Result<QString>(const QString& path)>;

// Sorts videos into recordings. Each group lists its chapters in order; a video that is not a chapter
// of a longer recording is a group of its own. Chapters belong together when they lie in one folder,
// share the letters, recording number and extension, run without a gap from chapter 01 and have the
// signature of chapter 01. Every path is in exactly one group, groups in the order of their first
// path in `paths`. A file left on its own although its name says chapter is logged with the reason.
QList<QStringList> groupChapters(const QStringList& paths, const StreamSignatureProbe& probe);

// The recordings that `paths` belong to, where each file named as a chapter brings the chapters of
// its recording that lie beside it (a chapter dropped alone stands for its recording). Grouped as
// groupChapters does; one group per recording holding any of `paths`, in the order of the first of
// them in `paths`.
QList<QStringList> groupRecordings(const QStringList& paths, const StreamSignatureProbe& probe);

} // namespace velarix
