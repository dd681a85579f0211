#include "trimming/FrameSignals.h"

#include "platform/FrameMotion.h"
#include "platform/Log.h"

namespace velarix {

std::vector<VideoFrameSignal> signalsFromFrames(const std::vector<SampledFrame>& frames) {
    std::vector<VideoFrameSignal> signals;
    QByteArray reference;
    for (const auto& frame : frames) {
        if (!frame.time) {
            qCDebug(lcApp, "Skipped video frame analysis at %fs: %s", frame.requestedTime,
                    qUtf8Printable(frame.failure));
            continue;
        }
        auto measured = frameMotion(frame.image, reference);
        signals.push_back(VideoFrameSignal{*frame.time, measured.motion});
        reference = std::move(measured.luminance);
    }
    return signals;
}

Result<std::vector<VideoFrameSignal>> sampleFrameSignals(const QString& path, double fromTime, double toTime,
                                                         const CancelToken* cancel) {
    if (toTime <= fromTime)
        return std::vector<VideoFrameSignal>{};
    std::vector<double> times;
    for (int k = 0; fromTime + k <= toTime; ++k)
        times.push_back(fromTime + k);
    auto frames = sampleFrames(path, times, cancel);
    if (!frames)
        return frames.error();
    return signalsFromFrames(*frames);
}

} // namespace velarix
