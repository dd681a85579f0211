#pragma once

#include "history/HistoryRecords.h"

#include <QList>

#include <optional>

namespace velarix {

// How far apart two cameras' clocks may be and still file a clip under a jump of the log, by default.
constexpr qint64 kDefaultJumpLogToleranceMinutes = 10;

// The logged jump that a clip running from `start` to `end` belongs to: one whose span, widened by
// `toleranceSeconds` on both sides, overlaps the clip. Of several, the nearest (the one overlapping
// it most when several overlap it unwidened); absent when none does.
std::optional<LoggedJump> matchLoggedJump(const QList<LoggedJump>& log, const QDateTime& start,
                                          const QDateTime& end, qint64 toleranceSeconds);

// How a plan names a number taken from the log: "jump 4, as on CHEST".
QString loggedJumpText(qint64 jump, const QString& cardName);

} // namespace velarix
