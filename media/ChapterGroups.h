#pragma once

#include "core/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace velarix {

// A file name in one of the cameras' chapter conventions:
// - two letters, a two-digit chapter number, a four-digit recording number: GX020042.MP4 is chapter 2
//   of recording 0042;
// - the older one of the same camera family: GOPR0042.MP4 is chapter 1, GP010042.MP4 chapter 2,
//   GP020042.MP4 chapter 3 (letters "GP" for all of them);
// - a name, a four-digit chapter number and a suffix: DJI_20261207101500_0002_D.MP4 is chapter 2 of
//   the recording "DJI_20261207101500_…_D" (letters the part before the number, suffix the part after).
// Files are chapters of one recording when letters, recording, suffix and extension are the same.
struct ChapterName {
    QString letters;
    int chapter = 0;
    QString recording;
    QString extension;
    QString suffix;
    int digits = 2; // how the chapter number is written

    // What names the recording in messages: "0042", "DJI_20261207101500_D".
    QString recordingLabel() const;
    bool sameRecording(const ChapterName& other) const {
        return letters == other.letters && recording == other.recording && suffix == other.suffix &&
               extension == other.extension;
    }
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
