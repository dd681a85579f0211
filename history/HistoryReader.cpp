#include "history/HistoryReader.h"

#include "history/HistoryQueries.h"
#include "history/StoreErrors.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>

#include <atomic>

namespace velarix {

Result<std::unique_ptr<HistoryReader>> HistoryReader::open(const QString& filePath) {
    if (!QFileInfo(filePath).isFile())
        return std::unique_ptr<HistoryReader>(new HistoryReader(QString(), filePath));
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("velarix-history-reader-%1").arg(++counter);
    bool opened = false;
    QSqlError error;
    {
        QSqlDatabase db = addStoreConnection(name, filePath, true);
        opened = db.open();
        if (!opened)
            error = db.lastError();
    }
    if (!opened) {
        QSqlDatabase::removeDatabase(name);
        return sqlStoreError(filePath, error, QCoreApplication::translate("HistoryStore", "opened"));
    }
    return std::unique_ptr<HistoryReader>(new HistoryReader(name, filePath));
}

HistoryReader::HistoryReader(QString connectionName, QString filePath)
    : m_connectionName(std::move(connectionName))
    , m_filePath(std::move(filePath)) {}

HistoryReader::~HistoryReader() {
    if (m_connectionName.isEmpty())
        return;
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

Result<QList<ImportHistory>> HistoryReader::fetchImportHistory(const QString& sdCardID,
                                                               const QList<CardFile>& files) {
    if (m_connectionName.isEmpty())
        return QList<ImportHistory>();
    return fetchCardImportRecords(QSqlDatabase::database(m_connectionName, false), m_filePath, sdCardID,
                                  files);
}

Result<QList<LoggedJump>> HistoryReader::fetchJumpLog(const QList<QDate>& days) {
    if (m_connectionName.isEmpty())
        return QList<LoggedJump>();
    return velarix::fetchJumpLog(QSqlDatabase::database(m_connectionName, false), m_filePath, days);
}

} // namespace velarix
