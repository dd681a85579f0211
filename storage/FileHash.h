#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"

#include <functional>
#include <memory>

namespace velarix {

// A streaming 64-bit XXH3 checksum: feed the bytes in any number of pieces.
class StreamHasher {
public:
    StreamHasher();
    ~StreamHasher();
    StreamHasher(const StreamHasher&) = delete;
    StreamHasher& operator=(const StreamHasher&) = delete;

    void update(const char* data, qint64 size);
    quint64 digest() const;
    // Starts over, as if new.
    void reset();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The XXH3 checksum of one piece of memory.
quint64 checksum(const char* data, qint64 size);

// The checksum of an open file as it is on the disk: its pages are dropped from the page cache first
// (the file must have been flushed), so the bytes come back from the storage, not from memory.
// Reads a few pieces ahead (SequentialDiskReader); stops with a cancellation as soon as `cancel` is set.
// `progress` gets the bytes read so far every 4 MiB and at the end.
Result<quint64> checksumFromDisk(int fd, const CancelToken* cancel = nullptr,
                                 const std::function<void(qint64 read)>& progress = {});

} // namespace velarix
