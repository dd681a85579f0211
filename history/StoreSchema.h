#pragma once

#include "core/Result.h"

#include <QSqlDatabase>
#include <QString>

namespace velarix {

// Schema versions are kept in PRAGMA user_version as major * 1,000,000 + minor * 1,000 + patch.
constexpr qint64 schemaVersionNumber(int major, int minor, int patch) {
    return qint64(major) * 1'000'000 + minor * 1'000 + patch;
}
QString schemaVersionText(qint64 versionNumber);

// The version this program reads and writes.
constexpr qint64 kCurrentSchemaVersion = schemaVersionNumber(1, 2, 0);
// "VELX": marks the SQLite file as ours, so that another program's database is never taken for a store.
constexpr qint64 kStoreApplicationId = 0x56454C58;

// Brings the store on `db` from the version it has to the current one, one step per version. Each
// step runs in one transaction that also records its version, so a failed step leaves the file at
// the version before it. Steps another process already took are skipped.
Result<void> migrateSchema(const QSqlDatabase& db, const QString& filePath);

} // namespace velarix
