#include "history/HistoryStore.h"

#include "platform/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace velarix {

namespace {

// "VELX": marks the SQLite file as ours, so that another program's database is never taken for a store.
constexpr qint64 kApplicationId = 0x56454C58;
constexpr qint64 kUserVersion =
    HistoryStore::kSchemaMajor * 1'000'000 + HistoryStore::kSchemaMinor * 1'000 + HistoryStore::kSchemaPatch;
const QString kDomain = QStringLiteral("HistoryStore");

QString versionText(qint64 userVersion) {
    return QStringLiteral("%1.%2.%3")
        .arg(userVersion / 1'000'000)
        .arg(userVersion / 1'000 % 1'000)
        .arg(userVersion % 1'000);
}

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("velarix-history-%1").arg(++counter);
}

Error storeError(const QString& message) {
    return Error::make(kDomain, 1, message);
}

Error queryError(const QSqlQuery& query) {
    return storeError(
        QStringLiteral("The history store could not be read or written: %1").arg(query.lastError().text()));
}

// Removes the connection once every handle to it is gone.
struct ConnectionGuard {
    QString name;
    ~ConnectionGuard() {
        if (!name.isEmpty())
            QSqlDatabase::removeDatabase(name);
    }
};

QSqlDatabase addConnection(const QString& name, const QString& filePath, bool readOnly) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(filePath);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    return db;
}

// Looks at an existing file without writing to it and says whether we may open it for writing.
Result<void> inspectExisting(const QString& filePath) {
    const QString name = nextConnectionName();
    ConnectionGuard guard{name};
    Result<void> verdict;
    {
        QSqlDatabase db = addConnection(name, filePath, true);
        if (!db.open())
            return storeError(
                QStringLiteral("%1 could not be opened: %2").arg(filePath, db.lastError().text()));
        QSqlQuery query(db);
        qint64 applicationId = 0;
        qint64 userVersion = 0;
        qint64 objects = 0;
        const bool readable = query.exec(QStringLiteral("PRAGMA application_id")) && query.next() &&
                              (applicationId = query.value(0).toLongLong(), true) &&
                              query.exec(QStringLiteral("PRAGMA user_version")) && query.next() &&
                              (userVersion = query.value(0).toLongLong(), true) &&
                              query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
                              query.next() && (objects = query.value(0).toLongLong(), true);
        if (!readable)
            verdict = storeError(QStringLiteral("%1 is not a Velarix history store.").arg(filePath));
        else if (applicationId != kApplicationId && objects > 0)
            verdict = storeError(QStringLiteral("%1 is not a Velarix history store.").arg(filePath));
        else if (applicationId == kApplicationId && userVersion > kUserVersion)
            verdict = storeError(QStringLiteral("%1 was written by a newer version of Velarix (schema %2); "
                                                "this version reads schema %3.")
                                     .arg(filePath, versionText(userVersion), versionText(kUserVersion)));
        db.close();
    }
    return verdict;
}

Result<void> createSchema(QSqlDatabase& db) {
    QSqlQuery query(db);
    const char* statements[] = {
        "BEGIN",
        "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
        "CREATE TABLE IF NOT EXISTS sd_card (pk INTEGER PRIMARY KEY, id TEXT NOT NULL, name TEXT NOT NULL)",
        "CREATE TABLE IF NOT EXISTS import_history (pk INTEGER PRIMARY KEY, file_name TEXT NOT NULL, "
        "sd_card_id TEXT NOT NULL, date INTEGER NOT NULL)",
        "CREATE INDEX IF NOT EXISTS import_history_card ON import_history (sd_card_id)",
    };
    for (const char* statement : statements) {
        if (!query.exec(QString::fromLatin1(statement))) {
            const Error error = queryError(query);
            query.exec(QStringLiteral("ROLLBACK"));
            return error;
        }
    }
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO meta (key, value) VALUES ('schemaVersion', ?)"));
    query.addBindValue(HistoryStore::schemaVersionText());
    const bool ok = query.exec() &&
                    query.exec(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId)) &&
                    query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kUserVersion)) &&
                    query.exec(QStringLiteral("COMMIT"));
    if (!ok) {
        const Error error = queryError(query);
        query.exec(QStringLiteral("ROLLBACK"));
        return error;
    }
    return {};
}

} // namespace

QString HistoryStore::schemaVersionText() {
    return versionText(kUserVersion);
}

Result<std::unique_ptr<HistoryStore>> HistoryStore::open(const QString& filePath) {
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return storeError(QStringLiteral("The folder %1 could not be created.").arg(info.absolutePath()));
    if (info.exists() && !info.isFile())
        return storeError(QStringLiteral("%1 is not a Velarix history store.").arg(filePath));
    if (info.exists() && info.size() > 0) {
        if (auto verdict = inspectExisting(filePath); !verdict)
            return verdict.error();
    }

    const QString name = nextConnectionName();
    QSqlDatabase db = addConnection(name, filePath, false);
    if (!db.open()) {
        const QString reason = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return storeError(QStringLiteral("%1 could not be opened: %2").arg(filePath, reason));
    }
    std::unique_ptr<HistoryStore> store(new HistoryStore(name, filePath));
    {
        QSqlQuery query(db);
        qint64 userVersion = -1;
        if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
            userVersion = query.value(0).toLongLong();
        if (userVersion != kUserVersion) {
            if (auto created = createSchema(db); !created)
                return created.error();
        }
    }
    return store;
}

