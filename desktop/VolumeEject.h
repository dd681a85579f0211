#pragma once

#include "core/Result.h"

#include <QString>

#include <memory>
#include <optional>

namespace velarix {

// The few UDisks2 calls that ejecting needs; the D-Bus one is UDisksSystemBus, tests use a fake.
class UDisksBus {
public:
    virtual ~UDisksBus() = default;
    // The block device object of a device node such as /dev/sdb1; absent when UDisks does not know it.
    virtual Result<std::optional<QString>> blockObject(const QString& device) = 0;
    virtual Result<void> unmount(const QString& blockObject) = 0;
    // The drive holding the block device; absent for devices without one (loop devices, for example).
    virtual Result<std::optional<QString>> driveOf(const QString& blockObject) = 0;
    virtual Result<bool> canPowerOff(const QString& drive) = 0;
    virtual Result<void> powerOff(const QString& drive) = 0;
};

// Talks to org.freedesktop.UDisks2 on the system bus (blocking calls: use it off the GUI thread).
class UDisksSystemBus : public UDisksBus {
public:
    Result<std::optional<QString>> blockObject(const QString& device) override;
    Result<void> unmount(const QString& blockObject) override;
    Result<std::optional<QString>> driveOf(const QString& blockObject) override;
    Result<bool> canPowerOff(const QString& drive) override;
    Result<void> powerOff(const QString& drive) override;
};

// Unmounts the volume mounted at `mountPoint` (whose device is `device`), then powers off its drive
// where the drive allows it. Errors say what went wrong in words.
Result<void> ejectVolume(UDisksBus& bus, const QString& mountPoint, const QString& device);

// Looks the device up in the mount table and ejects through the system bus.
Result<void> ejectVolume(const QString& mountPoint);

} // namespace velarix
