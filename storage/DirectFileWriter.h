#pragma once

#include "core/Result.h"
#include "core/WorkerQueue.h"
#include "storage/AlignedBuffers.h"

#include <atomic>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace velarix {

class RegionVerifier;

// Writes a new file front to back with direct I/O from a few aligned buffers of its own, on threads
// of its own, so that the disk writes one buffer while the next is filled. Nothing of the file goes
// through the page cache: on a virtual machine every fresh page-cache page costs the host a fault,
// which made copies half as fast as the disk. Where the file system refuses direct I/O, the same
// buffers are written through the page cache with writeback started at once.
// Bytes before the end may be rewritten (a muxer fixing a header); they land in the buffer still
// being filled or, once written, straight in the file.
class DirectFileWriter {
public:
    static constexpr qint64 kBufferSize = 2 * 1024 * 1024;
    static constexpr int kBufferCount = 4;
    // Mapped pieces waiting or being written, at most: they count toward the process's memory.
    static constexpr qint64 kMappedLimit = 12 * 1024 * 1024;
    // Buffers waiting or being written, at most: the one being filled is the last.
    static constexpr int kQueued = kBufferCount - 1;
    // So that the pieces in the queue stay within kMappedLimit.
    static constexpr qint64 kMappedPiece = kMappedLimit / kQueued;

    // `fd` is an empty file open for writing; it stays the caller's.
    explicit DirectFileWriter(int fd);
    // Waits for the writes in flight; what was not finished is left as it is.
    ~DirectFileWriter();
    DirectFileWriter(const DirectFileWriter&) = delete;
    DirectFileWriter& operator=(const DirectFileWriter&) = delete;

    // Hands every byte written from the writer's own buffers to `verifier` (which outlives the
    // writing) before it goes to the disk, rewrites too, and tells it how far the file is written.
    // Set before the first byte; not for appendFrom.
    void setVerifier(RegionVerifier* verifier) { m_verifier = verifier; }
    // Allocates the blocks of a file of about `size` bytes before it is written: direct writes within
    // the file's size run side by side, while each one that extends it waits for the one before.
    // finish() cuts the file to what was written. Fails only when the space or the size is refused.
    Result<void> reserve(qint64 size);
    // Room at the end of the file to read into: fill some of it, then commit() that much.
    Result<char*> space(qint64* room);
    Result<void> commit(qint64 bytes);
    // Copies `size` bytes to the end of the file.
    Result<void> append(const char* data, qint64 size);
    // Appends `length` bytes of the file `in` from `offset` (a multiple of the page size), written
    // straight from its mapped pages, so that they pass through no memory of ours; the file so far
    // must end on a whole block (only whole blocks before, only the last piece may be short). The
    // range must lie within `in`: one cut short meanwhile fails the writer with EFAULT.
    Result<void> appendFrom(int in, qint64 offset, qint64 length);
    // Rewrites bytes that lie wholly before the end.
    Result<void> writeAt(qint64 offset, const char* data, qint64 size);
    // The file's size so far.
    qint64 size() const { return m_end; }
    // Writes what is left and gives the file its exact size. The data is then with the device; making
    // it durable (fsync) stays the caller's.
    Result<void> finish();
    // Whether the file went through the page cache (direct I/O refused).
    bool buffered() const { return !m_direct; }

private:
    struct Unmap {
        qint64 length; // mapped bytes
        void operator()(char* data) const;
    };
    struct Buffer {
        char* data = nullptr;
        qint64 offset = 0; // in the file
        qint64 length = 0;
        std::unique_ptr<char, Unmap> mapping; // a piece mapped from another file, unmapped when done
    };
    using Queue = WorkerQueue<Buffer>;

    Result<void> takeBuffer();
    Result<void> submitCurrent();
    Result<void> writeBuffer(const Buffer& buffer);
    Result<void> appendMapped(int in, qint64 offset, qint64 length);

    int m_fd;
    std::atomic<bool> m_direct = false;
    qint64 m_end = 0;
    std::optional<Buffer> m_current; // being filled
    RegionVerifier* m_verifier = nullptr;
    AlignedBuffers m_buffers;                            // free for the next piece
    std::vector<std::pair<Queue::Ticket, char*>> m_lent; // handed to the queue, by ticket
    Queue m_queue;                                       // last: its threads use the members above
};

} // namespace velarix
