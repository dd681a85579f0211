#pragma once

#include "platform/Result.h"
#include "platform/Volumes.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velarix {

class HistoryStore;

// What a mounted camera card says about itself. Read by identifyCard on any thread.
struct CardIdentity {
    QString path;
    std::optional<QString> uuid;
    // Why the UUID could not be read; the card is then shown but its history cannot be kept.
    std::optional<Error> uuidError;
    std::optional<QString> manifestName;
    quint64 spaceAvailable = 0; // 0 when unknown

    // The card's name: its manifest, else the name the history keeps for it, else the volume's
    // folder name. Reads the store, so on the store's thread.
    Result<QString> name(HistoryStore& store) const;
};

// Every mounted volume that is a camera card (isCameraCard), in listing order. Blocking.
Result<QStringList> findCardVolumes(const VolumeProvider& volumes);

// Reads the card's UUID, manifest and free space. Blocking (block devices, the card's files).
CardIdentity identifyCard(const QString& volume, const VolumeProvider& volumes);

} // namespace velarix
