#pragma once

#include "platform/FrameSampler.h"
#include "trimming/FrameDeployment.h"

namespace velarix {

// The motion of each frame that could be had against the previous one that could; frames that could
// not be had are logged and left out.
std::vector<VideoFrameSignal> signalsFromFrames(const std::vector<SampledFrame>& frames);

// Samples one frame per second from `fromTime` up to `toTime` and measures its motion. Errors of the
// sampling as a whole are returned; a cancellation is one of them.
Result<std::vector<VideoFrameSignal>> sampleFrameSignals(const QString& path, double fromTime, double toTime,
                                                         const CancelToken* cancel);

} // namespace velarix
