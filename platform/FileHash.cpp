#include "platform/FileHash.h"

#include "platform/PosixFile.h"

#include <QScopeGuard>

#include <xxhash.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
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

quint64 StreamHasher::digest() const {
    return XXH3_64bits_digest(m_state->state);
}

Result<quint64> checksumFromDisk(int fd, qint64 chunkSize, const std::function<bool()>& isCancelled,
                                 const std::function<void(qint64 read)>& progress) {
    constexpr qint64 kReportStep = 4 * 1024 * 1024;
    constexpr size_t kAlignment = 4096;
    // Clean pages are dropped; dirty ones would stay, which is why the caller flushes first.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    // Direct reads come from the storage and need no fresh page-cache pages, which on a virtual
    // machine made reading back a new file several times slower than the disk.
    const int flags = ::fcntl(fd, F_GETFL);
    const bool direct = flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_DIRECT) == 0;
    const auto restore = qScopeGuard([&] {
        if (direct)
            ::fcntl(fd, F_SETFL, flags);
    });
    if (!direct)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const size_t size = (size_t(chunkSize) + kAlignment - 1) / kAlignment * kAlignment;
    const std::unique_ptr<char, decltype(&std::free)> buffer(
        static_cast<char*>(std::aligned_alloc(kAlignment, size)), &std::free);
    if (!buffer)
        return errnoError(ENOMEM);
    StreamHasher hasher;
    qint64 read = 0;
    qint64 dropped = 0;
    qint64 nextReport = kReportStep;
    bool directReads = direct;
    for (;;) {
        if (isCancelled && isCancelled())
            return Error::cancellation();
        ssize_t n = ::pread(fd, buffer.get(), size, read);
        if (n < 0 && errno == EINVAL && directReads) {
            // Taken at open but refused at read: on through the page cache.
            directReads = false;
            ::fcntl(fd, F_SETFL, flags);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errnoError(errno);
        if (n == 0)
            break;
        hasher.update(buffer.get(), n);
        read += n;
        // What was read back need not stay in memory.
        if (!directReads && read - dropped >= kReportStep) {
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
