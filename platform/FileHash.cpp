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

Result<quint64> checksumFromDisk(int fd, qint64 chunkSize, const std::function<bool()>& isCancelled) {
    // Clean pages are dropped; dirty ones would stay, which is why the caller flushes first.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errnoError(errno);
    StreamHasher hasher;
    std::vector<char> buffer(static_cast<size_t>(chunkSize));
    for (;;) {
        if (isCancelled && isCancelled())
            return Error::cancellation();
        auto n = readSome(fd, buffer.data(), chunkSize);
        if (!n)
            return n.error();
        if (*n == 0)
            break;
        hasher.update(buffer.data(), *n);
    }
    // What we read back need not stay in memory either.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    return hasher.digest();
}

} // namespace velarix
