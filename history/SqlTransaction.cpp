#include "history/SqlTransaction.h"

#include <QSqlQuery>

#include <utility>

namespace velarix {

namespace {
bool run(const QString& connection, const QString& statement, QSqlError* error) {
    QSqlQuery query(QSqlDatabase::database(connection, false));
    if (query.exec(statement))
        return true;
    if (error)
        *error = query.lastError();
    return false;
}
} // namespace

SqlTransaction SqlTransaction::begin(const QSqlDatabase& db, Mode mode, QSqlError* error) {
    SqlTransaction transaction;
    // IMMEDIATE takes the write lock at once (waiting out the busy timeout), so a step that reads
    // and then writes cannot be overtaken by another process between the two.
    const QString statement =
        mode == Mode::immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
    if (!run(db.connectionName(), statement, error))
        return transaction;
    transaction.m_connection = db.connectionName();
    transaction.m_active = true;
    return transaction;
}

SqlTransaction::SqlTransaction(SqlTransaction&& other) noexcept
    : m_connection(std::move(other.m_connection))
    , m_active(std::exchange(other.m_active, false)) {}

SqlTransaction& SqlTransaction::operator=(SqlTransaction&& other) noexcept {
    if (this != &other) {
        rollback();
        m_connection = std::move(other.m_connection);
        m_active = std::exchange(other.m_active, false);
    }
    return *this;
}

SqlTransaction::~SqlTransaction() {
    rollback();
}

bool SqlTransaction::commit(QSqlError* error) {
    if (!m_active)
        return false;
    if (run(m_connection, QStringLiteral("COMMIT"), error)) {
        m_active = false;
        return true;
    }
    // A failed COMMIT (busy, read-only, disk full) may leave the transaction open: end it here.
    rollback();
    return false;
}

void SqlTransaction::rollback() {
    if (!m_active)
        return;
    m_active = false;
    run(m_connection, QStringLiteral("ROLLBACK"), nullptr);
}

} // namespace velarix
