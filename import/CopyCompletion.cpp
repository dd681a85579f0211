#include "import/CopyCompletion.h"

namespace velarix {

CopyCompletion::CopyCompletion(Done done)
    : m_done(std::move(done))
    , m_thread(&CopyCompletion::run, this) {}

CopyCompletion::~CopyCompletion() {
    finish();
}

void CopyCompletion::push(qsizetype index, Result<PendingCopyPtr> written, CopyControl control) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
    m_jobs.push_back({index, std::move(written), std::move(control), std::nullopt});
    m_changed.notify_all();
}

void CopyCompletion::pushDone(qsizetype index, Result<QString> done) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
    m_jobs.push_back({index, Error::cancellation(), {}, std::move(done)});
    m_changed.notify_all();
}

void CopyCompletion::finish() {
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CopyCompletion::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_jobs.empty() || m_closing; });
        if (m_jobs.empty())
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        if (job.done)
            m_done(job.index, *job.done);
        else if (job.written)
            m_done(job.index, completeCopy(std::move(*job.written), job.control));
        else
            m_done(job.index, Result<QString>(job.written.error()));
        lock.lock();
        m_busy = false;
        m_changed.notify_all(); // the writer may hand over the next one now
    }
}

} // namespace velarix
