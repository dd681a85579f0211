#include "import/RecordingStatus.h"

#include "media/RecordingFiles.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velarix {

ImportState::Video stateVideo(const VideoFileRow& row, qsizetype chapter) {
    const QList<qint64> sizes = row.chapterSizes();
    return {QFileInfo(row.chapterPaths().at(chapter)).fileName(), row.created(),
            row.chapterRelativePath(chapter), sizes.value(chapter), row.unreadableReason().has_value()};
}

ImportStatus recordingStatus(const ImportState& state, const VideoFileRow& row) {
    const ImportStatus first = state.status(stateVideo(row));
    if (first != ImportStatus::imported)
        return first;
    for (qsizetype chapter = 1; chapter < row.chapterPaths().size(); ++chapter) {
        if (!state.isImported(stateVideo(row, chapter)))
            return ImportStatus::unmarked;
    }
    // A 360 clip's second lens is half the picture: without it the clip is not imported. Other
    // companions are copied as the user chooses, so they do not decide.
    const QStringList& companions = row.companionPaths();
    for (qsizetype i = 0; i < companions.size(); ++i) {
        const QString name = QFileInfo(companions[i]).fileName();
        if (companionKind(name) != CompanionKind::lens)
            continue;
        const ImportState::Video lens{name, row.created(), row.companionRelativePath(i),
                                      row.companionSizes().value(i), false};
        if (!state.isImported(lens))
            return ImportStatus::unmarked;
    }
    return ImportStatus::imported;
}

std::optional<bool> recordingVerified(const ImportState& state, const VideoFileRow& row) {
    std::optional<bool> verified = true;
    for (qsizetype chapter = 0; chapter < row.chapterPaths().size(); ++chapter) {
        const std::optional<bool> chapterVerified = state.isVerified(stateVideo(row, chapter));
        if (chapterVerified == false)
            return false;
        if (!chapterVerified)
            verified.reset();
    }
    return verified;
}

QString verificationText(bool verified) {
    return verified ? QCoreApplication::translate("velarix::RecordingStatus",
                                                  "Imported. The copy was read back and verified.")
                    : QCoreApplication::translate("velarix::RecordingStatus",
                                                  "Imported without verification: the copy was not read back "
                                                  "and compared. Import it again to verify it.");
}

QString unverifiedNotSelectedText(qsizetype count) {
    return QCoreApplication::translate("velarix::RecordingStatus",
                                       "%n video(s) imported without verification are not selected. Select "
                                       "them to import and verify them again.",
                                       nullptr, int(count));
}

} // namespace velarix
