#include "storage/SequentialDiskReader.h"

#include "storage/AlignedBuffers.h"
#include "storage/PosixFile.h"

#include "core/WorkerQueue.h"

#include <array>
#include <cerrno>
#include <unistd.h>

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
    // Reads piece `number` into `piece`; the reader looks at it once the job has run.
    struct Read {
        qint64 number = 0;
        Piece* piece = nullptr;
    };
    void readAhead();
    Piece readPiece(char* data, qint64 offset) const;

    int m_fd;
    bool m_wasDirect = false; // given back as it was
    qint64 m_dropped = 0;     // the pages before this were dropped
    qint64 m_from;
    qint64 m_pieceStart = 0;

    AlignedBuffers m_buffers; // free for the next piece
    // A slot per piece in flight: piece n is read into m_pieces[n % kPieceCount], and its job's ticket
    // is n, as the pieces are handed over in order.
    std::array<Piece, kPieceCount> m_pieces;
    qint64 m_nextToRead = 0;
    qint64 m_nextToGive = 0;
    qint64 m_end = -1;       // the number of the first piece past the end, once known
    char* m_given = nullptr; // the buffer of the piece handed out last
    // One thread reads ahead while the caller works on the piece before.
    WorkerQueue<Read> m_reads;
};

SequentialDiskReader::State::State(int fd, qint64 from)
    : m_fd(fd)
    , m_from(from)
    , m_buffers(kPieceCount, kPieceSize)
    , m_reads(1, kPieceCount, [this](Read& read) {
        *read.piece = readPiece(read.piece->data, m_from + read.number * kPieceSize);
        return Result<void>();
    }) {
    // Through the page cache: its read-ahead keeps more of the disk busy than direct reads of a few
    // buffers could. The caller has dropped the file's pages, so the bytes come from the disk.
    m_wasDirect = hasDirectIo(fd) && setDirectIo(fd, false);
    adviseSequential(fd);
    m_dropped = from;
    readAhead();
}

SequentialDiskReader::State::~State() {
    m_reads.stop();
    if (m_wasDirect)
        setDirectIo(m_fd, true);
}

SequentialDiskReader::State::Piece SequentialDiskReader::State::readPiece(char* data, qint64 offset) const {
    qint64 done = 0;
    while (done < kPieceSize) {
        const ssize_t n = ::pread(m_fd, data + done, size_t(kPieceSize - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Piece{data, 0, errno};
        if (n == 0)
            break;
        done += n;
    }
    return Piece{data, done, 0};
}

// Every free buffer gets the next piece to read, until the end is known.
void SequentialDiskReader::State::readAhead() {
    while (m_buffers.hasFree() && (m_end < 0 || m_nextToRead < m_end)) {
        Piece& slot = m_pieces[size_t(m_nextToRead % kPieceCount)];
        slot = Piece{m_buffers.take(), 0, 0};
        if (!m_reads.tryPush(Read{m_nextToRead, &slot})) {
            m_buffers.giveBack(slot.data);
            return;
        }
        ++m_nextToRead;
    }
}

Result<std::span<const char>> SequentialDiskReader::State::next() {
    if (m_given) {
        m_buffers.giveBack(m_given);
        m_given = nullptr;
        readAhead();
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
    if (auto read = m_reads.waitFor(WorkerQueue<Read>::Ticket(m_nextToGive)); !read)
        return read.error();
    const Piece piece = m_pieces[size_t(m_nextToGive % kPieceCount)];
    if (piece.length < kPieceSize && (m_end < 0 || m_nextToGive + 1 < m_end))
        m_end = m_nextToGive + 1; // a short piece is the last
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
