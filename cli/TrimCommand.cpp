#include "cli/TrimCommand.h"

#include "cli/NamedRecordings.h"
#include "core/Await.h"
#include "media/ChapterContinuation.h"

#include "analysis/TrimSuggestion.h"
#include "desktop/Settings.h"
#include "media/MediaStreams.h"
#include "storage/WriteLease.h"
#include "trimming/TrimFlow.h"
#include "trimming/TrimWorkingFolder.h"
#include "trimming/VideoTrimmingModel.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QTimer>

#include <csignal>
#include <unistd.h>

namespace velarix::cli {

namespace {

// Ctrl-C stops the trim cleanly: the source stays as it was and the working folder goes.
CancelToken gInterrupted;

void onInterrupt(int) {
    gInterrupted.cancel(); // a lock-free atomic store: safe in a signal handler
}

struct Range {
    double start = 0;
    double end = 0;
};

// One bound: seconds ("40", "40.5") or a clock ("02:30", "1:02:30").
std::optional<double> parseBound(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(R"(^(?:(?:(\d+):)?(\d+):)?(\d+(?:\.\d+)?)$)"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const double hours = match.captured(1).toDouble();
    const double minutes = match.captured(2).toDouble();
    const double seconds = match.captured(3).toDouble();
    if (match.hasCaptured(2) && seconds >= 60)
        return std::nullopt;
    return hours * 3600 + minutes * 60 + seconds;
}

std::optional<QString> parseRange(const QString& text, Range* range) {
    const QStringList bounds = text.split(QLatin1Char('-'));
    if (bounds.size() != 2)
        return QCoreApplication::translate("TrimCommand",
                                           "--range takes START-END, e.g. 40-150 or 00:40-02:30");
    if (bounds[0].trimmed().isEmpty() || bounds[1].trimmed().isEmpty())
        return QCoreApplication::translate(
                   "TrimCommand", "--range '%1' is missing its %2; give both, e.g. 40-150 or 00:40-02:30")
            .arg(text, bounds[0].trimmed().isEmpty() ? QCoreApplication::translate("TrimCommand", "start")
                                                     : QCoreApplication::translate("TrimCommand", "end"));
    const auto start = parseBound(bounds[0]);
    const auto end = parseBound(bounds[1]);
    if (!start || !end)
        return QCoreApplication::translate("TrimCommand",
                                           "--range '%1' is not START-END in seconds or minutes:seconds")
            .arg(text);
    if (*end <= *start)
        return QCoreApplication::translate("TrimCommand", "--range '%1' ends before it starts").arg(text);
    *range = Range{*start, *end};
    return std::nullopt;
}

QString byteCount(qint64 bytes) {
    return QCoreApplication::translate("TrimCommand", "%1 (%2 bytes)")
        .arg(QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat),
             QLocale(QLocale::English).toString(bytes));
}

// As the window words it: originals in the Trash hold their space until the Trash is emptied.
QString savedText(qint64 bytes, qint64 inTrash) {
    if (inTrash <= 0)
        return QCoreApplication::translate("TrimCommand", "Saved %1.").arg(byteCount(bytes));
    if (bytes - inTrash <= 0)
        return QCoreApplication::translate("TrimCommand", "%1 will be freed when the Trash is emptied.")
            .arg(byteCount(inTrash));
    return QCoreApplication::translate("TrimCommand",
                                       "Saved %1; %2 more will be freed when the Trash is emptied.")
        .arg(byteCount(bytes - inTrash), byteCount(inTrash));
}

// A trimmed file's line: its original's space comes back only when the Trash is emptied.
QString trimmedText(const QString& done, qint64 saved, bool inTrash) {
    if (!inTrash)
        return done;
    return QCoreApplication::translate("TrimCommand", "%1; %2 will be freed when the Trash is emptied")
        .arg(done, QLocale::c().formattedDataSize(saved, 1, QLocale::DataSizeSIFormat));
}

// What became of one file, as printed.
struct FileOutcome {
    QString file;
    std::optional<double> start;
    std::optional<double> end;
    QString message;
    bool done = false; // trimmed, or (dry run) would be trimmed
};

// What to do about suggestions left alone because they need a look.
QString skippedText(int count) {
    return QCoreApplication::translate(
               "TrimCommand", "%1 %2 skipped: the suggested range may leave out part of the jump. Look with "
                              "`velarix-cli analyze`, then trim with --range, or pass --trust-suggestions.\n")
        .arg(count)
        .arg(count == 1 ? QCoreApplication::translate("TrimCommand", "file was")
                        : QCoreApplication::translate("TrimCommand", "files were"));
}

class Reporter {
public:
    explicit Reporter(Invocation& invocation)
        : m_invocation(invocation)
        , m_progress(!invocation.json && isatty(STDERR_FILENO)) {}

