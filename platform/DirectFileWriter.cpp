#include "platform/DirectFileWriter.h"

#include "platform/PosixFile.h"
#include "platform/RegionVerifier.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

namespace velarix {

namespace {

constexpr qint64 kAlignment = 4096;

qint64 alignedUp(qint64 value) {
    return (value + kAlignment - 1) / kAlignment * kAlignment;
}

Result<void> writeAllAt(int fd, const char* data, qint64 size, qint64 offset) {
    for (qint64 done = 0; done < size;) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(size - done), offset + done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errnoError(errno);
        }
        done += n;
    }
    return {};
}

} // namespace

DirectFileWriter::DirectFileWriter(int fd)
    : m_fd(fd)
    , m_buffers(kBufferCount, kBufferSize) {
    m_direct = setDirectIo(fd, true);
    // Two writes in flight keep the disk's queue from running dry between them.
    for (int i = 0; i < 2; ++i)
        m_threads.emplace_back(&DirectFileWriter::run, this);
}

DirectFileWriter::~DirectFileWriter() {
    std::deque<Buffer> unwritten;
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        unwritten.swap(m_queue);
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    for (const Buffer& buffer : unwritten)
        release(buffer);
    if (m_direct)
        setDirectIo(m_fd, false);
}

void DirectFileWriter::release(const Buffer& buffer) {
    if (buffer.mapped > 0) {
        ::munmap(buffer.data, size_t(buffer.mapped));
        m_mappedBytes -= buffer.mapped;
    } else {
        m_buffers.giveBack(buffer.data);
    }
}

Result<void> DirectFileWriter::reserve(qint64 size) {
    return reserveSpace(m_fd, size);
}

Result<void> DirectFileWriter::firstError() {
    const std::lock_guard lock(m_mutex);
    if (m_error)
        return *m_error;
    return {};
}

Result<void> DirectFileWriter::takeBuffer() {
    std::unique_lock lock(m_mutex);
    if (!m_buffers.allocated())
        return errnoError(ENOMEM);
    m_changed.wait(lock, [this] { return m_buffers.hasFree() || m_error; });
    if (m_error)
        return *m_error;
    m_current = Buffer{m_buffers.take(), m_end, 0};
    return {};
}

Result<void> DirectFileWriter::submitCurrent() {
    if (m_verifier)
        m_verifier->expect(m_current->data, m_current->length);
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(*m_current);
        m_submittedEnd = m_current->offset + m_current->length;
    }
    m_current.reset();
    m_changed.notify_all();
    return firstError();
}

Result<void> DirectFileWriter::waitIdle() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_queue.empty() && m_writing.empty()) || m_error; });
    if (m_error)
        return *m_error;
    return {};
}

Result<char*> DirectFileWriter::space(qint64* room) {
    if (!m_current) {
        if (auto taken = takeBuffer(); !taken)
            return taken.error();
    }
    *room = kBufferSize - m_current->length;
    return m_current->data + m_current->length;
}

Result<void> DirectFileWriter::commit(qint64 bytes) {
    m_current->length += bytes;
    m_end += bytes;
    if (m_current->length == kBufferSize)
        return submitCurrent();
    return {};
}

Result<void> DirectFileWriter::append(const char* data, qint64 size) {
    while (size > 0) {
        qint64 room = 0;
        auto space = this->space(&room);
        if (!space)
            return space.error();
        const qint64 n = std::min(room, size);
        std::memcpy(*space, data, size_t(n));
        if (auto committed = commit(n); !committed)
            return committed;
        data += n;
        size -= n;
    }
    return {};
}

