#include "platform/SequentialDiskReader.h"

#include "platform/AlignedBuffers.h"
#include "platform/PosixFile.h"

#include <cerrno>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace velarix {

namespace {
constexpr qint64 kPieceSize = 2 * 1024 * 1024;
constexpr int kPieceCount = 3;
constexpr qint64 kDropStep = 32 * 1024 * 1024;
} // namespace

struct SequentialDiskReader::State {
    State(int fd, qint64 from);
    ~State();
    Result<std::span<const char>> next();

    struct Piece {
        char* data = nullptr;
        qint64 length = 0;
        int error = 0; // errno of a failed read
    };
    void run();
    qint64 readPiece(char* data, qint64 offset, int* error);

    int m_fd;
    bool m_wasDirect = false; // given back as it was
    qint64 m_dropped = 0;     // the pages before this were dropped
    qint64 m_from;
    qint64 m_pieceStart = 0;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    AlignedBuffers m_buffers;        // free for the next piece
    std::map<qint64, Piece> m_ready; // by piece number
    qint64 m_nextToRead = 0;
    qint64 m_nextToGive = 0;
    qint64 m_end = -1;       // the number of the first piece past the end, once known
    char* m_given = nullptr; // the buffer of the piece handed out last
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

SequentialDiskReader::State::State(int fd, qint64 from)
    : m_fd(fd)
    , m_from(from)
    , m_buffers(kPieceCount, kPieceSize) {
    // Through the page cache: its read-ahead keeps more of the disk busy than direct reads of a few
    // buffers could. The caller has dropped the file's pages, so the bytes come from the disk.
    m_wasDirect = hasDirectIo(fd) && setDirectIo(fd, false);
    adviseSequential(fd);
    m_dropped = from;
    // One thread reads ahead while the caller works on the piece before.
    m_threads.emplace_back(&State::run, this);
}

SequentialDiskReader::State::~State() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    if (m_wasDirect)
        setDirectIo(m_fd, true);
}

qint64 SequentialDiskReader::State::readPiece(char* data, qint64 offset, int* error) {
    qint64 done = 0;
    while (done < kPieceSize) {
        const ssize_t n = ::pread(m_fd, data + done, size_t(kPieceSize - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = errno;
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

void SequentialDiskReader::State::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] {
            return m_stopping || (m_buffers.hasFree() && (m_end < 0 || m_nextToRead < m_end));
        });
        if (m_stopping)
            return;
        const qint64 number = m_nextToRead++;
        char* data = m_buffers.take();
        lock.unlock();
        int error = 0;
        const qint64 length = readPiece(data, m_from + number * kPieceSize, &error);
        lock.lock();
        const Piece piece{data, std::max<qint64>(length, 0), length < 0 ? error : 0};
        if (length < kPieceSize && (m_end < 0 || number + 1 < m_end))
            m_end = number + 1; // a short piece is the last
        m_ready.emplace(number, piece);
        m_changed.notify_all();
    }
}

Result<std::span<const char>> SequentialDiskReader::State::next() {
    std::unique_lock lock(m_mutex);
    if (m_given) {
        m_buffers.giveBack(m_given);
        m_given = nullptr;
        m_changed.notify_all();
        // What was read need not stay cached: dropped in large steps, as each drop waits for every
        // processor to hand back its page lists, which takes long on a busy machine.
        const qint64 consumed = m_from + m_nextToGive * kPieceSize;
        if (consumed - m_dropped >= kDropStep) {
            dropCachedPages(m_fd, m_dropped, consumed - m_dropped);
            m_dropped = consumed;
        }
    }
    if (!m_buffers.allocated())
        return errnoError(ENOMEM);
    if (m_end >= 0 && m_nextToGive >= m_end)
        return std::span<const char>();
    m_changed.wait(lock, [this] { return m_ready.count(m_nextToGive) > 0; });
    auto found = m_ready.find(m_nextToGive);
    const Piece piece = found->second;
    m_ready.erase(found);
    m_given = piece.data;
    m_pieceStart = m_from + m_nextToGive * kPieceSize;
    ++m_nextToGive;
    if (piece.error != 0)
        return errnoError(piece.error);
    return std::span<const char>(piece.data, size_t(piece.length));
}

SequentialDiskReader::SequentialDiskReader(int fd, qint64 from)
    : m_state(std::make_unique<State>(fd, from)) {}

SequentialDiskReader::~SequentialDiskReader() = default;

Result<std::span<const char>> SequentialDiskReader::next() {
    return m_state->next();
}

qint64 SequentialDiskReader::pieceStart() const {
    return m_state->m_pieceStart;
}

} // namespace velarix
