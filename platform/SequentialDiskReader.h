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

// Reads a file front to back from the storage, a few pieces ahead of the reader, on threads of its
// own: with direct I/O where the file system allows it, so that the bytes come from the disk rather
// than from memory and need no fresh page-cache pages (on a virtual machine each costs the host a
// fault, which made reading a new file back several times slower than the disk).
class SequentialDiskReader {
public:
    static constexpr qint64 kPieceSize = 2 * 1024 * 1024;
    static constexpr int kPieceCount = 3;

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
    bool m_direct = false;
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
