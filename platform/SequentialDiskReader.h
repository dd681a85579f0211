#pragma once

#include "platform/Result.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace velarix {

// Reads a file front to back, a piece ahead of the reader on a thread of its own, and drops what was
// read from the page cache as it goes: so a large read-back reuses the same few page-cache pages
// rather than fresh ones (on a virtual machine each fresh page costs the host a fault, which made
// reading a new file back several times slower than the disk) and pushes nothing else out of memory.
class SequentialDiskReader {
public:
    static constexpr qint64 kPieceSize = 2 * 1024 * 1024;
    static constexpr int kPieceCount = 3;
    static constexpr qint64 kDropStep = 32 * 1024 * 1024;

    // Reads `fd` (which stays the caller's) from `from`, a multiple of 4096.
    explicit SequentialDiskReader(int fd, qint64 from = 0);
    ~SequentialDiskReader();
    SequentialDiskReader(const SequentialDiskReader&) = delete;
    SequentialDiskReader& operator=(const SequentialDiskReader&) = delete;

    // The next piece of the file, valid until the next call; empty at the end.
    Result<std::span<const char>> next();
    // Where the piece that next() gave last starts in the file.
    qint64 pieceStart() const { return m_pieceStart; }

private:
    struct Piece {
        char* data = nullptr;
        qint64 length = 0;
        int error = 0; // errno of a failed read
    };
    struct AlignedFree {
        void operator()(char* data) const;
    };
    void run();
    qint64 readPiece(char* data, qint64 offset, int* error);

    int m_fd;
    int m_flags = -1;
    qint64 m_dropped = 0; // the pages before this were dropped
    qint64 m_from;
    qint64 m_pieceStart = 0;
    std::vector<std::unique_ptr<char, AlignedFree>> m_memory;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<char*> m_free;
    std::map<qint64, Piece> m_ready; // by piece number
    qint64 m_nextToRead = 0;
    qint64 m_nextToGive = 0;
    qint64 m_end = -1;       // the number of the first piece past the end, once known
    char* m_given = nullptr; // the buffer of the piece handed out last
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace velarix
