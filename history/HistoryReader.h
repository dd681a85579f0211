#pragma once

#include "core/Result.h"
#include "history/HistoryRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace velarix {

// A read-only connection to the history store for work off the GUI thread: opened, used and
// destroyed on one thread. It sees what the store has saved. A store file that does not exist yet
// reads as an empty history.
class HistoryReader {
public:
    static Result<std::unique_ptr<HistoryReader>> open(const QString& filePath);
    ~HistoryReader();
    HistoryReader(const HistoryReader&) = delete;
    HistoryReader& operator=(const HistoryReader&) = delete;

    // As HistoryStore::fetchImportHistory for the given clips.
    Result<QList<ImportHistory>> fetchImportHistory(const QString& sdCardID, const QList<CardFile>& files);
    // The jumps logged on `days`, or on every day when none is given.
    Result<QList<LoggedJump>> fetchJumpLog(const QList<QDate>& days = {});

private:
    HistoryReader(QString connectionName, QString filePath);

    QString m_connectionName; // empty: no store yet
    QString m_filePath;
};

} // namespace velarix
