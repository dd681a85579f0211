#include "import/OutputPlan.h"

#include <QFileInfo>

#include <algorithm>

namespace velarix {

namespace {
constexpr double kGroupingSlackSeconds = 300.0;
}

QList<ResolvedOutputFile> resolveOutputFiles(const OutputPlanInput& input) {
    VideoFileList videos = input.videos;
    std::stable_sort(videos.begin(), videos.end(), [](const VideoFileRowPtr& a, const VideoFileRowPtr& b) {
        return a->created() < b->created();
    });

    const ImportPatternSegments pattern = parsePattern(input.importPattern);
    const QString today = dayFormatter(input.now);
    qint64 jump = input.jumpNumber;
    QHash<QString, int> usedNames;
    VideoFileRowPtr previous;
    QList<ResolvedOutputFile> plan;
    for (const VideoFileRowPtr& video : videos) {
        if (previous) {
            const double gap = double(previous->created().msecsTo(video->created())) / 1000.0;
            const bool joins = input.autogroupVideos && previous->duration() + kGroupingSlackSeconds > gap;
            if (!joins)
                ++jump;
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
            resolved.append({text, segment.placeholder});
        }
        ImportPatternSegments segments = finishOutputSegments(resolved, source.suffix(), usedNames);
        // The system reads a path only up to a NUL: "..\0x" would name the parent folder.
        for (auto& segment : segments)
            segment.text.replace(QChar(0), u'_');
        neutralizeDotComponents(segments);
        QString fileName;
        for (const auto& segment : segments)
            fileName += segment.text;
        plan.append({video, fileName, segments, jump});
        previous = video;
    }
    return plan;
}

} // namespace velarix
