#pragma once

#include "core/Result.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace velarix {

// What the engine needs to know about mounted volumes. The system's answer is SystemVolumes; tests
// stand in their own for what cannot be staged (a volume without UUID, an unreadable table).
class VolumeProvider {
public:
    virtual ~VolumeProvider() = default;
    // Candidate volume folders in their listing order; an error when they cannot be listed.
    virtual Result<QStringList> mountedVolumes() const = 0;
    // The volume's file system UUID as text; absent when it has none; an error when it cannot be read.
    virtual Result<std::optional<QString>> volumeUUID(const QString& volume) const = 0;
    // Free bytes of the file system holding `path`; absent when it cannot be read.
    virtual std::optional<quint64> freeSpace(const QString& path) const = 0;
};

// Mount points under /media, /run/media and /mnt in mount order, or, when VELARIX_VOLUMES_DIR is set,
// every folder directly inside it in name order.
class SystemVolumes : public VolumeProvider {
public:
    Result<QStringList> mountedVolumes() const override;
    Result<std::optional<QString>> volumeUUID(const QString& volume) const override;
    std::optional<quint64> freeSpace(const QString& path) const override;

    static std::shared_ptr<VolumeProvider> shared();
};

// The folder VELARIX_VOLUMES_DIR names, or empty when the mount table is used.
QString volumesDirOverride();

// A DCIM directory at the volume's root: a real directory, not a file and not a symbolic link.
bool hasDcimFolder(const QString& volume);

// The folders below a card's root where cameras write videos: DCIM, and the video folders of
// cameras that keep their clips outside it (PRIVATE/M4ROOT/CLIP, MP_ROOT).
QStringList cameraVideoFolders();
// Those of cameraVideoFolders() that are real directories on the volume, in that order.
QStringList presentCameraFolders(const QString& volume);
// Folders below a card's root that hold only files belonging to the videos of cameraVideoFolders():
// Sony's proxies (PRIVATE/M4ROOT/SUB). They do not make a volume a card.
QStringList cameraCompanionFolders();
// Those of `folders` that are real directories on the volume (no symbolic link on the way), in order.
QStringList presentFolders(const QString& volume, const QStringList& folders);
// A camera card: a volume with at least one of cameraVideoFolders().
bool isCameraCard(const QString& volume);

// The file system UUID of a block device, read with libblkid (which needs read access to the device);
// absent when it carries none. SystemVolumes asks readVolumeIdentity, which tries this last.
Result<std::optional<QString>> blockDeviceUUID(const QString& device);

// The stable name-based (version 5) UUID that stands in for a plain folder's identity.
QString folderUUID(const QString& absolutePath);

} // namespace velarix
