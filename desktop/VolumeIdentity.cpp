#include "desktop/VolumeIdentity.h"

#include "desktop/VolumeEject.h"
#include "desktop/Volumes.h"
#include "storage/PosixFile.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <linux/types.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

// Older kernel headers (Debian 12's) lack it; the kernel answers ENOTTY where it does not know it.
#ifndef FS_IOC_GETFSUUID
struct fsuuid2 {
    __u8 len;
    __u8 uuid[16];
};
#define FS_IOC_GETFSUUID _IOR(0x15, 0, struct fsuuid2)
#endif

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("Volumes");
constexpr int kIdentityUnreadable = 3;
constexpr int kBusTimeoutMsecs = 3000;

// The file systems whose FS_IOC_GETFSUUID answer is the UUID libblkid and udev give: a card must keep
// one identity whichever source read it, or its history would split.
bool ioctlMatchesBlkid(const QString& fileSystemType) {
    static const QStringList types{QStringLiteral("ext2"), QStringLiteral("ext3"), QStringLiteral("ext4"),
                                   QStringLiteral("btrfs"), QStringLiteral("xfs")};
    return types.contains(fileSystemType);
}

std::optional<dev_t> deviceNumber(const QString& device) {
    struct stat info {};
    if (::stat(QFile::encodeName(device).constData(), &info) != 0 || !S_ISBLK(info.st_mode))
        return std::nullopt;
    return info.st_rdev;
}

QString sourceName(IdentitySource source) {
    switch (source) {
    case IdentitySource::fsIoctl:
        return QStringLiteral("ioctl");
    case IdentitySource::udevLinks:
        return QStringLiteral("udev");
    case IdentitySource::udisks:
        return QStringLiteral("udisks");
    case IdentitySource::blkid:
        return QStringLiteral("blkid");
    }
    return {};
}

} // namespace

QList<IdentitySource> identitySources() {
    const QList<IdentitySource> all{IdentitySource::fsIoctl, IdentitySource::udevLinks, IdentitySource::blkid,
                                    IdentitySource::udisks};
    const QString chosen = qEnvironmentVariable("VELARIX_IDENTITY_SOURCES");
    if (chosen.isEmpty())
        return all;
    const QStringList names = chosen.split(u',', Qt::SkipEmptyParts);
    QList<IdentitySource> sources;
    for (IdentitySource source : all)
        if (names.contains(sourceName(source)))
            sources.append(source);
    return sources;
}

QString decodeUdevName(const QString& name) {
    QByteArray bytes = name.toUtf8();
    QByteArray decoded;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bool ok = false;
        if (bytes[i] == '\\' && i + 3 < bytes.size() && bytes[i + 1] == 'x') {
            const char value = char(bytes.mid(i + 2, 2).toInt(&ok, 16));
            if (ok) {
                decoded.append(value);
                i += 3;
                continue;
            }
        }
        decoded.append(bytes[i]);
    }
    return QString::fromUtf8(decoded);
}

