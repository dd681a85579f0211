#include "storage/ReadAhead.h"

#include "storage/PosixFile.h"

#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <thread>

namespace velarix {

namespace {

// The kernel reads at most its read-ahead window per request (128 KiB on many card readers), so
// larger steps would leave holes.
constexpr qint64 kStep = 128 * 1024;

} // namespace

struct ReadAhead::State {
    int fd = -1;
    qint64 size = 0;
    qint64 depth = 0;
    std::mutex mutex;
    std::condition_variable_any wake;
    qint64 consumed = 0;
    qint64 ahead = 0; // read ahead up to here; only the thread writes it
    std::jthread thread;

    void run(std::stop_token stop) {
        std::unique_lock lock(mutex);
        while (ahead < size) {
            if (!wake.wait(lock, stop, [&] { return ahead < consumed + depth; }))
                return;
            const qint64 from = std::max(ahead, consumed);
            const qint64 length = std::min(kStep, size - from);
            lock.unlock();
            // Starts the reads and returns; it waits only when the device's queue is full.
            ::posix_fadvise(fd, from, length, POSIX_FADV_WILLNEED);
            lock.lock();
            ahead = from + length;
        }
    }
};

ReadAhead::ReadAhead(int fd, qint64 size, qint64 depth)
    : m_state(std::make_unique<State>()) {
    m_state->fd = fd;
    m_state->size = size;
    m_state->depth = depth;
    m_state->thread = std::jthread([state = m_state.get()](std::stop_token stop) { state->run(stop); });
}

ReadAhead::~ReadAhead() {
    m_state->thread.request_stop();
    m_state->thread.join();
    if (m_state->ahead > m_state->consumed)
        dropCachedPages(m_state->fd, m_state->consumed, m_state->ahead - m_state->consumed);
}

void ReadAhead::consumed(qint64 offset) {
    {
        std::lock_guard lock(m_state->mutex);
        if (offset <= m_state->consumed)
            return;
        m_state->consumed = offset;
    }
    m_state->wake.notify_one();
}

} // namespace velarix
