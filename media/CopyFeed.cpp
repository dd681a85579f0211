#include "media/CopyFeed.h"

#include "core/Log.h"
#include "media/Mp4Boxes.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velarix {

namespace {

// How often a waiting side looks at the cancel flag.
constexpr auto kCancelCheck = std::chrono::milliseconds(50);

// The card's bytes from the movie box to the end, when the box comes after the samples: one small
// read before the copy starts, so that a demuxer need not wait for the whole copy to see the index.
std::optional<qint64> readTail(const QString& source, qint64 size, QByteArray* tail) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto movie = mp4::findTopLevel(file, "moov");
    if (!movie || movie->offset < size / 2 || size - movie->offset > CopyFeed::kTailLimit ||
        !file.seek(movie->offset))
        return std::nullopt;
    *tail = file.read(size - movie->offset);
    if (tail->size() != size - movie->offset)
        return std::nullopt;
    return movie->offset;
}

} // namespace

CopyFeed::CopyFeed(const CancelToken* cancel)
    : m_cancel(cancel) {}

void CopyFeed::begin(const QString& source, int destination, qint64 size, const CancelToken* copyCancel) {
    QByteArray tail;
    const std::optional<qint64> tailOffset = readTail(source, size, &tail);
    // Our own description: the writer's may be switched to direct I/O, which needs aligned reads.
    auto disk = openPath(QStringLiteral("/proc/self/fd/%1").arg(destination), O_RDONLY);
    if (!disk) {
        const int copy = ::fcntl(destination, F_DUPFD_CLOEXEC, 0);
        if (copy >= 0)
            disk = UniqueFd(copy);
    }
    const std::lock_guard lock(m_mutex);
    m_size = size;
    m_copyCancel = copyCancel;
    if (tailOffset) {
        m_tailOffset = *tailOffset;
        m_tail = std::move(tail);
    }
    if (disk)
        m_disk = std::move(*disk);
    m_begun = true;
    m_changed.notify_all();
}

bool CopyFeed::stopped() const {
    return m_readerDone || m_outcome || isCancelled(m_cancel) || isCancelled(m_copyCancel);
}

void CopyFeed::dropBehind() {
    // Kept: what the reader may step back to, and what may not be on the disk yet.
    const qint64 keepFrom = std::min(m_readerAt, m_appended - kUnwritten);
    while (!m_window.empty() && m_window.front().offset + m_window.front().bytes.size() <= keepFrom)
        m_window.pop_front();
}

void CopyFeed::append(const char* data, qint64 size) {
    std::unique_lock lock(m_mutex);
    if (m_readerDone)
        return;
    while (!stopped() && m_appended - m_readerAt > kWindow)
        m_changed.wait_for(lock, kCancelCheck);
    if (m_readerDone)
        return;
    m_window.push_back(Chunk{m_appended, QByteArray(data, size)});
    m_appended += size;
    dropBehind();
    m_changed.notify_all();
}

void CopyFeed::end(Result<QString> named) {
    const std::lock_guard lock(m_mutex);
    if (m_outcome)
        return;
    m_outcome = std::move(named);
    m_changed.notify_all();
}

std::optional<qint64> CopyFeed::waitForSize() {
    std::unique_lock lock(m_mutex);
    while (!m_begun && !m_outcome && !isCancelled(m_cancel))
        m_changed.wait_for(lock, kCancelCheck);
    if (!m_begun)
        return std::nullopt;
    return m_size;
}

Result<qint64> CopyFeed::read(qint64 offset, char* data, qint64 size) {
    std::unique_lock lock(m_mutex);
    if (offset >= m_size || size <= 0)
        return qint64(0);
    size = std::min(size, m_size - offset);
    if (m_tailOffset >= 0 && offset >= m_tailOffset) {
        std::memcpy(data, m_tail.constData() + (offset - m_tailOffset), size_t(size));
        return size;
    }
    // Never across into the tail: each source serves its own part.
    if (m_tailOffset >= 0)
        size = std::min(size, m_tailOffset - offset);
    m_readerAt = offset;
    m_changed.notify_all();
    while (offset >= m_appended) {
        if (isCancelled(m_cancel))
            return Error::cancellation();
        // A copy that ended without these bytes failed, or was cut short.
        if (m_outcome)
            return m_outcome->isCancelled() ? Error::cancellation() : errnoError(EIO);
        m_changed.wait_for(lock, kCancelCheck);
    }
    if (!m_window.empty() && offset >= m_window.front().offset) {
        const auto chunk = std::find_if(m_window.begin(), m_window.end(), [offset](const Chunk& c) {
            return offset < c.offset + c.bytes.size();
        });
        const qint64 from = offset - chunk->offset;
        const qint64 n = std::min(size, qint64(chunk->bytes.size()) - from);
        std::memcpy(data, chunk->bytes.constData() + from, size_t(n));
        return n;
    }
    // Left the window, so it is on the disk.
    if (!m_disk.valid())
        return errnoError(EBADF);
    const int fd = m_disk.get();
    lock.unlock();
    for (;;) {
        const ssize_t n = ::pread(fd, data, size_t(size), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errnoError(errno);
        const std::lock_guard relock(m_mutex);
        m_fromDisk += n;
        return qint64(n);
    }
}

void CopyFeed::stopReading() {
    const std::lock_guard lock(m_mutex);
    m_readerDone = true;
    m_window.clear();
    m_tail.clear();
    m_disk = UniqueFd();
    m_changed.notify_all();
}

Result<QString> CopyFeed::waitForName() {
    std::unique_lock lock(m_mutex);
    while (!m_outcome)
        m_changed.wait_for(lock, kCancelCheck);
    return *m_outcome;
}

qint64 CopyFeed::bytesReadFromDisk() const {
    const std::lock_guard lock(m_mutex);
    return m_fromDisk;
}

} // namespace velarix
