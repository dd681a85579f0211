#include "trimming/CopyAnalyses.h"

#include "media/AudioLevelReader.h"
#include "media/CopyFeedInput.h"
#include "trimming/TrimmingLog.h"
#include "trimming/VideoTrimmingModel.h"

#include <QFileInfo>
#include <QHash>

namespace velarix {

namespace {

// The readings of named copies, by path, until the trimming takes them.
std::mutex gRegisterMutex;
QHash<QString, AnalysisReading>& readingRegister() {
    static QHash<QString, AnalysisReading> readings;
    return readings;
}

Result<AnalysisReading> readCopy(const std::shared_ptr<CopyFeed>& feed, const QString& source,
                                 const CancelToken* cancel) {
    auto input = openCopyFeed(feed, source, audioReadingOptions(cancel));
    if (!input)
        return input.error();
    const std::optional<qint64> size = feed->waitForSize();
    return readForAnalysis(std::move(*input), source, size.value_or(0), cancel);
}

// The joined file's pass, once it is written: its headers from the disk, its sound and telemetry
// from what the join kept.
Result<AnalysisReading> readJoined(JoinedSamples& samples, const CancelToken* cancel) {
    const Result<QString> named = samples.waitForName();
    if (!named)
        return named.error();
    auto input = samples.open(*named, audioReadingOptions(cancel));
    if (!input)
        return input.error();
    return readForAnalysis(std::move(*input), *named, QFileInfo(*named).size(), cancel);
}

} // namespace

CopyAnalyses::CopyAnalyses() = default;

CopyAnalyses::~CopyAnalyses() {
    m_cancel.cancel();
    importEnded();
}

std::shared_ptr<CopyFeed> CopyAnalyses::feedFor(const QString& source) {
    // Only what the trimming takes (a camera's thumbnails and proxies go as they are).
    if (!VideoTrimmingModel::isAcceptedVideo(QUrl::fromLocalFile(source)))
        return nullptr;
    auto reading = std::make_unique<Reading>();
    reading->feed = std::make_shared<CopyFeed>(&m_cancel);
    Reading* self = reading.get();
    reading->thread = std::thread([self, source, cancel = &m_cancel] {
        auto read = readCopy(self->feed, source, cancel);
        self->feed->stopReading();
        if (!read && !read.isCancelled())
            qCWarning(lcTrimming, "Reading %s for its analysis as it was copied failed: %s",
                      qUtf8Printable(source), qUtf8Printable(read.error().message));
        else if (read)
            qCDebug(lcTrimming,
                    "Read %s for its analysis as it was copied; %lld bytes read again from the copy",
                    qUtf8Printable(source), self->feed->bytesReadFromDisk());
        self->outcome = std::move(read);
    });
    std::shared_ptr<CopyFeed> feed = reading->feed;
    add(std::move(reading));
    return feed;
}

std::shared_ptr<JoinedSamples> CopyAnalyses::samplesFor(const QString& firstChapter) {
    if (!VideoTrimmingModel::isAcceptedVideo(QUrl::fromLocalFile(firstChapter)))
        return nullptr;
    auto reading = std::make_unique<Reading>();
    reading->samples = std::make_shared<JoinedSamples>();
    Reading* self = reading.get();
    reading->thread = std::thread([self, firstChapter, cancel = &m_cancel] {
        auto read = readJoined(*self->samples, cancel);
        if (!read && !read.isCancelled())
            qCInfo(lcTrimming, "The recording of %s is analysed from its joined file: %s",
                   qUtf8Printable(firstChapter), qUtf8Printable(read.error().message));
        else if (read)
            qCDebug(lcTrimming,
                    "Read the recording of %s for its analysis as it was joined; %lld bytes "
                    "of headers read from the joined file",
                    qUtf8Printable(firstChapter), self->samples->bytesReadFromDisk());
        self->outcome = std::move(read);
    });
    std::shared_ptr<JoinedSamples> samples = reading->samples;
    add(std::move(reading));
    return samples;
}

void CopyAnalyses::add(std::unique_ptr<Reading> reading) {
    const std::lock_guard lock(m_mutex);
    m_readings.push_back(std::move(reading));
}

void CopyAnalyses::importEnded() {
    std::vector<std::unique_ptr<Reading>> readings;
    {
        const std::lock_guard lock(m_mutex);
        readings.swap(m_readings);
    }
    for (const auto& reading : readings) {
        // A copy that never started (its source unreadable, the import cancelled) ends here.
        if (reading->feed)
            reading->feed->end(Error::cancellation());
        else
            reading->samples->end(Error::cancellation());
        reading->thread.join();
        const Result<QString> named =
            reading->feed ? reading->feed->waitForName() : reading->samples->waitForName();
        if (!named || !reading->outcome || !*reading->outcome)
            continue;
        const std::lock_guard lock(gRegisterMutex);
        readingRegister().insert(QFileInfo(*named).absoluteFilePath(), std::move(**reading->outcome));
    }
}

std::optional<AnalysisReading> takeCopyReading(const QString& path) {
    const std::lock_guard lock(gRegisterMutex);
    auto& readings = readingRegister();
    const auto found = readings.find(QFileInfo(path).absoluteFilePath());
    if (found == readings.end())
        return std::nullopt;
    AnalysisReading reading = std::move(*found);
    readings.erase(found);
    return reading;
}

} // namespace velarix
