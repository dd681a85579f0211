#include "platform/FileHash.h"

#include "platform/PosixFile.h"

#include <xxhash.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

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

quint64 StreamHasher::digest() const {
    return XXH3_64bits_digest(m_state->state);
}

Result<quint64> checksumFromDisk(int fd, qint64 chunkSize, const CancelToken* cancel,
                                 const std::function<void(qint64 read)>& progress) {
    constexpr qint64 kReportStep = 4 * 1024 * 1024;
    // Clean pages are dropped; dirty ones would stay, which is why the caller flushes first.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errnoError(errno);
    StreamHasher hasher;
    std::vector<char> buffer(static_cast<size_t>(chunkSize));
    qint64 read = 0;
    qint64 dropped = 0;
    qint64 nextReport = kReportStep;
    for (;;) {
        if (isCancelled(cancel))
            return Error::cancellation();
        auto n = readSome(fd, buffer.data(), chunkSize);
        if (!n)
            return n.error();
        if (*n == 0)
            break;
        hasher.update(buffer.data(), *n);
        read += *n;
        // What was read back need not stay in memory.
        if (read - dropped >= kReportStep) {
            ::posix_fadvise(fd, dropped, read - dropped, POSIX_FADV_DONTNEED);
            dropped = read;
        }
        if (progress && read >= nextReport) {
            progress(read);
            nextReport += kReportStep;
        }
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    if (progress)
        progress(read);
    return hasher.digest();
}

} // namespace velarix
