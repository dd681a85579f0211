#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>

#include <optional>

namespace velarix {

class HistoryStore;

// Whether a video on the card was imported before, is newer than everything imported, or neither.
enum class ImportStatus { imported, newVideo, unmarked };

// The import state of the card shown: which of its file names the history holds, and the newest
// creation date among its videos already imported. The video table binds to this and refreshes it
// when the card, its rows or the model's importStateRefreshID change. GUI thread only.
class ImportState {
public:
    struct Video {
        QString fileName; // last path component, compared exactly
        QDateTime created;
    };

    // Re-reads the history of the card `volumeUUID` (absent: no card identity, nothing is marked).
    void refresh(HistoryStore& store, const std::optional<QString>& volumeUUID, const QList<Video>& videos);

    ImportStatus status(const QString& fileName, const QDateTime& created) const;

    const QSet<QString>& importedFileNames() const { return m_importedFileNames; }
    const std::optional<QDateTime>& latestImportedCreated() const { return m_latestImportedCreated; }

private:
    QSet<QString> m_importedFileNames;
    std::optional<QDateTime> m_latestImportedCreated;
};

// Deletes the imported-file records of one card (its SDCard record stays). Logs a failure and says
// whether the delete succeeded.
bool clearCardHistory(HistoryStore& store, const QString& volumeUUID);

} // namespace velarix
