#pragma once

#include "analysis/VideoTrimAnalysis.h"
#include "media/CopyFeed.h"
#include "media/JoinedSamples.h"

#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace velarix {

// The analyses of an import's copies, read from the import's own bytes as they are copied, so that
// no copy is read a second time for its analysis ("Trim after import", `import --trim`). Each copy's
// pass over its bytes runs on a thread of its own beside the copy; the copy's key frames and the
// suggestion come later, when the trimming analyses the named copy (takeCopyReading). A reading that
// fails only leaves that copy to the ordinary analysis: it never fails the import.
class CopyAnalyses {
public:
    CopyAnalyses();
    // Stops and waits for the readings still running.
    ~CopyAnalyses();
    CopyAnalyses(const CopyAnalyses&) = delete;
    CopyAnalyses& operator=(const CopyAnalyses&) = delete;

    // For ImportOptions::feedFor: the feed of the copy of `source`, read from at once.
    std::shared_ptr<CopyFeed> feedFor(const QString& source);
    // For ImportOptions::samplesFor: what the join of the recording that begins with `firstChapter`
    // keeps, read once the joined file is written.
    std::shared_ptr<JoinedSamples> samplesFor(const QString& firstChapter);
    // Once the import is over: waits for the readings, and leaves each named copy's where
    // takeCopyReading finds it.
    void importEnded();

private:
    struct Reading {
        std::shared_ptr<CopyFeed> feed;         // a single file's copy
        std::shared_ptr<JoinedSamples> samples; // or a recording's join
        std::thread thread;
        std::optional<Result<AnalysisReading>> outcome; // set by the thread before it ends
    };
    void add(std::unique_ptr<Reading> reading);
    CancelToken m_cancel;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<Reading>> m_readings;
};

// The reading of the copy at `path` from its import's bytes, when there is one; taken out.
std::optional<AnalysisReading> takeCopyReading(const QString& path);

} // namespace velarix
