#include "history/HistoryStore.h"

#include "history/HistoryLog.h"
#include "history/HistoryQueries.h"
#include "history/StoreSchema.h"
#include "storage/PosixFile.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <cerrno>
#include <fcntl.h>

namespace velarix {

namespace {

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("velarix-history-%1").arg(++counter);
}

// Removes the connection once every handle to it is gone.
struct ConnectionGuard {
    QString name;
    ~ConnectionGuard() {
        if (!name.isEmpty())
            QSqlDatabase::removeDatabase(name);
    }
};

Error notOurs(const QString& filePath) {
    return storeError(
        StoreErrorCode::notOurs,
        QCoreApplication::translate("HistoryStore", "%1 is not a Velarix history store.").arg(filePath));
}

// Looks at an existing file without writing to it and says whether we may open it for writing.
Result<void> inspectExisting(const QString& filePath) {
    const QString name = nextConnectionName();
    ConnectionGuard guard{name};
    Result<void> verdict;
    {
        QSqlDatabase db = addStoreConnection(name, filePath, true);
        if (!db.open())
            return sqlStoreError(filePath, db.lastError(),
                                 QCoreApplication::translate("HistoryStore", "opened"));
        const auto read = [&](const QString& statement) -> Result<QVariant> {
            QSqlQuery query(db);
            if (!query.exec(statement) || !query.next())
                return sqlStoreError(filePath, query.lastError(),
                                     QCoreApplication::translate("HistoryStore", "read"));
            return query.value(0);
        };
        const auto applicationId = read(QStringLiteral("PRAGMA application_id"));
        const auto userVersion = applicationId ? read(QStringLiteral("PRAGMA user_version")) : applicationId;
        const auto objects =
            userVersion ? read(QStringLiteral("SELECT count(*) FROM sqlite_master")) : userVersion;
        if (!objects) {
            verdict = objects.error();
        } else if (applicationId->toLongLong() != kStoreApplicationId && objects->toLongLong() > 0) {
            verdict = notOurs(filePath);
        } else if (applicationId->toLongLong() == kStoreApplicationId &&
                   userVersion->toLongLong() > kCurrentSchemaVersion) {
            verdict =
                storeError(StoreErrorCode::newerVersion,
                           QCoreApplication::translate(
                               "HistoryStore", "%1 was written by a newer version of Velarix (schema %2); "
                                               "this version reads schema %3.")
                               .arg(filePath, velarix::schemaVersionText(userVersion->toLongLong()),
                                    velarix::schemaVersionText(kCurrentSchemaVersion)));
        }
        // No quick_check here: it reads the whole file, which made every card load grow with the
        // history. A file cut short already fails the count above (SQLite compares the page count in
        // its header with the file), and damage further in is reported as damage by the query that
        // meets it.
        db.close();
    }
    return verdict;
}

// Renames `from` to `to` in the same folder without ever replacing a file.
Result<void> renameBeside(const QString& from, const QString& to) {
    const QByteArray folder = QFile::encodeName(QFileInfo(from).absolutePath());
    UniqueFd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return errnoError(errno);
    return renameNoReplace(dir.get(), QFile::encodeName(QFileInfo(from).fileName()),
                           QFile::encodeName(QFileInfo(to).fileName()));
}

} // namespace

QString HistoryStore::schemaVersionText() {
    return velarix::schemaVersionText(kCurrentSchemaVersion);
}

Result<std::unique_ptr<HistoryStore>> HistoryStore::open(const QString& filePath) {
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return storeError(StoreErrorCode::failed,
                          QCoreApplication::translate("HistoryStore", "The folder %1 could not be created.")
                              .arg(info.absolutePath()));
    if (info.exists() && !info.isFile())
        return notOurs(filePath);
    if (info.exists() && info.size() > 0) {
        if (auto verdict = inspectExisting(filePath); !verdict)
            return verdict.error();
    }

    const QString name = nextConnectionName();
    Result<void> ready;
    {
        QSqlDatabase db = addStoreConnection(name, filePath, false);
        if (db.open())
            ready = migrateSchema(db, filePath);
        else
            ready = sqlStoreError(filePath, db.lastError(),
                                  QCoreApplication::translate("HistoryStore", "opened"));
        if (!ready)
            db.close();
    }
    if (!ready) {
        QSqlDatabase::removeDatabase(name);
        return ready.error();
    }
    return std::unique_ptr<HistoryStore>(new HistoryStore(name, filePath));
}

Result<QString> HistoryStore::moveAside(const QString& filePath) {
    const QString base = filePath + QStringLiteral(".damaged-") + QDate::currentDate().toString(Qt::ISODate);
    for (int n = 1; n < 1000; ++n) {
        const QString target = n == 1 ? base : base + QStringLiteral("-%1").arg(n);
        auto moved = renameBeside(filePath, target);
        if (!moved && moved.error().code == EEXIST)
            continue;
        if (!moved)
            return storeError(StoreErrorCode::failed,
                              QCoreApplication::translate("HistoryStore", "%1 could not be moved aside: %2")
                                  .arg(filePath, moved.error().message));
        // A journal belongs to its database: it goes along, or SQLite would apply it to the new store.
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            const QString companion = filePath + QLatin1String(suffix);
            if (QFileInfo::exists(companion))
                (void)renameBeside(companion, target + QLatin1String(suffix));
        }
        qCWarning(lcHistory, "History store %s moved aside to %s", qUtf8Printable(filePath),
                  qUtf8Printable(target));
        return target;
    }
    return storeError(
        StoreErrorCode::failed,
        QCoreApplication::translate("HistoryStore", "%1 could not be moved aside.").arg(filePath));
}

