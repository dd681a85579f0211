// Arbitrary bytes opened and analysed as a video file: never a crash, a hang or a leak. Each input
// gets a short time budget, as the trimming queue gives each file its time-out.
#include "analysis/VideoTrimAnalysis.h"
#include "media/AudioLevelReader.h"
#include "media/FrameSampler.h"
#include "media/MediaLog.h"
#include "media/MediaOpen.h"
#include "media/MediaStreams.h"

#include <QFile>
#include <QLoggingCategory>
#include <QString>

#include <cstdlib>
#include <unistd.h>

using namespace velarix;

namespace {

constexpr std::chrono::milliseconds kBudget{2000};

QString scratchPath() {
    return QStringLiteral("/dev/shm/velarix-fuzz-%1.mp4").arg(getpid());
}

// The stages the analysis runs only on clips of 90 s and more, run on any file: the audio levels and
// a few frames.
Result<VideoTrimAnalysisResult> analyse(const QString& path, const CancelToken* stop) {
    if (auto input = openVideoAsset(path, audioReadingOptions(stop))) {
        if (ensureStreamsKnown(*input, path, stop)) {
            const QList<int> audio = audioStreams(input->get());
            if (!audio.isEmpty())
                (void)readAudioLevels(*input, audio.first(), stop);
        }
    }
    (void)sampleFrames(path, {0.0, 0.5, 1.0, 3.0, 60.0}, stop);
    return analyzeVideo(path, stop);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // libFuzzer ends a timed run with exit(): the scratch file goes with it.
    std::atexit([] { QFile::remove(scratchPath()); });
    routeMediaLogs();
    QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = scratchPath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    (void)loadDuration(path);
    { auto input = openVideoAsset(path, OpenOptions{nullptr, 4096, true}); }
    (void)runWithTimeout([](const CancelToken* stop) { return analyse(path, stop); }, path, nullptr, kBudget);
    return 0;
}
