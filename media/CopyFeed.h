#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"
#include "storage/PosixFile.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace velarix {

// The bytes of one copy as the import writes them, for a reader on another thread that would
// otherwise read the copy again (the analysis of "Trim after import"). The copy hands over every
// buffer in file order; the reader gets any range of the file, served from
//  - the card's bytes from the movie box on, read before the copy starts (camera files keep their
//    index at the end, which a demuxer reads first),
//  - a window of the latest buffers, waiting for bytes not yet copied,
//  - the copy on the disk, for bytes that left the window (a reader's rare step back).
// The copy waits only while the reader is more than the window behind; once the reader has stopped
// it never waits. Every call is thread-safe.
class CopyFeed {
public:
    // Bytes the copy may run ahead of the reader before it waits.
    static constexpr qint64 kWindow = 32 * 1024 * 1024;
    // The last bytes handed over always stay in memory: the writer may not have written them yet.
    static constexpr qint64 kUnwritten = 16 * 1024 * 1024;
    // A tail longer than this is not read ahead (it is read as the copy passes it).
    static constexpr qint64 kTailLimit = 64 * 1024 * 1024;

    explicit CopyFeed(const CancelToken* cancel);
    CopyFeed(const CopyFeed&) = delete;
    CopyFeed& operator=(const CopyFeed&) = delete;

    // The copy's side, on the copying thread.
    // The copy of `source` (`size` bytes) starts into `destination`, an open file that stays the
    // caller's; it is opened again here for reading. `copyCancel` (the copy's own) ends any wait.
    void begin(const QString& source, int destination, qint64 size, const CancelToken* copyCancel = nullptr);
    // The next bytes of the file. Waits while the reader lags more than the window behind.
    void append(const char* data, qint64 size);
    // The copy's outcome: the name it was given, or why there is none. Only the first counts.
    void end(Result<QString> named);

    // The reader's side.
    // Waits for the copy to begin; nullopt when it ended (or was cancelled) before that.
    std::optional<qint64> waitForSize();
    // Copies up to `size` bytes at `offset` into `data`, waiting for the copy to get there: the
    // count (0 at the end of the file), or an error when the copy failed or was cancelled first.
    Result<qint64> read(qint64 offset, char* data, qint64 size);
    // The reader is done: the copy never waits for it again.
    void stopReading();
    // Waits for the copy's outcome.
    Result<QString> waitForName();
    // Bytes served from the disk copy: what the reader read a second time.
    qint64 bytesReadFromDisk() const;

private:
    struct Chunk {
        qint64 offset = 0;
        QByteArray bytes;
    };
    bool stopped() const; // with the mutex held
    void dropBehind();    // with the mutex held

    const CancelToken* m_cancel;
    const CancelToken* m_copyCancel = nullptr;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_begun = false;
    bool m_readerDone = false;
    std::optional<Result<QString>> m_outcome;
    qint64 m_size = 0;
    qint64 m_tailOffset = -1; // where the pre-read tail starts; -1 without one
    QByteArray m_tail;
    UniqueFd m_disk;
    std::deque<Chunk> m_window;
    qint64 m_appended = 0; // bytes handed over so far
    qint64 m_readerAt = 0; // where the reader read last
    qint64 m_fromDisk = 0;
};

} // namespace velarix
