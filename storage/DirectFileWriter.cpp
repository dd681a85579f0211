#include "storage/DirectFileWriter.h"

#include "storage/PosixFile.h"
#include "storage/RegionVerifier.h"

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

void DirectFileWriter::Unmap::operator()(char* data) const {
    ::munmap(data, size_t(length));
}

DirectFileWriter::DirectFileWriter(int fd)
    : m_fd(fd)
    , m_direct(setDirectIo(fd, true))
    , m_buffers(kBufferCount, kBufferSize)
    // Two writes in flight keep the disk's queue from running dry between them.
    , m_queue(
          2, kQueued, [this](Buffer& buffer) { return writeBuffer(buffer); },
          [this](Buffer& buffer) {
              if (m_verifier)
                  m_verifier->written(buffer.offset + buffer.length);
          }) {}

DirectFileWriter::~DirectFileWriter() {
    // Unwritten pieces are dropped, which unmaps them; the buffers go with m_buffers.
    m_queue.stop();
    if (m_direct)
        setDirectIo(m_fd, false);
}

Result<void> DirectFileWriter::reserve(qint64 size) {
    return reserveSpace(m_fd, size);
}

Result<void> DirectFileWriter::takeBuffer() {
    if (!m_buffers.allocated())
        return errnoError(ENOMEM);
    for (;;) {
        // Buffers whose writes are done come back, whatever the order the two threads ended in.
        std::erase_if(m_lent, [this](const auto& lent) {
            if (!m_queue.isDone(lent.first))
                return false;
            m_buffers.giveBack(lent.second);
            return true;
        });
        if (m_buffers.hasFree())
            break;
        if (auto written = m_queue.waitFor(m_lent.front().first); !written)
            return written;
    }
    m_current = Buffer{m_buffers.take(), m_end, 0, std::unique_ptr<char, Unmap>(nullptr, Unmap{0})};
    return {};
}

Result<void> DirectFileWriter::submitCurrent() {
    if (m_verifier)
        m_verifier->expect(m_current->data, m_current->length);
    char* data = m_current->data;
    auto queued = m_queue.push(std::move(*m_current));
    m_current.reset();
    if (!queued) {
        m_buffers.giveBack(data);
        return queued.error();
    }
    m_lent.emplace_back(*queued, data);
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
    // In pieces the queue holds a few of, so that the mapped memory stays bounded.
    for (qint64 done = 0; done < length; done += kMappedPiece)
        if (auto queued = appendMapped(in, offset + done, std::min(kMappedPiece, length - done)); !queued)
            return queued;
    return {};
}

Result<void> DirectFileWriter::appendMapped(int in, qint64 offset, qint64 length) {
    // Mapped only once it fits, so that no more than kMappedLimit is mapped at once.
    if (auto room = m_queue.waitForRoom(); !room)
        return room;
    // Whole blocks for direct I/O: the last page of a file maps as zeros past its end, and finish()
    // cuts the copy back to its size.
    const qint64 mapped = alignedUp(length);
    void* data = ::mmap(nullptr, size_t(mapped), PROT_READ, MAP_SHARED, in, offset);
    if (data == MAP_FAILED)
        return errnoError(errno);
    Buffer piece{static_cast<char*>(data), m_end, length,
                 std::unique_ptr<char, Unmap>(static_cast<char*>(data), Unmap{mapped})};
    if (auto queued = m_queue.push(std::move(piece)); !queued)
        return queued.error();
    m_end += length;
    return {};
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
    if (auto idle = m_queue.waitIdle(); !idle)
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
    if (auto idle = m_queue.waitIdle(); !idle)
        return idle;
    if (::ftruncate(m_fd, m_end) != 0)
        return errnoError(errno);
    return {};
}

Result<void> DirectFileWriter::writeBuffer(const Buffer& buffer) {
    const qint64 length = buffer.length;
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

} // namespace velarix
