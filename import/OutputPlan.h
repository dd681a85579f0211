#pragma once

#include "import/ImportPattern.h"
#include "import/VideoFileRow.h"

namespace velarix {

// The planned output of one video.
struct ResolvedOutputFile {
    VideoFileRowPtr video;
    QString fileName; // relative path below the destination, e.g. "2024-05-01/12 Tandem GX010123.MP4"
    ImportPatternSegments segments;
    qint64 jump = 0; // the jump number this clip was given
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
// number when grouping is on.
QList<ResolvedOutputFile> resolveOutputFiles(const OutputPlanInput& input);

} // namespace velarix
