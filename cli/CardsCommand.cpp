#include "cli/CliSession.h"
#include "cli/Command.h"
#include "history/HistoryStore.h"
#include "import/CardManifest.h"
#include "platform/AppPaths.h"
#include "platform/Volumes.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

namespace velarix::cli {

namespace {

int runCards(Invocation& invocation) {
    if (!invocation.arguments.isEmpty())
        return usageError(invocation, QStringLiteral("cards takes no arguments"));
    auto store = HistoryStore::open(AppPaths::storeFile());
    if (!store) {
        invocation.err << "velarix-cli: " << store.error().message << '\n';
        return kExitUsage;
    }
    const auto volumes = SystemVolumes::shared();
    auto list = volumes->mountedVolumes();
    if (!list) {
        invocation.err << "velarix-cli: " << list.error().message << '\n';
        return kExitUsage;
    }
    QJsonArray cards;
    for (const QString& volume : *list) {
        if (!hasDcimFolder(volume))
            continue;
        auto uuid = volumes->volumeUUID(volume);
        const std::optional<QString> id = uuid ? *uuid : std::nullopt;
        // The card's name as a scan finds it: manifest, then history, then the volume's name.
        QString name = QFileInfo(volume).fileName();
        if (auto manifest = readManifest(volume)) {
            name = *manifest;
        } else if (id) {
            if (auto card = (*store)->fetchCard(*id); card && *card)
                name = (*card)->name;
        }
        const quint64 space = volumes->freeSpace(volume).value_or(0);
        cards.append(QJsonObject{{QStringLiteral("path"), volume},
                                 {QStringLiteral("uuid"), id ? QJsonValue(*id) : QJsonValue()},
                                 {QStringLiteral("name"), name},
                                 {QStringLiteral("spaceAvailable"), double(space)}});
        if (!invocation.json)
            invocation.out << printable(name) << '\t' << printable(volume) << '\t'
                           << id.value_or(QStringLiteral("-")) << '\t'
                           << QLocale::c().formattedDataSize(qint64(space), 1, QLocale::DataSizeSIFormat)
                           << " free\n";
    }
    if (invocation.json)
        printJsonLine(invocation.out, cards);
    else if (cards.isEmpty())
        invocation.out << "No camera cards found.\n";
    return kExitOk;
}

const CommandRegistration registration({QStringLiteral("cards"), QStringLiteral("cards"),
                                        QStringLiteral("lists the mounted camera cards"), runCards});

} // namespace
} // namespace velarix::cli
