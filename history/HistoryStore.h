#pragma once

#include "history/HistoryRecords.h"
#include "platform/Result.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace velarix {

// The persistent history of cards and imported files: one SQLite file, schema version 1.0.0.
//
// Writes (insertCard, setCardName, insertImportHistory) join one pending transaction that save()
// commits as a whole; fetches see the pending writes. deleteImportHistory commits at once, as its
// callers expect. Destroying the store with unsaved writes rolls them back. GUI thread only.
class HistoryStore {
public:
    static constexpr int kSchemaMajor = 1;
    static constexpr int kSchemaMinor = 0;
    static constexpr int kSchemaPatch = 0;
    static QString schemaVersionText();

    // Opens or creates the store file, creating its folder when missing. A file that is not a
    // Velarix store, or one written by a newer schema version, is refused and left untouched.
    static Result<std::unique_ptr<HistoryStore>> open(const QString& filePath);

    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    QString filePath() const;

    Result<std::optional<SDCard>> fetchCard(const QString& volumeUUID);
    Result<QList<SDCard>> fetchCards();
    Result<SDCard> insertCard(const QString& volumeUUID, const QString& name);
    Result<void> setCardName(const SDCard& card, const QString& name);
    Result<ImportHistory> insertImportHistory(const QString& fileName, const QString& sdCardID,
                                              const QDateTime& date);
    Result<void> save();
    void rollback();
    bool hasUnsavedChanges() const;

    Result<QList<ImportHistory>> fetchImportHistory(const QString& sdCardID);
    Result<int> deleteImportHistory(const QString& sdCardID);

private:
    explicit HistoryStore(QString connectionName, QString filePath);
    Result<void> beginIfNeeded();

    QString m_connectionName;
    QString m_filePath;
    bool m_inTransaction = false;
};

} // namespace velarix
