#include "desktop/Volumes.h"

#include "desktop/MountTable.h"
#include "desktop/VolumeIdentity.h"
#include "storage/FileStatus.h"
#include "storage/PosixFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <blkid/blkid.h>
#include <cerrno>
#include <cstring>
#include <sys/statvfs.h>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("Volumes");
constexpr int kVolumesFolderUnreadable = 2; // other codes are errno or blkid values

bool isBelowVolumeRoots(const QString& mountPoint) {
    for (const char* root : {"/media/", "/run/media/", "/mnt/"}) {
        if (mountPoint.startsWith(QLatin1String(root)) && mountPoint.size() > qsizetype(std::strlen(root)))
            return true;
    }
    return false;
}

struct ProbeDeleter {
    void operator()(blkid_probe probe) const { blkid_free_probe(probe); }
};
using ProbePtr = std::unique_ptr<std::remove_pointer_t<blkid_probe>, ProbeDeleter>;

// Fixed namespace of our folder identities, so that the same path always gives the same UUID.
const QUuid kFolderNamespace = QUuid::fromString(QStringLiteral("{5c1f7a39-0d2e-4b8e-9a61-7f3c2b8d4e10}"));

} // namespace

QString volumesDirOverride() {
    return qEnvironmentVariable("VELARIX_VOLUMES_DIR");
}

Result<QStringList> SystemVolumes::mountedVolumes() const {
    const QString overrideDir = volumesDirOverride();
    if (!overrideDir.isEmpty()) {
        QDir dir(overrideDir);
        if (!dir.exists() || !QFileInfo(overrideDir).isReadable())
            return Error::make(
                kDomain, kVolumesFolderUnreadable,
                QCoreApplication::translate("Volumes", "The volumes folder %1 cannot be listed.")
                    .arg(overrideDir));
        QStringList volumes;
        const auto names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& name : names)
            volumes.append(dir.absoluteFilePath(name));
        return volumes;
    }
    auto table = readMountTable();
    if (!table)
        return table.error();
    QStringList volumes;
    for (const MountEntry& entry : *table) {
        if (isBelowVolumeRoots(entry.mountPoint) && !volumes.contains(entry.mountPoint) &&
            !QFileInfo(entry.mountPoint).fileName().startsWith(u'.'))
            volumes.append(entry.mountPoint);
    }
    return volumes;
}

Result<std::optional<QString>> SystemVolumes::volumeUUID(const QString& volume) const {
    const QString absolute = QFileInfo(volume).absoluteFilePath();
    auto table = readMountTable();
    if (!table)
        return table.error();
    // The last mount on a point is the one visible there.
    for (auto it = table->crbegin(); it != table->crend(); ++it) {
        if (it->mountPoint != absolute)
            continue;
        if (!it->source.startsWith(QLatin1String("/dev/")))
            return std::optional<QString>();
        return readVolumeIdentity(it->source, absolute, it->fileSystemType);
    }
    auto status = fileStatus(absolute);
    if (!status)
        return status.error();
    return std::optional<QString>(folderUUID(absolute));
}

std::optional<quint64> SystemVolumes::freeSpace(const QString& path) const {
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return quint64(info.f_bavail) * quint64(info.f_frsize);
}

std::shared_ptr<VolumeProvider> SystemVolumes::shared() {
    static const auto instance = std::make_shared<SystemVolumes>();
    return instance;
}

bool hasDcimFolder(const QString& volume) {
    auto status = fileStatus(volume + QStringLiteral("/DCIM"));
    return status && status->type == FileStatus::Type::directory;
}

QStringList cameraVideoFolders() {
    return {QStringLiteral("DCIM"), QStringLiteral("PRIVATE/M4ROOT/CLIP"), QStringLiteral("MP_ROOT")};
}

QStringList cameraCompanionFolders() {
    return {QStringLiteral("PRIVATE/M4ROOT/SUB")};
}

QStringList presentCameraFolders(const QString& volume) {
    return presentFolders(volume, cameraVideoFolders());
}

QStringList presentFolders(const QString& volume, const QStringList& folders) {
    QStringList present;
    for (const QString& folder : folders) {
        // fileStatus does not follow links: a link named like a camera folder does not count, nor
        // does a real folder reached through a linked parent (PRIVATE -> elsewhere).
        bool real = true;
        QString path = volume;
        for (const QString& part : folder.split(u'/')) {
            path += u'/' + part;
            auto status = fileStatus(path);
            real = real && status && status->type == FileStatus::Type::directory;
        }
        if (real)
            present.append(folder);
    }
    return present;
}

bool isCameraCard(const QString& volume) {
    return !presentCameraFolders(volume).isEmpty();
}

Result<std::optional<QString>> blockDeviceUUID(const QString& device) {
    ProbePtr probe(blkid_new_probe_from_filename(QFile::encodeName(device).constData()));
    if (!probe) {
        const int error = errno; // before the message is made, which may change it
        return Error::make(kDomain, error,
                           QCoreApplication::translate("Volumes", "The identity of %1 could not be read: %2")
                               .arg(device, errnoText(error ? error : EIO)),
                           errnoKind(error));
    }
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_UUID);
    const int status = blkid_do_safeprobe(probe.get());
    if (status < 0)
        return Error::make(
            kDomain, status,
            QCoreApplication::translate("Volumes", "The identity of %1 could not be read.").arg(device));
    const char* value = nullptr;
    if (status == 0 && blkid_probe_lookup_value(probe.get(), "UUID", &value, nullptr) == 0 && value)
        return std::optional<QString>(QString::fromUtf8(value));
    return std::optional<QString>();
}

QString folderUUID(const QString& absolutePath) {
    return QUuid::createUuidV5(kFolderNamespace, absolutePath).toString(QUuid::WithoutBraces).toUpper();
}

} // namespace velarix
