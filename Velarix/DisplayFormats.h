#pragma once

#include <QDateTime>
#include <QString>

namespace velarix {

// The texts the import window shows for sizes, durations and dates. Decimal units (1000 bytes to the
// kilobyte), as file browsers show file sizes.

// A file's size in kilobytes or megabytes only, so that large videos compare at a glance ("3,500 MB").
QString formatFileSize(qint64 bytes);
// Free or needed space in KB, MB or GB ("12.3 GB").
QString formatVolumeSpace(quint64 bytes);
// "1 min, 5 sec"; "-:-" when the duration is not known (0, negative or not finite).
QString formatDuration(double seconds);
// "3 hours ago", "in 2 minutes", "now", measured from `now`.
QString formatRelativeDate(const QDateTime& moment, const QDateTime& now);

} // namespace velarix
