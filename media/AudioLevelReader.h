#pragma once

#include "media/MediaOpen.h"

#include <functional>
#include <vector>

namespace velarix {

// Audio is measured as mono float at this rate, in windows of this many samples (about half a second).
inline constexpr int kLevelSampleRate = 11025;
inline constexpr int kLevelWindowSamples = 5512;

// The level in dB relative to full scale of a window with this mean square; -120 dB for silence.
double levelOfMeanSquare(double meanSquare);

// Turns a stream of samples into window levels. Windows run across the buffers they arrive in;
// only the running sum of the current window is held, never the samples.
class LevelAccumulator {
public:
    void add(const float* samples, qsizetype count);
    // Appends the partial last window, if any, and hands over the levels.
    std::vector<double> finish();

private:
    std::vector<double> m_levels;
    double m_sumOfSquares = 0;
    int m_count = 0;
};

// Options an audio reader needs from its input: a small I/O buffer, so that the bytes of the
// discarded streams are really skipped rather than read through.
OpenOptions audioReadingOptions(const CancelToken* cancel);

// Decodes one audio stream of an input to mono float at 11,025 Hz and returns one level per window.
// Every other stream is discarded. Errors are in the domain "VideoTrimming" (codes 1 to 3, TrimErrors.h); a
// set cancel flag ends the reading with a cancellation, checked at least once per decoded buffer.
// `progress` gets the fraction of the clip's duration read so far.
Result<std::vector<double>> readAudioLevels(MediaInput& input, int streamIndex, const CancelToken* cancel,
                                            const std::function<void(double)>& progress = {});
// The same into windows that go on from an earlier input's: the chapters of one recording are
// measured as one sound. With `alongside`, the packets of that stream too are read in the same pass
// and handed to `take` (the input is then read once for both).
struct AlongsideStream {
    int index = -1;
    std::function<void(const AVPacket* packet)> take;
};
Result<void> addAudioLevels(MediaInput& input, int streamIndex, LevelAccumulator& levels,
                            const CancelToken* cancel, const std::function<void(double)>& progress = {},
                            const AlongsideStream& alongside = {});

} // namespace velarix
