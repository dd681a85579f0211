#include "cli/Command.h"
#include "cli/NamedRecordings.h"

#include "analysis/TrimSuggestion.h"
#include "analysis/VideoTrimAnalysis.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>
#include <QLoggingCategory>

#include <unistd.h>

namespace velarix::cli {

namespace {

QJsonValue optionalNumber(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue optionalText(const QString& text) {
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonObject jsonLine(const NamedRecording& video, const Result<VideoTrimAnalysisResult>& outcome,
                     bool withLevels) {
    QJsonObject line{{"file", video.file}};
    QJsonArray chapters;
    for (const QString& chapter : video.chapters)
        chapters.append(QFileInfo(chapter).fileName());
    line.insert(QLatin1String("chapters"), chapters);
    if (!outcome) {
        for (const char* key : {"duration", "fileSize", "suggestedStart", "suggestedEnd", "summary",
                                "exitTime", "audioOpeningTime", "frameOpeningTime", "telemetryExitTime",
                                "telemetryOpeningTime", "telemetrySource", "telemetryProblem", "exitSource",
                                "openingSource", "explanation", "review", "telemetryKinds"})
            line.insert(QLatin1String(key), QJsonValue::Null);
        line.insert(QLatin1String("error"), outcome.error().message);
        if (withLevels)
            line.insert(QLatin1String("levels"), QJsonValue::Null);
        return line;
    }
    const auto& result = *outcome;
    line.insert(QLatin1String("duration"), result.duration);
    line.insert(QLatin1String("fileSize"), result.fileSize);
    line.insert(QLatin1String("suggestedStart"), optionalNumber(result.suggestedStart));
    line.insert(QLatin1String("suggestedEnd"), optionalNumber(result.suggestedEnd));
    line.insert(QLatin1String("summary"), result.summary);
    line.insert(QLatin1String("error"),
                result.error ? QJsonValue(*result.error) : QJsonValue(QJsonValue::Null));
    line.insert(QLatin1String("exitTime"), optionalNumber(result.exitTime));
    line.insert(QLatin1String("audioOpeningTime"), optionalNumber(result.audioOpeningTime));
    line.insert(QLatin1String("frameOpeningTime"), optionalNumber(result.frameOpeningTime));
    line.insert(QLatin1String("telemetryExitTime"), optionalNumber(result.telemetryExitTime));
    line.insert(QLatin1String("telemetryOpeningTime"), optionalNumber(result.telemetryOpeningTime));
    line.insert(QLatin1String("telemetrySource"), optionalText(result.telemetrySource));
    line.insert(QLatin1String("telemetryProblem"), optionalText(result.telemetryProblem));
    line.insert(QLatin1String("exitSource"), optionalText(result.exitSource));
    line.insert(QLatin1String("openingSource"), optionalText(result.openingSource));
    line.insert(QLatin1String("explanation"), optionalText(result.explanation));
    // A flag with its reason: the text when the range needs a look, null when it does not.
    line.insert(QLatin1String("review"), optionalText(result.review));
    line.insert(QLatin1String("telemetryKinds"), QJsonArray::fromStringList(result.telemetryKinds));
    if (withLevels) {
        QJsonValue levels = QJsonValue::Null;
        if (result.levels) {
            QJsonArray array;
            for (double level : *result.levels)
                array.append(level);
            levels = array;
        }
        line.insert(QLatin1String("levels"), levels);
    }
    return line;
}

QString clockOrDash(const std::optional<double>& seconds) {
    return seconds ? formatClock(*seconds) : QStringLiteral("--:--");
}

// The sensor that decided, in the reader's words ("gps" and "accelerometer" are JSON values).
QString telemetrySourceText(const QString& source) {
    if (source == QLatin1String("gps"))
        return QCoreApplication::translate("velarix-cli", "GPS altitude");
    if (source == QLatin1String("accelerometer"))
        return QCoreApplication::translate("velarix-cli", "accelerometer");
    return source;
}

void printHuman(QTextStream& out, QTextStream& err, const QString& file,
                const Result<VideoTrimAnalysisResult>& outcome, bool withLevels) {
    if (!outcome) {
        const QString& message = outcome.error().message;
        if (!message.contains(file))
            err << file << ": ";
        err << message << '\n';
        err.flush();
        return;
    }
    const auto& result = *outcome;
    out << file << ": " << result.shownSummary();
    if (const auto error = result.shownError())
        out << " (" << *error << ')';
    out << '\n';
    if (result.exitTime)
        out << "  "
            << QCoreApplication::translate("velarix-cli", "exit %1, canopy opening by audio %2, by frames %3")
                   .arg(clockOrDash(result.exitTime), clockOrDash(result.audioOpeningTime),
                        clockOrDash(result.frameOpeningTime))
            << '\n';
    if (!result.telemetrySource.isEmpty())
        out << "  "
            << QCoreApplication::translate("velarix-cli", "telemetry (%1): exit %2, canopy opening %3")
                   .arg(telemetrySourceText(result.telemetrySource), clockOrDash(result.telemetryExitTime),
                        clockOrDash(result.telemetryOpeningTime))
            << '\n';
    // Clips without telemetry read as they always did.
    if (!result.explanation.isEmpty() &&
        !(result.telemetrySource.isEmpty() && result.telemetryProblem.isEmpty() &&
          result.telemetryKinds.isEmpty()))
        out << "  " << result.shownExplanation().replace(u'\n', QStringLiteral("\n  ")) << '\n';
    if (!result.review.isEmpty())
        out << "  "
            << QCoreApplication::translate("velarix-cli", "Check before trimming: %1.")
                   .arg(result.shownReview())
            << '\n';
    if (withLevels && result.levels) {
        out << "  " << QCoreApplication::translate("velarix-cli", "levels (dB per half second):");
        const QLocale locale;
        for (double level : *result.levels)
            out << ' ' << locale.toString(level, 'f', 1);
        out << '\n';
    }
    out.flush();
}

int runAnalyze(Invocation& invocation) {
    bool withLevels = false;
    QStringList files;
    for (const QString& argument : invocation.arguments) {
        if (argument == QLatin1String("--levels"))
            withLevels = true;
        else if (argument.startsWith(QLatin1String("--")))
            return usageError(
                invocation,
                QCoreApplication::translate("velarix-cli", "analyze: unknown option '%1'").arg(argument));
        else
            files.append(argument);
    }
    if (files.isEmpty())
        return usageError(invocation,
                          QCoreApplication::translate("velarix-cli", "analyze: no video files given"));

    // Unreadable input is reported in our own words, once per file; per-frame diagnostics stay out
    // of the terminal unless QT_LOGGING_RULES asks for them.
    av_log_set_level(AV_LOG_QUIET);
    QLoggingCategory::setFilterRules(QStringLiteral("app.tarnwick.Velarix.App.debug=false"));
    const bool showProgress = !invocation.json && isatty(STDERR_FILENO);
    int failures = 0;
    const QList<NamedRecording> videos = resolveNamedVideos(files);
    for (int i = 0; i < videos.size(); ++i) {
        const NamedRecording& video = videos[i];
        const QString file = recordingLabel(video);
        if (showProgress) {
            invocation.err << "\r"
                           << QCoreApplication::translate("velarix-cli", "[%1/%2] analysing %3")
                                  .arg(i + 1)
                                  .arg(videos.size())
                                  .arg(QFileInfo(video.file).fileName())
                           << "\x1b[K";
            invocation.err.flush();
        }
        const auto outcome = video.error.isEmpty() ? analyzeRecordingWithTimeout(video.chapters)
                                                   : Result<VideoTrimAnalysisResult>(Error::make(
                                                         QStringLiteral("VideoTrimming"), 1, video.error));
        // The error line stays English in JSON; a person reads it in their language.
        const auto shown = video.error.isEmpty() ? outcome
                                                 : Result<VideoTrimAnalysisResult>(Error::make(
                                                       QStringLiteral("VideoTrimming"), 1, video.shownError));
        if (showProgress) {
            invocation.err << "\r\x1b[K";
            invocation.err.flush();
        }
        if (!outcome)
            ++failures;
        if (invocation.json)
            printJsonLine(invocation.out, jsonLine(video, outcome, withLevels));
        else
            printHuman(invocation.out, invocation.err, file, shown, withLevels);
    }
    if (failures == 0)
        return kExitOk;
    return failures == videos.size() ? kExitUsage : kExitSomeFailed;
}

const CommandRegistration registration(Command{
    QStringLiteral("analyze"), QStringLiteral("analyze FILE... [--levels]"),
    QT_TRANSLATE_NOOP("velarix-cli", "suggests a trim range from exit to canopy opening for each video"),
    runAnalyze});

} // namespace

} // namespace velarix::cli
