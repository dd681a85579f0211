#include "import/CardIdentity.h"

#include "history/HistoryStore.h"
#include "import/CardManifest.h"

#include <QFileInfo>

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
    if (auto uuid = volumes.volumeUUID(volume))
        identity.uuid = *uuid;
    else
        identity.uuidError = uuid.error();
    identity.spaceAvailable = volumes.freeSpace(volume).value_or(0);
    return identity;
}

} // namespace velarix