HistoryStore::HistoryStore(QString connectionName, QString filePath)
    : m_connectionName(std::move(connectionName))
    , m_filePath(std::move(filePath)) {}

HistoryStore::~HistoryStore() {
    m_pending.rollback();
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString HistoryStore::filePath() const {
    return m_filePath;
}

Error HistoryStore::failure(const QSqlError& error, const QString& doing) const {
    return sqlStoreError(m_filePath, error, doing);
}

Result<void> HistoryStore::beginIfNeeded() {
    if (m_pending.active())
        return {};
    QSqlError error;
    m_pending = SqlTransaction::begin(QSqlDatabase::database(m_connectionName, false),
                                      SqlTransaction::Mode::deferred, &error);
    if (!m_pending.active())
        return failure(error, QCoreApplication::translate("HistoryStore", "written"));
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
        return failure(query.lastError(), QCoreApplication::translate("HistoryStore", "read"));
    if (!query.next())
        return std::optional<SDCard>();
    return std::optional<SDCard>(cardFrom(query));
}

Result<QList<SDCard>> HistoryStore::fetchCards() {
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.exec(QStringLiteral("SELECT pk, id, name FROM sd_card ORDER BY pk")))
        return failure(query.lastError(), QCoreApplication::translate("HistoryStore", "read"));
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
        return failure(query.lastError(), QCoreApplication::translate("HistoryStore", "written"));
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
        return failure(query.lastError(), QCoreApplication::translate("HistoryStore", "written"));
    return {};
}

Result<ImportHistory> HistoryStore::insertImportHistory(const CardFile& file, const QString& sdCardID,
                                                        const QDateTime& date, bool verified) {
    if (auto begun = beginIfNeeded(); !begun)
        return begun.error();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("INSERT INTO import_history (file_name, sd_card_id, date, relative_path, "
                                 "file_size, verified) VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(file.fileName);
    query.addBindValue(sdCardID);
    query.addBindValue(date.toMSecsSinceEpoch());
    query.addBindValue(file.relativePath ? QVariant(*file.relativePath)
                                         : QVariant(QMetaType(QMetaType::QString)));
    query.addBindValue(file.fileSize ? QVariant(*file.fileSize) : QVariant(QMetaType(QMetaType::LongLong)));
    query.addBindValue(verified ? 1 : 0);
    if (!query.exec())
        return failure(query.lastError(), QCoreApplication::translate("HistoryStore", "written"));
    return ImportHistory{query.lastInsertId().toLongLong(),
                         file.fileName,
                         sdCardID,
                         date,
                         file.relativePath,
                         file.fileSize,
                         verified};
}

Result<ImportHistory> HistoryStore::insertImportHistory(const QString& fileName, const QString& sdCardID,
                                                        const QDateTime& date) {
    return insertImportHistory(CardFile{fileName, std::nullopt, std::nullopt}, sdCardID, date);
}

Result<void> HistoryStore::save() {
    if (!m_pending.active())
        return {};
    QSqlError error;
    if (!m_pending.commit(&error))
        return failure(error, QCoreApplication::translate("HistoryStore", "saved"));
    return {};
}

void HistoryStore::rollback() {
    m_pending.rollback();
}

bool HistoryStore::hasUnsavedChanges() const {
    return m_pending.active();
}

Result<QList<ImportHistory>> HistoryStore::fetchImportHistory(const QString& sdCardID) {
    QList<ImportHistory> records;
    auto visited = visitImportHistory(sdCardID, [&records](const ImportHistory& record) {
        records.append(record);
        return true;
    });
    if (!visited)
        return visited.error();
    return records;
}

Result<QList<ImportHistory>> HistoryStore::fetchImportHistory(const QString& sdCardID,
                                                              const QList<CardFile>& files) {
    return fetchCardImportRecords(QSqlDatabase::database(m_connectionName, false), m_filePath, sdCardID,
                                  files);
}

Result<void> HistoryStore::visitImportHistory(const QString& sdCardID,
                                              const std::function<bool(const ImportHistory&)>& visit) {
    return velarix::visitImportHistory(QSqlDatabase::database(m_connectionName, false), m_filePath, sdCardID,
                                       visit);
}

Result<void> HistoryStore::insertJumpClip(const QString& sdCardID, const QString& cardName,
                                          const JumpClip& clip) {
    if (auto begun = beginIfNeeded(); !begun)
        return begun;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("INSERT INTO jump_log (day, jump, start_ms, end_ms, sd_card_id, card_name) "
                                 "VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(clip.day.toString(Qt::ISODate));
    query.addBindValue(clip.jump);
    query.addBindValue(clip.start.toMSecsSinceEpoch());
    query.addBindValue(clip.end.toMSecsSinceEpoch());
    query.addBindValue(sdCardID);
    query.addBindValue(cardName);
    if (!query.exec())
        return failure(query.lastError(), QCoreApplication::translate("HistoryStore", "written"));
    return {};
}

Result<QList<LoggedJump>> HistoryStore::fetchJumpLog(const QList<QDate>& days) {
    return velarix::fetchJumpLog(QSqlDatabase::database(m_connectionName, false), m_filePath, days);
}

Result<int> HistoryStore::deleteImportHistory(const QString& sdCardID) {
    const bool joined = m_pending.active();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("DELETE FROM import_history WHERE sd_card_id = ?"));
    query.addBindValue(sdCardID);
    if (!query.exec())
        return failure(query.lastError(), QCoreApplication::translate("HistoryStore", "written"));
    const int removed = query.numRowsAffected();
    // Joined to pending writes, the delete is committed with them.
    if (joined) {
        if (auto saved = save(); !saved)
            return saved.error();
    }
    return removed;
}

} // namespace velarix
