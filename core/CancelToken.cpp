#include "core/CancelToken.h"

namespace velarix {

CancelToken::CancelToken(const CancelToken* parent, std::optional<Clock::duration> timeout)
    : m_parent(parent) {
    if (timeout)
        m_deadline = Clock::now() + *timeout;
}

bool CancelToken::cancelledByHand() const noexcept {
    return m_cancelled.load(std::memory_order_relaxed) || (m_parent && m_parent->isCancelled());
}

bool CancelToken::pastDeadline() const noexcept {
    return m_deadline && Clock::now() >= *m_deadline;
}

bool CancelToken::isCancelled() const noexcept {
    return cancelledByHand() || pastDeadline();
}

bool CancelToken::timedOut() const noexcept {
    return pastDeadline() && !cancelledByHand();
}

int CancelToken::interruptCallback(void* opaque) noexcept {
    return velarix::isCancelled(static_cast<const CancelToken*>(opaque)) ? 1 : 0;
}

} // namespace velarix
