#pragma once

#include "analysis/FreefallAnalysis.h"

#include <optional>
#include <vector>

namespace velarix {

// One sampled frame: its own time and how much it differs from the previous good frame.
struct VideoFrameSignal {
    double time = 0;   // seconds, the frame's actual time
    double motion = 0; // 0 … 1
};

// The time of the frame that best combines a jolt of the picture with a drop of the audio level in
// the opening stretch of the finding; nothing with fewer than 4 signals or no frame that passes.
std::optional<double> findFrameDeployment(const std::vector<VideoFrameSignal>& signals,
                                          const FreefallFinding& finding);

// The canopy opening from the audio and the frame evidence: the later of the two, or the one there is.
std::optional<double> combineDeployment(std::optional<double> audioTime, std::optional<double> frameTime);

} // namespace velarix
