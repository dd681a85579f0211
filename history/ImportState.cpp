#include "history/ImportState.h"

#include "history/HistoryStore.h"
#include "platform/Log.h"

namespace velarix {

void ImportState::refresh(HistoryStore& store, const std::optional<QString>& volumeUUID,
                          const QList<Video>& videos) {
    if (!volumeUUID) {
        qCDebug(lcApp, "Import state unavailable: no SD card volume UUID");
        m_importedFileNames.clear();
        m_latestImportedCreated.reset();
        return;
    }
    auto records = store.fetchImportHistory(*volumeUUID);
    if (!records) {
        qCCritical(lcApp, "failed to load import history state: %s", qUtf8Printable(records.error().message));
        m_importedFileNames.clear();
        m_latestImportedCreated.reset();
        return;
    }
    QSet<QString> names;
    for (const ImportHistory& record : *records)
        names.insert(record.fileName);
    std::optional<QDateTime> latest;
    qsizetype matched = 0;
    for (const Video& video : videos) {
        if (!names.contains(video.fileName))
            continue;
        ++matched;
        if (!latest || video.created > *latest)
            latest = video.created;
    }
    m_importedFileNames = names;
    m_latestImportedCreated = latest;
    qCDebug(lcApp,
            "Import state refreshed for volume %s: history=%ld, matchedVideos=%ld, latestImportedCreated=%s",
            qUtf8Printable(*volumeUUID), long(records->size()), long(matched),
            latest ? qUtf8Printable(latest->toString(Qt::ISODateWithMs)) : "none");
}

ImportStatus ImportState::status(const QString& fileName, const QDateTime& created) const {
    if (m_importedFileNames.contains(fileName))
        return ImportStatus::imported;
    if (m_latestImportedCreated && created > *m_latestImportedCreated)
        return ImportStatus::newVideo;
    return ImportStatus::unmarked;
}

bool clearCardHistory(HistoryStore& store, const QString& volumeUUID) {
    auto deleted = store.deleteImportHistory(volumeUUID);
    if (!deleted) {
        qCCritical(lcApp, "Error deleting import history: %s", qUtf8Printable(deleted.error().message));
        return false;
    }
    return true;
}

} // namespace velarix
