#pragma once

#include "core/ErrorKind.h"

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace velarix {

// An error as a value: a domain, a code and a message in words a user understands, and the kind of
// failure that callers reason about. The code means what its domain says (an errno value in "POSIX",
// a libav status in "Media", a named code in "VideoTrimming"); the kind means the same everywhere.
// Cancellation is its own kind so that it is never mistaken for a result or a failure.
struct Error {
    QString domain;
    int code = 0;
    QString message;
    ErrorKind kind = ErrorKind::other;

    bool cancelled() const { return kind == ErrorKind::cancelled; }

    static Error make(QString domain, int code, QString message, ErrorKind kind = ErrorKind::other) {
        return Error{std::move(domain), code, std::move(message), kind};
    }
    static Error cancellation() {
        return Error{QStringLiteral("Cancellation"), 0, errorKindText(ErrorKind::cancelled),
                     ErrorKind::cancelled};
    }
};

template <class T> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_value(std::move(value)) {}
    Result(Error error)
        : m_value(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(m_value); }
    explicit operator bool() const { return ok(); }
    bool isCancelled() const { return !ok() && error().cancelled(); }

    T& value() & { return std::get<T>(m_value); }
    const T& value() const& { return std::get<T>(m_value); }
    T&& value() && { return std::get<T>(std::move(m_value)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Error& error() const { return std::get<Error>(m_value); }

private:
    std::variant<T, Error> m_value;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error)
        : m_error(std::move(error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    bool isCancelled() const { return !ok() && m_error->cancelled(); }
    const Error& error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

} // namespace velarix
