#pragma once

#include "core/Result.h"
#include "history/HistoryRecords.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace velarix {

// The reads of the store, on a connection of the calling thread: the store's own on the GUI thread,
// a HistoryReader's on a worker. `filePath` names the store in errors.

// A fresh connection to the store file, with the busy timeout every connection uses.
QSqlDatabase addStoreConnection(const QString& name, const QString& filePath, bool readOnly);

// The records of one card that concern the given clips: those with the path and size of one of
// `files`, and those from before paths were kept with the name of one. An index on card, path and
// size keeps this to the card's own clips however long the history is (a camera reuses its names
// after every formatting, so the path alone would not).
Result<QList<ImportHistory>> fetchCardImportRecords(const QSqlDatabase& db, const QString& filePath,
                                                    const QString& sdCardID, const QList<CardFile>& files);

// Every record of one card in the order written, one at a time: no list of them is built. `visit`
// returns false to stop.
Result<void> visitImportHistory(const QSqlDatabase& db, const QString& filePath, const QString& sdCardID,
                                const std::function<bool(const ImportHistory&)>& visit);

// The jumps of the log on the given days (every day when none is given), by day and start.
Result<QList<LoggedJump>> fetchJumpLog(const QSqlDatabase& db, const QString& filePath,
                                       const QList<QDate>& days = {});

} // namespace velarix
