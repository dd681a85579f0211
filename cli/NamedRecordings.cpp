#include "cli/NamedRecordings.h"

#include "media/ChapterGroups.h"
#include "media/StreamSignature.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velarix::cli {

QList<NamedRecording> resolveNamedVideos(const QStringList& files) {
    QList<NamedRecording> named;
    const QList<QStringList> groups =
        groupRecordings(files, [](const QString& path) { return streamSignature(path); });
    for (const QStringList& group : groups) {
        if (files.contains(group.first())) {
            named.append({group.first(), group, {}, {}});
            continue;
        }
        // Only later chapters of this recording were named.
        const QString first = QFileInfo(group.first()).fileName();
        for (const QString& path : group) {
            if (!files.contains(path))
                continue;
            const auto chapter = parseChapterName(QFileInfo(path).fileName());
            constexpr const char* kRefused =
                QT_TRANSLATE_NOOP("velarix-cli", "%1 is chapter %2 of a recording of %3 chapters; name its "
                                                 "first chapter, %4, to take the whole recording.");
            const auto filled = [&](const QString& text) {
                return text.arg(QFileInfo(path).fileName())
                    .arg(chapter ? chapter->chapter : 0)
                    .arg(group.size())
                    .arg(first);
            };
            named.append({path,
                          {path},
                          filled(QString::fromUtf8(kRefused)),
                          filled(QCoreApplication::translate("velarix-cli", kRefused))});
        }
    }
    return named;
}

QString recordingLabel(const NamedRecording& recording) {
    if (recording.chapters.size() <= 1)
        return recording.file;
    return QCoreApplication::translate("velarix-cli", "%1 (%n chapter(s))", nullptr,
                                       int(recording.chapters.size()))
        .arg(recording.file);
}

} // namespace velarix::cli
