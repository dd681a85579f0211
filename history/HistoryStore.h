#pragma once

#include "core/Result.h"
#include "history/HistoryRecords.h"
#include "history/SqlTransaction.h"
#include "history/StoreErrors.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace velarix {

// The persistent history of cards, imported files and the jump log: one SQLite file, schema version
// 1.2.0. Older stores are upgraded in place when opened.
//
// Writes (insertCard, setCardName, insertImportHistory, insertJumpClip) join one pending transaction that
// save() commits as a whole; fetches see the pending writes. deleteImportHistory commits at once, as its
// callers expect. Destroying the store with unsaved writes rolls them back. GUI thread only.
//
// Errors carry a StoreErrorCode: a store another process keeps busy past the wait (inUse) is told
// apart from one that is damaged or not ours, which only moveAside() can get out of the way.
class HistoryStore {
public:
    static constexpr int kSchemaMajor = 1;
    static constexpr int kSchemaMinor = 2;
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
    // `verified`: the copy was read back and compared.
    Result<ImportHistory> insertImportHistory(const CardFile& file, const QString& sdCardID,
                                              const QDateTime& date, bool verified = true);
    // A record by file name only, as written before schema 1.1.0.
    Result<ImportHistory> insertImportHistory(const QString& fileName, const QString& sdCardID,
                                              const QDateTime& date);
    Result<void> save();
    void rollback();
    bool hasUnsavedChanges() const;

    // Files the clip of a card ran through in an import filed under a jump of the log.
    Result<void> insertJumpClip(const QString& sdCardID, const QString& cardName, const JumpClip& clip);

    // Every record of a card at once; for a card's own clips, the bounded fetch below, and for a
    // listing, visitImportHistory.
    Result<QList<ImportHistory>> fetchImportHistory(const QString& sdCardID);
    // The records of a card that concern `files` (see fetchCardImportRecords).
    Result<QList<ImportHistory>> fetchImportHistory(const QString& sdCardID, const QList<CardFile>& files);
    // A card's records one at a time, in the order written; `visit` returns false to stop.
    Result<void> visitImportHistory(const QString& sdCardID,
                                    const std::function<bool(const ImportHistory&)>& visit);
    Result<int> deleteImportHistory(const QString& sdCardID);

    // The jumps logged on `days`, or on every day when none is given.
    Result<QList<LoggedJump>> fetchJumpLog(const QList<QDate>& days = {});

private:
    explicit HistoryStore(QString connectionName, QString filePath);
    Result<void> beginIfNeeded();
    Error failure(const class QSqlError& error, const QString& doing) const;

    QString m_connectionName;
    QString m_filePath;
    SqlTransaction m_pending;
};

} // namespace velarix
