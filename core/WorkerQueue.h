#pragma once

#include "core/Result.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace velarix {

// Jobs run by a few threads of the queue's own, while the thread that pushes them goes on. At most
// `capacity` jobs wait or run at once, so a producer that is ahead waits for its turn. Each job gets
// a ticket, numbered in the order it was pushed. The first failure stops the queue: the jobs not yet
// started are dropped (destroyed, which frees what they hold), and every later push or wait hands
// that failure back. The destructor drops what has not started and waits for what has.
template <class Job> class WorkerQueue {
public:
    using Ticket = std::uint64_t;
    // Runs one job on a worker thread, with no lock held.
    using Work = std::function<Result<void>(Job&)>;
    // Called for every job that succeeded, in ticket order, with the queue's lock held: for
    // bookkeeping that must follow the order the jobs were pushed in (how far a file is written).
    using Retire = std::function<void(Job&)>;

    static constexpr qsizetype kUnbounded = std::numeric_limits<qsizetype>::max();

    WorkerQueue(int threads, qsizetype capacity, Work work, Retire retire = {})
        : m_capacity(capacity)
        , m_work(std::move(work))
        , m_retire(std::move(retire)) {
        for (int i = 0; i < threads; ++i)
            m_threads.emplace_back(&WorkerQueue::run, this);
    }
    ~WorkerQueue() { stop(); }
    WorkerQueue(const WorkerQueue&) = delete;
    WorkerQueue& operator=(const WorkerQueue&) = delete;

    // Waits until a job fits; the failure, if the queue has one.
    Result<void> waitForRoom() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return pending() < m_capacity || m_error || m_stopping; });
        return state();
    }

    // Hands a job over once it fits. A stopped or failed queue drops it.
    Result<Ticket> push(Job job) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return pending() < m_capacity || m_error || m_stopping; });
        if (auto failed = state(); !failed)
            return failed.error();
        const Ticket ticket = m_nextTicket++;
        m_waiting.emplace_back(ticket, std::move(job));
        lock.unlock();
        m_changed.notify_all();
        return ticket;
    }

    // Hands a job over only if it fits at once, else drops it.
    bool tryPush(Job job) {
        {
            const std::lock_guard lock(m_mutex);
            if (pending() >= m_capacity || m_error || m_stopping)
                return false;
            m_waiting.emplace_back(m_nextTicket++, std::move(job));
        }
        m_changed.notify_all();
        return true;
    }

    // Waits until the job of `ticket` and every one before it have run, or the queue failed.
    Result<void> waitFor(Ticket ticket) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return ticket < m_retired || m_error || m_stopping; });
        return state();
    }

    // Waits until every job handed over has run, or the queue failed.
    Result<void> waitIdle() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return pending() == 0 || m_error || m_stopping; });
        return state();
    }

    // Whether the job of `ticket` has run (or was dropped), whatever became of those before it.
    bool isDone(Ticket ticket) const {
        const std::lock_guard lock(m_mutex);
        return ticket < m_retired || m_finishedAhead.count(ticket) > 0;
    }

    std::optional<Error> failure() const {
        const std::lock_guard lock(m_mutex);
        return m_error;
    }

    // Drops the jobs not started, waits for the running ones and ends the threads. Not from a job.
    void stop() {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
            dropWaiting();
        }
        m_changed.notify_all();
        for (std::thread& thread : m_threads)
            if (thread.joinable())
                thread.join();
    }

private:
    qsizetype pending() const { return qsizetype(m_waiting.size()) + m_running; }

    Result<void> state() const {
        if (m_error)
            return *m_error;
        if (m_stopping)
            return Error::cancellation();
        return {};
    }

    // A job has run (`job` set) or was dropped or failed (empty). With the lock held.
    void settle(Ticket ticket, std::optional<Job> job) {
        m_finishedAhead.emplace(ticket, std::move(job));
        while (!m_finishedAhead.empty() && m_finishedAhead.begin()->first == m_retired) {
            auto node = m_finishedAhead.extract(m_finishedAhead.begin());
            if (node.mapped() && !m_error && m_retire)
                m_retire(*node.mapped());
            ++m_retired;
        }
    }

    void dropWaiting() {
        while (!m_waiting.empty()) {
            const Ticket ticket = m_waiting.front().first;
            m_waiting.pop_front();
            settle(ticket, std::nullopt);
        }
    }

    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return !m_waiting.empty() || m_stopping; });
            if (m_waiting.empty())
                return;
            auto [ticket, job] = std::move(m_waiting.front());
            m_waiting.pop_front();
            ++m_running;
            lock.unlock();
            Result<void> result = m_work(job);
            lock.lock();
            --m_running;
            if (!result && !m_error) {
                m_error = result.error();
                dropWaiting();
            }
            settle(ticket, result ? std::optional<Job>(std::move(job)) : std::nullopt);
            m_changed.notify_all();
        }
    }

    const qsizetype m_capacity;
    const Work m_work;
    const Retire m_retire;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::pair<Ticket, Job>> m_waiting;
    qsizetype m_running = 0;
    Ticket m_nextTicket = 0;
    Ticket m_retired = 0;                                 // every ticket before this has run or was dropped
    std::map<Ticket, std::optional<Job>> m_finishedAhead; // finished before an earlier ticket
    std::optional<Error> m_error;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace velarix
