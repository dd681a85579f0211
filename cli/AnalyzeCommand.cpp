#include "cli/Command.h"
#include "cli/NamedRecordings.h"

#include "trimming/TrimSuggestion.h"
#include "trimming/VideoTrimAnalysis.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
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
    out << file << ": " << result.summary;
    if (result.error)
        out << " (" << *result.error << ')';
    out << '\n';
    if (result.exitTime)
        out << "  exit " << clockOrDash(result.exitTime) << ", canopy opening by audio "
            << clockOrDash(result.audioOpeningTime) << ", by frames " << clockOrDash(result.frameOpeningTime)
            << '\n';
    if (!result.telemetrySource.isEmpty())
        out << "  telemetry (" << result.telemetrySource << "): exit "
            << clockOrDash(result.telemetryExitTime) << ", canopy opening "
            << clockOrDash(result.telemetryOpeningTime) << '\n';
    // Clips without telemetry read as they always did.
    if (!result.explanation.isEmpty() &&
        !(result.telemetrySource.isEmpty() && result.telemetryProblem.isEmpty() &&
          result.telemetryKinds.isEmpty()))
        out << "  " << QString(result.explanation).replace(u'\n', QStringLiteral("\n  ")) << '\n';
    if (!result.review.isEmpty())
        out << "  Check before trimming: " << result.review << ".\n";
    if (withLevels && result.levels) {
        out << "  levels (dB per half second):";
        for (double level : *result.levels)
            out << ' ' << QString::number(level, 'f', 1);
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
            return usageError(invocation, QStringLiteral("analyze: unknown option '%1'").arg(argument));
        else
            files.append(argument);
    }
    if (files.isEmpty())
        return usageError(invocation, QStringLiteral("analyze: no video files given"));

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
            invocation.err << QStringLiteral("\r[%1/%2] analysing %3\x1b[K")
                                  .arg(i + 1)
                                  .arg(videos.size())
                                  .arg(QFileInfo(video.file).fileName());
            invocation.err.flush();
        }
        const auto outcome = video.error.isEmpty() ? analyzeRecordingWithTimeout(video.chapters)
                                                   : Result<VideoTrimAnalysisResult>(Error::make(
                                                         QStringLiteral("VideoTrimming"), 1, video.error));
        if (showProgress) {
            invocation.err << "\r\x1b[K";
            invocation.err.flush();
        }
        if (!outcome)
            ++failures;
        if (invocation.json)
            printJsonLine(invocation.out, jsonLine(video, outcome, withLevels));
        else
            printHuman(invocation.out, invocation.err, file, outcome, withLevels);
    }
    if (failures == 0)
        return kExitOk;
    return failures == videos.size() ? kExitUsage : kExitSomeFailed;
}

const CommandRegistration registration(Command{
    QStringLiteral("analyze"), QStringLiteral("analyze FILE... [--levels]"),
    QStringLiteral("suggests a trim range from exit to canopy opening for each video"), runAnalyze});

} // namespace

} // namespace velarix::cli
