#include "trimming/DroppedVideos.h"

#include "media/RecordingFiles.h"
#include "trimming/VideoTrimmingModel.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>

namespace velarix {

namespace {

bool isSidecar(const QFileInfo& file) {
    static const QStringList sidecars = {QStringLiteral("thm"), QStringLiteral("lrv"), QStringLiteral("lrf"),
                                         QStringLiteral("srt"), QStringLiteral("wav"), QStringLiteral("xml"),
                                         QStringLiteral("xmp"), QStringLiteral("sav")};
    return file.isHidden() || file.fileName().startsWith(u'.') || sidecars.contains(file.suffix().toLower());
}

void take(const QFileInfo& file, DroppedVideos& found, bool inFolder) {
    // A card's proxies (Sony's C0001S03.MP4, a 360 camera's LRV_….insv) are videos by their
    // extension, but their clips' companions: in a dropped folder they are left out like sidecars.
    if (inFolder && isCompanionFileName(file.absoluteFilePath()))
        return;
    const QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    if (VideoTrimmingModel::isAcceptedVideo(url))
        found.videos.append(url);
    else if (!isSidecar(file))
        found.skipped.append(file.fileName());
}

} // namespace

DroppedVideos collectDroppedVideos(const QList<QUrl>& urls) {
    DroppedVideos found;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (!info.isDir()) {
            if (info.exists())
                take(info, found, false);
            continue;
        }
        // Symbolic links are not followed: a link back up the tree would never end.
        QStringList files;
        QDirIterator it(info.absoluteFilePath(), QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        // In name order, so that a day's clips come in the order the camera wrote them.
        files.sort();
        const qsizetype before = found.videos.size();
        for (const QString& file : std::as_const(files))
            take(QFileInfo(file), found, true);
        if (found.videos.size() == before)
            found.emptyFolders.append(info.fileName());
    }
    return found;
}

QString droppedVideosNotice(const DroppedVideos& dropped) {
    QStringList sentences;
    if (!dropped.emptyFolders.isEmpty())
        sentences << QCoreApplication::translate("velarix::DroppedVideos",
                                                 "No MP4 or 360 videos were found in %1.")
                         .arg(dropped.emptyFolders.join(QStringLiteral(", ")));
    if (!dropped.skipped.isEmpty()) {
        constexpr qsizetype kNamed = 5;
        QString names = dropped.skipped.mid(0, kNamed).join(QStringLiteral(", "));
        if (dropped.skipped.size() > kNamed)
            names += QCoreApplication::translate("velarix::DroppedVideos", " and %n more", nullptr,
                                                 int(dropped.skipped.size() - kNamed));
        sentences << QCoreApplication::translate("velarix::DroppedVideos",
                                                 "Skipped %n file(s) that are not MP4 or 360 videos: %1.",
                                                 nullptr, int(dropped.skipped.size()))
                         .arg(names);
    }
    return sentences.join(u' ');
}

} // namespace velarix
