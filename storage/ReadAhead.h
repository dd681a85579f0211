#pragma once

#include <QtGlobal>

#include <memory>

namespace velarix {

// Keeps the kernel reading a file a fixed depth ahead of its reader, from a thread of its own. A
// copy's reader waits whenever its destination does (the flush of the copy before it holds the file
// system's journal for a few hundred milliseconds, and the next file's reservation waits for it); with
// this, the source goes on reading into the page cache meanwhile, so a card never idles between files.
class ReadAhead {
public:
    static constexpr qint64 kDepth = 64 * 1024 * 1024;

    // Reads `fd` (which stays the caller's, open until this is destroyed) up to `size`.
    ReadAhead(int fd, qint64 size, qint64 depth = kDepth);
    // Stops; what was read ahead and never consumed leaves the page cache.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The reader has everything before `offset`.
    void consumed(qint64 offset);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace velarix
