#include "history/HistoryQueries.h"

#include "history/StoreErrors.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QSqlQuery>

#include <algorithm>

namespace velarix {

namespace {

const QString kRecordColumns =
    QStringLiteral("pk, file_name, sd_card_id, date, relative_path, file_size, verified");

ImportHistory recordFrom(const QSqlQuery& query) {
    ImportHistory record{query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
                         // In UTC: a local time would cost a look at the system's zone per record.
                         QDateTime::fromMSecsSinceEpoch(query.value(3).toLongLong(), Qt::UTC), std::nullopt,
                         std::nullopt, std::nullopt};
    if (!query.isNull(4))
        record.relativePath = query.value(4).toString();
    if (!query.isNull(5))
        record.fileSize = query.value(5).toLongLong();
    if (!query.isNull(6))
        record.verified = query.value(6).toLongLong() != 0;
    return record;
}

// One bound value for a whole list, taken apart by json_each: the statement stays the same
// however many clips the card holds, and no limit on bound variables applies.
QString jsonText(const QJsonArray& values) {
    return QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact));
}

} // namespace

QSqlDatabase addStoreConnection(const QString& name, const QString& filePath, bool readOnly) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(filePath);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kStoreBusyTimeoutMs);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    return db;
}

Result<QList<ImportHistory>> fetchCardImportRecords(const QSqlDatabase& db, const QString& filePath,
                                                    const QString& sdCardID, const QList<CardFile>& files) {
    QJsonArray clips;
    QJsonArray names;
    for (const CardFile& file : files) {
        if (file.relativePath)
            clips.append(QJsonArray{*file.relativePath, QJsonValue(qint64(file.fileSize.value_or(-1)))});
        names.append(file.fileName);
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // The clips drive a join so that the index is searched on path and size both: a row-value IN
    // searches on the path alone and walks every record of it, which grows with a card's years.
    query.prepare(QStringLiteral("SELECT %1 FROM json_each(?) AS clip CROSS JOIN import_history WHERE "
                                 "sd_card_id = ? AND relative_path = clip.value ->> 0 AND "
                                 "file_size = clip.value ->> 1 "
                                 "UNION ALL SELECT %1 FROM import_history WHERE sd_card_id = ? AND "
                                 "relative_path IS NULL AND file_name IN (SELECT value FROM json_each(?))")
                      .arg(kRecordColumns));
    query.addBindValue(jsonText(clips));
    query.addBindValue(sdCardID);
    query.addBindValue(sdCardID);
    query.addBindValue(jsonText(names));
    if (!query.exec())
        return sqlStoreError(filePath, query.lastError(),
                             QCoreApplication::translate("HistoryStore", "read"));
    QList<ImportHistory> records;
    while (query.next())
        records.append(recordFrom(query));
    return records;
}

Result<void> visitImportHistory(const QSqlDatabase& db, const QString& filePath, const QString& sdCardID,
                                const std::function<bool(const ImportHistory&)>& visit) {
    QSqlQuery query(db);
    // Forward only: Qt keeps no copy of the rows already read.
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM import_history WHERE sd_card_id = ? ORDER BY pk").arg(kRecordColumns));
    query.addBindValue(sdCardID);
    if (!query.exec())
        return sqlStoreError(filePath, query.lastError(),
                             QCoreApplication::translate("HistoryStore", "read"));
    while (query.next()) {
        if (!visit(recordFrom(query)))
            break;
    }
    if (query.lastError().isValid())
        return sqlStoreError(filePath, query.lastError(),
                             QCoreApplication::translate("HistoryStore", "read"));
    return {};
}

Result<QList<LoggedJump>> fetchJumpLog(const QSqlDatabase& db, const QString& filePath,
                                       const QList<QDate>& days) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QString statement =
        QStringLiteral("SELECT day, jump, start_ms, end_ms, sd_card_id, card_name FROM jump_log");
    if (!days.isEmpty())
        statement += QStringLiteral(" WHERE day IN (SELECT value FROM json_each(?))");
    query.prepare(statement + QStringLiteral(" ORDER BY pk"));
    if (!days.isEmpty()) {
        QJsonArray texts;
        for (const QDate& day : days)
            texts.append(day.toString(Qt::ISODate));
        query.addBindValue(jsonText(texts));
    }
    if (!query.exec())
        return sqlStoreError(filePath, query.lastError(),
                             QCoreApplication::translate("HistoryStore", "read"));

    struct Building {
        LoggedJump jump;
        QString originCard;
    };
    QMap<std::pair<QDate, qint64>, Building> jumps;
    while (query.next()) {
        const QDate jumpDay = QDate::fromString(query.value(0).toString(), Qt::ISODate);
        const qint64 number = query.value(1).toLongLong();
        const QDateTime start = QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong(), Qt::UTC);
        const QDateTime end = QDateTime::fromMSecsSinceEpoch(query.value(3).toLongLong(), Qt::UTC);
        const QString cardID = query.value(4).toString();
        const QString cardName = query.value(5).toString();
        auto found = jumps.find({jumpDay, number});
        if (found == jumps.end()) {
            jumps.insert({jumpDay, number},
                         Building{{jumpDay, number, start, end, cardName, {cardName}}, cardID});
            continue;
        }
        LoggedJump& jump = found->jump;
        if (!jump.cardNames.contains(cardName))
            jump.cardNames.append(cardName);
        if (cardID == found->originCard) {
            jump.start = std::min(jump.start, start);
            jump.end = std::max(jump.end, end);
        }
    }
    QList<LoggedJump> log;
    for (const Building& building : jumps)
        log.append(building.jump);
    std::stable_sort(log.begin(), log.end(), [](const LoggedJump& a, const LoggedJump& b) {
        return a.day != b.day ? a.day < b.day : a.start < b.start;
    });
    return log;
}

} // namespace velarix
