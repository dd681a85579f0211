#pragma once

#include <atomic>
#include <chrono>
#include <optional>

namespace velarix {

// A request to stop a piece of work, with an optional deadline: once the deadline has passed the
// token reads as cancelled too, and timedOut() tells the two apart. Loops ask isCancelled() between
// steps and FFmpeg's interrupt callback asks it during blocked I/O, so it is a relaxed atomic load
// (plus a clock read when there is a deadline).
//
// Ownership: whoever starts the work owns the token and lends it as `const CancelToken*` for as long
// as the work runs; a null pointer means "never cancelled". Work that outlives its starter's scope
// shares the token through a std::shared_ptr. Not copyable: a copy would miss a later cancel().
// A token made with a parent also reads as cancelled once the parent is.
class CancelToken {
public:
    using Clock = std::chrono::steady_clock;

    CancelToken() = default;
    explicit CancelToken(const CancelToken* parent, std::optional<Clock::duration> timeout = std::nullopt);
    CancelToken(const CancelToken&) = delete;
    CancelToken& operator=(const CancelToken&) = delete;

    // Thread-safe; the work sees it at its next check. True for the call that set it.
    bool cancel() noexcept { return !m_cancelled.exchange(true, std::memory_order_relaxed); }
    bool isCancelled() const noexcept;
    // Its own deadline has passed, and it was not cancelled by hand (nor through its parent).
    bool timedOut() const noexcept;

    // For AVFormatContext::interrupt_callback, with the token (or null) as its opaque pointer.
    static int interruptCallback(void* opaque) noexcept;

private:
    bool cancelledByHand() const noexcept;
    bool pastDeadline() const noexcept;

    std::atomic<bool> m_cancelled{false};
    const CancelToken* m_parent = nullptr;
    std::optional<Clock::time_point> m_deadline;
};

// Null-safe: work started without a token is never cancelled.
inline bool isCancelled(const CancelToken* token) noexcept {
    return token && token->isCancelled();
}

} // namespace velarix
