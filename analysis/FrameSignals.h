#pragma once

#include "analysis/FrameDeployment.h"
#include "media/FrameSampler.h"

#include <QStringList>

namespace velarix {

// The motion of each frame that could be had against the previous one that could; frames that could
// not be had are logged and left out.
std::vector<VideoFrameSignal> signalsFromFrames(const std::vector<SampledFrame>& frames);

// Samples one frame per second from `fromTime` up to `toTime` and measures its motion. The video is
// the chapters of one recording (or one file), chapter k beginning at `starts[k]` seconds of the
// recording; times are the recording's. Errors of the sampling as a whole are returned; a
// cancellation is one of them.
Result<std::vector<VideoFrameSignal>> sampleFrameSignals(const QStringList& chapters,
                                                         const std::vector<double>& starts, double fromTime,
                                                         double toTime, const CancelToken* cancel);

} // namespace velarix
