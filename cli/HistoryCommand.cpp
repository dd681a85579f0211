#include "cli/CliSession.h"
#include "platform/Await.h"

#include <QJsonArray>
#include <QJsonObject>

namespace velarix::cli {

namespace {

int runHistory(Invocation& invocation) {
    CardArguments arguments;
    int failure = kExitOk;
    const auto session = CliSession::openOnCard(invocation, invocation.arguments, kClear, arguments, failure);
    if (!session)
        return failure;
    VelarixModel& model = session->model();
    const auto uuid = model.sdCardVolumeUUID();
    if (!uuid) {
        invocation.err << "velarix-cli: the card has no volume UUID, so it has no import history\n";
        return kExitUsage;
    }
    if (arguments.clear) {
        auto cleared = awaitFuture(model.clearImportHistory(session->store()));
        if (!cleared) {
            invocation.err << "velarix-cli: the import history could not be cleared: "
                           << cleared.error().message << '\n';
            return kExitUsage;
        }
        if (!invocation.json)
            invocation.out << "Cleared " << *cleared << " records of " << printable(model.sdCardName())
                           << ".\n";
    }
    auto records = session->store().fetchImportHistory(*uuid);
    if (!records) {
        invocation.err << "velarix-cli: " << records.error().message << '\n';
        return kExitUsage;
    }
    QJsonArray files;
    for (const ImportHistory& record : *records) {
        // Records from before paths were kept have neither path nor size.
        files.append(QJsonObject{
            {QStringLiteral("fileName"), record.fileName},
            {QStringLiteral("date"), isoDate(record.date)},
            {QStringLiteral("path"), record.relativePath ? QJsonValue(*record.relativePath) : QJsonValue()},
            {QStringLiteral("fileSize"),
             record.fileSize ? QJsonValue(double(*record.fileSize)) : QJsonValue()}});
        if (!invocation.json && !arguments.clear)
            invocation.out << isoDate(record.date) << "  "
                           << printable(record.relativePath.value_or(record.fileName)) << '\n';
    }
    if (invocation.json)
        printJsonLine(invocation.out, QJsonObject{{QStringLiteral("card"), session->cardJson()},
                                                  {QStringLiteral("files"), files}});
    else if (records->isEmpty() && !arguments.clear)
        invocation.out << "No files imported from " << printable(model.sdCardName()) << ".\n";
    return kExitOk;
}

const CommandRegistration
    registration({QStringLiteral("history"), QStringLiteral("history [--card DIR] [--clear]"),
                  QStringLiteral("lists the files imported from a card, or forgets them"), runHistory});

} // namespace
} // namespace velarix::cli
