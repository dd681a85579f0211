#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"

#include <functional>
#include <memory>

namespace velarix {

// Reads a file back from the disk while it is still being written, region by region behind the
// writer, and compares each region with the bytes that were written into it. So the disk reads one
// region back while it writes the next, and once the last byte is written only the last region (and
// the head) is left to read. Each region is made durable and dropped from the page cache first
// (sync_file_range, posix_fadvise), then read with direct I/O where the file system allows it, else
// through the dropped pages.
class RegionVerifier {
public:
    static constexpr qint64 kRegionSize = 32 * 1024 * 1024;
    // Kept in memory until finish(): a muxer fixes header fields there after the rest is written.
    static constexpr qint64 kHeadSize = 64 * 1024;

    enum class Verdict { matches, differs, untracked };

    enum class Reads { direct, pageCache };

    // `fd` is the file being written, from its start; it stays the caller's and is opened again
    // here for reading. `cancel` outlives this. `progress` gets the bytes checked so far, on the
    // checking thread. `reads`: direct reads where the file system allows them, else (and with
    // `pageCache`) reads through the pages just dropped.
    RegionVerifier(int fd, const CancelToken* cancel, std::function<void(qint64 checked)> progress = {},
                   Reads reads = Reads::direct);
    // Stops checking (after the piece in hand); what was not checked stays unchecked.
    ~RegionVerifier();
    RegionVerifier(const RegionVerifier&) = delete;
    RegionVerifier& operator=(const RegionVerifier&) = delete;

    // The bytes that go into the file next, in file order, before they are written.
    void expect(const char* data, qint64 size);
    // Only the bytes before `end` are checked: what comes later (an index written last, and changed
    // afterwards) is the caller's to check.
    void expectUpTo(qint64 end);
    // Bytes already expected are changed before finish(). Only the head can be followed: a change
    // elsewhere makes the verdict `untracked`.
    void rewrite(qint64 offset, const char* data, qint64 size);
    // Every expected byte before `end` is written; called by the writer's threads.
    void written(qint64 end);
    // Once every expected byte is written and the file is durable (fdatasync): reads back what is
    // left and tells whether the file holds what was expected. Errors are the read's or a cancellation.
    Result<Verdict> finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace velarix
