#include "cli/Command.h"

#include "import/DemoCard.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

namespace velarix::cli {

namespace {

int runDemo(Invocation& invocation) {
    if (invocation.arguments.size() != 1 || invocation.arguments.first().startsWith(u'-'))
        return usageError(invocation, QStringLiteral("demo takes one folder"));
    const QString folder = invocation.arguments.first();
    auto card = DemoCard::make(folder, {}, nullptr, [&](int done, int total) {
        if (!invocation.json)
            invocation.err << QStringLiteral("Making demo clips: %1 of %2\r").arg(done).arg(total)
                           << Qt::flush;
    });
    if (!invocation.json)
        invocation.err << '\n';
    if (!card) {
        invocation.err << "velarix-cli: " << card.error().message << '\n';
        return kExitUsage;
    }
    if (invocation.json) {
        printJsonLine(invocation.out,
                      QJsonObject{{QStringLiteral("card"), card->volumePath},
                                  {QStringLiteral("files"), QJsonArray::fromStringList(card->files)}});
        return kExitOk;
    }
    invocation.out << "Demo card: " << card->volumePath << '\n';
    for (const QString& file : card->files)
        invocation.out << "  " << file << '\n';
    invocation.out << "\nTry it:\n  VELARIX_VOLUMES_DIR=\"" << QDir(folder).absolutePath() << "\" velarix\n";
    return kExitOk;
}

const CommandRegistration registration{
    {QStringLiteral("demo"), QStringLiteral("demo DIR"),
     QStringLiteral("make a demo camera card with synthesised jumps in DIR"), runDemo}};

} // namespace
} // namespace velarix::cli
