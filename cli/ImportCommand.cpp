#include "cli/CliSession.h"
#include "cli/TrimCommand.h"
#include "core/Await.h"
#include "import/RecordingStatus.h"
#include "trimming/CopyAnalyses.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace velarix::cli {

namespace {

// Ctrl-C cancels the run through its progress, so that no temporary file is left behind.
int interruptPipe[2] = {-1, -1};

void onInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(interruptPipe[1], &byte, 1);
}

int runImport(Invocation& invocation) {
    // --trim: the copies are analysed and trimmed to their suggestions once the import is done.
    QStringList rest = invocation.arguments;
    const bool trim = rest.removeAll(QStringLiteral("--trim")) > 0;
    const bool trustSuggestions = rest.removeAll(QStringLiteral("--trust-suggestions")) > 0;
    bool keepOriginal = keepOriginalsSetting();
    if (rest.removeAll(QStringLiteral("--keep-original")) > 0)
        keepOriginal = true;
    if (rest.removeAll(QStringLiteral("--no-keep-original")) > 0)
        keepOriginal = false;
    CardArguments arguments;
    int failure = kExitOk;
    const auto session =
        CliSession::openOnCard(invocation, rest, kSelection | kOverrides | kDestination, arguments, failure);
    if (!session)
        return failure;
    VelarixModel& model = session->model();
    session->applyOverrides(arguments);
    if (auto problem = model.importPatternProblem())
        return usageError(invocation, *problem);
    // Held from before the selection, so that --new is not overtaken by another import of the card.
    if (auto reserved = model.reserveCardForImport(); !reserved) {
        invocation.err << "velarix-cli: " << reserved.error().message << '\n';
        return kExitUsage;
    }
    if (auto selected = session->selectAndReport(arguments, invocation.err); !selected)
        return usageError(invocation, selected.error().message);
    if (const qsizetype again = model.importedSelection(session->store()).size(); again > 0) {
        const qsizetype selected = model.selection().size();
        invocation.err << "velarix-cli: "
                       << (again == selected
                               ? QCoreApplication::translate(
                                     "velarix-cli",
                                     "all %n selected video(s) were imported before and are copied "
                                     "again; --new skips what was imported.",
                                     nullptr, int(selected))
                               : QCoreApplication::translate(
                                     "velarix-cli",
                                     "%1 of the %n selected video(s) were imported before and are "
                                     "copied again; --new skips what was imported.",
                                     nullptr, int(selected))
                                     .arg(again))
                       << '\n';
    }
    if (model.selection().isEmpty()) {
        if (invocation.json)
            printJsonLine(invocation.out, QJsonObject{{QStringLiteral("imported"), QJsonArray()},
                                                      {QStringLiteral("failed"), QJsonArray()},
                                                      {QStringLiteral("cancelled"), false}});
        else
            invocation.out << QCoreApplication::translate("velarix-cli", "No videos to import.") << '\n';
        return kExitOk;
    }

    std::unique_ptr<QSocketNotifier> interrupts;
    if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        interrupts = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(interrupts.get(), &QSocketNotifier::activated, &model, [&model] {
            if (model.importProgress())
                model.importProgress()->cancel();
        });
        std::signal(SIGINT, onInterrupt);
        std::signal(SIGTERM, onInterrupt);
    }

    ProgressBar bar(invocation.err);
    QObject::connect(&model, &VelarixModel::importProgressChanged, &model, [&] {
        if (ImportProgress* progress = model.importProgress()) {
            QObject::connect(progress, &ImportProgress::changed, progress, [&bar, progress] {
                bar.show(progress->fractionCompleted(), progress->statusText());
            });
        }
    });

    ImportOptions options;
    options.verify = !arguments.noVerify;
    // For tests: a pause after each copied chunk, so that a copy is in flight long enough to pull the
    // card, fill the disk or kill the process in the middle of it.
    if (const int delayMs = qEnvironmentVariableIntValue("VELARIX_CLI_CHUNK_DELAY_MS"); delayMs > 0)
        options.afterChunk = [delayMs](const QString&, qint64) {
            QThread::msleep(delayMs);
        };
    // The jump each source is filed under, for the report (chapters under their recording's).
    QHash<QString, const ResolvedOutputFile*> plannedBySource;
    const QList<ResolvedOutputFile> plan = model.resolvedOutputFiles();
    for (const ResolvedOutputFile& planned : plan) {
        for (const QString& chapter : planned.video->chapterPaths())
            plannedBySource.insert(chapter, &planned);
    }
    // With --trim, each copy's bytes are analysed as they are copied, not read again afterwards.
    std::optional<CopyAnalyses> analyses;
    if (trim) {
        options.feedFor = [&analyses = analyses.emplace()](const QString& source) {
            return analyses.feedFor(source);
        };
        options.samplesFor = [&analyses](const QString& first) {
            return analyses->samplesFor(first);
        };
    }
    const ImportReport report = awaitFuture(model.importSelectedVideos(session->store(), options));
    if (analyses)
        analyses->importEnded();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);

    // The jump number advances as in the application, unless this run was given its own.
    if (!arguments.jump && model.autoIncrementJumpNumber() && !report.imported.isEmpty())
        session->userSettings().setValue(SettingsKey::jumpNumber, model.jumpNumber());

    if (report.notStarted) {
        invocation.err << "velarix-cli: " << *report.notStarted << '\n';
        return kExitUsage;
    }
    QJsonArray imported;
    QJsonArray failed;
    for (const auto& file : report.imported) {
        QJsonObject entry{{QStringLiteral("source"), file.source},
                          {QStringLiteral("destination"), file.destination},
                          {QStringLiteral("verified"), options.verify}};
        if (const ResolvedOutputFile* planned = plannedBySource.value(file.source)) {
            entry.insert(QStringLiteral("jump"), double(planned->jump));
            entry.insert(QStringLiteral("loggedJump"),
                         CliSession::loggedJumpJson(planned->jumpLoggedOn, planned->jump));
        }
        imported.append(entry);
        if (!invocation.json) {
            const ResolvedOutputFile* planned = plannedBySource.value(file.source);
            invocation.out << printable(file.source) << " -> " << printable(file.destination)
                           << (planned && planned->jumpLoggedOn
                                   ? QStringLiteral("  (%1)").arg(
                                         printable(loggedJumpText(planned->jump, *planned->jumpLoggedOn)))
                                   : QString())
                           << '\n';
        }
    }
    for (const auto& file : report.failed) {
        failed.append(
            QJsonObject{{QStringLiteral("source"), file.source}, {QStringLiteral("error"), file.error}});
        invocation.err << "velarix-cli: " << printable(file.source) << ": " << printable(file.error) << '\n';
    }
    if (invocation.json) {
        QJsonObject result{{QStringLiteral("imported"), imported},
                           {QStringLiteral("failed"), failed},
                           {QStringLiteral("cancelled"), report.cancelled}};
        if (report.historyError)
            result.insert(QStringLiteral("historyError"), *report.historyError);
        printJsonLine(invocation.out, result);
    } else {
        const int total = int(report.imported.size() + report.failed.size());
        const QString done =
            report.historyError
                ? QCoreApplication::translate(
                      "velarix-cli", "%1 of %n video(s) copied, but not recorded as imported", nullptr, total)
                : QCoreApplication::translate("velarix-cli", "%1 of %n video(s) imported", nullptr, total);
        invocation.out << (report.cancelled ? QCoreApplication::translate("velarix-cli", "%1 (cancelled).")
                                            : QCoreApplication::translate("velarix-cli", "%1."))
                              .arg(done.arg(report.imported.size()))
                       << '\n';
    }
    if (report.historyError)
        invocation.err << "velarix-cli: "
                       << QCoreApplication::translate(
                              "velarix-cli",
                              "the copies are in place, but the import history could not record "
                              "them, so they will not show as imported: %1")
                              .arg(printable(*report.historyError))
                       << '\n';
    else if (!model.error().isEmpty() && report.failed.isEmpty() && !report.cancelled)
        invocation.err << "velarix-cli: " << printable(model.error().errorDescription()) << '\n';
    int status =
        report.failed.isEmpty() && !report.cancelled && !report.historyError ? kExitOk : kExitSomeFailed;
    // Only the copies are trimmed, never the card's files; a cancelled import trims nothing.
    if (trim && !report.cancelled && !report.imported.isEmpty()) {
        QStringList copies;
        for (const auto& file : report.imported)
            copies.append(file.destination);
        invocation.out.flush();
        const int trimmed = trimSuggested(invocation, copies, false, keepOriginal, trustSuggestions);
        if (trimmed != kExitOk)
            status = kExitSomeFailed;
    }
    return status;
}

const CommandRegistration registration(
    {QStringLiteral("import"),
     QStringLiteral("import [--card DIR] [SELECTION] [OVERRIDES] [--dest DIR] [--trim]"),
     QT_TRANSLATE_NOOP("velarix-cli",
                       "copies the selected videos into the destination folder (--no-verify: no read-back; "
                       "--trim: then trims the copies to their suggestions)"),
     runImport});

} // namespace
} // namespace velarix::cli
