#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace velarix {

// The recording's start as a camera's clip metadata file (C0001M01.XML) states it: the `value` of
// its `CreationDate` element, an ISO 8601 time with the camera's offset. Such cameras write their
// local time into the FAT file times, which then read as the wrong hour; this time is the right one.
// Reads at most 64 KiB and stops at that element: no entity is loaded from elsewhere, and a file that
// is not well-formed before it, or holds none, gives nothing.
std::optional<QDateTime> clipXmlCreationDate(const QString& path);

} // namespace velarix
