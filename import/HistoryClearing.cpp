#include "history/ImportState.h"
#include "import/RecordingStatus.h"
#include "import/VelarixModel.h"

namespace velarix {

QFuture<Result<int>> VelarixModel::clearImportHistory(HistoryStore& context) {
    const auto uuid = m_sdCardVolumeUUID;
    const auto path = m_sdCardPath;
    if (!uuid || !path)
        return QtFuture::makeReadyFuture(
            Result<int>(Error::make(QStringLiteral("ImportHistory"), 1,
                                    QStringLiteral("There is no card whose history could be cleared."))));
    auto cleared = clearCardHistory(context, *uuid);
    if (!cleared) {
        // The card stays as it is shown; the alert says why nothing changed.
        setError(ApplicationError::internalError(
            QStringLiteral("The import history could not be cleared. %1").arg(cleared.error().message)));
        return QtFuture::makeReadyFuture(Result<int>(cleared.error()));
    }
    const int removed = *cleared;
    return loadSDCard(*path, context).then([removed](const Result<void>& loaded) -> Result<int> {
        if (!loaded)
            return loaded.error();
        return removed;
    });
}

QList<ImportState::Video> importStateVideos(const VideoFileList& rows) {
    QList<ImportState::Video> videos;
    for (const auto& row : rows) {
        for (qsizetype chapter = 0; chapter < row->chapterPaths().size(); ++chapter)
            videos.append(stateVideo(*row, chapter));
    }
    return videos;
}

} // namespace velarix
