#pragma once

#include "history/HistoryRecords.h"
#include "history/SqlTransaction.h"
#include "history/StoreErrors.h"
#include "platform/Result.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace velarix {

// The persistent history of cards and imported files: one SQLite file, schema version 1.1.0. Older
// stores are upgraded in place when opened.
//
// Writes (insertCard, setCardName, insertImportHistory) join one pending transaction that save()
// commits as a whole; fetches see the pending writes. deleteImportHistory commits at once, as its
// callers expect. Destroying the store with unsaved writes rolls them back. GUI thread only.
//
// Errors carry a StoreErrorCode: a store another process keeps busy past the wait (inUse) is told
// apart from one that is damaged or not ours, which only moveAside() can get out of the way.
class HistoryStore {
public:
    static constexpr int kSchemaMajor = 1;
    static constexpr int kSchemaMinor = 1;
    static constexpr int kSchemaPatch = 0;
    static QString schemaVersionText();

    // Opens or creates the store file, creating its folder when missing. A file that is not a
    // Velarix store, a damaged one, or one written by a newer schema version is refused and left
    // untouched.
    static Result<std::unique_ptr<HistoryStore>> open(const QString& filePath);

    // Renames an unusable store (and its journal) to "<name>.damaged-<yyyy-MM-dd>", "-2", … so that
    // a new one can be started; nothing is deleted or replaced. Gives the new name.
    static Result<QString> moveAside(const QString& filePath);

    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    QString filePath() const;

    Result<std::optional<SDCard>> fetchCard(const QString& volumeUUID);
    Result<QList<SDCard>> fetchCards();
    Result<SDCard> insertCard(const QString& volumeUUID, const QString& name);
    Result<void> setCardName(const SDCard& card, const QString& name);
    Result<ImportHistory> insertImportHistory(const CardFile& file, const QString& sdCardID,
                                              const QDateTime& date);
    // A record by file name only, as written before schema 1.1.0.
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
    Error failure(const class QSqlError& error, const QString& doing) const;

    QString m_connectionName;
    QString m_filePath;
    SqlTransaction m_pending;
};

} // namespace velarix
