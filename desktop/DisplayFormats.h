#pragma once

#include <QDateTime>
#include <QString>

namespace velarix {

// The texts the windows and the command line show for sizes, durations and dates. Decimal units (1000 bytes
// to the kilobyte), as file browsers show file sizes.

// Sizes and free space with one decimal in the largest unit that keeps the number at 1 or more
// ("1.5 GB", "640.0 KB"); amounts under a kilobyte in bytes.
QString formatByteCount(quint64 bytes);
// "1 min, 5 sec"; "-:-" when the duration is not known (0, negative or not finite).
QString formatDuration(double seconds);
// The same as a clock reads it, for narrow places: "30:24", "1:02:03"; "-:-" when not known.
QString formatCompactDuration(double seconds);
// "3 hours ago", "in 2 minutes", "now", measured from `now`.
QString formatRelativeDate(const QDateTime& moment, const QDateTime& now);

} // namespace velarix
