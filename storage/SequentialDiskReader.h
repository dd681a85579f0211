#pragma once

#include "core/Result.h"

#include <memory>
#include <span>

namespace velarix {

// Reads a file front to back, a piece ahead of the reader on a thread of its own, and drops what was
// read from the page cache as it goes: so a large read-back reuses the same few page-cache pages
// rather than fresh ones (on a virtual machine each fresh page costs the host a fault, which made
// reading a new file back several times slower than the disk) and pushes nothing else out of memory.
class SequentialDiskReader {
public:
    // Reads `fd` (which stays the caller's) from `from`, a multiple of 4096.
    explicit SequentialDiskReader(int fd, qint64 from = 0);
    ~SequentialDiskReader();
    SequentialDiskReader(const SequentialDiskReader&) = delete;
    SequentialDiskReader& operator=(const SequentialDiskReader&) = delete;

    // The next piece of the file, valid until the next call; empty at the end.
    Result<std::span<const char>> next();
    // Where the piece that next() gave last starts in the file.
    qint64 pieceStart() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace velarix
