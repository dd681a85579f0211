#include "storage/RegionVerifier.h"

#include "core/WorkerQueue.h"
#include "storage/AlignedBuffers.h"
#include "storage/FileHash.h"
#include "storage/PosixFile.h"

#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <optional>
#include <unistd.h>
#include <vector>

namespace velarix {

namespace {
constexpr qint64 kPieceSize = 2 * 1024 * 1024;
} // namespace

struct RegionVerifier::State {
    State(int fd, const CancelToken* cancel, std::function<void(qint64)> progress, Reads reads);
    ~State();

    struct Check {
        qint64 index = 0;
        quint64 digest = 0;
    };
    Result<void> check(const Check& region);
    // Hands every region that is expected in full and written to the checking thread. With m_mutex.
    void queueReady();
    void stop();
    Result<bool> openForReading();
    // Reads [start, end) back from the disk and hands it to `consume` piece by piece; false when the
    // file ends before `end`.
    Result<bool> readBack(qint64 start, qint64 end, const std::function<void(const char*, qint64)>& consume);
    Result<bool> checkRegion(qint64 start, qint64 end, quint64 digest);
    qint64 regionStart(qint64 index) const { return kHeadSize + index * kRegionSize; }
    void reportChecked(qint64 bytes);

    const int m_writeFd;
    const CancelToken* const m_cancel;
    const std::function<void(qint64)> m_progress;
    const Reads m_reads;
    UniqueFd m_readFd;
    bool m_direct = false;
    AlignedBuffers m_buffer{1, kPieceSize};

    // The writing thread's: what was expected so far.
    QByteArray m_head;
    qint64 m_expectedEnd = 0;
    qint64 m_limit = std::numeric_limits<qint64>::max();
    StreamHasher m_regionHash; // of the region being expected
    bool m_untracked = false;

    std::mutex m_mutex;
    std::vector<quint64> m_digests; // of every region expected in full, in order
    qint64 m_writtenEnd = 0;
    qint64 m_queuedRegions = 0; // handed to the checking thread
    qint64 m_checkedBytes = 0;

    // The checking thread's; read once it has ended.
    qint64 m_checkedRegions = 0;
    bool m_differs = false;
    // Started by the first full region: smaller files are read back at the end only.
    std::optional<WorkerQueue<Check>> m_checks;
};

RegionVerifier::State::State(int fd, const CancelToken* cancel, std::function<void(qint64)> progress,
                             Reads reads)
    : m_writeFd(fd)
    , m_cancel(cancel)
    , m_progress(std::move(progress))
    , m_reads(reads) {
    m_head.reserve(int(kHeadSize));
}

RegionVerifier::State::~State() {
    stop();
}

void RegionVerifier::State::stop() {
    if (m_checks)
        m_checks->stop();
}

Result<bool> RegionVerifier::State::openForReading() {
    if (m_readFd.valid())
        return true;
    if (!m_buffer.allocated())
        return errnoError(ENOMEM);
    // A description of its own, so that direct reads here do not change how the writer writes.
    const QString self = QStringLiteral("/proc/self/fd/%1").arg(m_writeFd);
    Result<UniqueFd> opened = errnoError(EINVAL);
    if (m_reads == Reads::direct)
        opened = openPath(self, O_RDONLY | O_DIRECT);
    m_direct = bool(opened);
    if (!opened) // tmpfs of older kernels, some FUSE file systems: through the dropped pages
        opened = openPath(self, O_RDONLY);
    if (!opened) { // no /proc: the writer's own description, whose reads are aligned all the same
        const int duplicate = ::fcntl(m_writeFd, F_DUPFD_CLOEXEC, 0);
        if (duplicate < 0)
            return errnoError(errno);
        opened = UniqueFd(duplicate);
    }
    m_readFd = std::move(*opened);
    return true;
}

Result<bool> RegionVerifier::State::readBack(qint64 start, qint64 end,
                                             const std::function<void(const char*, qint64)>& consume) {
    if (auto opened = openForReading(); !opened)
        return opened.error();
    // Durable and out of the page cache, so that what is read comes from the storage. Direct writes
    // left no pages behind; where the writes went through the page cache they are clean by now.
    if (::sync_file_range(m_writeFd, start, end - start,
                          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER) !=
        0) {
        if (errno == EIO || errno == ENOSPC)
            return errnoError(errno);
        // Not offered here (some FUSE file systems): the whole file, then.
        if (::fdatasync(m_writeFd) != 0)
            return errnoError(errno);
    }
    dropCachedPages(m_writeFd, start, end - start);
    const qint64 alignedStart = start / 4096 * 4096;
    char* buffer = m_buffer.take();
    auto giveBack = [&] {
        m_buffer.giveBack(buffer);
    };
    for (qint64 at = alignedStart; at < end;) {
        if (isCancelled(m_cancel)) {
            giveBack();
            return Error::cancellation();
        }
        const qint64 want = std::min(kPieceSize, (end - at + 4095) / 4096 * 4096);
        const ssize_t n = ::pread(m_readFd.get(), buffer, size_t(want), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EINVAL && m_direct) { // took the flag, refused the read
            m_direct = false;
            setDirectIo(m_readFd.get(), false);
            dropCachedPages(m_writeFd, start, end - start);
            continue;
        }
        if (n < 0) {
            const int code = errno;
            giveBack();
            return errnoError(code);
        }
        if (n == 0) {
            giveBack();
            return false;
        }
        const qint64 from = std::max(at, start);
        const qint64 to = std::min(at + n, end);
        if (to > from)
            consume(buffer + (from - at), to - from);
        at += n;
    }
    giveBack();
    if (!m_direct) // what the page cache read need not stay
        dropCachedPages(m_writeFd, start, end - start);
    return true;
}

Result<bool> RegionVerifier::State::checkRegion(qint64 start, qint64 end, quint64 digest) {
    StreamHasher hasher;
    auto read = readBack(start, end, [&](const char* data, qint64 size) { hasher.update(data, size); });
    if (!read)
        return read;
    return *read && hasher.digest() == digest;
}

void RegionVerifier::State::reportChecked(qint64 bytes) {
    qint64 checked = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_checkedBytes += bytes;
        checked = m_checkedBytes;
    }
    if (m_progress)
        m_progress(checked);
}

