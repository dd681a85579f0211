#pragma once

#include "core/Result.h"
#include "desktop/Volumes.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velarix {

class HistoryStore;

// What a mounted camera card says about itself. Read by identifyCard on any thread.
struct CardIdentity {
    QString path;
    // The key of the card's history: the volume's UUID, or the fallback key when it cannot be read.
    std::optional<QString> uuid;
    // Why the volume's UUID could not be read; `uuid` then holds the fallback key (or nothing, when
    // even that could not be made), and marks of earlier imports may be missing.
    std::optional<Error> uuidError;
    std::optional<QString> manifestName;
    quint64 spaceAvailable = 0; // 0 when unknown

    // The card's name: its manifest, else the name the history keeps for it, else the volume's
    // folder name. Reads the store, so on the store's thread.
    Result<QString> name(HistoryStore& store) const;
};

// The key a card's history is kept under when its volume's UUID cannot be read: a name-based UUID of
// the manifest's name when the card has one (the name the import writes there), else of the volume's
// name and its file system's size. An error only when the size cannot be read either.
Result<QString> fallbackCardKey(const QString& volume, const std::optional<QString>& manifestName);

// The key of the card's history: its volume's UUID, absent when the volume has none. Where the UUID
// cannot be read, the fallback key for `manifestName`, with `unreadable` set to why. Blocking.
Result<std::optional<QString>> cardHistoryKey(const QString& volume, const VolumeProvider& volumes,
                                              const std::optional<QString>& manifestName,
                                              std::optional<Error>* unreadable = nullptr);

// Every mounted volume that is a camera card (isCameraCard), in listing order. Blocking.
Result<QStringList> findCardVolumes(const VolumeProvider& volumes);

// Reads the card's UUID, manifest and free space. Blocking (block devices, the card's files).
CardIdentity identifyCard(const QString& volume, const VolumeProvider& volumes);

} // namespace velarix