HistoryStore::HistoryStore(QString connectionName, QString filePath)
    : m_connectionName(std::move(connectionName))
    , m_filePath(std::move(filePath)) {}

HistoryStore::~HistoryStore() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (m_inTransaction)
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString HistoryStore::filePath() const {
    return m_filePath;
}

Result<void> HistoryStore::beginIfNeeded() {
    if (m_inTransaction)
        return {};
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.transaction())
        return storeError(
            QStringLiteral("The history store could not be written: %1").arg(db.lastError().text()));
    m_inTransaction = true;
    return {};
}

namespace {
SDCard cardFrom(const QSqlQuery& query) {
    return SDCard{query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString()};
}
} // namespace

Result<std::optional<SDCard>> HistoryStore::fetchCard(const QString& volumeUUID) {
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("SELECT pk, id, name FROM sd_card WHERE id = ? ORDER BY pk LIMIT 1"));
    query.addBindValue(volumeUUID);
    if (!query.exec())
        return queryError(query);
    if (!query.next())
        return std::optional<SDCard>();
    return std::optional<SDCard>(cardFrom(query));
}

Result<QList<SDCard>> HistoryStore::fetchCards() {
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.exec(QStringLiteral("SELECT pk, id, name FROM sd_card ORDER BY pk")))
        return queryError(query);
    QList<SDCard> cards;
    while (query.next())
        cards.append(cardFrom(query));
    return cards;
}

Result<SDCard> HistoryStore::insertCard(const QString& volumeUUID, const QString& name) {
    if (auto begun = beginIfNeeded(); !begun)
        return begun.error();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("INSERT INTO sd_card (id, name) VALUES (?, ?)"));
    query.addBindValue(volumeUUID);
    query.addBindValue(name);
    if (!query.exec())
        return queryError(query);
    return SDCard{query.lastInsertId().toLongLong(), volumeUUID, name};
}

Result<void> HistoryStore::setCardName(const SDCard& card, const QString& name) {
    if (auto begun = beginIfNeeded(); !begun)
        return begun;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("UPDATE sd_card SET name = ? WHERE pk = ?"));
    query.addBindValue(name);
    query.addBindValue(card.storeId);
    if (!query.exec())
        return queryError(query);
    return {};
}

Result<ImportHistory> HistoryStore::insertImportHistory(const QString& fileName, const QString& sdCardID,
                                                        const QDateTime& date) {
    if (auto begun = beginIfNeeded(); !begun)
        return begun.error();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(
        QStringLiteral("INSERT INTO import_history (file_name, sd_card_id, date) VALUES (?, ?, ?)"));
    query.addBindValue(fileName);
    query.addBindValue(sdCardID);
    query.addBindValue(date.toMSecsSinceEpoch());
    if (!query.exec())
        return queryError(query);
    return ImportHistory{query.lastInsertId().toLongLong(), fileName, sdCardID, date};
}

Result<void> HistoryStore::save() {
    if (!m_inTransaction)
        return {};
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.commit()) {
        const QString reason = db.lastError().text();
        db.rollback();
        m_inTransaction = false;
        return storeError(QStringLiteral("The history could not be saved: %1").arg(reason));
    }
    m_inTransaction = false;
    return {};
}

void HistoryStore::rollback() {
    if (!m_inTransaction)
        return;
    QSqlDatabase::database(m_connectionName, false).rollback();
    m_inTransaction = false;
}

bool HistoryStore::hasUnsavedChanges() const {
    return m_inTransaction;
}

Result<QList<ImportHistory>> HistoryStore::fetchImportHistory(const QString& sdCardID) {
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(
        QStringLiteral("SELECT pk, file_name, sd_card_id, date FROM import_history WHERE sd_card_id = ?"));
    query.addBindValue(sdCardID);
    if (!query.exec())
        return queryError(query);
    QList<ImportHistory> records;
    while (query.next()) {
        records.append(ImportHistory{query.value(0).toLongLong(), query.value(1).toString(),
                                     query.value(2).toString(),
                                     QDateTime::fromMSecsSinceEpoch(query.value(3).toLongLong())});
    }
    return records;
}

Result<int> HistoryStore::deleteImportHistory(const QString& sdCardID) {
    const bool ownTransaction = !m_inTransaction;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("DELETE FROM import_history WHERE sd_card_id = ?"));
    query.addBindValue(sdCardID);
    if (!query.exec())
        return queryError(query);
    const int removed = query.numRowsAffected();
    // Joined to pending writes, the delete is committed with them.
    if (!ownTransaction) {
        if (auto saved = save(); !saved)
            return saved.error();
    }
    return removed;
}

} // namespace velarix
