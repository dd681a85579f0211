// Arbitrary pictures through the frame stages: decoded frames can have any size and format, and a
// sampler may miss some, so motion and the opening refinement must hold for all of them.
//
// Input: a shape byte (where the finding's level drops), then frames, each as a header of six bytes
// (width, height, pixel format, time in seconds, its fraction in 256ths or 0xff for a frame that could
// not be had, the number of pixel bytes that follow) and those bytes, repeated to fill the picture.
#include "FuzzSupport.h"
#include "analysis/FrameSignals.h"
#include "media/FrameMotion.h"

#include <array>
#include <cstring>

using namespace velarix;

namespace {

constexpr int kMaximumFrames = 32;

const std::array kFormats{
    QImage::Format_RGBA8888,    QImage::Format_RGB32,  QImage::Format_ARGB32_Premultiplied,
    QImage::Format_Grayscale8,  QImage::Format_RGB888, QImage::Format_Mono,
    QImage::Format_Indexed8,    QImage::Format_RGB16,  QImage::Format_RGBA64,
    QImage::Format_Grayscale16, QImage::Format_Invalid};

QImage imageFrom(int width, int height, QImage::Format format, const uint8_t* data, size_t size) {
    if (format == QImage::Format_Invalid || width == 0 || height == 0)
        return {};
    QImage image(width, height, format);
    if (format == QImage::Format_Indexed8) {
        // An indexed picture is only valid with its color table; a short one, as a decoder might give.
        QList<QRgb> table;
        for (int i = 0; i < 1 + width % 4; ++i)
            table.append(qRgb(i * 60, 255 - i * 60, i * 30));
        image.setColorTable(table);
    }
    // The bytes repeated over the whole picture, copied in runs: a loop per byte would cost more than
    // the code under test.
    auto* bits = image.bits();
    const size_t total = size_t(image.sizeInBytes());
    if (size == 0)
        std::memset(bits, 0, total);
    for (size_t at = 0; size > 0 && at < total; at += size)
        std::memcpy(bits + at, data, std::min(size, total - at));
    if (format == QImage::Format_Indexed8) {
        const int colors = image.colorCount();
        for (int y = 0; y < height; ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < width; ++x)
                line[x] = colors > 0 ? uchar(line[x] % colors) : 0;
        }
    }
    return image;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const int shape = data[0];
    std::vector<SampledFrame> frames;
    size_t at = 1;
    while (at + 6 <= size && int(frames.size()) < kMaximumFrames) {
        const uint8_t* header = data + at;
        at += 6;
        SampledFrame frame;
        frame.requestedTime = header[3];
        if (header[4] == 0xff) {
            frame.failure = QStringLiteral("missing");
        } else {
            frame.time = header[3] + header[4] / 256.0;
            // Sides up to 255 and, rarely, thin pictures 4096 pixels long.
            const int width = header[0] == 0xfe ? 4096 : header[0];
            int height = header[1] == 0xfe ? 4096 : header[1];
            if (width * height > 16384)
                height = 16384 / width;
            const size_t pixels = std::min<size_t>(size - at, header[5]);
            frame.image = imageFrom(width, height, kFormats[header[2] % kFormats.size()], data + at, pixels);
            at += pixels;
        }
        frames.push_back(std::move(frame));
    }

    // Motion of each frame against the one before it, and against a reference of another size.
    QByteArray previous;
    for (const auto& frame : frames) {
        const QSize thumbnail = thumbnailSize(frame.image.width(), frame.image.height());
        if (thumbnail.width() < 1 || thumbnail.height() < 1 || thumbnail.width() > kThumbnailEdge ||
            thumbnail.height() > kThumbnailEdge)
            fuzz::fail("a thumbnail that does not fit the square");
        const auto measured = frameMotion(frame.image, previous);
        if (!(measured.motion >= 0 && measured.motion <= 1) ||
            measured.luminance.size() != thumbnail.width() * thumbnail.height())
            fuzz::fail("motion outside 0 to 1 or a reference of the wrong size");
        previous = measured.luminance.left(qsizetype(shape));
    }

    const std::vector<VideoFrameSignal> signals = signalsFromFrames(frames);
    for (const auto& signal : signals) {
        if (!(signal.motion >= 0 && signal.motion <= 1))
            fuzz::fail("a frame signal outside 0 to 1");
    }

    // A finding with a level drop somewhere in the frames' times: loud before, quiet after.
    FreefallFinding finding;
    const int n = 520;
    finding.levels.assign(size_t(n), -50.0);
    const int drop = std::clamp(2 * shape, 0, n);
    std::fill(finding.levels.begin(), finding.levels.begin() + drop, -20.0);
    finding.searchStart = shape % 64;
    finding.searchEnd = std::min(finding.searchStart + 2 * shape, n - 1);
    finding.exitIndex = 0;
    finding.prefixLength = n;
    const auto opening = findFrameDeployment(signals, finding);
    if (opening) {
        const bool fromASignal =
            std::any_of(signals.begin(), signals.end(),
                        [&](const VideoFrameSignal& signal) { return signal.time == *opening; });
        if (!fromASignal || *opening < finding.searchStart * kWindowSeconds ||
            *opening > finding.searchEnd * kWindowSeconds)
            fuzz::fail("a frame opening that is no frame of the search stretch");
    }
    return 0;
}
