#pragma once

#include "core/Result.h"

#include <QList>
#include <QString>

namespace velarix {

struct MountEntry {
    QString mountPoint;
    QString source; // e.g. /dev/sdb1, or "tmpfs" for file systems without a device
    QString fileSystemType;
};

// The mounts of /proc/self/mountinfo (or the given file), in mount order, with escapes undone.
Result<QList<MountEntry>> readMountTable(const QString& path = QStringLiteral("/proc/self/mountinfo"));
QList<MountEntry> parseMountTable(const QByteArray& text);

} // namespace velarix
