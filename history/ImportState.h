#pragma once

#include "core/Result.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>

#include <optional>

namespace velarix {

class HistoryReader;
class HistoryStore;

// Whether a video on the card was imported before, cannot be read as a video, is new (newer than
// everything imported, or on a card none of whose clips the history holds), or none of these.
enum class ImportStatus { imported, newVideo, unmarked, unreadable };

// The import state of the card shown: which of its videos the history holds (and whether their copies
// were verified), and the newest creation date among its videos already imported. Only the records
// of the card's own clips are read, so a long history does not slow a card down. A card load builds
// it on a worker (with a HistoryReader); the model keeps it and renews it after an import.
//
// A video counts as imported when a record of its card has its path on the card and its size.
// Records written before paths were kept match by file name, so no earlier history is lost; but
// where the card holds that name in several folders such a record cannot say which clip it was, and
// none of them is marked by it.
class ImportState {
public:
    struct Video {
        QString fileName; // last path component, compared exactly
        QDateTime created;
        QString relativePath; // below the card's root, e.g. "DCIM/100GOPRO/GX010001.MP4"
        qint64 fileSize = 0;
        bool unreadable = false;
    };

    // Re-reads the history of the card `volumeUUID` (absent: no card identity, nothing is marked)
    // for `videos`: every file of the card that may be marked, chapters included.
    void refresh(HistoryStore& store, const std::optional<QString>& volumeUUID, const QList<Video>& videos);
    void refresh(HistoryReader& reader, const std::optional<QString>& volumeUUID, const QList<Video>& videos);

    bool isImported(const Video& video) const;
    ImportStatus status(const Video& video) const;
    // Of an imported video: whether a copy of it was verified. Absent when it is not imported, or
    // only by records from before verification was recorded.
    std::optional<bool> isVerified(const Video& video) const;

    const std::optional<QDateTime>& latestImportedCreated() const { return m_latestImportedCreated; }
    // Records of the card's clips read at the last refresh (duplicates counted).
    qsizetype recordCount() const { return m_recordCount; }

private:
    enum class Verification { unverified, unknown, verified }; // in order of weight
    template <class Source>
    void refreshFrom(Source& source, const std::optional<QString>& volumeUUID, const QList<Video>& videos);
    void clear();
    std::optional<Verification> recorded(const Video& video) const;

    QSet<QString> m_legacyFileNames;    // records without a path
    QSet<QString> m_ambiguousFileNames; // names the card holds more than once
    // relative path -> size recorded -> the best verification among its records
    QHash<QString, QHash<qint64, Verification>> m_files;
    std::optional<QDateTime> m_latestImportedCreated;
    qsizetype m_recordCount = 0;
    bool m_historyRead = false; // the card's history was read (a card identity, a readable store)
};

// Deletes the imported-file records of one card (its SDCard record stays) and gives how many went.
// A failure is logged and given with its reason.
Result<int> clearCardHistory(HistoryStore& store, const QString& volumeUUID);

} // namespace velarix