Result<void> DirectFileWriter::appendFrom(int in, qint64 offset, qint64 length) {
    if (m_current || m_end % kAlignment != 0 || offset % kAlignment != 0 || length <= 0)
        return errnoError(EINVAL);
    // Whole blocks for direct I/O: the last page of a file maps as zeros past its end, and finish()
    // cuts the copy back to its size.
    const qint64 mapped = alignedUp(length);
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_mappedBytes + mapped <= kMappedLimit || m_error; });
        if (m_error)
            return *m_error;
    }
    void* data = ::mmap(nullptr, size_t(mapped), PROT_READ, MAP_SHARED, in, offset);
    if (data == MAP_FAILED)
        return errnoError(errno);
    {
        const std::lock_guard lock(m_mutex);
        m_mappedBytes += mapped;
        m_queue.push_back(Buffer{static_cast<char*>(data), m_end, length, mapped});
        m_submittedEnd = m_end + length;
    }
    m_end += length;
    m_changed.notify_all();
    return firstError();
}

Result<void> DirectFileWriter::writeAt(qint64 offset, const char* data, qint64 size) {
    if (offset < 0 || offset + size > m_end)
        return errnoError(EINVAL);
    // What falls into the buffer being filled is changed there.
    if (m_current && offset + size > m_current->offset) {
        const qint64 from = std::max(offset, m_current->offset);
        std::memcpy(m_current->data + (from - m_current->offset), data + (from - offset),
                    size_t(offset + size - from));
        size = from - offset;
    }
    if (size <= 0)
        return {};
    if (m_verifier)
        m_verifier->rewrite(offset, data, size);
    // The rest is in the file, or about to be: once every write is done, a small one through the
    // page cache changes it (direct I/O would need whole blocks).
    if (auto idle = waitIdle(); !idle)
        return idle;
    const bool direct = m_direct;
    if (direct && !setDirectIo(m_fd, false))
        return errnoError(errno);
    auto written = writeAllAt(m_fd, data, size, offset);
    if (direct)
        setDirectIo(m_fd, true);
    return written;
}

Result<void> DirectFileWriter::finish() {
    if (m_current && m_current->length > 0) {
        if (m_direct) // whole blocks; the padding is cut off below
            std::memset(m_current->data + m_current->length, 0,
                        size_t(alignedUp(m_current->length) - m_current->length));
        if (auto submitted = submitCurrent(); !submitted)
            return submitted;
    }
    if (auto idle = waitIdle(); !idle)
        return idle;
    if (::ftruncate(m_fd, m_end) != 0)
        return errnoError(errno);
    return {};
}

Result<void> DirectFileWriter::writeBuffer(const Buffer& buffer, qint64 length) {
    if (m_direct) {
        auto written = writeAllAt(m_fd, buffer.data, alignedUp(length), buffer.offset);
        if (written || written.error().code != EINVAL)
            return written;
        // The file system took the flag but not the write: on through the page cache.
        m_direct = false;
        setDirectIo(m_fd, false);
    }
    if (auto written = writeAllAt(m_fd, buffer.data, length, buffer.offset); !written)
        return written;
    // Bounded dirty memory: the range is written out and dropped before its buffer is reused.
    if (::sync_file_range(m_fd, buffer.offset, length,
                          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER) !=
        0)
        return errnoError(errno);
    dropCachedPages(m_fd, buffer.offset, length);
    return {};
}

qint64 DirectFileWriter::writtenEnd() const {
    qint64 end = m_submittedEnd;
    if (!m_queue.empty())
        end = std::min(end, m_queue.front().offset);
    for (const qint64 offset : m_writing)
        end = std::min(end, offset);
    return end;
}

void DirectFileWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
        if (m_queue.empty())
            return;
        const Buffer buffer = m_queue.front();
        m_queue.pop_front();
        m_writing.push_back(buffer.offset);
        const bool failed = m_error.has_value();
        lock.unlock();
        auto written = failed ? Result<void>() : writeBuffer(buffer, buffer.length);
        lock.lock();
        m_writing.erase(std::find(m_writing.begin(), m_writing.end(), buffer.offset));
        release(buffer);
        if (!written && !m_error)
            m_error = written.error();
        if (m_verifier && !m_error)
            m_verifier->written(writtenEnd());
        m_changed.notify_all();
    }
}

} // namespace velarix