Result<void> RegionVerifier::State::check(const Check& region) {
    auto checked = checkRegion(regionStart(region.index), regionStart(region.index + 1), region.digest);
    if (!checked)
        return checked.error();
    if (!*checked) {
        m_differs = true;
        return Error::make(QStringLiteral("Verify"), 0, QStringLiteral("differs")); // stops the checks
    }
    // Flushed from the storage's write cache as the copy goes (a disk's cache, or a virtual machine's
    // host, can hold most of a file), so the flush that ends the copy has little left to wait for. A
    // failure here must fail the copy: the closing flush would not report it again.
    if (::fdatasync(m_writeFd) != 0 && errno != EINVAL)
        return errnoError(errno);
    reportChecked(kRegionSize);
    return {};
}

void RegionVerifier::State::queueReady() {
    while (m_queuedRegions < qint64(m_digests.size()) && m_writtenEnd >= regionStart(m_queuedRegions + 1)) {
        if (!m_checks)
            m_checks.emplace(
                1, WorkerQueue<Check>::kUnbounded, [this](Check& region) { return check(region); },
                [this](Check&) { ++m_checkedRegions; });
        if (!m_checks->push(Check{m_queuedRegions, m_digests[size_t(m_queuedRegions)]}))
            return; // stopped: the rest is read back at the end
        ++m_queuedRegions;
    }
}

RegionVerifier::RegionVerifier(int fd, const CancelToken* cancel, std::function<void(qint64)> progress,
                               Reads reads)
    : m_state(std::make_unique<State>(fd, cancel, std::move(progress), reads)) {}

RegionVerifier::~RegionVerifier() = default;

void RegionVerifier::expect(const char* data, qint64 size) {
    State& s = *m_state;
    size = std::min(size, s.m_limit - s.m_expectedEnd);
    if (s.m_expectedEnd < kHeadSize) {
        const qint64 n = std::min(size, kHeadSize - s.m_expectedEnd);
        s.m_head.append(data, qsizetype(n));
        s.m_expectedEnd += n;
        data += n;
        size -= n;
    }
    while (size > 0) {
        const qint64 regionEnd = kHeadSize + ((s.m_expectedEnd - kHeadSize) / kRegionSize + 1) * kRegionSize;
        const qint64 n = std::min(size, regionEnd - s.m_expectedEnd);
        s.m_regionHash.update(data, n);
        s.m_expectedEnd += n;
        data += n;
        size -= n;
        if (s.m_expectedEnd == regionEnd) {
            const std::lock_guard lock(s.m_mutex);
            s.m_digests.push_back(s.m_regionHash.digest());
            s.m_regionHash.reset();
            s.queueReady();
        }
    }
}

void RegionVerifier::expectUpTo(qint64 end) {
    m_state->m_limit = end;
}

void RegionVerifier::rewrite(qint64 offset, const char* data, qint64 size) {
    State& s = *m_state;
    if (offset >= s.m_limit)
        return;
    if (offset < 0 || offset + size > s.m_expectedEnd || offset + size > kHeadSize) {
        s.m_untracked = true;
        return;
    }
    std::memcpy(s.m_head.data() + offset, data, size_t(size));
}

void RegionVerifier::written(qint64 end) {
    State& s = *m_state;
    const std::lock_guard lock(s.m_mutex);
    if (end <= s.m_writtenEnd)
        return;
    s.m_writtenEnd = end;
    s.queueReady();
}

Result<RegionVerifier::Verdict> RegionVerifier::finish() {
    State& s = *m_state;
    s.stop();
    if (s.m_differs)
        return Verdict::differs;
    if (auto failure = s.m_checks ? s.m_checks->failure() : std::nullopt)
        return *failure;
    if (s.m_untracked)
        return Verdict::untracked;
    // The head, the regions the thread did not get to, then the last one (expected in part).
    if (!s.m_head.isEmpty()) {
        QByteArray head;
        head.reserve(s.m_head.size());
        auto read = s.readBack(0, s.m_head.size(),
                               [&](const char* data, qint64 size) { head.append(data, qsizetype(size)); });
        if (!read)
            return read.error();
        if (!*read || head != s.m_head)
            return Verdict::differs;
        s.reportChecked(s.m_head.size());
    }
    const qint64 fullRegions = qint64(s.m_digests.size());
    for (qint64 index = s.m_checkedRegions; index < fullRegions; ++index) {
        auto checked =
            s.checkRegion(s.regionStart(index), s.regionStart(index + 1), s.m_digests[size_t(index)]);
        if (!checked)
            return checked.error();
        if (!*checked)
            return Verdict::differs;
        s.reportChecked(kRegionSize);
    }
    const qint64 tail = s.regionStart(fullRegions);
    if (s.m_expectedEnd > tail) {
        auto checked = s.checkRegion(tail, s.m_expectedEnd, s.m_regionHash.digest());
        if (!checked)
            return checked.error();
        if (!*checked)
            return Verdict::differs;
        s.reportChecked(s.m_expectedEnd - tail);
    }
    return Verdict::matches;
}

} // namespace velarix
