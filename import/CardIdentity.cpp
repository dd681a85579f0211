#include "import/CardIdentity.h"

#include "history/HistoryStore.h"
#include "import/CardManifest.h"

#include "desktop/VolumeIdentity.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUuid>

namespace velarix {

Result<QString> CardIdentity::name(HistoryStore& store) const {
    if (manifestName)
        return *manifestName;
    if (uuid) {
        auto card = store.fetchCard(*uuid);
        if (!card)
            return card.error();
        if (*card)
            return (*card)->name;
    }
    return QFileInfo(path).fileName();
}

namespace {
// Fixed, so that the same card always gets the same fallback key.
const QUuid kFallbackNamespace = QUuid::fromString(QStringLiteral("{0b6f9d52-3c1e-4f7a-8e25-9d4a61c7b3e8}"));
} // namespace

Result<QString> fallbackCardKey(const QString& volume, const std::optional<QString>& manifestName) {
    QString name;
    if (manifestName) {
        name = QStringLiteral("manifest\n") + *manifestName;
    } else {
        const auto size = fileSystemSize(volume);
        if (!size)
            return Error::make(QStringLiteral("Volumes"), 4,
                               QCoreApplication::translate(
                                   "Import", "Neither the identity nor the size of %1 could be read.")
                                   .arg(volume));
        name = QStringLiteral("volume\n%1\n%2").arg(QFileInfo(volume).fileName()).arg(*size);
    }
    return QUuid::createUuidV5(kFallbackNamespace, name).toString(QUuid::WithoutBraces).toUpper();
}

Result<std::optional<QString>> cardHistoryKey(const QString& volume, const VolumeProvider& volumes,
                                              const std::optional<QString>& manifestName,
                                              std::optional<Error>* unreadable) {
    auto uuid = volumes.volumeUUID(volume);
    if (uuid)
        return *uuid;
    if (unreadable)
        *unreadable = uuid.error();
    auto fallback = fallbackCardKey(volume, manifestName);
    if (!fallback)
        return uuid.error();
    return std::optional<QString>(*fallback);
}

Result<QStringList> findCardVolumes(const VolumeProvider& volumes) {
    auto list = volumes.mountedVolumes();
    if (!list)
        return list.error();
    QStringList cards;
    for (const QString& volume : *list) {
        if (isCameraCard(volume))
            cards.append(volume);
    }
    return cards;
}

CardIdentity identifyCard(const QString& volume, const VolumeProvider& volumes) {
    CardIdentity identity;
    identity.path = volume;
    identity.manifestName = readManifest(volume);
    if (auto key = cardHistoryKey(volume, volumes, identity.manifestName, &identity.uuidError))
        identity.uuid = *key;
    identity.spaceAvailable = volumes.freeSpace(volume).value_or(0);
    return identity;
}

} // namespace velarix
