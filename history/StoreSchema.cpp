#include "history/StoreSchema.h"

#include "history/HistoryLog.h"
#include "history/SqlTransaction.h"
#include "history/StoreErrors.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace velarix {

namespace {

struct Migration {
    qint64 from;
    qint64 to;
    QStringList statements;
};

// Never edit a step once released: stores out there were made by it. Add a new one instead.
const QList<Migration>& migrations() {
    static const QList<Migration> steps{
        {0,
         schemaVersionNumber(1, 0, 0),
         {
             QStringLiteral("CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)"),
             QStringLiteral(
                 "CREATE TABLE sd_card (pk INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL)"),
             QStringLiteral("CREATE TABLE import_history (pk INTEGER PRIMARY KEY, file_name TEXT NOT NULL, "
                            "sd_card_id TEXT NOT NULL, date INTEGER NOT NULL)"),
             QStringLiteral("CREATE INDEX import_history_card ON import_history (sd_card_id)"),
         }},
        // A clip is known by its path on the card and its size; older records keep NULL there.
        {schemaVersionNumber(1, 0, 0),
         schemaVersionNumber(1, 1, 0),
         {
             QStringLiteral("ALTER TABLE import_history ADD COLUMN relative_path TEXT"),
             QStringLiteral("ALTER TABLE import_history ADD COLUMN file_size INTEGER"),
         }},
        // Whether each copy was verified (older records say nothing); a card's clips are looked up by
        // path and size, which the card index alone made a scan of the card's whole history; and the
        // jump log, one row per imported clip.
        {schemaVersionNumber(1, 1, 0),
         schemaVersionNumber(1, 2, 0),
         {
             QStringLiteral("ALTER TABLE import_history ADD COLUMN verified INTEGER"),
             QStringLiteral("DROP INDEX import_history_card"),
             QStringLiteral("CREATE INDEX import_history_clip ON import_history (sd_card_id, relative_path, "
                            "file_size)"),
             QStringLiteral(
                 "CREATE TABLE jump_log (pk INTEGER PRIMARY KEY, day TEXT NOT NULL, jump INTEGER NOT "
                 "NULL, start_ms INTEGER NOT NULL, end_ms INTEGER NOT NULL, sd_card_id TEXT NOT "
                 "NULL, card_name TEXT NOT NULL)"),
             QStringLiteral("CREATE INDEX jump_log_day ON jump_log (day, jump)"),
         }},
    };
    return steps;
}

Result<qint64> userVersion(const QSqlDatabase& db, const QString& filePath) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return sqlStoreError(filePath, query.lastError(),
                             QCoreApplication::translate("HistoryStore", "read"));
    return query.value(0).toLongLong();
}

Result<void> runStep(const QSqlDatabase& db, const QString& filePath, const Migration& step) {
    const QString doing =
        QCoreApplication::translate("HistoryStore", "upgraded to schema %1").arg(schemaVersionText(step.to));
    QSqlError error;
    SqlTransaction transaction = SqlTransaction::begin(db, SqlTransaction::Mode::immediate, &error);
    if (!transaction.active())
        return sqlStoreError(filePath, error, doing);
    // Another process may have taken this step while we waited for the lock.
    auto version = userVersion(db, filePath);
    if (!version)
        return version.error();
    if (*version != step.from)
        return {};
    QSqlQuery query(db);
    for (const QString& statement : step.statements) {
        if (!query.exec(statement))
            return sqlStoreError(filePath, query.lastError(), doing);
    }
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO meta (key, value) VALUES ('schemaVersion', ?)"));
    query.addBindValue(schemaVersionText(step.to));
    if (!query.exec())
        return sqlStoreError(filePath, query.lastError(), doing);
    // Both pragmas live in the file's header and are part of the transaction.
    if (!query.exec(QStringLiteral("PRAGMA application_id = %1").arg(kStoreApplicationId)) ||
        !query.exec(QStringLiteral("PRAGMA user_version = %1").arg(step.to)))
        return sqlStoreError(filePath, query.lastError(), doing);
    if (!transaction.commit(&error))
        return sqlStoreError(filePath, error, doing);
    return {};
}

} // namespace

QString schemaVersionText(qint64 versionNumber) {
    return QStringLiteral("%1.%2.%3")
        .arg(versionNumber / 1'000'000)
        .arg(versionNumber / 1'000 % 1'000)
        .arg(versionNumber % 1'000);
}

Result<void> migrateSchema(const QSqlDatabase& db, const QString& filePath) {
    std::optional<qint64> first;
    for (;;) {
        auto version = userVersion(db, filePath);
        if (!version)
            return version.error();
        if (!first)
            first = *version;
        if (*version == kCurrentSchemaVersion) {
            if (*first != 0 && *first != kCurrentSchemaVersion)
                qCInfo(lcHistory, "History store %s upgraded from schema %s to %s", qUtf8Printable(filePath),
                       qUtf8Printable(schemaVersionText(*first)),
                       qUtf8Printable(schemaVersionText(*version)));
            return {};
        }
        const Migration* next = nullptr;
        for (const Migration& step : migrations()) {
            if (step.from == *version)
                next = &step;
        }
        if (!next)
            return storeError(
                StoreErrorCode::failed,
                QCoreApplication::translate("HistoryStore",
                                            "%1 has the unknown schema %2; this version of Velarix reads "
                                            "schema %3.")
                    .arg(filePath, schemaVersionText(*version), schemaVersionText(kCurrentSchemaVersion)));
        if (auto stepped = runStep(db, filePath, *next); !stepped)
            return stepped;
    }
}

} // namespace velarix
