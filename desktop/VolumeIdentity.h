#pragma once

#include "core/Result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velarix {

// Where a mounted file system's UUID can come from without opening its block device, which an
// ordinary user may not do (the device is root:disk, 0600 or 0660, on every distribution):
// - fsIoctl: the file system itself, FS_IOC_GETFSUUID on the mount point (Linux 6.7 and later, for
//   the file systems whose UUID it reports the way libblkid does);
// - udevLinks: the world-readable /dev/disk/by-uuid links udev makes;
// - udisks: UDisks2's IdUUID over the system bus;
// - blkid: libblkid on the device, only where the device is readable.
enum class IdentitySource { fsIoctl, udevLinks, udisks, blkid };

// The sources in the order they are asked. VELARIX_IDENTITY_SOURCES (a comma-separated list of
// "ioctl", "udev", "udisks", "blkid"; "none" for none) narrows them, for diagnosis and tests.
QList<IdentitySource> identitySources();

// The UUID of the file system of `device` (type `fileSystemType`) mounted at `mountPoint`, from the
// first source that knows it; absent when the file system has none; an error saying why when no
// source could tell.
Result<std::optional<QString>> readVolumeIdentity(const QString& device, const QString& mountPoint,
                                                  const QString& fileSystemType);

// Each source on its own: absent when it does not know (not: when the file system has no UUID).
std::optional<QString> uuidFromFileSystem(const QString& mountPoint, const QString& fileSystemType);
std::optional<QString> uuidFromUdevLinks(const QString& device,
                                         const QString& linkFolder = QStringLiteral("/dev/disk/by-uuid"));
// Absent inside the result: UDisks2 knows the device and it has no UUID. An error: no UDisks2 answer.
Result<std::optional<QString>> uuidFromUDisks(const QString& device);

// The size of the file system holding `path`, in bytes; absent when it cannot be read.
std::optional<quint64> fileSystemSize(const QString& path);

// A udev link name with its \xNN escapes undone ("My\x20Card" is "My Card").
QString decodeUdevName(const QString& name);

} // namespace velarix
