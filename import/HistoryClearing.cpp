#include "history/ImportState.h"
#include "import/RecordingStatus.h"
#include "import/VelarixModel.h"

namespace velarix {

QFuture<Result<void>> VelarixModel::clearImportHistory(HistoryStore& context) {
    const auto uuid = m_sdCardVolumeUUID;
    const auto path = m_sdCardPath;
    // A failed delete is logged and leaves the card as it is shown.
    if (!uuid || !path || !clearCardHistory(context, *uuid))
        return QtFuture::makeReadyFuture(Result<void>());
    return loadSDCard(*path, context);
}

QList<ImportState::Video> importStateVideos(const VideoFileList& rows) {
    QList<ImportState::Video> videos;
    for (const auto& row : rows)
        videos.append(stateVideo(*row));
    return videos;
}

} // namespace velarix
