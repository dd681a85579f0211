#pragma once

#include "history/HistoryRecords.h"
#include "import/ImportPattern.h"
#include "import/VideoFileRow.h"

#include <optional>

namespace velarix {

// The planned output of one video.
struct ResolvedOutputFile {
    VideoFileRowPtr video;
    QString fileName; // relative path below the destination, e.g. "2024-05-01/12 Tandem GX010123.MP4"
    ImportPatternSegments segments;
    qint64 jump = 0; // the jump number this clip was given
    // The card the jump log had this number from ("jump 4, as on CHEST"); absent when the number
    // came from the counter.
    std::optional<QString> jumpLoggedOn;
};

struct OutputPlanInput {
    VideoFileList videos; // the selected videos, any order
    qint64 jumpNumber = 1;
    bool autogroupVideos = true;
    QString importPattern;
    QString cardName;
    QDateTime now; // {today}
};

// Oldest first; clips that start within the previous clip's duration plus 300 s share its jump
// number when grouping is on. With grouping on, a clip within a jump of `jumpLog` (jumps imported
// before, from any card; each span widened by the tolerance) takes that jump's number, and a clip
// grouped with it shares it; only the others take numbers from the counter, which starts at
// `jumpNumber`.
QList<ResolvedOutputFile> resolveOutputFiles(const OutputPlanInput& input,
                                             const QList<LoggedJump>& jumpLog = {},
                                             qint64 jumpLogToleranceSeconds = 600);

// The counter's value after importing `plan`: one past the last number it gave; absent when it gave
// none (every clip was in the jump log, or the plan is empty).
std::optional<qint64> nextJumpNumber(const QList<ResolvedOutputFile>& plan);

} // namespace velarix
