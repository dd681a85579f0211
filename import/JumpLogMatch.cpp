#include "import/JumpLogMatch.h"

#include <QCoreApplication>

#include <algorithm>

namespace velarix {

std::optional<LoggedJump> matchLoggedJump(const QList<LoggedJump>& log, const QDateTime& start,
                                          const QDateTime& end, qint64 toleranceSeconds) {
    if (!start.isValid() || log.isEmpty())
        return std::nullopt;
    const qint64 clipStart = start.toMSecsSinceEpoch();
    const qint64 clipEnd = std::max(clipStart, end.isValid() ? end.toMSecsSinceEpoch() : clipStart);
    const qint64 tolerance = std::max<qint64>(0, toleranceSeconds) * 1000;
    const LoggedJump* best = nullptr;
    qint64 bestScore = 0;
    for (const LoggedJump& jump : log) {
        const qint64 jumpStart = jump.start.toMSecsSinceEpoch();
        const qint64 jumpEnd = std::max(jumpStart, jump.end.toMSecsSinceEpoch());
        // Positive: the length they overlap by; negative: the gap between them.
        const qint64 overlap = std::min(clipEnd, jumpEnd) - std::max(clipStart, jumpStart);
        if (overlap < -tolerance)
            continue;
        if (!best || overlap > bestScore) {
            best = &jump;
            bestScore = overlap;
        }
    }
    if (!best)
        return std::nullopt;
    return *best;
}

QString loggedJumpText(qint64 jump, const QString& cardName) {
    //: A video's jump number taken from the jump log, and the card that jump was first imported from
    return QCoreApplication::translate("velarix::JumpLogMatch", "jump %1, as on %2").arg(jump).arg(cardName);
}

} // namespace velarix
