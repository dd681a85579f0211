#pragma once

#include "media/MediaOpen.h"

#include <QImage>
#include <QString>

#include <optional>
#include <vector>

namespace velarix {

// One requested picture: the frame the sampler found for it, or why there is none.
struct SampledFrame {
    double requestedTime = 0;
    std::optional<double> time; // the frame's own time in seconds from the start of the file
    QImage image;               // RGBA, scaled to fit 96 × 96, upright
    QString failure;            // set when there is no frame
};

// Takes small pictures of a video at the given times (ascending, seconds from the start): for each,
// the frame nearest to it within the tolerance, where a key frame inside the tolerance is good
// enough. Where the file's index shows key frames near every time, only key frames are read and
// decoded; elsewhere it seeks and decodes up to the time. A frame that cannot be had is reported in
// its own entry; errors are kept for the file as a whole (no video, no decoder) and cancellation.
Result<std::vector<SampledFrame>> sampleFrames(const QString& path, const std::vector<double>& times,
                                               const CancelToken* cancel, double tolerance = 0.5);

} // namespace velarix
