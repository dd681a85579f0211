#include "import/CardHistory.h"

#include "core/Background.h"
#include "core/Log.h"
#include "history/HistoryReader.h"
#include "history/HistoryStore.h"
#include "import/ImportLog.h"
#include "import/VelarixModel.h"

#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace velarix {

CardHistory readCardHistory(const QString& storeFile, const std::optional<QString>& volumeUUID,
                            const QList<ImportState::Video>& videos) {
    CardHistory history;
    if (storeFile.isEmpty())
        return history;
    auto reader = HistoryReader::open(storeFile);
    if (!reader) {
        qCCritical(lcApp, "failed to load import history state: %s", qUtf8Printable(reader.error().message));
        return history;
    }
    history.importState.refresh(**reader, volumeUUID, videos);
    // The jumps of the clips' days only (and the days either side, for clocks set wrong around
    // midnight): a log of years is not read for one card.
    QSet<QDate> days;
    for (const ImportState::Video& video : videos) {
        if (video.created == VideoFileRow::distantPast())
            continue;
        for (int offset : {-1, 0, 1})
            days.insert(video.created.date().addDays(offset));
    }
    if (days.isEmpty())
        return history;
    if (auto log = (*reader)->fetchJumpLog(days.values()))
        history.jumpLog = *log;
    else
        qCCritical(lcImport, "failed to load the jump log: %s", qUtf8Printable(log.error().message));
    return history;
}

} // namespace velarix
