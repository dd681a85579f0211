#include "import/RecordingStatus.h"

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
    return ImportStatus::imported;
}

} // namespace velarix
