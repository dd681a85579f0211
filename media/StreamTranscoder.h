#pragma once

#include "core/Result.h"
#include "media/AvPtr.h"

#include <functional>
#include <memory>

namespace velarix {

// Re-encodes one video stream (H.264, libx264 at high quality) or audio stream (AAC) of a time range,
// for the streams an MP4 file cannot carry as they are. Frames before the start and from the end on
// are dropped, so the output needs no edit list: its first frame is the one at the start.
class StreamTranscoder {
public:
    using WritePacket = std::function<Result<void>(AVPacket*)>;

    // Adds the output stream to `output`; `start`/`end` are seconds from the container's `origin`
    // (microseconds).
    static Result<std::unique_ptr<StreamTranscoder>> create(AVStream* input, AVFormatContext* output,
                                                            int64_t originUs, double start, double end);
    virtual ~StreamTranscoder() = default;

    virtual AVStream* outputStream() const = 0;
    // Takes one packet of the input stream (input time base, untouched timestamps).
    virtual Result<void> push(const AVPacket* packet, const WritePacket& write) = 0;
    // Drains the decoder and encoder at the end of the range.
    virtual Result<void> flush(const WritePacket& write) = 0;
};

} // namespace velarix
