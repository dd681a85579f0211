#include "cli/NamedRecordings.h"

#include "import/ChapterGroups.h"
#include "platform/StreamSignature.h"

#include <QFileInfo>

namespace velarix::cli {

QList<NamedRecording> resolveNamedVideos(const QStringList& files) {
    QList<NamedRecording> named;
    const QList<QStringList> groups =
        groupRecordings(files, [](const QString& path) { return streamSignature(path); });
    for (const QStringList& group : groups) {
        if (files.contains(group.first())) {
            named.append({group.first(), group, {}});
            continue;
        }
        // Only later chapters of this recording were named.
        const QString first = QFileInfo(group.first()).fileName();
        for (const QString& path : group) {
            if (!files.contains(path))
                continue;
            const auto chapter = parseChapterName(QFileInfo(path).fileName());
            named.append({path,
                          {path},
                          QStringLiteral("%1 is chapter %2 of a recording of %3 chapters; name its first "
                                         "chapter, %4, to take the whole recording.")
                              .arg(QFileInfo(path).fileName())
                              .arg(chapter ? chapter->chapter : 0)
                              .arg(group.size())
                              .arg(first)});
        }
    }
    return named;
}

QString recordingLabel(const NamedRecording& recording) {
    if (recording.chapters.size() <= 1)
        return recording.file;
    return QStringLiteral("%1 (%2 chapters)").arg(recording.file).arg(recording.chapters.size());
}

} // namespace velarix::cli
