#pragma once

#include "core/WorkerQueue.h"
#include "import/FileCopy.h"

#include <optional>

namespace velarix {

// The second stage of an import: makes each written copy durable, reads it back and names it
// (completeCopy) on a thread of its own, while the first stage writes the next file. So the disk
// reads back one file while it writes the next; a writer that is ahead waits for its turn.
class CopyCompletion {
public:
    // Called on the completion thread for every item handed over, in the order they were handed over.
    using Done = std::function<void(qsizetype index, const Result<QString>& result)>;

    explicit CopyCompletion(Done done);
    // Completes what was handed over, then stops the thread.
    ~CopyCompletion();
    CopyCompletion(const CopyCompletion&) = delete;
    CopyCompletion& operator=(const CopyCompletion&) = delete;

    // Hands over a written copy, or the reason there is none. Waits until the earlier one is done.
    void push(qsizetype index, Result<PendingCopyPtr> written, CopyControl control);
    // Hands over a copy that is already complete (or failed), to be reported in its turn.
    void pushDone(qsizetype index, Result<QString> done);
    // Waits until everything handed over is done.
    void finish();

private:
    struct Job {
        qsizetype index;
        Result<PendingCopyPtr> written;
        CopyControl control;
        std::optional<Result<QString>> done; // complete already: only reported
    };
    void complete(Job& job) const;

    Done m_done;
    // One at a time: a push waits until the one before is done.
    WorkerQueue<Job> m_jobs;
};

} // namespace velarix
