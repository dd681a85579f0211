#include "import/OutputPlan.h"

#include "import/JumpLogMatch.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

// The end of a clip's recording. A duration that is not a number, negative or absurd (a damaged file)
// gives no span rather than an undefined conversion.
QDateTime recordingEnd(const VideoFileRow& video) {
    const double seconds = video.duration();
    if (!std::isfinite(seconds) || seconds <= 0 || seconds > 7 * 24 * 3600.0)
        return video.created();
    return video.created().addMSecs(qint64(seconds * 1000));
}
constexpr double kGroupingSlackSeconds = 300.0;
} // namespace

QList<ResolvedOutputFile> resolveOutputFiles(const OutputPlanInput& input, const QList<LoggedJump>& jumpLog,
                                             qint64 jumpLogToleranceSeconds) {
    VideoFileList videos = input.videos;
    std::stable_sort(videos.begin(), videos.end(), [](const VideoFileRowPtr& a, const VideoFileRowPtr& b) {
        return a->created() < b->created();
    });

    const ImportPatternSegments pattern = parsePattern(input.importPattern);
    const QString today = dayFormatter(input.now);
    qint64 counter = input.jumpNumber;
    bool counterUsed = false;
    qint64 jump = input.jumpNumber;
    std::optional<QString> loggedOn;
    QHash<QString, int> usedNames;
    QSet<QString> planned;
    VideoFileRowPtr previous;
    QList<ResolvedOutputFile> plan;
    for (const VideoFileRowPtr& video : videos) {
        bool joins = false;
        if (previous) {
            const double gap = double(previous->created().msecsTo(video->created())) / 1000.0;
            joins = input.autogroupVideos && previous->duration() + kGroupingSlackSeconds > gap;
        }
        const std::optional<LoggedJump> logged =
            input.autogroupVideos
                ? matchLoggedJump(jumpLog, video->created(), recordingEnd(*video), jumpLogToleranceSeconds)
                : std::nullopt;
        if (logged) {
            jump = logged->jump;
            loggedOn = logged->cardName;
        } else if (!joins) {
            if (counterUsed)
                ++counter;
            counterUsed = true;
            jump = counter;
            loggedOn.reset();
        }
        const QFileInfo source(video->path());
        ImportPatternSegments resolved;
        for (const auto& segment : pattern) {
            QString text = segment.text;
            if (segment.placeholder) {
                switch (*segment.placeholder) {
                case Placeholder::date:
                    text = dayFormatter(video->created());
                    break;
                case Placeholder::today:
                    text = today;
                    break;
                case Placeholder::name:
                    text = input.cardName;
                    break;
                case Placeholder::jump:
                    text = QString::number(jump);
                    break;
                case Placeholder::filename:
                    text = source.completeBaseName();
                    break;
                case Placeholder::folderSeparator:
                    text = QStringLiteral("/");
                    break;
                }
            }
            // Only the pattern's own "/" makes folders: a card named "Helmet/Cam" is one name.
            if (segment.placeholder && *segment.placeholder != Placeholder::folderSeparator)
                text.replace(u'/', u'_');
            resolved.append({text, segment.placeholder});
        }
        // A last component of nothing but blanks would leave a hidden ".MP4": the clip's own name
        // stands in (an empty card name with the pattern "{name}").
        QString lastComponent;
        for (const auto& segment : resolved) {
            const qsizetype slash = segment.text.lastIndexOf(u'/');
            lastComponent = slash < 0 ? lastComponent + segment.text : segment.text.mid(slash + 1);
        }
        if (lastComponent.trimmed().isEmpty())
            resolved.append({source.completeBaseName(), Placeholder::filename});
        // Confining can make names equal ("a//b" and "a/b"), and a counted name can equal another
        // file's own ("a" twice and "a-1"): the counter goes on until the name is free.
        ImportPatternSegments segments;
        QString fileName;
        do {
            segments = finishOutputSegments(resolved, source.suffix(), usedNames);
            confinePathComponents(segments);
            fileName.clear();
            for (const auto& segment : segments)
                fileName += segment.text;
        } while (planned.contains(fileName));
        planned.insert(fileName);
        plan.append({video, fileName, segments, jump, loggedOn});
        previous = video;
    }
    return plan;
}

std::optional<qint64> nextJumpNumber(const QList<ResolvedOutputFile>& plan) {
    std::optional<qint64> next;
    for (const ResolvedOutputFile& file : plan) {
        if (!file.jumpLoggedOn)
            next = std::max(next.value_or(file.jump + 1), file.jump + 1);
    }
    return next;
}

} // namespace velarix
