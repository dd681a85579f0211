#pragma once

#include "core/Result.h"

#include <QSqlError>
#include <QString>

namespace velarix {

// Why the history store failed, as the `code` of its errors (domain "HistoryStore"): callers tell a
// store that is only busy from one that must be moved aside.
enum class StoreErrorCode {
    failed = 1,       // could not be read or written (read-only, disk full, …)
    inUse = 2,        // another process held it locked past the wait
    damaged = 3,      // not a database, or a damaged one
    notOurs = 4,      // another program's database
    newerVersion = 5, // written by a newer Velarix
};

inline const QString kStoreErrorDomain = QStringLiteral("HistoryStore");

inline bool isStoreError(const Error& error, StoreErrorCode code) {
    return error.domain == kStoreErrorDomain && error.code == int(code);
}

Error storeError(StoreErrorCode code, const QString& message);

// Words for an SQLite failure on the store `filePath`; `doing` says what was attempted ("saved").
// A busy or locked store becomes inUse, a damaged one damaged.
Error sqlStoreError(const QString& filePath, const QSqlError& error, const QString& doing);

// The seconds the store waits for another process before giving up.
constexpr int kStoreBusyTimeoutMs = 5000;

} // namespace velarix
