#pragma once

#include "history/HistoryRecords.h"
#include "history/ImportState.h"

#include <QList>

#include <optional>

namespace velarix {

// What the history says about the card shown: the import state of its clips, and the jump log.
struct CardHistory {
    ImportState importState;
    QList<LoggedJump> jumpLog;
};

// Reads it from the store file with a read-only connection of its own, so on any thread: one query
// for the card's clips (`videos`, chapters included), one for the log. A failure is logged and
// reads as no history, as the import state's refresh does.
CardHistory readCardHistory(const QString& storeFile, const std::optional<QString>& volumeUUID,
                            const QList<ImportState::Video>& videos);

} // namespace velarix
