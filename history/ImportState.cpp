#include "history/ImportState.h"

#include "core/Log.h"
#include "history/HistoryReader.h"
#include "history/HistoryStore.h"

namespace velarix {

void ImportState::clear() {
    m_legacyFileNames.clear();
    m_ambiguousFileNames.clear();
    m_files.clear();
    m_latestImportedCreated.reset();
    m_recordCount = 0;
    m_historyRead = false;
}

void ImportState::refresh(HistoryStore& store, const std::optional<QString>& volumeUUID,
                          const QList<Video>& videos) {
    refreshFrom(store, volumeUUID, videos);
}

void ImportState::refresh(HistoryReader& reader, const std::optional<QString>& volumeUUID,
                          const QList<Video>& videos) {
    refreshFrom(reader, volumeUUID, videos);
}

template <class Source>
void ImportState::refreshFrom(Source& source, const std::optional<QString>& volumeUUID,
                              const QList<Video>& videos) {
    if (!volumeUUID) {
        qCDebug(lcApp, "Import state unavailable: no SD card volume UUID");
        clear();
        return;
    }
    QList<CardFile> files;
    files.reserve(videos.size());
    for (const Video& video : videos)
        files.append(CardFile{video.fileName, video.relativePath, video.fileSize});
    auto records = source.fetchImportHistory(*volumeUUID, files);
    if (!records) {
        qCCritical(lcApp, "failed to load import history state: %s", qUtf8Printable(records.error().message));
        clear();
        return;
    }
    clear();
    m_historyRead = true;
    m_recordCount = records->size();
    for (const ImportHistory& record : *records) {
        if (!record.relativePath) {
            m_legacyFileNames.insert(record.fileName);
            continue;
        }
        const Verification verification = !record.verified   ? Verification::unknown
                                          : *record.verified ? Verification::verified
                                                             : Verification::unverified;
        QHash<qint64, Verification>& sizes = m_files[*record.relativePath];
        const qint64 size = record.fileSize.value_or(-1);
        // A verified copy outweighs any other; a record that does not say, an unverified one.
        if (const auto known = sizes.constFind(size); known == sizes.constEnd() || *known < verification)
            sizes.insert(size, verification);
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

std::optional<ImportState::Verification> ImportState::recorded(const Video& video) const {
    std::optional<Verification> found;
    if (const auto sizes = m_files.constFind(video.relativePath); sizes != m_files.constEnd()) {
        if (const auto size = sizes->constFind(video.fileSize); size != sizes->constEnd())
            found = *size;
    }
    if (found == Verification::verified)
        return found;
    if (m_legacyFileNames.contains(video.fileName) && !m_ambiguousFileNames.contains(video.fileName))
        return Verification::unknown;
    return found;
}

bool ImportState::isImported(const Video& video) const {
    return recorded(video).has_value();
}

std::optional<bool> ImportState::isVerified(const Video& video) const {
    const auto verification = recorded(video);
    if (!verification || *verification == Verification::unknown)
        return std::nullopt;
    return *verification == Verification::verified;
}

ImportStatus ImportState::status(const Video& video) const {
    if (isImported(video))
        return ImportStatus::imported;
    if (video.unreadable)
        return ImportStatus::unreadable;
    if (m_latestImportedCreated && video.created > *m_latestImportedCreated)
        return ImportStatus::newVideo;
    // A card seen for the first time (or whose clips are all new since it was last formatted): all
    // of it is new, as "Select All New" takes it. Records that match no clip for sure (an old
    // record by a name the card holds twice) leave the rest unmarked.
    if (m_historyRead && m_recordCount == 0)
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
