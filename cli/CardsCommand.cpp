#include "cli/CliSession.h"
#include "cli/Command.h"
#include "desktop/AppPaths.h"
#include "desktop/DisplayFormats.h"
#include "desktop/Volumes.h"
#include "history/HistoryStore.h"
#include "import/CardIdentity.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace velarix::cli {

namespace {

int runCards(Invocation& invocation) {
    if (!invocation.arguments.isEmpty())
        return usageError(invocation, QCoreApplication::translate("velarix-cli", "cards takes no arguments"));
    auto store = HistoryStore::open(AppPaths::storeFile());
    if (!store) {
        invocation.err << "velarix-cli: " << store.error().message << '\n';
        return kExitUsage;
    }
    const auto volumes = SystemVolumes::shared();
    auto found = findCardVolumes(*volumes);
    if (!found) {
        invocation.err << "velarix-cli: " << found.error().message << '\n';
        return kExitUsage;
    }
    QJsonArray cards;
    for (const QString& volume : *found) {
        const CardIdentity card = identifyCard(volume, *volumes);
        // The name a scan gives the card; a store that cannot be read leaves the volume's name.
        const auto named = card.name(**store);
        const QString name = named ? *named : QFileInfo(volume).fileName();
        const std::optional<QString>& id = card.uuid;
        cards.append(QJsonObject{{QStringLiteral("path"), volume},
                                 {QStringLiteral("uuid"), id ? QJsonValue(*id) : QJsonValue()},
                                 {QStringLiteral("name"), name},
                                 {QStringLiteral("spaceAvailable"), double(card.spaceAvailable)}});
        if (!invocation.json)
            invocation.out << printable(name) << '\t' << printable(volume) << '\t'
                           << id.value_or(QStringLiteral("-")) << '\t'
                           << QCoreApplication::translate("velarix-cli", "%1 free")
                                  .arg(formatByteCount(card.spaceAvailable))
                           << '\n';
    }
    if (invocation.json)
        printJsonLine(invocation.out, cards);
    else if (cards.isEmpty())
        invocation.out << QCoreApplication::translate("velarix-cli", "No camera cards found.") << '\n';
    return kExitOk;
}

const CommandRegistration registration({QStringLiteral("cards"), QStringLiteral("cards"),
                                        QT_TRANSLATE_NOOP("velarix-cli", "lists the mounted camera cards"),
                                        runCards});

} // namespace
} // namespace velarix::cli
