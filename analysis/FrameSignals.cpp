#include "analysis/FrameSignals.h"

#include "core/Log.h"
#include "media/FrameMotion.h"

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

Result<std::vector<VideoFrameSignal>> sampleFrameSignals(const QStringList& chapters,
                                                         const std::vector<double>& starts, double fromTime,
                                                         double toTime, const CancelToken* cancel) {
    if (toTime <= fromTime || chapters.isEmpty())
        return std::vector<VideoFrameSignal>{};
    std::vector<SampledFrame> all;
    for (qsizetype c = 0; c < chapters.size(); ++c) {
        const double begin = size_t(c) < starts.size() ? starts[size_t(c)] : 0;
        const bool last = c + 1 == chapters.size() || size_t(c + 1) >= starts.size();
        // The times that fall into this chapter, counted from its own start.
        std::vector<double> times;
        for (int k = 0; fromTime + k <= toTime; ++k) {
            const double time = fromTime + k;
            if (time >= begin && (last || time < starts[size_t(c + 1)]))
                times.push_back(time - begin);
        }
        if (times.empty())
            continue;
        auto frames = sampleFrames(chapters[c], times, cancel);
        if (!frames)
            return frames.error();
        for (SampledFrame& frame : *frames) {
            frame.requestedTime += begin;
            if (frame.time)
                *frame.time += begin;
            all.push_back(std::move(frame));
        }
    }
    return signalsFromFrames(all);
}

} // namespace velarix