std::optional<QString> uuidFromFileSystem(const QString& mountPoint, const QString& fileSystemType) {
    if (!ioctlMatchesBlkid(fileSystemType))
        return std::nullopt;
    UniqueFd fd(::open(QFile::encodeName(mountPoint).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    fsuuid2 answer{};
    answer.len = sizeof(answer.uuid);
    if (::ioctl(fd.get(), FS_IOC_GETFSUUID, &answer) != 0 || answer.len != sizeof(answer.uuid))
        return std::nullopt;
    // All zeros: the file system keeps no UUID this way.
    if (std::all_of(std::begin(answer.uuid), std::end(answer.uuid), [](__u8 byte) { return byte == 0; }))
        return std::nullopt;
    const QByteArray hex = QByteArray(reinterpret_cast<const char*>(answer.uuid), 16).toHex();
    // libblkid's spelling: lower case, 8-4-4-4-12.
    return QString::fromLatin1(hex.left(8) + '-' + hex.mid(8, 4) + '-' + hex.mid(12, 4) + '-' +
                               hex.mid(16, 4) + '-' + hex.mid(20));
}

std::optional<QString> uuidFromUdevLinks(const QString& device, const QString& linkFolder) {
    const auto number = deviceNumber(device);
    if (!number)
        return std::nullopt;
    const QStringList links = QDir(linkFolder).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& link : links) {
        if (deviceNumber(linkFolder + u'/' + link) == number)
            return decodeUdevName(link);
    }
    return std::nullopt;
}

Result<std::optional<QString>> uuidFromUDisks(const QString& device) {
    const auto unavailable = [](const QString& why) {
        return Error::make(kDomain, kIdentityUnreadable, why);
    };
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return unavailable(QCoreApplication::translate("Volumes", "there is no system bus"));
    const QString service = QStringLiteral("org.freedesktop.UDisks2");
    QDBusMessage resolve = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/freedesktop/UDisks2/Manager"),
        QStringLiteral("org.freedesktop.UDisks2.Manager"), QStringLiteral("ResolveDevice"));
    resolve << QVariantMap{{QStringLiteral("path"), device}} << QVariantMap();
    const QDBusMessage objects = bus.call(resolve, QDBus::Block, kBusTimeoutMsecs);
    if (objects.type() != QDBusMessage::ReplyMessage || objects.arguments().isEmpty())
        return unavailable(QCoreApplication::translate("Volumes", "UDisks2 did not answer (%1)")
                               .arg(objects.errorMessage()));
    const auto paths = qdbus_cast<QList<QDBusObjectPath>>(objects.arguments().first());
    if (paths.isEmpty())
        return unavailable(QCoreApplication::translate("Volumes", "UDisks2 does not know %1").arg(device));

    QDBusMessage get = QDBusMessage::createMethodCall(service, paths.first().path(),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.UDisks2.Block") << QStringLiteral("IdUUID");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kBusTimeoutMsecs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return unavailable(
            QCoreApplication::translate("Volumes", "UDisks2 did not answer (%1)").arg(reply.errorMessage()));
    const QString uuid = qdbus_cast<QDBusVariant>(reply.arguments().first()).variant().toString();
    if (uuid.isEmpty())
        return std::optional<QString>();
    return std::optional<QString>(uuid);
}

std::optional<quint64> fileSystemSize(const QString& path) {
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return quint64(info.f_blocks) * quint64(info.f_frsize);
}

Result<std::optional<QString>> readVolumeIdentity(const QString& device, const QString& mountPoint,
                                                  const QString& fileSystemType) {
    QStringList reasons;
    for (IdentitySource source : identitySources()) {
        switch (source) {
        case IdentitySource::fsIoctl:
            if (auto uuid = uuidFromFileSystem(mountPoint, fileSystemType))
                return uuid;
            break;
        case IdentitySource::udevLinks:
            if (auto uuid = uuidFromUdevLinks(device))
                return uuid;
            reasons.append(QCoreApplication::translate("Volumes", "udev has no link for it"));
            break;
        case IdentitySource::blkid:
            if (::access(QFile::encodeName(device).constData(), R_OK) == 0)
                return blockDeviceUUID(device);
            reasons.prepend(errnoText(errno)); // the reason an ordinary user knows: Permission denied
            break;
        case IdentitySource::udisks: {
            auto uuid = uuidFromUDisks(device);
            if (uuid)
                return uuid;
            reasons.append(uuid.error().message);
            break;
        }
        }
    }
    if (reasons.isEmpty())
        reasons.append(QCoreApplication::translate("Volumes", "no way to read it is enabled"));
    return Error::make(
        kDomain, kIdentityUnreadable,
        QStringLiteral("The identity of %1 could not be read: %2").arg(device, reasons.join(u"; ")));
}

} // namespace velarix
