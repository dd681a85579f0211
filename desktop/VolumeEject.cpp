#include "desktop/VolumeEject.h"

#include "desktop/MountTable.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QFileInfo>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("Eject");
// The codes of the domain "Eject".
enum EjectError : int {
    diskServiceFailed = 1,
    unknownToDiskService = 2,
    unmountFailed = 3,
    powerOffFailed = 4,
    notMounted = 5,
};
const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kNoDrive = QStringLiteral("/");

Error busError(const QString& what, const QDBusError& error) {
    return Error::make(kDomain, diskServiceFailed, QStringLiteral("%1: %2").arg(what, error.message()));
}

QVariant property(const QString& object, const QString& interface, const QString& name, QDBusError& error) {
    QDBusInterface properties(kService, object, QStringLiteral("org.freedesktop.DBus.Properties"),
                              QDBusConnection::systemBus());
    QDBusReply<QDBusVariant> reply = properties.call(QStringLiteral("Get"), interface, name);
    if (!reply.isValid()) {
        error = reply.error();
        return {};
    }
    return reply.value().variant();
}

} // namespace

Result<std::optional<QString>> UDisksSystemBus::blockObject(const QString& device) {
    QDBusInterface manager(kService, QStringLiteral("/org/freedesktop/UDisks2/Manager"),
                           QStringLiteral("org.freedesktop.UDisks2.Manager"), QDBusConnection::systemBus());
    if (!manager.isValid())
        return busError(QCoreApplication::translate("Volumes", "The disk service (UDisks2) is not available"),
                        QDBusConnection::systemBus().lastError());
    QVariantMap lookup{{QStringLiteral("path"), device}};
    QDBusReply<QList<QDBusObjectPath>> reply =
        manager.call(QStringLiteral("ResolveDevice"), lookup, QVariantMap());
    if (!reply.isValid())
        return busError(
            QCoreApplication::translate("Volumes", "The disk service could not find %1").arg(device),
            reply.error());
    if (reply.value().isEmpty())
        return std::optional<QString>();
    return std::optional<QString>(reply.value().first().path());
}

Result<void> UDisksSystemBus::unmount(const QString& blockObject) {
    QDBusInterface filesystem(kService, blockObject, QStringLiteral("org.freedesktop.UDisks2.Filesystem"),
                              QDBusConnection::systemBus());
    QDBusReply<void> reply = filesystem.call(QStringLiteral("Unmount"), QVariantMap());
    if (!reply.isValid())
        return busError(QCoreApplication::translate("Volumes", "The volume could not be unmounted"),
                        reply.error());
    return {};
}

Result<std::optional<QString>> UDisksSystemBus::driveOf(const QString& blockObject) {
    QDBusError error;
    const QVariant drive = property(blockObject, QStringLiteral("org.freedesktop.UDisks2.Block"),
                                    QStringLiteral("Drive"), error);
    if (error.isValid())
        return busError(QCoreApplication::translate("Volumes", "The drive of the volume could not be found"),
                        error);
    const QString path = drive.value<QDBusObjectPath>().path();
    if (path.isEmpty() || path == kNoDrive)
        return std::optional<QString>();
    return std::optional<QString>(path);
}

Result<bool> UDisksSystemBus::canPowerOff(const QString& drive) {
    QDBusError error;
    const QVariant value = property(drive, QStringLiteral("org.freedesktop.UDisks2.Drive"),
                                    QStringLiteral("CanPowerOff"), error);
    if (error.isValid())
        return busError(QCoreApplication::translate("Volumes", "The drive could not be asked"), error);
    return value.toBool();
}

Result<void> UDisksSystemBus::powerOff(const QString& drive) {
    QDBusInterface driveInterface(kService, drive, QStringLiteral("org.freedesktop.UDisks2.Drive"),
                                  QDBusConnection::systemBus());
    QDBusReply<void> reply = driveInterface.call(QStringLiteral("PowerOff"), QVariantMap());
    if (!reply.isValid())
        return busError(QCoreApplication::translate("Volumes", "The drive could not be powered off"),
                        reply.error());
    return {};
}

Result<void> ejectVolume(UDisksBus& bus, const QString& mountPoint, const QString& device) {
    const QString name = QFileInfo(mountPoint).fileName();
    auto block = bus.blockObject(device);
    if (!block)
        return block.error();
    if (!*block)
        return Error::make(
            kDomain, unknownToDiskService,
            QCoreApplication::translate("Volumes", "%1 cannot be ejected: the disk service does not know %2.")
                .arg(name, device));
    if (auto unmounted = bus.unmount(**block); !unmounted)
        return Error::make(kDomain, unmountFailed,
                           QCoreApplication::translate("Volumes", "%1 could not be ejected. %2")
                               .arg(name, unmounted.error().message));
    auto drive = bus.driveOf(**block);
    // Unmounted is what matters for the user's data; a drive that cannot be powered off stays on.
    if (!drive || !*drive)
        return {};
    auto can = bus.canPowerOff(**drive);
    if (!can || !*can)
        return {};
    if (auto off = bus.powerOff(**drive); !off)
        return Error::make(kDomain, powerOffFailed,
                           QCoreApplication::translate(
                               "Volumes", "%1 was unmounted, but its drive could not be powered off. %2")
                               .arg(name, off.error().message));
    return {};
}

Result<void> ejectVolume(const QString& mountPoint) {
    auto table = readMountTable();
    if (!table)
        return table.error();
    const QString absolute = QFileInfo(mountPoint).absoluteFilePath();
    for (auto it = table->crbegin(); it != table->crend(); ++it) {
        if (it->mountPoint == absolute) {
            UDisksSystemBus bus;
            return ejectVolume(bus, absolute, it->source);
        }
    }
    return Error::make(
        kDomain, notMounted,
        QCoreApplication::translate("Volumes", "%1 cannot be ejected: it is not a mounted volume.")
            .arg(absolute));
}

} // namespace velarix
