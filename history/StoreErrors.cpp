#include "history/StoreErrors.h"

namespace velarix {

namespace {
// SQLite's primary result codes, from the extended code Qt reports.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

int primaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : 0;
}
} // namespace

Error storeError(StoreErrorCode code, const QString& message) {
    return Error::make(kStoreErrorDomain, int(code), message);
}

Error sqlStoreError(const QString& filePath, const QSqlError& error, const QString& doing) {
    const QString reason = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (primaryCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return storeError(StoreErrorCode::inUse,
                          QStringLiteral("The history store %1 is in use by another Velarix process "
                                         "(still busy after %2 seconds), so it could not be %3.")
                              .arg(filePath)
                              .arg(kStoreBusyTimeoutMs / 1000)
                              .arg(doing));
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return storeError(StoreErrorCode::damaged,
                          QStringLiteral("The history store %1 is damaged (%2).").arg(filePath, reason));
    default:
        return storeError(
            StoreErrorCode::failed,
            QStringLiteral("The history store %1 could not be %2: %3.").arg(filePath, doing, reason));
    }
}

} // namespace velarix
