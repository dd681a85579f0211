#include "storage/FileHash.h"

#include "storage/PosixFile.h"
#include "storage/SequentialDiskReader.h"

#include <xxhash.h>

#include <cerrno>
#include <unistd.h>

namespace velarix {

struct StreamHasher::State {
    XXH3_state_t* state = XXH3_createState();
    ~State() { XXH3_freeState(state); }
};

StreamHasher::StreamHasher()
    : m_state(std::make_unique<State>()) {
    XXH3_64bits_reset(m_state->state);
}

StreamHasher::~StreamHasher() = default;

void StreamHasher::update(const char* data, qint64 size) {
    XXH3_64bits_update(m_state->state, data, size_t(size));
}

void StreamHasher::reset() {
    XXH3_64bits_reset(m_state->state);
}

quint64 StreamHasher::digest() const {
    return XXH3_64bits_digest(m_state->state);
}

quint64 checksum(const char* data, qint64 size) {
    return XXH3_64bits(data, size_t(size));
}

Result<quint64> checksumFromDisk(int fd, const CancelToken* cancel,
                                 const std::function<void(qint64 read)>& progress) {
    constexpr qint64 kReportStep = 4 * 1024 * 1024;
    // Clean pages are dropped; dirty ones would stay, which is why the caller flushes first.
    dropCachedPages(fd, 0, 0);
    StreamHasher hasher;
    qint64 read = 0;
    qint64 nextReport = kReportStep;
    {
        SequentialDiskReader reader(fd);
        for (;;) {
            if (isCancelled(cancel))
                return Error::cancellation();
            auto piece = reader.next();
            if (!piece)
                return piece.error();
            if (piece->empty())
                break;
            hasher.update(piece->data(), qint64(piece->size()));
            read += qint64(piece->size());
            if (progress && read >= nextReport) {
                progress(read);
                nextReport += kReportStep;
            }
        }
    }
    // Where the file system refused direct reads, what was read back need not stay in memory.
    dropCachedPages(fd, 0, 0);
    if (progress)
        progress(read);
    return hasher.digest();
}

} // namespace velarix
