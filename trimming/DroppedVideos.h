#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

namespace velarix {

// What a drop (or a chooser) on the trimming window holds, sorted out: the videos that can be
// trimmed, from folders too (searched through), and the files left out. A camera's sidecar files
// (thumbnails, low-resolution copies, subtitles, sound notes) and hidden files are left out
// without mention; anything else left out is named, so that the window can say so.
struct DroppedVideos {
    QList<QUrl> videos;
    QStringList skipped;      // file names
    QStringList emptyFolders; // folder names without a video inside
};

// Reads the disk: call it off the GUI thread for folders.
DroppedVideos collectDroppedVideos(const QList<QUrl>& urls);

// "Skipped 2 files that are not MP4 or 360 videos: notes.txt, IMG_0001.JPG." and the like; empty
// when nothing is worth mentioning.
QString droppedVideosNotice(const DroppedVideos& dropped);

} // namespace velarix
