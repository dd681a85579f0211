#include "cli/CliSession.h"
#include "import/RecordingStatus.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

namespace velarix::cli {

namespace {

int runPlan(Invocation& invocation) {
    CardArguments arguments;
    int failure = kExitOk;
    const auto session =
        CliSession::openOnCard(invocation, invocation.arguments, kSelection | kOverrides, arguments, failure);
    if (!session)
        return failure;
    session->applyOverrides(arguments);
    if (auto problem = session->model().importPatternProblem())
        return usageError(invocation, *problem);
    if (auto selected = session->selectAndReport(arguments, invocation.err); !selected)
        return usageError(invocation, selected.error().message);

    QJsonArray plan;
    for (const auto& planned : session->model().resolvedOutputFiles()) {
        plan.append(QJsonObject{
            {QStringLiteral("source"), planned.video->path()},
            {QStringLiteral("fileName"), planned.fileName},
            {QStringLiteral("jump"), double(planned.jump)},
            {QStringLiteral("loggedJump"), CliSession::loggedJumpJson(planned.jumpLoggedOn, planned.jump)}});
        if (!invocation.json)
            invocation.out << printable(planned.video->fileName()) << " -> " << printable(planned.fileName)
                           << (planned.jumpLoggedOn ? QStringLiteral("  (%1)").arg(printable(loggedJumpText(
                                                          planned.jump, *planned.jumpLoggedOn)))
                                                    : QString())
                           << '\n';
    }
    if (invocation.json)
        printJsonLine(invocation.out, plan);
    else if (plan.isEmpty())
        invocation.out << QCoreApplication::translate("velarix-cli", "No videos selected.") << '\n';
    return kExitOk;
}

const CommandRegistration registration(
    {QStringLiteral("plan"), QStringLiteral("plan [--card DIR] [SELECTION] [OVERRIDES]"),
     QT_TRANSLATE_NOOP("velarix-cli", "shows the names the selected videos would be imported under"),
     runPlan});

} // namespace
} // namespace velarix::cli
