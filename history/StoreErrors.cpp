#include "history/StoreErrors.h"

#include <QCoreApplication>

namespace velarix {

namespace {
// The SQLite primary result codes (sqlite3.h) that say more than "failed".
enum class SqliteCode { busy = 5, locked = 6, corrupt = 11, notADatabase = 26 };

// Qt reports SQLite's extended result code; its low byte is the primary one.
SqliteCode primaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return SqliteCode(ok ? code & 0xff : 0);
}
} // namespace

Error storeError(StoreErrorCode code, const QString& message) {
    return Error::make(kStoreErrorDomain, int(code), message);
}

Error sqlStoreError(const QString& filePath, const QSqlError& error, const QString& doing) {
    const QString reason = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (primaryCode(error)) {
    case SqliteCode::busy:
    case SqliteCode::locked:
        return storeError(StoreErrorCode::inUse,
                          QCoreApplication::translate(
                              "HistoryStore", "The history store %1 is in use by another Velarix process "
                                              "(still busy after %2 seconds), so it could not be %3.")
                              .arg(filePath)
                              .arg(kStoreBusyTimeoutMs / 1000)
                              .arg(doing));
    case SqliteCode::corrupt:
    case SqliteCode::notADatabase:
        return storeError(StoreErrorCode::damaged,
                          QCoreApplication::translate("HistoryStore", "The history store %1 is damaged (%2).")
                              .arg(filePath, reason));
    default:
        return storeError(
            StoreErrorCode::failed,
            QCoreApplication::translate("HistoryStore", "The history store %1 could not be %2: %3.")
                .arg(filePath, doing, reason));
    }
}

} // namespace velarix
