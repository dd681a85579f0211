#pragma once

#include "core/ErrorKind.h"

#include <QMetaType>
#include <QString>

namespace velarix {

// The error shown to the user. `empty` means there is nothing to show.
class ApplicationError {
public:
    enum class Kind { empty, internalError, userError };
    // What the alert offers besides dismissing it.
    enum class Recovery { none, changeDestination };

    ApplicationError() = default;
    static ApplicationError internalError(QString text) { return {Kind::internalError, std::move(text)}; }
    static ApplicationError userError(QString text, Recovery recovery = Recovery::none) {
        return {Kind::userError, std::move(text), recovery};
    }
    static ApplicationError empty() { return {}; }
    // What a run the user cancelled ends with: information, not a fault; `text` says what was kept.
    static ApplicationError cancelled(QString text = errorKindText(ErrorKind::cancelled)) {
        ApplicationError error = userError(std::move(text));
        error.m_reason = ErrorKind::cancelled;
        return error;
    }

    Kind kind() const { return m_kind; }
    Recovery recovery() const { return m_recovery; }
    bool isEmpty() const { return m_kind == Kind::empty; }
    bool isCancellation() const { return m_reason == ErrorKind::cancelled; }
    QString errorDescription() const {
        return m_kind == Kind::empty ? QStringLiteral("Not an error") : m_text;
    }

    bool operator==(const ApplicationError&) const = default;

private:
    ApplicationError(Kind kind, QString text, Recovery recovery = Recovery::none)
        : m_kind(kind)
        , m_text(std::move(text))
        , m_recovery(recovery) {}

    Kind m_kind = Kind::empty;
    QString m_text;
    Recovery m_recovery = Recovery::none;
    ErrorKind m_reason = ErrorKind::other;
};

} // namespace velarix

Q_DECLARE_METATYPE(velarix::ApplicationError)
