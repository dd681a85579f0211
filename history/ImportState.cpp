#include "history/ImportState.h"

#include "history/HistoryStore.h"
#include "platform/Log.h"

namespace velarix {

void ImportState::clear() {
    m_legacyFileNames.clear();
    m_ambiguousFileNames.clear();
    m_files.clear();
    m_latestImportedCreated.reset();
    m_recordCount = 0;
}

void ImportState::refresh(HistoryStore& store, const std::optional<QString>& volumeUUID,
                          const QList<Video>& videos) {
    if (!volumeUUID) {
        qCDebug(lcApp, "Import state unavailable: no SD card volume UUID");
        clear();
        return;
    }
    auto records = store.fetchImportHistory(*volumeUUID);
    if (!records) {
        qCCritical(lcApp, "failed to load import history state: %s", qUtf8Printable(records.error().message));
        clear();
        return;
    }
    clear();
    m_recordCount = records->size();
    for (const ImportHistory& record : *records) {
        if (record.relativePath)
            m_files[*record.relativePath].insert(record.fileSize.value_or(-1));
        else
            m_legacyFileNames.insert(record.fileName);
    }
    QSet<QString> seen;
    for (const Video& video : videos) {
        if (seen.contains(video.fileName))
            m_ambiguousFileNames.insert(video.fileName);
        seen.insert(video.fileName);
    }
    qsizetype matched = 0;
    for (const Video& video : videos) {
        if (!isImported(video))
            continue;
        ++matched;
        if (!m_latestImportedCreated || video.created > *m_latestImportedCreated)
            m_latestImportedCreated = video.created;
    }
    qCDebug(lcApp,
            "Import state refreshed for volume %s: history=%ld, matchedVideos=%ld, latestImportedCreated=%s",
            qUtf8Printable(*volumeUUID), long(m_recordCount), long(matched),
            m_latestImportedCreated ? qUtf8Printable(m_latestImportedCreated->toString(Qt::ISODateWithMs))
                                    : "none");
}

bool ImportState::isImported(const Video& video) const {
    if (m_legacyFileNames.contains(video.fileName) && !m_ambiguousFileNames.contains(video.fileName))
        return true;
    const auto found = m_files.constFind(video.relativePath);
    return found != m_files.constEnd() && found->contains(video.fileSize);
}

ImportStatus ImportState::status(const Video& video) const {
    if (isImported(video))
        return ImportStatus::imported;
    if (video.unreadable)
        return ImportStatus::unreadable;
    if (m_latestImportedCreated && video.created > *m_latestImportedCreated)
        return ImportStatus::newVideo;
    return ImportStatus::unmarked;
}

Result<int> clearCardHistory(HistoryStore& store, const QString& volumeUUID) {
    auto deleted = store.deleteImportHistory(volumeUUID);
    if (!deleted)
        qCCritical(lcApp, "Error deleting import history: %s", qUtf8Printable(deleted.error().message));
    return deleted;
}

} // namespace velarix