    void progress(const QString& text) {
        if (!m_progress)
            return;
        m_invocation.err << "\r" << text << "\x1b[K";
        m_invocation.err.flush();
    }

    void file(const FileOutcome& outcome) {
        progress(QString());
        if (m_invocation.json) {
            const auto number = [](const std::optional<double>& value) {
                return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
            };
            printJsonLine(m_invocation.out, QJsonObject{{"file", outcome.file},
                                                        {"start", number(outcome.start)},
                                                        {"end", number(outcome.end)},
                                                        {"message", outcome.message}});
            return;
        }
        m_invocation.out << outcome.file << ": " << outcome.message;
        if (outcome.start && outcome.end)
            m_invocation.out << " [" << formatClock(*outcome.start) << '-' << formatClock(*outcome.end)
                             << ']';
        m_invocation.out << '\n';
        m_invocation.out.flush();
    }

    // The completion text; with --json on stderr, so that stdout holds one object per file.
    // `inTrash`: of the saved bytes, those whose originals went to the Trash.
    void summary(const VideoTrimCompletionSummary& summary, qint64 inTrash) {
        progress(QString());
        QTextStream& stream = m_invocation.json ? m_invocation.err : m_invocation.out;
        stream << summary.text() << ' ' << savedText(summary.savedBytes, inTrash) << '\n';
        if (summary.reviewSkippedCount > 0)
            stream << skippedText(summary.reviewSkippedCount);
        stream.flush();
    }

private:
    Invocation& m_invocation;
    bool m_progress;
};

// Why a file cannot be trimmed although it opens, as the real trim would say; empty when it can.
QString untrimmableReason(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (auto input = openVideoAsset(path); input && primaryVideoStream(input->get()) < 0)
        return QCoreApplication::translate(
                   "TrimCommand", "%1 has no video, only sound or data, so there is nothing to trim.")
            .arg(name);
    if (const auto state = fileStatus(path); state) {
        if (auto writable = checkNotReadOnly(path, *state); !writable)
            return writable.error().message;
    }
    if (ReadLease::take(path).beingWritten())
        return QCoreApplication::translate(
                   "TrimCommand",
                   "%1 is still being written by another program, so it was left as it is. Trim "
                   "it once that program is done with it.")
            .arg(name);
    return {};
}

int exitStatus(int done, int total) {
    if (total > 0 && done == total)
        return kExitOk;
    return done > 0 ? kExitSomeFailed : kExitUsage;
}

QString dryRunMessage(qint64 savings, int percent) {
    return QCoreApplication::translate("TrimCommand", "Would trim: removes %1 %, saves about %2")
        .arg(percent)
        .arg(QLocale::c().formattedDataSize(savings, 1, QLocale::DataSizeSIFormat));
}

// --range: the same range out of every file, without analysis.
int trimRange(Invocation& invocation, const QStringList& files, const Range& range, bool dryRun,
              bool keepOriginal) {
    Reporter reporter(invocation);
    VideoTrimCompletionSummary summary;
    int done = 0;
    const QList<NamedRecording> videos = resolveNamedVideos(files);
    for (const NamedRecording& video : videos) {
        const QString& file = video.file;
        FileOutcome outcome{file, range.start, range.end, {}, false};
        const QFileInfo info(file);
        QStringList laterChapters;
        for (const QString& chapter : video.chapters.mid(1))
            laterChapters.append(QFileInfo(chapter).absoluteFilePath());
        // The same figures the window shows: estimated from size and duration.
        VideoTrimItem item(QUrl::fromLocalFile(info.absoluteFilePath()));
        item.setChapters(video.chapters);
        Result<double> duration = loadDuration(info.absoluteFilePath());
        if (!laterChapters.isEmpty()) {
            const auto starts =
                chapterStartTimes(QStringList{info.absoluteFilePath()} + laterChapters, nullptr);
            duration = starts ? Result<double>(starts->back()) : Result<double>(starts.error());
        }
        if (duration.ok()) {
            qint64 size = info.size();
            for (const QString& chapter : std::as_const(laterChapters))
                size += QFileInfo(chapter).size();
            item.setDuration(*duration);
            item.setFileSize(size);
            item.setSuggestedStart(range.start);
            item.setSuggestedEnd(range.end);
        }
        if (!video.error.isEmpty()) {
            outcome.message = video.error;
        } else if (!VideoTrimmingModel::isAcceptedVideo(QUrl::fromLocalFile(file))) {
            outcome.message =
                QCoreApplication::translate("TrimCommand", "Not an MP4, MOV or 360 video, left alone.");
        } else if (dryRun) {
            if (!info.exists())
                outcome.message =
                    QCoreApplication::translate("TrimCommand", "The file %1 does not exist.").arg(file);
            else if (item.duration() <= 0)
                outcome.message = QCoreApplication::translate("TrimCommand", "Not a readable video.");
            else if (const QString reason = untrimmableReason(info.absoluteFilePath()); !reason.isEmpty())
                outcome.message = reason;
            else if (range.end > item.duration() + 0.05)
                outcome.message = QCoreApplication::translate(
                                      "TrimCommand", "The range ends after the clip, which is %1 long.")
                                      .arg(formatClock(item.duration()));
            else {
                outcome.message = dryRunMessage(item.estimatedSavings(), item.removedPercent());
                outcome.done = true;
            }
        } else {
            reporter.progress(QCoreApplication::translate("TrimCommand", "Trimming %1").arg(info.fileName()));
            int shown = -1;
            // The original is freed by a process of its own, which goes on after this one ends.
            const auto request =
                TrimFlow::inPlaceRequest(QUrl::fromLocalFile(info.absoluteFilePath()), range.start, range.end,
                                         keepOriginal, laterChapters);
            auto result = TrimFlow::trim(request, &gInterrupted, [&](double fraction) {
                if (int(fraction * 100) == shown)
                    return;
                shown = int(fraction * 100);
                reporter.progress(QCoreApplication::translate("TrimCommand", "Trimming %1 %2 %")
                                      .arg(info.fileName())
                                      .arg(shown));
            });
            if (result.ok()) {
                const qint64 saved = result->savedBytes.value_or(0);
                outcome.message =
                    trimmedText(laterChapters.isEmpty()
                                    ? QCoreApplication::translate("TrimCommand", "Trimmed in place")
                                    : QCoreApplication::translate(
                                          "TrimCommand", "Trimmed in place, %1 chapters joined into %2")
                                          .arg(video.chapters.size())
                                          .arg(info.fileName()),
                                saved, keepOriginal);
                outcome.done = true;
                summary.savedBytes += saved;
            } else {
                outcome.message = result.error().message;
            }
        }
        done += outcome.done;
        if (!outcome.done)
            ++summary.failedCount;
        reporter.file(outcome);
        if (gInterrupted.isCancelled())
            break;
    }
    summary.trimmedCount = dryRun ? 0 : done;
    if (!dryRun)
        reporter.summary(summary, keepOriginal ? summary.savedBytes : 0);
    return exitStatus(done, int(videos.size()));
}

} // namespace

// By default: the trimming model analyses every file, then cuts each to its suggestion, as the window.
int trimSuggested(Invocation& invocation, const QStringList& files, bool dryRun, bool keepOriginal,
                  bool trustSuggestions) {
    Reporter reporter(invocation);
    // Replaced originals are freed after the command has ended, not before.
    freeInDetachedProcesses(true);
    VideoTrimmingModel model;
    model.setKeepOriginalsInTrash(keepOriginal);
    // A signal handler cannot call into Qt: the flag it sets is looked at from the event loop.
    QTimer interruptWatch;
    interruptWatch.setInterval(100);
    QObject::connect(&interruptWatch, &QTimer::timeout, &model, [&] {
        if (gInterrupted.isCancelled())
            model.cancelWork();
    });
    interruptWatch.start();

    // One outcome per file, in the order given; the model's items follow the accepted files.
    QList<FileOutcome> outcomes;
    QList<QUrl> urls;
    QList<int> rowOfUrl;
    const QList<NamedRecording> videos = resolveNamedVideos(files);
    for (const NamedRecording& video : videos) {
        const QString& file = video.file;
        if (!video.error.isEmpty()) {
            outcomes.append(FileOutcome{file, {}, {}, video.error, false});
        } else if (!VideoTrimmingModel::isAcceptedVideo(QUrl::fromLocalFile(file))) {
            outcomes.append(FileOutcome{
                file,
                {},
                {},
                QCoreApplication::translate("TrimCommand", "Not an MP4, MOV or 360 video, left alone."),
                false});
        } else if (!QFileInfo(file).isFile()) {
            outcomes.append(FileOutcome{
                file,
                {},
                {},
                QCoreApplication::translate("TrimCommand", "The file %1 does not exist.").arg(file),
                false});
        } else {
            rowOfUrl.append(int(outcomes.size()));
            urls.append(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
            outcomes.append(FileOutcome{file, {}, {}, {}, false});
        }
    }
    QObject::connect(&model, &VideoTrimmingModel::changed, &model, [&] {
        if (model.isAnalyzing())
            reporter.progress(QCoreApplication::translate("TrimCommand", "Analysing %1/%2")
                                  .arg(model.analyzedCount())
                                  .arg(model.items().size()));
        else if (model.isTrimming())
            reporter.progress(QCoreApplication::translate("TrimCommand", "Trimming %1/%2")
                                  .arg(model.trimCompletedCount() + 1)
                                  .arg(model.trimTotalCount()));
    });
    awaitFuture(model.addVideos(urls));

    const QList<VideoTrimItem*> items = model.items();
    // The trimming run's outcomes name the files by path; the items are gone once it is done.
    QHash<QString, QList<int>> rowsOfPath; // a file given twice is listed twice
    qint64 dryRunSavings = 0;
    int reviewSkipped = 0;
    for (int k = 0; k < items.size() && k < rowOfUrl.size(); ++k) {
        VideoTrimItem* item = items[k];
        FileOutcome& outcome = outcomes[rowOfUrl[k]];
        outcome.start = item->effectiveStart();
        outcome.end = item->effectiveEnd();
        const QString reason =
            item->canTrim() && dryRun ? untrimmableReason(item->url().toLocalFile()) : QString();
        if (!reason.isEmpty()) {
            outcome.message = reason;
        } else if (item->canTrim() && item->needsReview() && !trustSuggestions) {
            outcome.message =
                QCoreApplication::translate("TrimCommand", "Skipped: check before trimming (%1).")
                    .arg(item->reviewReason());
            ++reviewSkipped;
        } else if (item->canTrim()) {
            outcome.message = dryRun ? dryRunMessage(item->estimatedSavings(), item->removedPercent())
                                     : QCoreApplication::translate("TrimCommand", "Not trimmed");
            outcome.done = dryRun;
            dryRunSavings += item->estimatedSavings();
        } else if (item->savesTooLittle()) {
            outcome.message = QCoreApplication::translate(
                "TrimCommand", "The suggestion removes less than 15 seconds, left alone.");
        } else {
            outcome.message = item->analysisError().value_or(item->analysisSummary());
        }
        rowsOfPath[item->url().toLocalFile()].append(rowOfUrl[k]);
    }
    VideoTrimCompletionSummary trimmed;
    if (!dryRun && !gInterrupted.isCancelled())
        trimmed = awaitFuture(model.startTrimming(trustSuggestions));
    qint64 savedBytes = 0;
    qint64 inTrash = 0;
    for (const VideoTrimFileOutcome& file : std::as_const(trimmed.files)) {
        QList<int>& rows = rowsOfPath[file.path];
        if (rows.isEmpty())
            continue;
        const int row = rows.takeFirst();
        FileOutcome& outcome = outcomes[row];
        switch (file.kind) {
        case VideoTrimFileOutcome::Kind::Trimmed:
            // What the file lost on the disk, as the trim flow measured it.
            outcome.message = trimmedText(QCoreApplication::translate("TrimCommand", "Trimmed in place"),
                                          file.savedBytes, file.originalInTrash);
            outcome.done = true;
            savedBytes += file.savedBytes;
            inTrash += file.originalInTrash ? file.savedBytes : 0;
            break;
        case VideoTrimFileOutcome::Kind::Failed:
        case VideoTrimFileOutcome::Kind::Cancelled:
            outcome.message = file.message;
            break;
        case VideoTrimFileOutcome::Kind::Kept:
            break;
        }
    }

    int done = 0;
    for (const FileOutcome& outcome : std::as_const(outcomes)) {
        reporter.file(outcome);
        done += outcome.done;
    }
    if (dryRun) {
        QTextStream& stream = invocation.json ? invocation.err : invocation.out;
        stream << QCoreApplication::translate("TrimCommand", "Would trim %1 of %2 videos, saving about %3.\n")
                      .arg(done)
                      .arg(videos.size())
                      .arg(QLocale::c().formattedDataSize(dryRunSavings, 1, QLocale::DataSizeSIFormat));
        if (reviewSkipped > 0)
            stream << skippedText(reviewSkipped);
        stream.flush();
    } else {
        VideoTrimCompletionSummary summary = trimmed;
        summary.savedBytes = savedBytes;
        reporter.summary(summary, inTrash);
    }
    // Only where no detached process could take a free over is one still pending here.
    waitForPendingFrees();
    return exitStatus(done, int(videos.size()));
}

bool keepOriginalsSetting() {
    return Settings::standard().boolValue(VideoTrimmingModel::kKeepOriginalsInTrashKey).value_or(false);
}

namespace {

int runTrim(Invocation& invocation) {
    QStringList files;
    std::optional<Range> range;
    bool dryRun = false;
    bool keepOriginal = keepOriginalsSetting();
    bool trustSuggestions = false;
    for (int i = 0; i < invocation.arguments.size(); ++i) {
        const QString& argument = invocation.arguments[i];
        if (argument == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (argument == QLatin1String("--trust-suggestions")) {
            trustSuggestions = true;
        } else if (argument == QLatin1String("--keep-original")) {
            keepOriginal = true;
        } else if (argument == QLatin1String("--no-keep-original")) {
            keepOriginal = false;
        } else if (argument == QLatin1String("--range") || argument.startsWith(QLatin1String("--range="))) {
            QString text;
            if (argument.contains(QLatin1Char('=')))
                text = argument.section(QLatin1Char('='), 1);
            else if (i + 1 < invocation.arguments.size())
                text = invocation.arguments[++i];
            else
                return usageError(
                    invocation,
                    QCoreApplication::translate("TrimCommand", "trim: --range needs START-END, e.g. 40-150"));
            Range parsed;
            if (const auto error = parseRange(text, &parsed))
                return usageError(invocation, QStringLiteral("trim: ") + *error);
            range = parsed;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return usageError(
                invocation,
                QCoreApplication::translate("TrimCommand", "trim: unknown option '%1'").arg(argument));
        } else {
            files.append(argument);
        }
    }
    if (files.isEmpty())
        return usageError(invocation,
                          QCoreApplication::translate("TrimCommand", "trim: no video files given"));

    // Unreadable input is reported in our own words.
    av_log_set_level(AV_LOG_QUIET);
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    freeInDetachedProcesses(true);
    if (!dryRun) {
        QStringList notes = removeAbandonedTrimFolders().notes;
        for (const QString& file : files)
            notes += removeLeftoverTrimFolders(file).notes;
        for (const QString& note : std::as_const(notes))
            invocation.err << note << '\n';
        invocation.err.flush();
    }
    const int status = range ? trimRange(invocation, files, *range, dryRun, keepOriginal)
                             : trimSuggested(invocation, files, dryRun, keepOriginal, trustSuggestions);
    waitForPendingFrees();
    return status;
}

const CommandRegistration registration(Command{
    QStringLiteral("trim"),
    QStringLiteral("trim FILE... [--range START-END] [--dry-run] [--keep-original] [--trust-suggestions]"),
    QT_TRANSLATE_NOOP("velarix-cli",
                      "analyses videos, then trims them in place to the suggested range (or the one given)"),
    runTrim});

} // namespace

} // namespace velarix::cli
