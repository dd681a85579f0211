#pragma once

#include <QDateTime>
#include <QString>

namespace velarix {

// Texts for screen readers. The screen shows "5 min" and "3 hours ago" over a date; spoken, the
// words are written out and the moment is said the way people say it ("today 08:05").

// "5 minutes", "1 hour, 2 minutes", "45 seconds"; empty when the duration is not known.
QString spokenDuration(double seconds);
// "today 08:05", "yesterday 21:10", else the long date and the time; `now` decides the day.
QString spokenMoment(const QDateTime& moment, const QDateTime& now);
// "00:42" as "42 seconds", "01:21" as "1 minute, 21 seconds": a time on a clip's timeline.
QString spokenClipTime(double seconds);

} // namespace velarix
